#include "image/PixelOps.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include <gtest/gtest.h>

#include "image/FrameImage.h"

namespace orvane {
namespace {

// Buffer pixel (x, row) with row counted in memory order, as the operations count.
std::uint8_t* At(FrameImage& image, int x, int row)
{
    return image.bits() + row * image.stride() + x * image.bytesPerPixel();
}

// Every pixel (x, row) of a 24- or 32-bit image holds (x, row, x ^ row) in its
// first three bytes, so that a copied pixel names where it came from.
FrameImage Coordinates(int width, int height, int bits = 24)
{
    FrameImage image;
    EXPECT_TRUE(image.CreateMemoryOnly(width, height, bits));
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = At(image, x, row);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(row);
            p[2] = static_cast<std::uint8_t>(x ^ row);
        }
    }
    return image;
}

// Source index by the resampling rule itself: single-precision ratio, truncation, clamp.
int Expected(int srcSize, int dstSize, int i, int offset, int limit)
{
    const float ratio = static_cast<float>(srcSize) / static_cast<float>(dstSize);
    return std::clamp(offset + static_cast<int>(ratio * static_cast<float>(i)), 0, limit - 1);
}

TEST(Resample, HalfSizeTakesEverySecondPixelFromTheFirst)
{
    FrameImage src = Coordinates(640, 480);
    FrameImage dst;
    ASSERT_TRUE(dst.Create(320, 240, 24));
    ASSERT_EQ(dst.ApplyScaledOp(Resample24To24, src, nullptr, nullptr), 1);
    for (int row = 0; row < 240; ++row) {
        for (int x = 0; x < 320; ++x) {
            const std::uint8_t* p = At(dst, x, row);
            ASSERT_EQ(p[0], static_cast<std::uint8_t>(2 * x)) << x << "," << row;
            ASSERT_EQ(p[1], static_cast<std::uint8_t>(2 * row)) << x << "," << row;
            ASSERT_EQ(p[2], static_cast<std::uint8_t>((2 * x) ^ (2 * row))) << x << "," << row;
        }
    }
}

// Source and destination sizes (width, height) and depths.
using SizeCase = std::tuple<int, int, int, int, int, int>;
class ResampleSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResampleSizes, EveryPixelFollowsTheFloatRule)
{
    const auto [sw, sh, dw, dh, srcBits, dstBits] = GetParam();
    FrameImage src = Coordinates(sw, sh, srcBits);
    FrameImage dst;
    ASSERT_TRUE(dst.CreateMemoryOnly(dw, dh, dstBits));
    std::memset(dst.bits(), 0xAB, dst.byteCount());
    ASSERT_EQ(dst.ApplyScaledOp(Resample24To24, src, nullptr, nullptr), 1);
    for (int row = 0; row < dh; ++row) {
        const int sr = Expected(sh, dh, row, 0, sh);
        for (int x = 0; x < dw; ++x) {
            const int sc = Expected(sw, dw, x, 0, sw);
            const std::uint8_t* p = At(dst, x, row);
            ASSERT_EQ(p[0], static_cast<std::uint8_t>(sc)) << x << "," << row;
            ASSERT_EQ(p[1], static_cast<std::uint8_t>(sr)) << x << "," << row;
            ASSERT_EQ(p[2], static_cast<std::uint8_t>(sc ^ sr)) << x << "," << row;
            if (dstBits == 32) {
                ASSERT_EQ(p[3], 0xAB); // only three bytes are written
            }
        }
        // Row padding is not written.
        for (int b = dw * dst.bytesPerPixel(); b < dst.stride(); ++b) {
            ASSERT_EQ(dst.bits()[row * dst.stride() + b], 0xAB);
        }
    }
}

// Upscales run with source rows of exactly width x 3 bytes at the end of the
// buffer (width a multiple of 4), where any read past the last pixel leaves
// the allocation.
INSTANTIATE_TEST_SUITE_P(Sizes, ResampleSizes,
                         ::testing::Values(SizeCase{4, 4, 13, 11, 24, 24}, SizeCase{8, 2, 2560 / 64, 7, 24, 24},
                                           SizeCase{1, 1, 5, 3, 24, 24}, SizeCase{4, 3, 3, 2, 24, 24},
                                           SizeCase{7, 5, 250, 3, 24, 24}, SizeCase{250, 3, 7, 5, 24, 24},
                                           SizeCase{12, 12, 37, 29, 32, 24}, SizeCase{12, 12, 37, 29, 24, 32},
                                           SizeCase{640, 480, 213, 97, 24, 24}, SizeCase{3, 200, 1, 199, 24, 24}));

TEST(Resample, OffsetRectangleShiftsTheSampling)
{
    FrameImage src = Coordinates(20, 10);
    FrameImage dst;
    ASSERT_TRUE(dst.CreateMemoryOnly(5, 4, 24));
    const RECT crop{6, 2, 16, 10}; // 10 x 8 -> 5 x 4
    ASSERT_EQ(dst.ApplyScaledOp(Resample24To24, src, &crop, nullptr), 1);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(At(dst, x, row)[0], 6 + 2 * x);
            EXPECT_EQ(At(dst, x, row)[1], 2 + 2 * row);
        }
    }
}

TEST(Resample, SourceRectangleBeyondTheImageIsClampedToItsEdge)
{
    FrameImage src = Coordinates(4, 4);
    FrameImage dst;
    ASSERT_TRUE(dst.CreateMemoryOnly(8, 8, 24));
    const RECT beyond{2, 2, 10, 10}; // 8 x 8, only 2 x 2 inside
    ASSERT_EQ(dst.ApplyScaledOp(Resample24To24, src, &beyond, nullptr), 1);
    EXPECT_EQ(At(dst, 0, 0)[0], 2);
    EXPECT_EQ(At(dst, 1, 1)[1], 3);
    EXPECT_EQ(At(dst, 7, 7)[0], 3);
    EXPECT_EQ(At(dst, 7, 7)[1], 3);
}

struct DstRectCase {
    RECT dstRect;
    int result;
};
class ResampleDestination : public ::testing::TestWithParam<DstRectCase> {};

// The destination rectangle keeps its mapping but only its part inside the
// image is written; nothing outside it changes.
TEST_P(ResampleDestination, WritesOnlyInsideRectangleAndImage)
{
    const DstRectCase& c = GetParam();
    FrameImage src = Coordinates(16, 16);
    FrameImage dst;
    ASSERT_TRUE(dst.CreateMemoryOnly(10, 6, 24));
    std::memset(dst.bits(), 0xCD, dst.byteCount());
    ASSERT_EQ(dst.ApplyScaledOp(Resample24To24, src, nullptr, &c.dstRect), c.result);
    const RECT& r = c.dstRect;
    for (int row = 0; row < 6; ++row) {
        for (int x = 0; x < 10; ++x) {
            const std::uint8_t* p = At(dst, x, row);
            const bool inside = x >= r.left && x < r.right && row >= r.top && row < r.bottom;
            if (inside) {
                ASSERT_EQ(p[0], Expected(16, r.Width(), x - r.left, 0, 16)) << x << "," << row;
                ASSERT_EQ(p[1], Expected(16, r.Height(), row - r.top, 0, 16)) << x << "," << row;
            } else {
                ASSERT_EQ(p[0], 0xCD) << x << "," << row;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rects, ResampleDestination,
                         ::testing::Values(DstRectCase{{2, 1, 6, 4}, 1}, DstRectCase{{-3, -2, 5, 3}, 1},
                                           DstRectCase{{7, 4, 30, 20}, 1}, DstRectCase{{-100, -100, 200, 200}, 1},
                                           DstRectCase{{10, 0, 20, 6}, 0}, DstRectCase{{-5, 0, 0, 6}, 0},
                                           DstRectCase{{0, 6, 10, 9}, 0}, DstRectCase{{4, 4, 4, 5}, 0},
                                           DstRectCase{{5, 3, 2, 1}, 0}));

TEST(Resample, RefusesDepthsItCannotRead)
{
    FrameImage grey;
    ASSERT_TRUE(grey.CreateMemoryOnly(4, 4, 8));
    FrameImage bgr;
    ASSERT_TRUE(bgr.CreateMemoryOnly(4, 4, 24));
    EXPECT_EQ(bgr.ApplyScaledOp(Resample24To24, grey, nullptr, nullptr), 0);
    EXPECT_EQ(grey.ApplyScaledOp(Resample24To24, bgr, nullptr, nullptr), 0);
    EXPECT_EQ(grey.ApplyScaledOp(Resample8To24, grey, nullptr, nullptr), 0);
    FrameImage empty;
    EXPECT_EQ(bgr.ApplyScaledOp(Resample24To24, empty, nullptr, nullptr), 0);
    EXPECT_EQ(bgr.ApplyScaledOp(nullptr, bgr, nullptr, nullptr), 0);
}

TEST(Resample, GreyAndFirstByte)
{
    FrameImage grey;
    ASSERT_TRUE(grey.CreateMemoryOnly(4, 2, 8));
    for (int i = 0; i < 4; ++i) {
        *At(grey, i, 0) = static_cast<std::uint8_t>(10 + i);
        *At(grey, i, 1) = static_cast<std::uint8_t>(20 + i);
    }
    FrameImage bgr;
    ASSERT_TRUE(bgr.CreateMemoryOnly(8, 4, 24));
    ASSERT_EQ(bgr.ApplyScaledOp(Resample8To24, grey, nullptr, nullptr), 1);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 8; ++x) {
            const int v = (row < 2 ? 10 : 20) + x / 2;
            const std::uint8_t* p = At(bgr, x, row);
            ASSERT_EQ(p[0], v);
            ASSERT_EQ(p[1], v);
            ASSERT_EQ(p[2], v);
        }
    }

    // First byte only: the destination's other bytes stay, even on repeated rows.
    FrameImage colour = Coordinates(8, 4);
    ASSERT_EQ(colour.ApplyScaledOp(ResampleFirstByte, grey, nullptr, nullptr), 1);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = At(colour, x, row);
            ASSERT_EQ(p[0], (row < 2 ? 10 : 20) + x / 2);
            ASSERT_EQ(p[1], row);
            ASSERT_EQ(p[2], x ^ row);
        }
    }
}

TEST(Resample, InPlaceWorksFromACopy)
{
    FrameImage image = Coordinates(8, 8);
    const RECT quarter{0, 0, 4, 4};
    const RECT whole{0, 0, 8, 8};
    ASSERT_EQ(image.ApplyScaledOp(Resample24To24, image, &quarter, &whole), 1);
    for (int row = 0; row < 8; ++row) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(At(image, x, row)[0], x / 2);
            ASSERT_EQ(At(image, x, row)[1], row / 2);
        }
    }
}

TEST(PixelOps, CountZeroSamplesCountsFirstBytesInTheRectangle)
{
    FrameImage image = Coordinates(6, 5); // first byte = x: column 0 is zero
    *At(image, 3, 2) = 0;
    EXPECT_EQ(image.ApplyOp(CountZeroSamples, image, nullptr, 0, 0), 6);
    const RECT right{1, 0, 6, 5};
    EXPECT_EQ(image.ApplyOp(CountZeroSamples, image, &right, 1, 0), 1);
    const RECT partly{-2, 0, 2, 3};
    EXPECT_EQ(image.ApplyOp(CountZeroSamples, image, &partly, 0, 0), 3);
}

// A 16-bit image whose pixel values are 0..1023 (low byte first).
FrameImage TenBitRamp()
{
    FrameImage image;
    EXPECT_TRUE(image.CreateMemoryOnly(32, 32, 16));
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const int v = row * 32 + x;
            At(image, x, row)[0] = static_cast<std::uint8_t>(v & 0xFF);
            At(image, x, row)[1] = static_cast<std::uint8_t>(v >> 8);
        }
    }
    return image;
}

TEST(PixelOps, SixteenBitsToEightKeepsBitsTwoToNine)
{
    FrameImage deep = TenBitRamp();
    FrameImage grey;
    ASSERT_TRUE(grey.CreateMemoryOnly(32, 32, 8));
    FrameImage bgr;
    ASSERT_TRUE(bgr.CreateMemoryOnly(32, 32, 24));
    ASSERT_EQ(grey.ApplyOp(Convert16To8, deep, nullptr, 0, 0), 1);
    ASSERT_EQ(bgr.ApplyOp(Convert16To24Grey, deep, nullptr, 0, 0), 1);
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const int v = (row * 32 + x) >> 2;
            ASSERT_EQ(*At(grey, x, row), v);
            ASSERT_EQ(At(bgr, x, row)[0], v);
            ASSERT_EQ(At(bgr, x, row)[1], v);
            ASSERT_EQ(At(bgr, x, row)[2], v);
        }
    }
    // Values above ten bits are kept to eight.
    At(deep, 0, 0)[0] = 0xFF;
    At(deep, 0, 0)[1] = 0xFF;
    ASSERT_EQ(grey.ApplyOp(Convert16To8, deep, nullptr, 0, 0), 1);
    EXPECT_EQ(*At(grey, 0, 0), 0xFF);
    EXPECT_EQ(grey.ApplyOp(Convert16To8, bgr, nullptr, 0, 0), 0); // not 16 bits
}

TEST(PixelOps, RepackingTurnsCameraPackingIntoValues)
{
    FrameImage packed;
    ASSERT_TRUE(packed.CreateMemoryOnly(32, 32, 16));
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const int v = row * 32 + x;
            At(packed, x, row)[0] = static_cast<std::uint8_t>(v & 3);
            At(packed, x, row)[1] = static_cast<std::uint8_t>(v >> 2);
        }
    }
    const FrameImage values = TenBitRamp();
    FrameImage out;
    ASSERT_TRUE(out.CreateMemoryOnly(32, 32, 16));
    ASSERT_EQ(out.ApplyOp(Repack16, packed, nullptr, 0, 0), 1);
    EXPECT_EQ(std::memcmp(out.bits(), values.bits(), values.byteCount()), 0);

    ASSERT_EQ(out.ApplyOp(Repack16Flip, packed, nullptr, 0, 0), 1);
    for (int row = 0; row < 32; ++row) {
        ASSERT_EQ(std::memcmp(At(out, 0, row), values.bits() + (31 - row) * values.stride(), 64), 0);
    }
    // In place, as a file reader converts its own buffer.
    ASSERT_EQ(packed.ApplyOp(Repack16, packed, nullptr, 0, 0), 1);
    EXPECT_EQ(std::memcmp(packed.bits(), values.bits(), values.byteCount()), 0);
}

using FlipOp = std::tuple<PixelOp, PixelOp, int>; // plain, flipped, bits
class SwapRoundTrip : public ::testing::TestWithParam<FlipOp> {};

TEST_P(SwapRoundTrip, TwiceGivesTheOriginalAndFlipReversesRows)
{
    const auto [plain, flipped, bits] = GetParam();
    FrameImage original = Coordinates(7, 5, bits);
    if (bits == 32) {
        for (int row = 0; row < 5; ++row) {
            for (int x = 0; x < 7; ++x) {
                At(original, x, row)[3] = static_cast<std::uint8_t>(100 + x);
            }
        }
    }
    FrameImage once;
    ASSERT_TRUE(once.CreateLike(original));
    FrameImage twice;
    ASSERT_TRUE(twice.CreateLike(original));

    ASSERT_EQ(once.ApplyOp(flipped, original, nullptr, 0, 0), 1);
    for (int row = 0; row < 5; ++row) {
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t* o = At(original, x, 4 - row);
            const std::uint8_t* p = At(once, x, row);
            ASSERT_EQ(p[0], o[2]);
            ASSERT_EQ(p[1], o[1]);
            ASSERT_EQ(p[2], o[0]);
            if (bits == 32) {
                ASSERT_EQ(p[3], o[3]);
            }
        }
    }
    ASSERT_EQ(twice.ApplyOp(flipped, once, nullptr, 0, 0), 1);
    EXPECT_EQ(std::memcmp(twice.bits(), original.bits(), original.byteCount()), 0);

    // In place: flipping within one buffer must not read rows it already wrote.
    ASSERT_EQ(once.ApplyOp(flipped, once, nullptr, 0, 0), 1);
    EXPECT_EQ(std::memcmp(once.bits(), original.bits(), original.byteCount()), 0);

    if (plain != nullptr) {
        ASSERT_EQ(once.ApplyOp(plain, original, nullptr, 0, 0), 1);
        EXPECT_EQ(At(once, 3, 2)[0], At(original, 3, 2)[2]);
        EXPECT_EQ(At(once, 3, 2)[2], At(original, 3, 2)[0]);
        ASSERT_EQ(once.ApplyOp(plain, once, nullptr, 0, 0), 1);
        EXPECT_EQ(std::memcmp(once.bits(), original.bits(), original.byteCount()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Swaps, SwapRoundTrip,
                         ::testing::Values(FlipOp{SwapRedBlue24, SwapRedBlue24Flip, 24},
                                           FlipOp{nullptr, SwapRedBlue32Flip, 32}));

TEST(PixelOps, EightBitFlipOfARectangle)
{
    FrameImage src;
    ASSERT_TRUE(src.CreateMemoryOnly(4, 6, 8));
    for (int row = 0; row < 6; ++row) {
        std::memset(At(src, 0, row), row + 1, 4);
    }
    FrameImage dst;
    ASSERT_TRUE(dst.CreateMemoryOnly(4, 6, 8));
    const RECT middle{1, 1, 3, 4}; // rows 1..3 -> destination rows 2..4 reversed
    ASSERT_EQ(dst.ApplyOp(Copy8Flip, src, &middle, 2, 2), 1);
    EXPECT_EQ(*At(dst, 2, 2), 4);
    EXPECT_EQ(*At(dst, 3, 3), 3);
    EXPECT_EQ(*At(dst, 2, 4), 2);
    EXPECT_EQ(*At(dst, 1, 2), 0);
    EXPECT_EQ(*At(dst, 2, 5), 0);
    EXPECT_EQ(dst.ApplyOp(Copy8Flip, Coordinates(4, 6), nullptr, 0, 0), 0); // not 8 bits
}

TEST(PixelOps, FlipRectRowsMapsPictureRowsToBufferRows)
{
    EXPECT_EQ(FlipRectRows(RECT{1, 0, 5, 2}, 10), (RECT{1, 8, 5, 10}));
    EXPECT_EQ(FlipRectRows(FlipRectRows(RECT{0, 3, 4, 7}, 9), 9), (RECT{0, 3, 4, 7}));
}

} // namespace
} // namespace orvane
