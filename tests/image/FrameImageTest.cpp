#include "image/FrameImage.h"

#include <cstring>
#include <tuple>

#include <gtest/gtest.h>

namespace orvane {
namespace {

void ExpectEmpty(const FrameImage& image)
{
    EXPECT_TRUE(image.isEmpty());
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.stride(), 0);
    EXPECT_EQ(image.bitsPerPixel(), 0);
    EXPECT_EQ(image.header().biSize, 40u);
    EXPECT_EQ(image.header().biWidth, 0);
    EXPECT_EQ(image.header().biBitCount, 0);
}

// Picture pixel (x, y), y = 0 at the top.
std::uint8_t* Pixel(FrameImage& image, int x, int y)
{
    return image.Row(y) + x * image.bytesPerPixel();
}

// A 24-bit image whose pixel (x, y) is (x, y, x + y).
FrameImage Pattern24(int width, int height, bool drawable = true)
{
    FrameImage image;
    const bool made = drawable ? image.Create(width, height, 24) : image.CreateMemoryOnly(width, height, 24);
    EXPECT_TRUE(made);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = Pixel(image, x, y);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x + y);
        }
    }
    return image;
}

using CreateArgs = std::tuple<int, int, int>;
class CreateRefused : public ::testing::TestWithParam<CreateArgs> {};

TEST_P(CreateRefused, FailsAndLeavesTheImageEmpty)
{
    const auto [width, height, bits] = GetParam();
    FrameImage image;
    EXPECT_FALSE(image.Create(width, height, bits));
    ExpectEmpty(image);
    // A refused create also empties an image that held pixels.
    ASSERT_TRUE(image.CreateMemoryOnly(8, 8, 24));
    EXPECT_FALSE(image.CreateMemoryOnly(width, height, bits));
    ExpectEmpty(image);
}

INSTANTIATE_TEST_SUITE_P(BadSizes, CreateRefused,
                         ::testing::Values(CreateArgs{0, 10, 24}, CreateArgs{10, 10, 0}, CreateArgs{10, 0, 24},
                                           CreateArgs{-5, 10, 24}, CreateArgs{10, -1, 8}, CreateArgs{10, 10, 12},
                                           CreateArgs{10, 10, 1}, CreateArgs{65536, 1, 8}, CreateArgs{1, 65536, 8},
                                           // stride x height beyond 2^31 - 1 bytes
                                           CreateArgs{65535, 65535, 32}, CreateArgs{40000, 20000, 24}));

using StrideArgs = std::tuple<int, int, int>; // width, bits, expected stride
class Stride : public ::testing::TestWithParam<StrideArgs> {};

TEST_P(Stride, RowsArePaddedToFourBytes)
{
    const auto [width, bits, expected] = GetParam();
    FrameImage image;
    ASSERT_TRUE(image.Create(width, 3, bits));
    EXPECT_EQ(image.stride(), expected);
    EXPECT_EQ(FrameImage::StrideFor(width, bits), expected);
    EXPECT_EQ(image.byteCount(), static_cast<std::size_t>(expected) * 3);
}

INSTANTIATE_TEST_SUITE_P(Widths, Stride,
                         ::testing::Values(StrideArgs{1, 24, 4}, StrideArgs{5, 24, 16}, StrideArgs{5, 8, 8},
                                           StrideArgs{4, 8, 4}, StrideArgs{3, 16, 8}, StrideArgs{7, 32, 28},
                                           StrideArgs{640, 24, 1920}, StrideArgs{641, 24, 1924}));

TEST(FrameImage, CreateFillsHeaderAndZeroesPixels)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(5, 4, 24));
    EXPECT_TRUE(image.isDrawable());
    const BITMAPINFOHEADER& h = image.header();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 5);
    EXPECT_EQ(h.biHeight, 4);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, kBiRgb);
    EXPECT_EQ(h.biSizeImage, 0u);
    for (std::size_t i = 0; i < image.byteCount(); ++i) {
        ASSERT_EQ(image.bits()[i], 0);
    }
    // Bottom-up: the picture's top row is the last row in memory.
    EXPECT_EQ(image.Row(0), image.bits() + 3 * image.stride());
    EXPECT_EQ(image.Row(3), image.bits());

    FrameImage memory;
    ASSERT_TRUE(memory.CreateMemoryOnly(5, 4, 8));
    EXPECT_FALSE(memory.isDrawable());
}

TEST(FrameImage, EightBitImagesStartWithTheGreyRamp)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(3, 3, 8));
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        EXPECT_EQ(image.colorTable()[static_cast<std::size_t>(i)], (RGBQUAD{v, v, v, 0}));
    }
}

TEST(FrameImage, CreateLikeTakesOverTheColourTable)
{
    FrameImage source;
    ASSERT_TRUE(source.CreateMemoryOnly(7, 2, 8));
    const RGBQUAD entries[2] = {{1, 2, 3, 0}, {9, 8, 7, 0}};
    ASSERT_TRUE(source.SetColorTable(2, entries, 100, 2));
    EXPECT_EQ(source.colorTable()[100], entries[0]);
    EXPECT_EQ(source.colorTable()[101], entries[1]);
    EXPECT_EQ(source.colorTable()[102], (RGBQUAD{102, 102, 102, 0}));
    source.bits()[0] = 55;

    FrameImage like;
    ASSERT_TRUE(like.CreateLike(source));
    EXPECT_TRUE(like.isDrawable());
    EXPECT_EQ(like.width(), 7);
    EXPECT_EQ(like.height(), 2);
    EXPECT_EQ(like.bitsPerPixel(), 8);
    EXPECT_EQ(like.colorTable(), source.colorTable());
    EXPECT_EQ(like.bits()[0], 0); // the pixels are not copied

    ASSERT_TRUE(like.SetColorTable(0, nullptr, 0, 0));
    EXPECT_EQ(like.colorTable()[100], (RGBQUAD{100, 100, 100, 0}));

    FrameImage empty;
    EXPECT_FALSE(like.CreateLike(empty));
    ExpectEmpty(like);
}

TEST(FrameImage, ColourTableLoadIsBoundedToTheTable)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 2, 8));
    const std::array<RGBQUAD, 4> entries{RGBQUAD{1, 1, 1, 0}, RGBQUAD{2, 2, 2, 0}, RGBQUAD{3, 3, 3, 0},
                                         RGBQUAD{4, 4, 4, 0}};
    EXPECT_TRUE(image.SetColorTable(2, entries.data(), 254, 4));
    EXPECT_EQ(image.colorTable()[254], entries[0]);
    EXPECT_EQ(image.colorTable()[255], entries[1]);
    EXPECT_TRUE(image.SetColorTable(1, entries.data(), 0, 4)); // other modes do nothing
    EXPECT_EQ(image.colorTable()[0], (RGBQUAD{0, 0, 0, 0}));
}

TEST(FrameImage, CopiesAreDeepAndKeepTheKind)
{
    for (const bool drawable : {true, false}) {
        FrameImage source = Pattern24(9, 5, drawable);
        FrameImage copy(source);
        EXPECT_EQ(copy.isDrawable(), drawable);
        ASSERT_EQ(copy.byteCount(), source.byteCount());
        EXPECT_NE(copy.bits(), source.bits());
        EXPECT_EQ(std::memcmp(copy.bits(), source.bits(), source.byteCount()), 0);
        source.bits()[0] = 200;
        EXPECT_EQ(copy.bits()[0], 0);
    }
}

TEST(FrameImage, CopyFromReusesOrReplaces)
{
    FrameImage source = Pattern24(6, 4);
    FrameImage target = Pattern24(6, 4);
    std::memset(target.bits(), 0x5A, target.byteCount());
    ASSERT_TRUE(target.CopyFrom(source));
    EXPECT_EQ(std::memcmp(target.bits(), source.bits(), source.byteCount()), 0);

    FrameImage grey;
    ASSERT_TRUE(grey.Create(3, 3, 8));
    ASSERT_TRUE(target.CopyFrom(grey));
    EXPECT_EQ(target.bitsPerPixel(), 8);
    EXPECT_EQ(target.width(), 3);

    EXPECT_TRUE(target.CopyFrom(target)); // copying itself keeps it
    EXPECT_EQ(target.width(), 3);

    FrameImage empty;
    EXPECT_FALSE(target.CopyFrom(empty));
    ExpectEmpty(target);
}

TEST(FrameImage, MoveLeavesTheSourceEmpty)
{
    FrameImage source = Pattern24(4, 4);
    const std::uint8_t* bits = source.bits();
    FrameImage moved(std::move(source));
    EXPECT_EQ(moved.bits(), bits);
    ExpectEmpty(source); // NOLINT(bugprone-use-after-move): moved-from state is specified
    FrameImage assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.bits(), bits);
    ExpectEmpty(moved); // NOLINT(bugprone-use-after-move)
}

TEST(FrameImage, ReleaseMayBeRepeated)
{
    FrameImage image = Pattern24(3, 3);
    EXPECT_EQ(image.Release(), 0);
    ExpectEmpty(image);
    EXPECT_EQ(image.Release(), 0);
    ExpectEmpty(image);
}

struct ClipCase {
    RECT srcRect;
    int x;
    int y;
    bool result;
    RECT clipped;
    int clippedX;
    int clippedY;
};
class ClipRects : public ::testing::TestWithParam<ClipCase> {};

// Source 10 x 8, destination 6 x 5.
TEST_P(ClipRects, OverlapLiesInsideBothImages)
{
    const ClipCase& c = GetParam();
    FrameImage src;
    FrameImage dst;
    ASSERT_TRUE(src.CreateMemoryOnly(10, 8, 8));
    ASSERT_TRUE(dst.CreateMemoryOnly(6, 5, 8));
    RECT rect = c.srcRect;
    int x = c.x;
    int y = c.y;
    EXPECT_EQ(dst.ClipRects(src, rect, x, y), c.result);
    EXPECT_EQ(rect, c.clipped);
    EXPECT_EQ(x, c.clippedX);
    EXPECT_EQ(y, c.clippedY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipRects,
    ::testing::Values(ClipCase{{0, 0, 4, 4}, 1, 1, true, {0, 0, 4, 4}, 1, 1},   // inside
                      ClipCase{{0, 0, 10, 8}, 0, 0, true, {0, 0, 6, 5}, 0, 0},  // larger than the destination
                      ClipCase{{2, 1, 6, 5}, 4, 3, true, {2, 1, 4, 3}, 4, 3},   // partly beyond right/bottom
                      ClipCase{{0, 0, 4, 4}, -2, -3, true, {2, 3, 4, 4}, 0, 0}, // negative position
                      ClipCase{{-3, -1, 4, 4}, 0, 0, true, {0, 0, 3, 4}, 3, 1}, // source rectangle partly outside
                      ClipCase{{8, 6, 14, 12}, 0, 0, true, {8, 6, 10, 8}, 0, 0},
                      ClipCase{{0, 0, 4, 4}, 6, 0, false, {}, 0, 0},   // wholly right of the destination
                      ClipCase{{0, 0, 4, 4}, -4, 0, false, {}, 0, 0},  // wholly left
                      ClipCase{{10, 0, 14, 4}, 0, 0, false, {}, 0, 0}, // wholly outside the source
                      ClipCase{{3, 3, 3, 5}, 0, 0, false, {}, 0, 0},   // empty
                      ClipCase{{0, 0, 4, 4}, -2147483647, 0, false, {}, 0, 0},
                      ClipCase{{-2147483647, 0, 2147483647, 2}, 0, 0, false, {}, 0, 0},
                      ClipCase{{-5, 0, 2147483647, 2}, -10, 0, true, {5, 0, 10, 2}, 0, 0}));

TEST(FrameImage, BlitCopiesTheClippedRectangleInPictureCoordinates)
{
    FrameImage src = Pattern24(8, 6);
    FrameImage dst;
    ASSERT_TRUE(dst.Create(5, 5, 24));
    const RECT rect{2, 1, 7, 4}; // 5 x 3, placed partly outside at (-1, 3)
    ASSERT_TRUE(dst.Blit(src, &rect, -1, 3));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* p = Pixel(dst, x, y);
            const bool inside = y >= 3 && y < 5 && x < 4;
            if (inside) {
                EXPECT_EQ(p[0], x + 1 + 2) << x << "," << y;
                EXPECT_EQ(p[1], y - 3 + 1) << x << "," << y;
            } else {
                EXPECT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
            }
        }
    }
    const RECT outside{0, 0, 3, 3};
    EXPECT_TRUE(dst.Blit(src, &outside, 5, 0)); // lands nowhere, changes nothing
    FrameImage empty;
    EXPECT_FALSE(dst.Blit(empty, nullptr, 0, 0));
}

TEST(FrameImage, BlitWithinOneImageReadsBeforeWriting)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(1, 6, 8));
    for (int y = 0; y < 6; ++y) {
        *Pixel(image, 0, y) = static_cast<std::uint8_t>(10 + y);
    }
    const RECT rows{0, 0, 1, 4};
    ASSERT_TRUE(image.Blit(image, &rows, 0, 2)); // rows 0..3 onto rows 2..5
    const int expected[6] = {10, 11, 10, 11, 12, 13};
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(*Pixel(image, 0, y), expected[y]);
    }
    const RECT down{0, 2, 1, 6};
    ASSERT_TRUE(image.Blit(image, &down, 0, 0)); // and back up
    const int back[6] = {10, 11, 12, 13, 12, 13};
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(*Pixel(image, 0, y), back[y]);
    }
}

TEST(FrameImage, BlitConvertsBetweenDepths)
{
    FrameImage indexed;
    ASSERT_TRUE(indexed.Create(2, 1, 8));
    const RGBQUAD entry{10, 20, 30, 0};
    ASSERT_TRUE(indexed.SetColorTable(2, &entry, 7, 1));
    indexed.bits()[0] = 7;
    indexed.bits()[1] = 200;

    FrameImage colour;
    ASSERT_TRUE(colour.Create(2, 1, 32));
    std::memset(colour.bits(), 0xFF, colour.byteCount());
    ASSERT_TRUE(colour.Blit(indexed, nullptr, 0, 0));
    const std::uint8_t expected32[8] = {10, 20, 30, 0, 200, 200, 200, 0};
    EXPECT_EQ(std::memcmp(colour.bits(), expected32, 8), 0);

    FrameImage bgr;
    ASSERT_TRUE(bgr.Create(2, 1, 24));
    ASSERT_TRUE(bgr.Blit(colour, nullptr, 0, 0));
    const std::uint8_t expected24[6] = {10, 20, 30, 200, 200, 200};
    EXPECT_EQ(std::memcmp(bgr.bits(), expected24, 6), 0);

    // Into the grey ramp: the nearest grey, i.e. the rounded mean.
    FrameImage grey;
    ASSERT_TRUE(grey.Create(2, 1, 8));
    ASSERT_TRUE(grey.Blit(bgr, nullptr, 0, 0));
    EXPECT_EQ(grey.bits()[0], 20);
    EXPECT_EQ(grey.bits()[1], 200);

    // 8 to 8 with different tables maps through the colours.
    ASSERT_TRUE(grey.Blit(indexed, nullptr, 0, 0));
    EXPECT_EQ(grey.bits()[0], 20);
    EXPECT_EQ(grey.bits()[1], 200);

    FrameImage deep;
    ASSERT_TRUE(deep.Create(2, 1, 16));
    EXPECT_FALSE(deep.Blit(bgr, nullptr, 0, 0));
    EXPECT_FALSE(bgr.Blit(deep, nullptr, 0, 0));
}

TEST(FrameImage, FillPaintsTheClippedRectangle)
{
    FrameImage image;
    ASSERT_TRUE(image.CreateMemoryOnly(5, 3, 24));
    const RECT rect{-2, 1, 5, 9};
    ASSERT_TRUE(image.Fill(&rect, RGB(1, 2, 3)));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* p = Pixel(image, x, y);
            if (y >= 1) {
                EXPECT_EQ(p[0], 3); // blue first
                EXPECT_EQ(p[1], 2);
                EXPECT_EQ(p[2], 1);
            } else {
                EXPECT_EQ(p[0] | p[1] | p[2], 0);
            }
        }
    }
    // Row padding stays untouched.
    EXPECT_EQ(image.Row(1)[15], 0);

    FrameImage grey;
    ASSERT_TRUE(grey.Create(3, 2, 8));
    ASSERT_TRUE(grey.Fill(nullptr, RGB(90, 100, 110)));
    EXPECT_EQ(grey.bits()[0], 100);
    EXPECT_EQ(grey.bits()[grey.stride() + 2], 100);

    FrameImage alpha;
    ASSERT_TRUE(alpha.Create(1, 1, 32));
    std::memset(alpha.bits(), 0xFF, 4);
    ASSERT_TRUE(alpha.Fill(nullptr, RGB(4, 5, 6)));
    const std::uint8_t expected[4] = {6, 5, 4, 0};
    EXPECT_EQ(std::memcmp(alpha.bits(), expected, 4), 0);

    FrameImage empty;
    EXPECT_FALSE(empty.Fill(nullptr, 0));
}

int DescribedRecorder(ImageDescriptor& dst, const ImageDescriptor& src, OpParams& params, std::intptr_t extra1,
                      std::intptr_t /*extra2*/)
{
    EXPECT_EQ(dst.size, 40u);
    EXPECT_EQ(dst.width, 5);
    EXPECT_EQ(dst.stride, 8);
    EXPECT_EQ(dst.bitsPerPixel, 8);
    EXPECT_EQ(dst.rect, (RECT{0, 1, 5, 3})); // clipped to the image
    EXPECT_EQ(src.bits, nullptr);
    EXPECT_EQ(params.size, 12);
    EXPECT_EQ(params.mode, 1);
    EXPECT_EQ(params.value, 0);
    return static_cast<int>(extra1);
}

TEST(FrameImage, ApplyDescribedOpBuildsDescriptors)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(5, 3, 8));
    const RECT rect{-1, 1, 9, 3};
    EXPECT_EQ(image.ApplyDescribedOp(DescribedRecorder, nullptr, nullptr, &rect, nullptr, 7), 7);
    EXPECT_EQ(image.ApplyDescribedOp(nullptr, nullptr, nullptr, nullptr, nullptr), 1);
}

} // namespace
} // namespace orvane
