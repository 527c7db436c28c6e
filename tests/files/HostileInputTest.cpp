#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "CodecTestSupport.h"
#include "LargestAllocation.h"
#include "files/GifCodec.h"
#include "files/ImageFiles.h"
#include "files/JpegCodec.h"
#include "files/PngCodec.h"

// Files that are valid but unusual, or small files that declare huge
// pictures: none may crash a reader or make it ask for memory the file
// cannot justify.
namespace orvane {
namespace {

using test::Bytes;

constexpr std::size_t kSmallAllocation = 16u << 20;

void PutBe32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendPngChunk(Bytes& out, const char* type, const Bytes& body)
{
    PutBe32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

// Signature and a 1 × 1 RGB header, then the 8-byte head of a tEXt chunk that
// claims almost 2 GB and has nothing behind it: 41 bytes.
Bytes OversizedTextChunkPng()
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, 1);
    PutBe32(header, 1);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    AppendPngChunk(png, "IHDR", header);
    PutBe32(png, 0x7FFFFFFE);
    png.insert(png.end(), {'t', 'E', 'X', 't'});
    return png;
}

// A small baseline JPEG whose frame header is rewritten to declare a huge picture.
Bytes JpegDeclaring(int width, int height)
{
    Bytes jpeg = test::EncodeJpeg(test::MakeColourPicture(16, 16), {.quality = 10});
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

TEST(HostileInput, SequentialJpegWithSeveralScansMakesThumbnails)
{
    // 8 × the thumbnail size and more: the size at which 1/8 scaling is chosen.
    const FrameImage picture = test::MakeColourPicture(1120, 840);
    const Bytes jpeg = test::EncodeJpeg(picture, {.quality = 90, .sequentialScans = true});
    FrameImage full;
    ASSERT_TRUE(DecodeJpeg(jpeg, full));
    FrameImage reduced;
    ASSERT_TRUE(DecodeJpegForSize(jpeg, reduced, 140, 105));
    EXPECT_EQ(reduced.width(), 140);
    EXPECT_EQ(reduced.height(), 105);
    EXPECT_LT(test::MeanAbsoluteDifference(reduced, test::ScaleNearest(full, 140, 105)), 12.0);
}

struct BombCase {
    const char* name;
    Bytes (*make)();
    bool (*decode)(std::span<const std::uint8_t>, FrameImage&);
    bool opens;
};

class SmallFileHugePicture : public ::testing::TestWithParam<BombCase> {};

TEST_P(SmallFileHugePicture, AllocatesNoMoreThanTheFileJustifies)
{
    const Bytes file = GetParam().make();
    FrameImage image;
    test::LargestAllocation watch;
    const bool ok = GetParam().decode(file, image);
    const std::size_t largest = watch.Stop();
    EXPECT_EQ(ok, GetParam().opens);
    EXPECT_LT(largest, kSmallAllocation);
    if (ok) {
        EXPECT_LT(image.byteCount(), kSmallAllocation);
    }
}

Bytes FarAwayGifFrame()
{
    // No logical screen; one 1 × 1 frame at (24887, 14365).
    test::GifFrame frame;
    frame.left = 24887;
    frame.top = 14365;
    frame.width = 1;
    frame.height = 1;
    frame.indices = {1};
    return test::EncodeGif(0, 0, {{0, 0, 0}, {255, 0, 0}}, {frame});
}

Bytes HugeGifFrameWithoutData()
{
    test::GifFrame frame;
    frame.width = 1;
    frame.height = 1;
    frame.indices = {1};
    Bytes gif = test::EncodeGif(16000, 16000, {{0, 0, 0}, {255, 0, 0}}, {frame});
    // The image descriptor declares 16000 × 16000 too, with one pixel of data.
    for (std::size_t i = 13; i + 9 < gif.size(); ++i) {
        if (gif[i] == 0x2C) {
            gif[i + 5] = gif[i + 7] = 16000 & 0xFF;
            gif[i + 6] = gif[i + 8] = 16000 >> 8;
            break;
        }
    }
    return gif;
}

bool DecodeJpegWhole(std::span<const std::uint8_t> data, FrameImage& image)
{
    return DecodeJpeg(data, image);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SmallFileHugePicture,
    ::testing::Values(BombCase{"png_text_chunk_of_2gb", OversizedTextChunkPng, DecodePng, false},
                      BombCase{"gif_frame_far_from_origin", FarAwayGifFrame, DecodeGif, true},
                      BombCase{"gif_huge_frame_without_data", HugeGifFrameWithoutData, DecodeGif, false},
                      BombCase{"jpeg_16384_square", [] { return JpegDeclaring(16384, 16384); }, DecodeJpegWhole,
                               false}),
    [](const ::testing::TestParamInfo<BombCase>& c) { return std::string(c.param.name); });

TEST(HostileInput, FarAwayGifFrameIsThePicture)
{
    FrameImage image;
    ASSERT_TRUE(DecodeGif(FarAwayGifFrame(), image));
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(image.height(), 1);
    EXPECT_EQ(test::PixelAt(image, 0, 0).red, 255);
}

struct TruncationCase {
    int keptPercent;
    bool opens;
    bool truncated;
};

class TruncatedJpeg : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(TruncatedJpeg, OpensWithAWarningOnlyWhenMostOfThePictureIsThere)
{
    const FrameImage picture = test::MakeColourPicture(256, 256);
    Bytes jpeg = test::EncodeJpeg(picture, {.quality = 90});
    jpeg.resize(jpeg.size() * static_cast<std::size_t>(GetParam().keptPercent) / 100);
    test::TempDir folder;
    const auto path = folder.path() / "cut.jpg";
    test::WriteFileBytes(path, jpeg);

    FrameImage image;
    LoadInfo info;
    info.truncated = !GetParam().truncated;
    EXPECT_EQ(LoadPicture(path, image, &info), GetParam().opens);
    if (GetParam().opens) {
        EXPECT_EQ(info.truncated, GetParam().truncated);
        EXPECT_EQ(image.width(), 256);
        // The top row is the picture's own.
        EXPECT_NEAR(test::PixelAt(image, 10, 0).green, test::ColourPictureAt(256, 256, 10, 0).green, 24);
    } else {
        EXPECT_TRUE(image.isEmpty());
    }
    FrameImage thumbnail;
    LoadInfo thumbnailInfo;
    EXPECT_EQ(LoadImageForThumbnail(path, thumbnail, 32, 32, &thumbnailInfo), GetParam().opens);
    EXPECT_EQ(thumbnailInfo.truncated, GetParam().opens && GetParam().truncated);
}

INSTANTIATE_TEST_SUITE_P(Cuts, TruncatedJpeg,
                         ::testing::Values(TruncationCase{100, true, false}, TruncationCase{90, true, true},
                                           TruncationCase{60, true, true}, TruncationCase{30, false, false},
                                           TruncationCase{5, false, false}));

} // namespace
} // namespace orvane
