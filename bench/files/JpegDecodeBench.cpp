#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <time.h>
#include <vector>

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <system_error>

#include "CodecTestSupport.h"
#include "TempDir.h"
#include "files/ImageFiles.h"
#include "files/JpegCodec.h"
#include "image/FrameImage.h"

// Decoding camera-sized JPEGs (4000 × 3000, quality 90) in full against the
// reduced decoding for a 140 × 105 thumbnail, for a baseline file and for a
// progressive one as the program writes it. Each benchmark times both in the
// same iterations and reports the full decode as "ratio_to_thumbnail_decode"
// (full ÷ thumbnail; target at least 2). Times are the thread's CPU time:
// decoding is single-threaded and CPU-bound, and CPU time stays meaningful
// when other processes share the machine.
namespace orvane {
namespace {

using test::Bytes;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kDistinctPictures = 10;
constexpr int kFolderPictures = 50;

// Smooth shading, a few shapes and fine grain, roughly what a microscope
// camera delivers, so that the files have a realistic size and entropy.
FrameImage MakePicture(int seed)
{
    FrameImage picture;
    picture.Create(kWidth, kHeight, 24);
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(seed) * 7919u;
    const int cx = kWidth / 2 + seed * 97;
    const int cy = kHeight / 2 - seed * 53;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const int dx = x - cx;
            const int dy = y - cy;
            const bool disc = dx * dx + dy * dy < 900 * 900;
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(60 + x / 40 + seed * 5 + grain, 0, 255));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp((disc ? 180 : 90) + y / 60 + grain, 0, 255));
            row[3 * x + 2] =
                static_cast<std::uint8_t>(std::clamp(((x / 250 + y / 250 + seed) % 2 ? 200 : 120) + grain, 0, 255));
        }
    }
    return picture;
}

// Two folders of 50 pictures each (10 distinct ones, each five times under
// different names), baseline and progressive, written once for the whole run.
class PictureFolders {
public:
    PictureFolders()
    {
        if (m_root.path().empty()) {
            return;
        }
        std::error_code error;
        std::filesystem::create_directory(baseline(), error);
        std::filesystem::create_directory(progressive(), error);
        for (int i = 0; i < kDistinctPictures && !error; ++i) {
            const FrameImage picture = MakePicture(i);
            // Baseline (single scan) at quality 90, as cameras and most programs write them.
            const Bytes data = test::EncodeJpeg(picture, {});
            if (i == 0) {
                m_baselineFile = data;
            }
            const auto baselineFirst = baseline() / Name(i, 0);
            const auto progressiveFirst = progressive() / Name(i, 0);
            test::WriteFileBytes(baselineFirst, data);
            if (!std::filesystem::exists(baselineFirst) || !SaveImage(progressiveFirst, picture, kSaveTypeJpegMedium)) {
                return;
            }
            // Copies, not links: every file is its own inode as in a real folder.
            for (int copy = 1; copy < kFolderPictures / kDistinctPictures && !error; ++copy) {
                std::filesystem::copy_file(baselineFirst, baseline() / Name(i, copy), error);
                std::filesystem::copy_file(progressiveFirst, progressive() / Name(i, copy), error);
            }
        }
        m_progressiveFile = test::ReadFileBytes(progressive() / Name(0, 0));
        m_ready = !error && !m_progressiveFile.empty();
    }
    PictureFolders(const PictureFolders&) = delete;
    PictureFolders& operator=(const PictureFolders&) = delete;

    [[nodiscard]] bool ready() const { return m_ready; }
    [[nodiscard]] std::filesystem::path baseline() const { return m_root / "baseline"; }
    [[nodiscard]] std::filesystem::path progressive() const { return m_root / "progressive"; }
    [[nodiscard]] const Bytes& baselineFile() const { return m_baselineFile; }
    [[nodiscard]] const Bytes& progressiveFile() const { return m_progressiveFile; }

private:
    static std::string Name(int picture, int copy) { return std::to_string(copy * 100 + picture) + ".jpg"; }

    test::TempDir m_root;
    Bytes m_baselineFile;
    Bytes m_progressiveFile;
    bool m_ready = false;
};

const PictureFolders& Folders()
{
    static const PictureFolders folders;
    return folders;
}

struct Clock {
    using duration = std::chrono::nanoseconds;
    static duration now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
};

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void Report(benchmark::State& state, Clock::duration full, Clock::duration thumbnail)
{
    const auto n = static_cast<double>(state.iterations());
    state.counters["full_ms"] = Seconds(full) * 1000.0 / n;
    state.counters["thumbnail_ms"] = Seconds(thumbnail) * 1000.0 / n;
    state.counters["ratio_to_thumbnail_decode"] = Seconds(full) / Seconds(thumbnail);
}

void DecodeOnePicture(benchmark::State& state, const Bytes& data)
{
    Clock::duration full{};
    Clock::duration thumbnail{};
    for (auto _ : state) {
        FrameImage image;
        const auto t0 = Clock::now();
        const bool fullOk = DecodeJpeg(data, image);
        benchmark::DoNotOptimize(image.bits());
        const auto t1 = Clock::now();
        const bool thumbnailOk = DecodeJpegForSize(data, image, 140, 105);
        benchmark::DoNotOptimize(image.bits());
        const auto t2 = Clock::now();
        if (!fullOk || !thumbnailOk) {
            state.SkipWithError("decoding failed");
            return;
        }
        full += t1 - t0;
        thumbnail += t2 - t1;
    }
    Report(state, full, thumbnail);
    state.counters["file_mb"] = static_cast<double>(data.size()) / 1e6;
}

void BM_FullDecode_Baseline(benchmark::State& state)
{
    if (!Folders().ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    DecodeOnePicture(state, Folders().baselineFile());
}

void BM_FullDecode_Progressive(benchmark::State& state)
{
    if (!Folders().ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    DecodeOnePicture(state, Folders().progressiveFile());
}

// libjpeg's plain DCT-scaled decoding at 1/8, which for a progressive file
// still decodes every scan into the whole-picture coefficient buffer.
bool DecodeAllScansAtOneEighth(const Bytes& data, FrameImage& image)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    cinfo.do_fancy_upsampling = FALSE;
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    image.Create(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), 24);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.Row(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Where the progressive thumbnail time goes: libjpeg's plain 1/8 decode of
// every scan, and allocating and clearing a coefficient buffer of the
// picture's size (2 bytes per coefficient, chroma halved both ways), each
// measured against the thumbnail path in the same iterations.
void BM_ScaledAllScans_Progressive(benchmark::State& state)
{
    if (!Folders().ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    const Bytes& data = Folders().progressiveFile();
    Clock::duration allScans{};
    Clock::duration thumbnail{};
    Clock::duration buffer{};
    const std::size_t coefficientBytes = std::size_t{kWidth} * kHeight * 3 / 2 * 2;
    for (auto _ : state) {
        FrameImage image;
        const auto t0 = Clock::now();
        DecodeAllScansAtOneEighth(data, image);
        benchmark::DoNotOptimize(image.bits());
        const auto t1 = Clock::now();
        const bool ok = DecodeJpegForSize(data, image, 140, 105);
        benchmark::DoNotOptimize(image.bits());
        const auto t2 = Clock::now();
        auto* coefficients = static_cast<std::uint8_t*>(std::malloc(coefficientBytes));
        std::memset(coefficients, 0, coefficientBytes);
        benchmark::DoNotOptimize(coefficients);
        std::free(coefficients);
        const auto t3 = Clock::now();
        if (!ok) {
            state.SkipWithError("decoding failed");
            return;
        }
        allScans += t1 - t0;
        thumbnail += t2 - t1;
        buffer += t3 - t2;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["all_scans_ms"] = Seconds(allScans) * 1000.0 / n;
    state.counters["thumbnail_ms"] = Seconds(thumbnail) * 1000.0 / n;
    state.counters["coefficient_buffer_ms"] = Seconds(buffer) * 1000.0 / n;
    state.counters["ratio_to_thumbnail_decode"] = Seconds(allScans) / Seconds(thumbnail);
}

// The folder scan's decoding: every file of a folder of 50 through the
// thumbnail path against every file in full.
void DecodeFolder(benchmark::State& state, const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    Clock::duration full{};
    Clock::duration thumbnail{};
    for (auto _ : state) {
        int decoded = 0;
        const auto t0 = Clock::now();
        for (const auto& file : files) {
            FrameImage image;
            decoded += LoadImageFile(file, image) ? 1 : 0;
        }
        const auto t1 = Clock::now();
        for (const auto& file : files) {
            FrameImage image;
            decoded += LoadImageForThumbnail(file, image) ? 1 : 0;
        }
        const auto t2 = Clock::now();
        if (decoded != 2 * kFolderPictures) {
            state.SkipWithError("pictures not decoded");
            return;
        }
        full += t1 - t0;
        thumbnail += t2 - t1;
    }
    Report(state, full, thumbnail);
}

void BM_FullDecode_FolderOf50Baseline(benchmark::State& state)
{
    if (!Folders().ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    DecodeFolder(state, Folders().baseline());
}

void BM_FullDecode_FolderOf50Progressive(benchmark::State& state)
{
    if (!Folders().ready()) {
        state.SkipWithError("cannot write the pictures");
        return;
    }
    DecodeFolder(state, Folders().progressive());
}

BENCHMARK(BM_FullDecode_Baseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullDecode_Progressive)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ScaledAllScans_Progressive)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullDecode_FolderOf50Baseline)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_FullDecode_FolderOf50Progressive)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
} // namespace orvane
