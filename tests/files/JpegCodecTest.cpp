#include "files/JpegCodec.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "CodecTestSupport.h"
#include "files/ImageFiles.h"
#include "files/JpegThumbnail.h"

namespace orvane {
namespace {

using test::Bytes;
using test::Rgb;

// What libjpeg itself reads from a file: components, colour space, scans and
// the first scan line (as red-green-blue or grey samples).
struct JpegFacts {
    int components = 0;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    bool multipleScans = false;
    int lumaDcQuantiser = 0;
    std::vector<std::uint8_t> firstLine;
};

JpegFacts ReadJpegFacts(const Bytes& data)
{
    JpegFacts facts;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), data.size());
    jpeg_read_header(&cinfo, TRUE);
    facts.components = cinfo.num_components;
    facts.colourSpace = cinfo.jpeg_color_space;
    facts.multipleScans = jpeg_has_multiple_scans(&cinfo) != 0;
    facts.lumaDcQuantiser = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_start_decompress(&cinfo);
    facts.firstLine.resize(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components);
    JSAMPROW row = facts.firstLine.data();
    jpeg_read_scanlines(&cinfo, &row, 1);
    jpeg_abort_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return facts;
}

bool HasMarker(const Bytes& data, std::uint8_t marker)
{
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0xFF && data[i + 1] == marker) {
            return true;
        }
    }
    return false;
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance)
{
    EXPECT_NEAR(actual.red, expected.red, tolerance);
    EXPECT_NEAR(actual.green, expected.green, tolerance);
    EXPECT_NEAR(actual.blue, expected.blue, tolerance);
}

class JpegSaveTypes : public ::testing::TestWithParam<std::tuple<int, int>> {};

// Every save type writes a progressive JPEG (SOF2) at its quality, top row first.
TEST_P(JpegSaveTypes, WritesProgressiveJpegOfItsQualityTopRowFirst)
{
    const auto [type, expectedDcQuantiser] = GetParam();
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(96, 64);
    const auto path = folder / "picture.jpg";
    ASSERT_TRUE(SaveImage(path, picture, type));

    const Bytes data = test::ReadFileBytes(path);
    const JpegFacts facts = ReadJpegFacts(data);
    EXPECT_TRUE(facts.multipleScans);
    // The embedded thumbnail is a baseline JPEG of its own; the picture's
    // frame header comes after it.
    const std::optional<EmbeddedThumbnailFound> thumbnail = FindEmbeddedThumbnail(data);
    ASSERT_TRUE(thumbnail);
    const Bytes picturePart(thumbnail->jpeg.data() + thumbnail->jpeg.size(), data.data() + data.size());
    EXPECT_TRUE(HasMarker(picturePart, 0xC2));
    EXPECT_FALSE(HasMarker(picturePart, 0xC0));
    EXPECT_EQ(facts.components, 3);
    EXPECT_EQ(facts.colourSpace, JCS_YCbCr);
    EXPECT_EQ(facts.lumaDcQuantiser, expectedDcQuantiser);
    // The first scan line libjpeg reads is the picture's top row, in red-green-blue.
    for (int x : {2, 20, 40, 94}) {
        const Rgb expected = test::ColourPictureAt(96, 64, x, 0);
        ExpectNear(Rgb{facts.firstLine[x * 3], facts.firstLine[x * 3 + 1], facts.firstLine[x * 3 + 2]}, expected, 12);
    }
}

// Quality 100, 90 and 75 scale the standard luminance DC quantiser 16 to 1, 3 and 8.
INSTANTIATE_TEST_SUITE_P(Qualities, JpegSaveTypes,
                         ::testing::Values(std::tuple{kSaveTypeJpegHigh, 1}, std::tuple{kSaveTypeJpegMedium, 3},
                                           std::tuple{kSaveTypeJpegLow, 8}));

TEST(JpegCodec, RoundTripKeepsPictureAndOrientation)
{
    test::TempDir folder;
    const FrameImage picture = test::MakeColourPicture(120, 90);
    const auto path = folder / "round.jpg";
    ASSERT_TRUE(SaveImage(path, picture, kSaveTypeJpegHigh));
    FrameImage loaded;
    ASSERT_TRUE(LoadImageFile(path, loaded));
    ASSERT_EQ(loaded.bitsPerPixel(), 24);
    ASSERT_EQ(loaded.width(), 120);
    ASSERT_EQ(loaded.height(), 90);
    EXPECT_LT(test::MeanAbsoluteDifference(picture, loaded), 2.0);
    // The dark square sits in the upper left, the light disc in the lower right.
    ExpectNear(test::PixelAt(loaded, 25, 20), Rgb{30, 40, 120}, 6);
    ExpectNear(test::PixelAt(loaded, 80, 60), Rgb{240, 230, 90}, 6);
    // Row padding (120 × 3 = 360 is a multiple of 4; use an odd width too).
    const FrameImage odd = test::MakeColourPicture(33, 7);
    ASSERT_TRUE(SaveImage(folder / "odd.jpg", odd, kSaveTypeJpegHigh));
    ASSERT_TRUE(LoadImageFile(folder / "odd.jpg", loaded));
    for (int r = 0; r < loaded.height(); ++r) {
        EXPECT_EQ(loaded.Row(r)[99], 0);
    }
}

TEST(JpegCodec, GreyPicturesAreSavedAsOneComponentAndLoadAsGrey)
{
    test::TempDir folder;
    FrameImage grey;
    ASSERT_TRUE(grey.Create(64, 48, 8));
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            grey.Row(y)[x] = static_cast<std::uint8_t>(x * 4);
        }
    }
    const auto path = folder / "grey.jpg";
    ASSERT_TRUE(SaveImage(path, grey, kSaveTypeJpegHigh));
    const JpegFacts facts = ReadJpegFacts(test::ReadFileBytes(path));
    EXPECT_EQ(facts.components, 1);
    EXPECT_EQ(facts.colourSpace, JCS_GRAYSCALE);

    FrameImage loaded;
    ASSERT_TRUE(LoadImageFile(path, loaded));
    ASSERT_EQ(loaded.bitsPerPixel(), 24);
    for (int x : {0, 17, 40, 63}) {
        const Rgb p = test::PixelAt(loaded, x, 10);
        EXPECT_NEAR(p.red, x * 4, 2);
        EXPECT_EQ(p.red, p.green);
        EXPECT_EQ(p.green, p.blue);
    }
}

TEST(JpegCodec, SixteenBitPicturesAreSavedAsGreyOfBitsTwoToNine)
{
    test::TempDir folder;
    FrameImage deep;
    ASSERT_TRUE(deep.Create(32, 16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            // Bit 10, set in the left half, lies outside bits 2 to 9 and must vanish.
            const int value = (x < 16 ? 0x400 : 0) | (x * 30 + 3);
            deep.Row(y)[x * 2] = static_cast<std::uint8_t>(value & 0xFF);
            deep.Row(y)[x * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
        }
    }
    const auto path = folder / "deep.jpg";
    ASSERT_TRUE(SaveImage(path, deep, kSaveTypeJpegHigh));
    EXPECT_EQ(ReadJpegFacts(test::ReadFileBytes(path)).components, 1);
    FrameImage loaded;
    ASSERT_TRUE(LoadImageFile(path, loaded));
    for (int x : {1, 10, 20, 31}) {
        EXPECT_NEAR(test::PixelAt(loaded, x, 8).green, ((x * 30 + 3) >> 2) & 0xFF, 2) << x;
    }
}

TEST(JpegCodec, AdobeCmykPicturesConvertToTheirColours)
{
    // Ink: no cyan, full magenta, half yellow, a little black.
    const Bytes data = test::EncodeCmykJpeg(24, 16, {0, 255, 128, 40});
    FrameImage image;
    ASSERT_TRUE(DecodeJpeg(data, image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    ExpectNear(test::PixelAt(image, 12, 8), Rgb{215, 0, 108}, 4);
}

class JpegThumbnails : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

// A thumbnail decode looks like the full picture scaled the way thumbnails are.
TEST_P(JpegThumbnails, ReducedDecodeLooksLikeTheScaledFullDecode)
{
    const auto [width, height, variant] = GetParam();
    const FrameImage picture = test::MakeColourPicture(width, height);
    test::JpegOptions options;
    options.progressive = variant == 1;
    options.separateDcScans = variant == 2;
    const Bytes data = test::EncodeJpeg(picture, options);

    FrameImage full;
    FrameImage reduced;
    ASSERT_TRUE(DecodeJpeg(data, full));
    ASSERT_TRUE(DecodeJpegForSize(data, reduced, 140, 105));
    EXPECT_GE(reduced.width(), std::min(width, 140));
    EXPECT_GE(reduced.height(), std::min(height, 105));
    const FrameImage fromFull = test::ScaleNearest(full, 140, 105);
    const FrameImage fromReduced = test::ScaleNearest(reduced, 140, 105);
    EXPECT_LT(test::MeanAbsoluteDifference(fromFull, fromReduced), 8.0);
}

// Baseline, simple progression, and progressive with one DC scan per component.
INSTANTIATE_TEST_SUITE_P(SizesAndLayouts, JpegThumbnails,
                         ::testing::Combine(::testing::Values(1600, 640, 100), ::testing::Values(1200, 480, 75),
                                            ::testing::Values(0, 1, 2)));

TEST(JpegCodec, ThumbnailScaleIsTheSmallestThatCovers)
{
    const Bytes big = test::EncodeJpeg(test::MakeColourPicture(1600, 1200), {});
    FrameImage image;
    ASSERT_TRUE(DecodeJpegForSize(big, image, 140, 105));
    EXPECT_EQ(image.width(), 200); // 1/8
    EXPECT_EQ(image.height(), 150);
    const Bytes medium = test::EncodeJpeg(test::MakeColourPicture(640, 480), {});
    ASSERT_TRUE(DecodeJpegForSize(medium, image, 140, 105));
    EXPECT_EQ(image.width(), 160); // 2/8: 1/8 would give 80 × 60
    EXPECT_EQ(image.height(), 120);
    const Bytes small = test::EncodeJpeg(test::MakeColourPicture(100, 75), {});
    ASSERT_TRUE(DecodeJpegForSize(small, image, 140, 105));
    EXPECT_EQ(image.width(), 100); // in full
}

// SOF dimensions patched to 65000 × 65000 in a small valid file.
Bytes WithClaimedSize(Bytes data, int width, int height)
{
    for (std::size_t i = 0; i + 8 < data.size(); ++i) {
        if (data[i] == 0xFF && (data[i + 1] == 0xC0 || data[i + 1] == 0xC2)) {
            data[i + 5] = static_cast<std::uint8_t>(height >> 8);
            data[i + 6] = static_cast<std::uint8_t>(height);
            data[i + 7] = static_cast<std::uint8_t>(width >> 8);
            data[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return data;
}

TEST(JpegCodec, PicturesBeyondTheLimitsAreRefusedBeforeDecoding)
{
    const FrameImage picture = test::MakeColourPicture(32, 32);
    FrameImage image;
    const auto start = std::chrono::steady_clock::now();
    for (const bool progressive : {false, true}) {
        test::JpegOptions options;
        options.progressive = progressive;
        const Bytes data = test::EncodeJpeg(picture, options);
        ASSERT_TRUE(image.Create(4, 4, 24));
        EXPECT_FALSE(DecodeJpeg(WithClaimedSize(data, 65000, 65000), image));
        EXPECT_TRUE(image.isEmpty());
        EXPECT_FALSE(DecodeJpegForSize(WithClaimedSize(data, 65000, 65000), image, 140, 105));
        EXPECT_FALSE(DecodeJpeg(WithClaimedSize(data, 40000, 100), image));
        EXPECT_FALSE(DecodeJpeg(WithClaimedSize(data, 30000, 30000), image));
    }
    // 15000 × 15000: within the limits as a picture, but a progressive file's
    // whole-picture coefficients at full chroma resolution take 1.35 GB.
    test::JpegOptions options;
    options.progressive = true;
    options.fullChroma = true;
    EXPECT_FALSE(DecodeJpeg(WithClaimedSize(test::EncodeJpeg(picture, options), 15000, 15000), image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
} // namespace orvane
