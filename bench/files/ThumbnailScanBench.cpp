#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <system_error>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <optional>

#include "files/CThumbNail.h"
#include "files/ImageFiles.h"
#include "files/JpegThumbnail.h"
#include "files/ThumbnailScanJob.h"
#include "image/FrameImage.h"

// Scanning an image folder of 50 camera-sized JPEGs (4000 x 3000, progressive,
// quality 90 as the program saves them) into thumbnails, each measured in the
// same iterations as its baseline (ratios, lower is better):
// - the scan's reduced DCT-scale decoding of pictures without an embedded
//   thumbnail against decoding every picture in full and scaling it
//   (LoadImageFile + AddThumbnail): "ratio_to_full_decode";
// - the scan of the program's own pictures, which carry an embedded
//   thumbnail, against the same pictures with it cut out (the reduced
//   decoding): "ratio_to_decode_scan" (target at most 0.1);
// - the window's background scan (ThumbnailScanJob): the time until the
//   first thumbnail is handed over, as a share of the decoding scan
//   ("first_thumbnail_to_decode_scan") and in milliseconds.
namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kImageCount = 50;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth shading with fine grain, roughly what a microscope camera delivers,
// so that the files have a realistic size.
FrameImage MakePicture()
{
    FrameImage picture;
    picture.Create(kWidth, kHeight, 24);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525U + 1013904223U;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const int dx = x - kWidth / 2;
            const int dy = y - kHeight / 2;
            const bool disc = dx * dx + dy * dy < 900 * 900;
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(60 + x / 40 + grain, 0, 255));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp((disc ? 180 : 90) + y / 60 + grain, 0, 255));
            row[3 * x + 2] =
                static_cast<std::uint8_t>(std::clamp(((x / 250 + y / 250) % 2 ? 200 : 120) + grain, 0, 255));
        }
    }
    return picture;
}

// The file's bytes without the embedded thumbnail's segment: the picture as
// the program wrote it before it embedded one.
bool CopyWithoutEmbeddedThumbnail(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::ifstream in(from, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<EmbeddedThumbnailFound> found = FindEmbeddedThumbnail(bytes);
    if (!found) {
        return false;
    }
    // Marker (2), length (2), "JFXX\0" (5), the extension code (1), then the thumbnail.
    const auto start = static_cast<std::size_t>(found->jpeg.data() - bytes.data()) - 10;
    const auto end = static_cast<std::size_t>(found->jpeg.data() - bytes.data()) + found->jpeg.size();
    std::ofstream out(to, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(start));
    out.write(reinterpret_cast<const char*>(bytes.data() + end), static_cast<std::streamsize>(bytes.size() - end));
    return static_cast<bool>(out);
}

// The folders of pictures, written once for the whole run and removed at
// exit: the program's own (with the embedded thumbnail) and the same without it.
class PictureFolder {
public:
    PictureFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-thumbs-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_path = pattern;
        std::error_code error;
        std::filesystem::create_directories(own(), error);
        std::filesystem::create_directories(plain(), error);
        const std::filesystem::path first = own() / "IMG_000.jpg";
        if (error || !SaveImage(first, MakePicture(), kSaveTypeJpegMedium) ||
            !CopyWithoutEmbeddedThumbnail(first, plain() / "IMG_000.jpg")) {
            return;
        }
        for (int i = 1; i < kImageCount && !error; ++i) {
            std::string name = "IMG_000.jpg";
            name.replace(4, 3, std::to_string(1000 + i).substr(1));
            std::filesystem::copy_file(first, own() / name, error);
            if (!error) {
                std::filesystem::copy_file(plain() / "IMG_000.jpg", plain() / name, error);
            }
        }
        m_ready = !error;
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;
    ~PictureFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

    [[nodiscard]] bool ready() const { return m_ready; }
    // The program's pictures, with their embedded thumbnails.
    [[nodiscard]] std::filesystem::path own() const { return m_path / "own"; }
    // The same pictures without them.
    [[nodiscard]] std::filesystem::path plain() const { return m_path / "plain"; }

private:
    std::filesystem::path m_path;
    bool m_ready = false;
};

const PictureFolder& Pictures()
{
    static const PictureFolder folder;
    return folder;
}

// The scan as it would be with full decodes: every image file in full, then scaled.
int ScanWithFullDecodes(CThumbNail& chain, const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (IsThumbnailImageName(entry.path().filename().string())) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    int added = 0;
    for (const auto& file : files) {
        FrameImage image;
        if (LoadImageFile(file, image)) {
            added += chain.AddThumbnail(file.string(), image);
        }
    }
    return added;
}

void BM_ScanFolderOf50Jpegs(benchmark::State& state)
{
    const PictureFolder& pictures = Pictures();
    if (!pictures.ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    Clock::duration full{};
    Clock::duration scan{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        CThumbNail baseline;
        const int fullAdded = ScanWithFullDecodes(baseline, pictures.plain());
        const auto t1 = Clock::now();
        CThumbNail chain;
        const ThumbnailScanResult result = chain.ScanImageFolder(pictures.plain());
        const auto t2 = Clock::now();
        if (fullAdded != kImageCount || result.added != kImageCount) {
            state.SkipWithError("pictures not decoded");
            return;
        }
        full += t1 - t0;
        scan += t2 - t1;
    }
    state.counters["ratio_to_full_decode"] =
        std::chrono::duration<double>(scan).count() / std::chrono::duration<double>(full).count();
}

BENCHMARK(BM_ScanFolderOf50Jpegs)->Unit(benchmark::kSecond)->Iterations(2);

// When the first thumbnail of a background scan was handed over.
struct FirstArrival {
    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<Clock::time_point> at;
};

// Time from the start of a background scan to its first thumbnail.
Clock::duration FirstThumbnailOfJob(const std::filesystem::path& folder)
{
    auto arrival = std::make_shared<FirstArrival>();
    ThumbnailScanJob::Callbacks callbacks;
    callbacks.listed = [](bool, int, int) {};
    callbacks.decoded = [arrival](ScannedThumbnail) {
        const std::scoped_lock lock(arrival->mutex);
        if (!arrival->at) {
            arrival->at = Clock::now();
            arrival->arrived.notify_all();
        }
    };
    callbacks.finished = [] {};
    const auto start = Clock::now();
    ThumbnailScanJob job(folder, {}, ThumbnailScanJob::DecodersForThisMachine(), std::move(callbacks));
    std::unique_lock lock(arrival->mutex);
    arrival->arrived.wait(lock, [&arrival] { return arrival->at.has_value(); });
    const Clock::duration waited = *arrival->at - start;
    lock.unlock();
    job.Cancel();
    return waited;
}

void BM_ScanOwnPicturesWithEmbeddedThumbnails(benchmark::State& state)
{
    const PictureFolder& pictures = Pictures();
    if (!pictures.ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    Clock::duration decoding{};
    Clock::duration embedded{};
    Clock::duration firstShown{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        CThumbNail baseline;
        const ThumbnailScanResult decoded = baseline.ScanImageFolder(pictures.plain());
        const auto t1 = Clock::now();
        CThumbNail chain;
        const ThumbnailScanResult read = chain.ScanImageFolder(pictures.own());
        const auto t2 = Clock::now();
        if (decoded.added != kImageCount || read.added != kImageCount) {
            state.SkipWithError("pictures not read");
            return;
        }
        decoding += t1 - t0;
        embedded += t2 - t1;
        firstShown += FirstThumbnailOfJob(pictures.own());
    }
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    state.counters["ratio_to_decode_scan"] = seconds(embedded) / seconds(decoding);
    state.counters["first_thumbnail_to_decode_scan"] = seconds(firstShown) / seconds(decoding);
    state.counters["first_thumbnail_ms"] = 1000.0 * seconds(firstShown) / static_cast<double>(state.iterations());
    state.counters["decode_scan_ms"] = 1000.0 * seconds(decoding) / static_cast<double>(state.iterations());
    state.counters["embedded_scan_ms"] = 1000.0 * seconds(embedded) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_ScanOwnPicturesWithEmbeddedThumbnails)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace orvane
