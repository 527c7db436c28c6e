#include "files/PngCodec.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>
#include <zlib.h>

#include <gtest/gtest.h>
#include <png.h>

#include "CodecTestSupport.h"

namespace orvane {
namespace {

using test::Bytes;
using test::Rgb;

Rgb ExpectedRgb(int x, int y)
{
    return Rgb{x * 60, y * 80, 200 - x * 10};
}

Bytes RgbRows(int width, int height)
{
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = ExpectedRgb(x % 4, y % 3);
            rows.insert(rows.end(), {static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                     static_cast<std::uint8_t>(c.blue)});
        }
    }
    return rows;
}

void ExpectRgbPattern(const FrameImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb actual = test::PixelAt(image, x, y);
            const Rgb expected = ExpectedRgb(x % 4, y % 3);
            ASSERT_EQ(actual.red, expected.red) << x << "," << y;
            ASSERT_EQ(actual.green, expected.green) << x << "," << y;
            ASSERT_EQ(actual.blue, expected.blue) << x << "," << y;
        }
    }
}

TEST(PngCodec, ColourPictureLoadsTopRowFirstInBlueGreenRedOrder)
{
    FrameImage image;
    ASSERT_TRUE(DecodePng(test::EncodePng(4, 3, RgbRows(4, 3), {}), image));
    EXPECT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 3);
    ExpectRgbPattern(image);
}

TEST(PngCodec, InterlacedPictureLoadsLikeTheSequentialOne)
{
    test::PngOptions options;
    options.interlaced = true;
    FrameImage image;
    ASSERT_TRUE(DecodePng(test::EncodePng(13, 11, RgbRows(13, 11), options), image));
    ExpectRgbPattern(image);
}

TEST(PngCodec, PaletteWithTransparencyLoadsAs32BitsWithInvertedAlpha)
{
    for (const int depth : {8, 2}) {
        test::PngOptions options;
        options.colourType = PNG_COLOR_TYPE_PALETTE;
        options.bitDepth = depth;
        options.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        options.transparency = {255, 0, 128}; // the fourth entry has none: opaque
        Bytes rows;
        const int width = 8;
        for (int y = 0; y < 2; ++y) {
            std::uint32_t packed = 0;
            for (int x = 0; x < width; ++x) {
                const int index = (x + y) % 4;
                if (depth == 8) {
                    rows.push_back(static_cast<std::uint8_t>(index));
                } else {
                    packed = (packed << 2) | static_cast<std::uint32_t>(index);
                    if (x % 4 == 3) {
                        rows.push_back(static_cast<std::uint8_t>(packed));
                        packed = 0;
                    }
                }
            }
        }
        FrameImage image;
        ASSERT_TRUE(DecodePng(test::EncodePng(width, 2, rows, options), image)) << depth;
        ASSERT_EQ(image.bitsPerPixel(), 32);
        const std::uint8_t storedAlpha[] = {0, 255, 127, 0};
        const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < width; ++x) {
                const int index = (x + y) % 4;
                const Rgb c = test::PixelAt(image, x, y);
                EXPECT_EQ(c.red, colours[index].red);
                EXPECT_EQ(c.green, colours[index].green);
                EXPECT_EQ(c.blue, colours[index].blue);
                EXPECT_EQ(image.Row(y)[x * 4 + 3], storedAlpha[index]) << depth << ": " << x << "," << y;
            }
        }
    }
}

TEST(PngCodec, SixteenBitChannelsKeepTheirHighByte)
{
    test::PngOptions options;
    options.bitDepth = 16;
    Bytes rows;
    for (int x = 0; x < 5; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
            rows.push_back(static_cast<std::uint8_t>(x * 50 + channel)); // big-endian: high byte first
            rows.push_back(0xFF);
        }
    }
    FrameImage image;
    ASSERT_TRUE(DecodePng(test::EncodePng(5, 1, rows, options), image));
    ASSERT_EQ(image.bitsPerPixel(), 24);
    for (int x = 0; x < 5; ++x) {
        const Rgb c = test::PixelAt(image, x, 0);
        EXPECT_EQ(c.red, x * 50);
        EXPECT_EQ(c.green, x * 50 + 1);
        EXPECT_EQ(c.blue, x * 50 + 2);
    }
}

TEST(PngCodec, GreyPicturesOfEveryDepthLoadAsGreyColour)
{
    struct Case {
        int depth;
        Bytes row;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {8, {0, 100, 255}, {0, 100, 255}},
        {16, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}, {0x12, 0xAB, 0xFF}},
        {1, {0b10100000}, {255, 0, 255}},
    };
    for (const Case& c : cases) {
        test::PngOptions options;
        options.colourType = PNG_COLOR_TYPE_GRAY;
        options.bitDepth = c.depth;
        FrameImage image;
        ASSERT_TRUE(DecodePng(test::EncodePng(3, 1, c.row, options), image)) << c.depth;
        ASSERT_EQ(image.bitsPerPixel(), 24);
        for (int x = 0; x < 3; ++x) {
            const Rgb p = test::PixelAt(image, x, 0);
            EXPECT_EQ(p.red, c.expected[x]) << c.depth;
            EXPECT_EQ(p.green, c.expected[x]);
            EXPECT_EQ(p.blue, c.expected[x]);
        }
    }
}

TEST(PngCodec, GreyWithAlphaLoadsAs32Bits)
{
    test::PngOptions options;
    options.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    FrameImage image;
    ASSERT_TRUE(DecodePng(test::EncodePng(2, 1, {90, 255, 200, 40}, options), image));
    ASSERT_EQ(image.bitsPerPixel(), 32);
    EXPECT_EQ(test::PixelAt(image, 0, 0).green, 90);
    EXPECT_EQ(image.Row(0)[3], 0);
    EXPECT_EQ(test::PixelAt(image, 1, 0).blue, 200);
    EXPECT_EQ(image.Row(0)[7], 215);
}

TEST(PngCodec, FileGammaIsCorrectedForScreenGamma22)
{
    test::PngOptions options;
    options.colourType = PNG_COLOR_TYPE_GRAY;
    FrameImage image;
    options.gamma = 1.0; // linear samples: 128 shows as 255 × (128 / 255)^(1 / 2.2)
    ASSERT_TRUE(DecodePng(test::EncodePng(1, 1, {128}, options), image));
    EXPECT_NEAR(test::PixelAt(image, 0, 0).red, 186, 1);
    options.gamma = 1.0 / 2.2; // already encoded for the screen
    ASSERT_TRUE(DecodePng(test::EncodePng(1, 1, {128}, options), image));
    EXPECT_NEAR(test::PixelAt(image, 0, 0).red, 128, 1);
}

TEST(PngCodec, DecodesFromManyThreadsAtOnce)
{
    std::vector<Bytes> files;
    for (int size = 20; size < 28; ++size) {
        files.push_back(test::EncodePng(size, size - 3, RgbRows(size, size - 3), {}));
    }
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&files, &failures, t] {
            for (int round = 0; round < 25; ++round) {
                const std::size_t which = static_cast<std::size_t>(t + round) % files.size();
                FrameImage image;
                const int size = static_cast<int>(which) + 20;
                if (!DecodePng(files[which], image) || image.width() != size || image.height() != size - 3 ||
                    test::PixelAt(image, 3, 2).red != ExpectedRgb(3, 2).red) {
                    ++failures[static_cast<std::size_t>(t)];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

void AppendChunk(Bytes& file, const char* type, const Bytes& data)
{
    const auto length = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        file.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    const auto crc = static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
    for (int shift = 24; shift >= 0; shift -= 8) {
        file.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
}

// A PNG whose header claims width × height RGBA pixels, with an empty IDAT.
Bytes ClaimingPng(std::uint32_t width, std::uint32_t height)
{
    Bytes file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    for (const std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            header.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    header.insert(header.end(), {8, 6, 0, 0, 0});
    AppendChunk(file, "IHDR", header);
    AppendChunk(file, "IDAT", {});
    AppendChunk(file, "IEND", {});
    return file;
}

TEST(PngCodec, PicturesBeyondTheLimitsAreRefusedBeforeDecoding)
{
    const auto start = std::chrono::steady_clock::now();
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_FALSE(DecodePng(ClaimingPng(100000, 100000), image));
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(DecodePng(ClaimingPng(33000, 10), image));
    EXPECT_FALSE(DecodePng(ClaimingPng(30000, 30000), image)); // 3.6 GB of pixels
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // The crafted header itself is sound: a small claim gets as far as the missing pixel data.
    EXPECT_FALSE(DecodePng(ClaimingPng(2, 2), image));
}

TEST(PngCodec, OtherDataIsRefused)
{
    FrameImage image;
    EXPECT_FALSE(DecodePng(Bytes{}, image));
    EXPECT_FALSE(DecodePng(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, image));
    Bytes damaged = test::EncodePng(4, 3, RgbRows(4, 3), {});
    damaged[damaged.size() - 20] ^= 0x55; // inside IDAT: its CRC no longer matches
    EXPECT_FALSE(DecodePng(damaged, image));
    EXPECT_TRUE(image.isEmpty());
}

} // namespace
} // namespace orvane
