#include "files/TiffCodec.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <tiffio.h>

#include "CodecTestSupport.h"

namespace orvane {
namespace {

using test::Bytes;
using test::Rgb;

Bytes GreyRows(int width, int height)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rows.push_back(static_cast<std::uint8_t>(y * 40 + x));
        }
    }
    return rows;
}

class TiffGrey : public ::testing::TestWithParam<std::tuple<int, int>> {};

// One 8-bit sample: an 8-bit image as stored, the top row first, with a grey ramp.
TEST_P(TiffGrey, EightBitSamplesLoadAsStoredWithGreyTable)
{
    const auto [compression, rowsPerStrip] = GetParam();
    test::TiffOptions options;
    options.compression = compression;
    options.rowsPerStrip = rowsPerStrip;
    FrameImage image;
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(7, 5, GreyRows(7, 5), options), image));
    ASSERT_EQ(image.bitsPerPixel(), 8);
    ASSERT_EQ(image.width(), 7);
    ASSERT_EQ(image.height(), 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(image.Row(y)[x], y * 40 + x);
        }
    }
    EXPECT_EQ(image.colorTable()[77], (RGBQUAD{77, 77, 77, 0}));
}

INSTANTIATE_TEST_SUITE_P(Strips, TiffGrey,
                         ::testing::Values(std::tuple{COMPRESSION_NONE, 1}, std::tuple{COMPRESSION_LZW, 1},
                                           std::tuple{COMPRESSION_LZW, 4}, std::tuple{COMPRESSION_ADOBE_DEFLATE, 5},
                                           std::tuple{COMPRESSION_PACKBITS, 2}));

TEST(TiffCodec, WhiteIsZeroAndPalettePicturesGetTheirColourTables)
{
    test::TiffOptions options;
    options.photometric = PHOTOMETRIC_MINISWHITE;
    FrameImage image;
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(7, 5, GreyRows(7, 5), options), image));
    EXPECT_EQ(image.colorTable()[0], (RGBQUAD{255, 255, 255, 0}));
    EXPECT_EQ(image.colorTable()[200], (RGBQUAD{55, 55, 55, 0}));

    options.photometric = PHOTOMETRIC_PALETTE;
    options.colourMap.assign(3 * 256, 0);
    options.colourMap[3] = 0xFF00;            // entry 3: red
    options.colourMap[256 + 3] = 0x8000;      // half green
    options.colourMap[2 * 256 + 44] = 0xFFFF; // entry 44: blue
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(7, 5, GreyRows(7, 5), options), image));
    ASSERT_EQ(image.bitsPerPixel(), 8);
    EXPECT_EQ(image.colorTable()[3], (RGBQUAD{0, 128, 255, 0}));
    EXPECT_EQ(image.colorTable()[44], (RGBQUAD{255, 0, 0, 0}));
    EXPECT_EQ(image.Row(1)[4], 44);
}

TEST(TiffCodec, SixteenBitSamplesAreRepackedForTheTenBitLayout)
{
    // Samples 0xABCD, 0x0003, 0xFFFF, 0x0100 as little-endian pairs.
    const Bytes row = {0xCD, 0xAB, 0x03, 0x00, 0xFF, 0xFF, 0x00, 0x01};
    test::TiffOptions options;
    options.bitsPerSample = 16;
    FrameImage image;
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(4, 1, row, options), image));
    ASSERT_EQ(image.bitsPerPixel(), 16);
    // The high byte's value times four plus the low byte's two low bits.
    const std::uint16_t expected[] = {0x2AD, 0x003, 0x3FF, 0x004};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.Row(0)[x * 2] | (image.Row(0)[x * 2 + 1] << 8), expected[x]) << x;
    }
}

TEST(TiffCodec, ColourSamplesAreSwappedToBlueGreenRed)
{
    const Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    FrameImage image;
    test::TiffOptions options;
    options.samples = 3;
    options.photometric = PHOTOMETRIC_RGB;
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(2, 2, rgb, options), image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(test::PixelAt(image, 1, 0).red, 40);
    EXPECT_EQ(test::PixelAt(image, 1, 0).blue, 60);
    EXPECT_EQ(test::PixelAt(image, 0, 1).green, 80);

    options.samples = 4;
    options.compression = COMPRESSION_LZW;
    ASSERT_TRUE(DecodeTiff(test::EncodeTiff(3, 1, rgb, options), image));
    ASSERT_EQ(image.bitsPerPixel(), 32);
    const std::uint8_t* p = image.Row(0) + 4;
    EXPECT_EQ(p[0], 70); // blue
    EXPECT_EQ(p[1], 60); // green
    EXPECT_EQ(p[2], 50); // red
    EXPECT_EQ(p[3], 80); // extra sample as stored
}

// A family of TIFF layouts that the exact path does not take: rows as the
// writer gets them, and the colour each pixel must show.
struct TiffFamily {
    const char* name;
    test::TiffOptions options;
    Bytes (*rows)(int width, int height);
    Rgb (*expected)(int x, int y);
    int tolerance;
};

constexpr int kFamilyWidth = 32;
constexpr int kFamilyHeight = 24; // not a whole number of 16-row tiles

Rgb Smooth(int x, int y)
{
    return {x * 8, y * 10, 200 - x * 2};
}

Bytes SmoothRows(int width, int height)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = Smooth(x, y);
            rows.insert(rows.end(), {static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                     static_cast<std::uint8_t>(c.blue)});
        }
    }
    return rows;
}

Bytes SmoothRows16(int width, int height)
{
    Bytes rows;
    for (const std::uint8_t v : SmoothRows(width, height)) {
        const std::uint16_t sample = static_cast<std::uint16_t>(v * 257);
        rows.insert(rows.end(), {static_cast<std::uint8_t>(sample), static_cast<std::uint8_t>(sample >> 8)});
    }
    return rows;
}

bool Checker(int x, int y)
{
    return (x / 4 + y / 4) % 2 == 1;
}

// Packs one value per pixel into rows of `bits`-bit samples, first pixel in the high bits.
Bytes Packed(int width, int height, int bits, int (*value)(int x, int y))
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        std::uint8_t byte = 0;
        int used = 0;
        for (int x = 0; x < width; ++x) {
            byte = static_cast<std::uint8_t>(byte | (value(x, y) << (8 - bits - used)));
            used += bits;
            if (used == 8) {
                rows.push_back(byte);
                byte = 0;
                used = 0;
            }
        }
    }
    return rows;
}

Bytes CheckerBits(int width, int height)
{
    return Packed(width, height, 1, [](int x, int y) { return Checker(x, y) ? 1 : 0; });
}

Rgb BlackWhereChecker(int x, int y)
{
    const int level = Checker(x, y) ? 0 : 255;
    return {level, level, level};
}

Rgb WhiteWhereChecker(int x, int y)
{
    const int level = Checker(x, y) ? 255 : 0;
    return {level, level, level};
}

std::vector<std::uint16_t> SixteenColourMap()
{
    std::vector<std::uint16_t> map(3 * 16);
    for (int i = 0; i < 16; ++i) {
        map[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i * 16 * 257);
        map[static_cast<std::size_t>(16 + i)] = static_cast<std::uint16_t>((15 - i) * 16 * 257);
        map[static_cast<std::size_t>(32 + i)] = static_cast<std::uint16_t>(128 * 257);
    }
    return map;
}

Bytes LabRows(int width, int height)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rows.insert(rows.end(), {static_cast<std::uint8_t>(Checker(x, y) ? 255 : 0), 0, 0});
        }
    }
    return rows;
}

Bytes CmykRows(int width, int height)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rows.insert(rows.end(), {0, 0, 0, static_cast<std::uint8_t>(Checker(x, y) ? 0 : 255)});
        }
    }
    return rows;
}

std::vector<TiffFamily> Families()
{
    std::vector<TiffFamily> families;
    const auto add = [&families](const char* name, test::TiffOptions options, Bytes (*rows)(int, int),
                                 Rgb (*expected)(int, int), int tolerance) {
        families.push_back({name, std::move(options), rows, expected, tolerance});
    };
    add("tiled_rgb", {.samples = 3, .photometric = PHOTOMETRIC_RGB, .tiled = true}, SmoothRows, Smooth, 0);
    add("separate_planes", {.samples = 3, .photometric = PHOTOMETRIC_RGB, .rowsPerStrip = 5, .separatePlanes = true},
        SmoothRows, Smooth, 0);
    add("tiled_ycbcr_jpeg",
        {.samples = 3, .photometric = PHOTOMETRIC_YCBCR, .compression = COMPRESSION_JPEG, .tiled = true}, SmoothRows,
        Smooth, 16);
    add("rgb_16_bit", {.samples = 3, .bitsPerSample = 16, .photometric = PHOTOMETRIC_RGB}, SmoothRows16, Smooth, 0);
    add("bilevel_g4", {.bitsPerSample = 1, .photometric = PHOTOMETRIC_MINISWHITE, .compression = COMPRESSION_CCITTFAX4,
                       .rowsPerStrip = kFamilyHeight},
        CheckerBits, BlackWhereChecker, 0);
    add("bilevel_g3", {.bitsPerSample = 1, .photometric = PHOTOMETRIC_MINISBLACK, .compression = COMPRESSION_CCITTFAX3,
                       .rowsPerStrip = kFamilyHeight},
        CheckerBits, WhiteWhereChecker, 0);
    add("bilevel_packbits", {.bitsPerSample = 1, .photometric = PHOTOMETRIC_MINISWHITE, .compression = 32773},
        CheckerBits, BlackWhereChecker, 0);
    add("grey_2_bit", {.bitsPerSample = 2},
        [](int w, int h) { return Packed(w, h, 2, [](int x, int) { return x % 4; }); },
        [](int x, int) { return Rgb{x % 4 * 85, x % 4 * 85, x % 4 * 85}; }, 0);
    add("grey_4_bit", {.bitsPerSample = 4},
        [](int w, int h) { return Packed(w, h, 4, [](int x, int) { return x % 16; }); },
        [](int x, int) { return Rgb{x % 16 * 17, x % 16 * 17, x % 16 * 17}; }, 0);
    add("palette_4_bit", {.bitsPerSample = 4, .photometric = PHOTOMETRIC_PALETTE, .colourMap = SixteenColourMap()},
        [](int w, int h) { return Packed(w, h, 4, [](int x, int y) { return (x + y) % 16; }); },
        [](int x, int y) { return Rgb{(x + y) % 16 * 16, (15 - (x + y) % 16) * 16, 128}; }, 1);
    // libtiff shows CIELab for a D50 display: its white is slightly yellow.
    add("cielab", {.samples = 3, .photometric = PHOTOMETRIC_CIELAB}, LabRows, WhiteWhereChecker, 40);
    add("cmyk", {.samples = 4, .photometric = PHOTOMETRIC_SEPARATED}, CmykRows, WhiteWhereChecker, 0);
    return families;
}

class TiffFamilies : public ::testing::TestWithParam<TiffFamily> {};

TEST_P(TiffFamilies, ReadThroughLibtiffsRgbaInterface)
{
    const TiffFamily& family = GetParam();
    const Bytes file = test::EncodeTiff(kFamilyWidth, kFamilyHeight, family.rows(kFamilyWidth, kFamilyHeight),
                                        family.options);
    ASSERT_FALSE(file.empty());
    FrameImage image;
    ASSERT_TRUE(DecodeTiff(file, image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    ASSERT_EQ(image.width(), kFamilyWidth);
    ASSERT_EQ(image.height(), kFamilyHeight);
    int wrong = 0;
    for (int y = 0; y < kFamilyHeight; ++y) {
        for (int x = 0; x < kFamilyWidth; ++x) {
            const Rgb actual = test::PixelAt(image, x, y);
            const Rgb expected = family.expected(x, y);
            if (std::abs(actual.red - expected.red) > family.tolerance ||
                std::abs(actual.green - expected.green) > family.tolerance ||
                std::abs(actual.blue - expected.blue) > family.tolerance) {
                if (wrong++ < 3) {
                    ADD_FAILURE() << "(" << x << ", " << y << ") is " << actual.red << "," << actual.green << ","
                                  << actual.blue << " instead of " << expected.red << "," << expected.green << ","
                                  << expected.blue;
                }
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TiffFamilies, ::testing::ValuesIn(Families()),
                         [](const ::testing::TestParamInfo<TiffFamily>& c) { return std::string(c.param.name); });

TEST(TiffCodec, FloatingPointSamplesAreRefusedCleanly)
{
    const Bytes file = test::EncodeTiff(32, 32, Bytes(32 * 32 * 4, 0x40),
                                        {.bitsPerSample = 32, .sampleFormat = SAMPLEFORMAT_IEEEFP});
    ASSERT_FALSE(file.empty());
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_FALSE(DecodeTiff(file, image));
    EXPECT_TRUE(image.isEmpty());
}

// Rewrites the first directory's width and length entries as LONG values.
Bytes WithClaimedSize(Bytes file, std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t directory = test::Le32At(file, 4);
    const std::uint32_t count = test::Le16At(file, directory);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        const std::uint32_t tag = test::Le16At(file, entry);
        if (tag == TIFFTAG_IMAGEWIDTH || tag == TIFFTAG_IMAGELENGTH) {
            const std::uint32_t value = tag == TIFFTAG_IMAGEWIDTH ? width : height;
            const std::uint8_t bytes[] = {4,
                                          0,
                                          1,
                                          0,
                                          0,
                                          0,
                                          static_cast<std::uint8_t>(value),
                                          static_cast<std::uint8_t>(value >> 8),
                                          static_cast<std::uint8_t>(value >> 16),
                                          static_cast<std::uint8_t>(value >> 24)};
            std::copy(std::begin(bytes), std::end(bytes), file.begin() + static_cast<std::ptrdiff_t>(entry + 2));
        }
    }
    return file;
}

TEST(TiffCodec, PicturesBeyondTheLimitsAreRefused)
{
    const Bytes file = test::EncodeTiff(7, 5, GreyRows(7, 5), {});
    FrameImage image;
    ASSERT_TRUE(DecodeTiff(WithClaimedSize(file, 7, 5), image)); // the rewriting itself is sound
    EXPECT_FALSE(DecodeTiff(WithClaimedSize(file, 100000, 100000), image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(DecodeTiff(WithClaimedSize(file, 40000, 10), image));
    test::TiffOptions colour;
    colour.samples = 3;
    colour.photometric = PHOTOMETRIC_RGB;
    const Bytes colourFile = test::EncodeTiff(5, 5, Bytes(75, 0x20), colour);
    ASSERT_TRUE(DecodeTiff(colourFile, image));
    EXPECT_FALSE(DecodeTiff(WithClaimedSize(colourFile, 30000, 30000), image)); // 2.7 GB of pixels
    EXPECT_FALSE(DecodeTiff(Bytes{'I', 'I', 42, 0}, image));
}

} // namespace
} // namespace orvane
