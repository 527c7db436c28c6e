#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <system_error>

#include "files/CThumbNail.h"
#include "files/ImageFiles.h"
#include "image/FrameImage.h"

// Scanning an image folder of 50 camera-sized JPEGs (4000 x 3000, progressive,
// quality 90 as the program saves them) into thumbnails: the scan's reduced
// DCT-scale decoding against decoding every picture in full and scaling it
// (LoadImageFile + AddThumbnail), measured in the same iterations
// ("ratio_to_full_decode", lower is better).
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

// The folder of pictures, written once for the whole run and removed at exit.
class PictureFolder {
public:
    PictureFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-thumbs-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_path = pattern;
        const std::filesystem::path first = m_path / "IMG_000.jpg";
        if (!SaveImage(first, MakePicture(), kSaveTypeJpegMedium)) {
            return;
        }
        std::error_code error;
        for (int i = 1; i < kImageCount && !error; ++i) {
            std::string name = "IMG_000.jpg";
            name.replace(4, 3, std::to_string(1000 + i).substr(1));
            std::filesystem::copy_file(first, m_path / name, error);
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
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

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
        const int fullAdded = ScanWithFullDecodes(baseline, pictures.path());
        const auto t1 = Clock::now();
        CThumbNail chain;
        const ThumbnailScanResult result = chain.ScanImageFolder(pictures.path());
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

} // namespace
} // namespace orvane
