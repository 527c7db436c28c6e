#include "files/TiffCodec.h"

#include <algorithm>
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

TEST(TiffCodec, LayoutsItCannotReadAreRefusedCleanly)
{
    struct Case {
        const char* name;
        test::TiffOptions options;
    };
    std::vector<Case> cases;
    {
        test::TiffOptions o;
        o.tiled = true;
        cases.push_back({"tiled", o});
    }
    {
        test::TiffOptions o;
        o.samples = 3;
        o.photometric = PHOTOMETRIC_RGB;
        o.separatePlanes = true;
        cases.push_back({"separate planes", o});
    }
    {
        test::TiffOptions o;
        o.bitsPerSample = 4;
        cases.push_back({"4 bits", o});
    }
    {
        test::TiffOptions o;
        o.bitsPerSample = 32;
        o.sampleFormat = SAMPLEFORMAT_IEEEFP;
        cases.push_back({"float", o});
    }
    {
        test::TiffOptions o;
        o.samples = 4;
        o.photometric = PHOTOMETRIC_SEPARATED;
        cases.push_back({"CMYK", o});
    }
    {
        test::TiffOptions o;
        o.samples = 3;
        o.bitsPerSample = 16;
        o.photometric = PHOTOMETRIC_RGB;
        cases.push_back({"48-bit colour", o});
    }
    const Bytes rows(64 * 64 * 8, 0x40);
    for (const Case& c : cases) {
        const Bytes file = test::EncodeTiff(32, 32, rows, c.options);
        ASSERT_FALSE(file.empty()) << c.name;
        FrameImage image;
        ASSERT_TRUE(image.Create(2, 2, 24));
        EXPECT_FALSE(DecodeTiff(file, image)) << c.name;
        EXPECT_TRUE(image.isEmpty()) << c.name;
    }
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
