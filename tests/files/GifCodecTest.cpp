#include "files/GifCodec.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "CodecTestSupport.h"

namespace orvane {
namespace {

using test::Bytes;
using test::GifFrame;
using test::Rgb;

const std::vector<std::array<std::uint8_t, 3>> kColours = {{0, 0, 0},    {255, 0, 0},     {0, 200, 0},  {0, 0, 150},
                                                           {10, 20, 30}, {250, 240, 230}, {90, 90, 90}, {1, 2, 3}};

GifFrame Frame(int left, int top, int width, int height)
{
    GifFrame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            frame.indices.push_back(static_cast<std::uint8_t>((x + 2 * y) % 8));
        }
    }
    return frame;
}

void ExpectColour(const FrameImage& image, int x, int y, const std::array<std::uint8_t, 3>& colour)
{
    const Rgb p = test::PixelAt(image, x, y);
    EXPECT_EQ(p.red, colour[0]) << x << "," << y;
    EXPECT_EQ(p.green, colour[1]) << x << "," << y;
    EXPECT_EQ(p.blue, colour[2]) << x << "," << y;
}

void ExpectFramePattern(const FrameImage& image, const GifFrame& frame,
                        const std::vector<std::array<std::uint8_t, 3>>& colours)
{
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            ExpectColour(image, frame.left + x, frame.top + y, colours[static_cast<std::size_t>((x + 2 * y) % 8)]);
        }
    }
}

TEST(GifCodec, PictureLoadsAs24BitsTopRowFirst)
{
    for (const bool interlaced : {false, true}) {
        GifFrame frame = Frame(0, 0, 9, 13);
        frame.interlaced = interlaced;
        FrameImage image;
        ASSERT_TRUE(DecodeGif(test::EncodeGif(9, 13, kColours, {frame}), image)) << interlaced;
        ASSERT_EQ(image.bitsPerPixel(), 24);
        ASSERT_EQ(image.width(), 9);
        ASSERT_EQ(image.height(), 13);
        ExpectFramePattern(image, frame, kColours);
    }
}

TEST(GifCodec, FirstFrameIsComposedOntoTheScreenWithWhiteAroundAndBehind)
{
    GifFrame first = Frame(3, 2, 4, 5);
    first.transparentIndex = 6;
    GifFrame second = Frame(0, 0, 12, 10);
    FrameImage image;
    ASSERT_TRUE(DecodeGif(test::EncodeGif(12, 10, kColours, {first, second}), image));
    ASSERT_EQ(image.width(), 12);
    ASSERT_EQ(image.height(), 10);
    const std::array<std::uint8_t, 3> white = {255, 255, 255};
    ExpectColour(image, 0, 0, white);
    ExpectColour(image, 11, 9, white);
    ExpectColour(image, 7, 2, white);
    for (int y = 0; y < first.height; ++y) {
        for (int x = 0; x < first.width; ++x) {
            const int index = (x + 2 * y) % 8;
            ExpectColour(image, 3 + x, 2 + y, index == 6 ? white : kColours[static_cast<std::size_t>(index)]);
        }
    }
}

TEST(GifCodec, LocalColourTableWinsOverTheGlobalOne)
{
    GifFrame frame = Frame(0, 0, 8, 2);
    frame.localColours = {{9, 8, 7},    {6, 5, 4},    {3, 2, 1},    {11, 12, 13},
                          {14, 15, 16}, {17, 18, 19}, {20, 21, 22}, {23, 24, 25}};
    FrameImage image;
    ASSERT_TRUE(DecodeGif(test::EncodeGif(8, 2, kColours, {frame}), image));
    ExpectFramePattern(image, frame, frame.localColours);
}

TEST(GifCodec, FrameReachingBeyondTheScreenIsClipped)
{
    const GifFrame frame = Frame(5, 4, 10, 10);
    FrameImage image;
    ASSERT_TRUE(DecodeGif(test::EncodeGif(8, 6, kColours, {frame}), image));
    ASSERT_EQ(image.width(), 8);
    ASSERT_EQ(image.height(), 6);
    ExpectColour(image, 7, 5, kColours[(2 + 2 * 1) % 8]);
}

TEST(GifCodec, AHugeScreenAroundASmallFrameGivesTheFrameAlone)
{
    FrameImage image;
    const GifFrame frame = Frame(3, 2, 4, 4);
    ASSERT_TRUE(DecodeGif(test::EncodeGif(65535, 65535, kColours, {frame}), image));
    ASSERT_EQ(image.width(), 4);
    ASSERT_EQ(image.height(), 4);
    ExpectColour(image, 1, 2, kColours[(1 + 2 * 2) % 8]);
    ASSERT_TRUE(DecodeGif(test::EncodeGif(40000, 2, kColours, {Frame(0, 0, 4, 2)}), image));
    EXPECT_EQ(image.width(), 4);
}

TEST(GifCodec, FilesWithoutAPictureAreRefused)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_FALSE(DecodeGif(test::EncodeGif(16, 16, kColours, {}), image)); // no picture at all
    EXPECT_TRUE(image.isEmpty());
    EXPECT_FALSE(DecodeGif(Bytes{'G', 'I', 'F', '8', '9', 'a'}, image));
    EXPECT_FALSE(DecodeGif(Bytes{}, image));
}

} // namespace
} // namespace orvane
