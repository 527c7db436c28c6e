#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CodecTestSupport.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"
#include "files/JpegCodec.h"
#include "files/MeasureFile.h"
#include "measure/CCalibChain.h"
#include "measure/CMeasureChain.h"
#include "measure/Measure.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "settings/CalibrationSettings.h"
#include "settings/CameraImageSettings.h"
#include "settings/CameraSection.h"
#include "settings/CrossLineSettings.h"
#include "settings/Guid.h"
#include "settings/OrvaneSettings.h"

// Writes the seed corpus of every fuzz target into OUT/<target>/, made by the
// program's own writers and, for the formats it only reads, by the image
// libraries as the codec tests make them. Usage: orvane_fuzz_seeds OUT
namespace {

namespace fs = std::filesystem;
using orvane::FrameImage;
using orvane::test::Bytes;

int g_failures = 0;

void Put(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    fs::create_directories(folder);
    if (bytes.empty() || !orvane::WriteFileAtomically(folder / name, std::span<const std::uint8_t>(bytes))) {
        std::fprintf(stderr, "seed not made: %s/%s\n", folder.c_str(), name.c_str());
        ++g_failures;
    }
}

Bytes SavedBy(const FrameImage& image, int type, const fs::path& scratch)
{
    const fs::path path = scratch / (type == orvane::kSaveTypeBmp ? "seed.bmp" : "seed.jpg");
    if (!orvane::SaveImage(path, image, type)) {
        return {};
    }
    auto bytes = orvane::ReadWholeFile(path, 64u << 20);
    return bytes ? *bytes : Bytes{};
}

FrameImage GreyRamp(int width, int height, int bits)
{
    FrameImage image;
    image.Create(width, height, bits);
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * image.bytesPerPixel(); ++i) {
            image.Row(y)[i] = static_cast<std::uint8_t>(i * 7 + y * 3);
        }
    }
    return image;
}

void ImageSeeds(const fs::path& out, const fs::path& scratch)
{
    const FrameImage colour = orvane::test::MakeColourPicture(37, 23);
    const FrameImage large = orvane::test::MakeColourPicture(200, 150);
    for (const int bits : {8, 16, 24, 32}) {
        Put(out / "bmp", "saved_" + std::to_string(bits) + ".bmp", SavedBy(GreyRamp(13, 7, bits), 1, scratch));
    }
    Put(out / "bmp", "colour.bmp", SavedBy(colour, orvane::kSaveTypeBmp, scratch));

    const std::vector<std::pair<std::string, Bytes>> jpegs{
        {"saved_high.jpg", SavedBy(colour, orvane::kSaveTypeJpegHigh, scratch)},
        {"saved_grey.jpg", SavedBy(GreyRamp(40, 30, 16), orvane::kSaveTypeJpegLow, scratch)},
        {"baseline.jpg", orvane::test::EncodeJpeg(large, {.quality = 75})},
        {"sequential_scans.jpg", orvane::test::EncodeJpeg(large, {.quality = 75, .sequentialScans = true})},
        {"separate_dc.jpg", orvane::test::EncodeJpeg(large, {.quality = 75, .separateDcScans = true})},
        {"cmyk.jpg", orvane::test::EncodeCmykJpeg(16, 16, {10, 20, 30, 40})},
    };
    // The program's own JPEG saves carry an embedded thumbnail.
    Put(out / "jpeg_embedded_thumbnail", "saved_large.jpg", SavedBy(large, orvane::kSaveTypeJpegMedium, scratch));
    for (const auto& [name, bytes] : jpegs) {
        Put(out / "jpeg", name, bytes);
        Bytes prefixed{24, 17}; // a 25 × 18 thumbnail: the 1/8 scale for the large pictures
        prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
        Put(out / "jpeg_thumbnail", name, prefixed);
    }

    const Bytes rgbRows(static_cast<std::size_t>(9 * 5 * 3), 90);
    Bytes indexRows;
    for (int i = 0; i < 9 * 5; ++i) {
        indexRows.push_back(static_cast<std::uint8_t>(i % 3));
    }
    const std::vector<std::array<std::uint8_t, 3>> palette{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    Put(out / "png", "rgb.png", orvane::test::EncodePng(9, 5, rgbRows, {}));
    Put(out / "png", "palette_trns.png",
        orvane::test::EncodePng(9, 5, indexRows, {.colourType = 3, .palette = palette, .transparency = {0, 128, 255}}));
    Put(out / "png", "interlaced_gamma.png",
        orvane::test::EncodePng(9, 5, rgbRows, {.interlaced = true, .gamma = 0.45455}));

    const Bytes grey8(9 * 5, 77);
    const Bytes grey16(9 * 5 * 2, 33);
    Put(out / "tiff", "grey8.tif", orvane::test::EncodeTiff(9, 5, grey8, {}));
    Put(out / "tiff", "grey16.tif", orvane::test::EncodeTiff(9, 5, grey16, {.bitsPerSample = 16}));
    Put(out / "tiff", "rgb_lzw.tif",
        orvane::test::EncodeTiff(9, 5, rgbRows, {.samples = 3, .photometric = 2, .compression = 5, .rowsPerStrip = 2}));
    Put(out / "tiff", "tiled.tif", orvane::test::EncodeTiff(9, 5, rgbRows, {.samples = 3, .photometric = 2, .tiled = true}));
    Put(out / "tiff", "planes.tif",
        orvane::test::EncodeTiff(9, 5, rgbRows, {.samples = 3, .photometric = 2, .separatePlanes = true}));

    orvane::test::GifFrame frame;
    frame.width = 9;
    frame.height = 5;
    frame.indices = indexRows;
    orvane::test::GifFrame interlaced = frame;
    interlaced.interlaced = true;
    interlaced.transparentIndex = 1;
    Put(out / "gif", "one.gif", orvane::test::EncodeGif(9, 5, palette, {frame}));
    Put(out / "gif", "interlaced.gif", orvane::test::EncodeGif(12, 8, palette, {interlaced, frame}));
}

void ResultsSeeds(const fs::path& out)
{
    orvane::CMeasureChain chain;
    const orvane::MeasureMode modes[] = {orvane::kModeLength, orvane::kModeArea, orvane::kModeCircle,
                                         orvane::kModeAngle};
    for (const orvane::MeasureMode mode : modes) {
        orvane::MEASURE record;
        record.kind = orvane::FinishedKind(mode);
        record.pointCount = 3;
        for (int i = 0; i < 3; ++i) {
            record.points.SetAt(i, 10.0 * i + static_cast<int>(mode), 5.0 * i);
        }
        record.value[0] = 1.25 * static_cast<int>(mode);
        chain.AddTailCopy(&record);
    }
    Put(out / "results", "four.mes", orvane::EncodeMeasureFile(chain));
    orvane::CMeasureChain empty;
    Put(out / "results", "empty.mes", orvane::EncodeMeasureFile(empty));
}

void ThumbnailIndexSeeds(const fs::path& out, const fs::path& scratch)
{
    orvane::CThumbNail thumbnails;
    thumbnails.AddThumbnail("a.bmp", orvane::test::MakeColourPicture(30, 20));
    thumbnails.AddThumbnail("b.jpg", orvane::test::MakeColourPicture(20, 30));
    const fs::path index = scratch / "ThumbNail";
    thumbnails.SaveThumbnailIndex(index);
    auto bytes = orvane::ReadWholeFile(index, 64u << 20);
    Put(out / "thumbnail_index", "two.idx", bytes ? *bytes : Bytes{});
}

void SettingsSeeds(const fs::path& out)
{
    orvane::ProfileFile profile;
    orvane::SaveOrvaneSection(profile, orvane::OrvaneSettings{});
    orvane::CCalibChain calibrations;
    orvane::AddDefaultCalibrations(calibrations);
    orvane::SaveCalibrationSection(profile, calibrations);
    orvane::WriteScaleDec(profile, 2);
    orvane::SaveCameraImageSection(profile, orvane::CameraImageSettings{});
    orvane::CrossLineSettings crossLines;
    crossLines.lines.push_back({});
    crossLines.circles.push_back({});
    orvane::SaveCrossLineSections(profile, crossLines);
    profile.WriteInt("USB Camera", "Count", 1);
    profile.WriteString("USB Camera", "Name1", "Scope A");
    orvane::CameraSection camera;
    camera.Width = 1280;
    camera.Height = 960;
    orvane::SaveCameraSection(profile, "Scope A", camera);
    const std::string text = profile.ToText();
    Put(out / "settings", "defaults.ini", Bytes(text.begin(), text.end()));

    const std::string keep = orvane::FormatSubTypeText(orvane::kKeepSubtype);
    Put(out / "subtype", "keep.txt", Bytes(keep.begin(), keep.end()));
    const std::string mixed = "47504a4d00000010800000aa00389b71";
    Put(out / "subtype", "lower.txt", Bytes(mixed.begin(), mixed.end()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path scratch = out / ".scratch";
    fs::create_directories(scratch);
    ImageSeeds(out, scratch);
    ResultsSeeds(out);
    ThumbnailIndexSeeds(out, scratch);
    SettingsSeeds(out);
    fs::remove_all(scratch);
    return g_failures == 0 ? 0 : 1;
}
