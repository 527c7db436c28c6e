#include "files/ImageSizeProbe.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::Bytes;

void PutLe16(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void PutLe32(Bytes& b, std::size_t at, std::uint32_t v)
{
    PutLe16(b, at, v & 0xFFFF);
    PutLe16(b, at + 2, v >> 16);
}
void PutBe16(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = (v >> 8) & 0xFF;
    b[at + 1] = v & 0xFF;
}
void PutBe32(Bytes& b, std::size_t at, std::uint32_t v)
{
    PutBe16(b, at, v >> 16);
    PutBe16(b, at + 2, v & 0xFFFF);
}

Bytes BmpHeader(std::int32_t width, std::int32_t height)
{
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 14, 40);
    PutLe32(b, 18, static_cast<std::uint32_t>(width));
    PutLe32(b, 22, static_cast<std::uint32_t>(height));
    return b;
}

// SOI, an APP0 segment, a stray fill byte, then a progressive frame header.
Bytes JpegHeader(int width, int height)
{
    Bytes b{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x06, 'J', 'F', 'I', 'F', 0xFF, 0xFF, 0xC2, 0x00, 0x11, 8, 0, 0, 0, 0, 3};
    PutBe16(b, 16, static_cast<std::uint32_t>(height));
    PutBe16(b, 18, static_cast<std::uint32_t>(width));
    b.resize(b.size() + 9, 0);
    return b;
}

Bytes PngHeader(std::uint32_t width, std::uint32_t height)
{
    Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    b.resize(33, 0);
    PutBe32(b, 16, width);
    PutBe32(b, 20, height);
    return b;
}

Bytes GifHeader(int width, int height)
{
    Bytes b{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0};
    PutLe16(b, 6, static_cast<std::uint32_t>(width));
    PutLe16(b, 8, static_cast<std::uint32_t>(height));
    return b;
}

// Big-endian TIFF whose directory holds a SHORT width and a LONG length
// after an unrelated tag.
Bytes TiffHeader(int width, int height)
{
    Bytes b{'M', 'M', 0, 42, 0, 0, 0, 8};
    b.resize(8 + 2 + 3 * 12 + 4, 0);
    PutBe16(b, 8, 3);
    PutBe16(b, 10, 254); // NewSubfileType
    PutBe16(b, 12, 4);
    PutBe16(b, 22, 256);
    PutBe16(b, 24, 3);
    PutBe32(b, 26, 1);
    PutBe16(b, 30, static_cast<std::uint32_t>(width));
    PutBe16(b, 34, 257);
    PutBe16(b, 36, 4);
    PutBe32(b, 38, 1);
    PutBe32(b, 42, static_cast<std::uint32_t>(height));
    return b;
}

struct ProbeCase {
    const char* name;
    Bytes bytes;
    int width;
    int height;
};

class ImageSizeProbeTest : public ::testing::TestWithParam<ProbeCase> {
protected:
    test::TempDir m_folder;
};

TEST_P(ImageSizeProbeTest, ReadsTheDeclaredSizeAndNeverMisreadsATruncatedHeader)
{
    const ProbeCase& c = GetParam();
    const auto path = m_folder.path() / "image";
    test::WriteFileBytes(path, c.bytes);
    const auto size = ProbeImageSize(path);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, (ImageSize{c.width, c.height}));

    // Every header is needed up to its last size byte; shorter files give nothing.
    for (std::size_t length = 0; length + 1 < c.bytes.size(); ++length) {
        const Bytes cut(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(length));
        test::WriteFileBytes(path, cut);
        const auto partial = ProbeImageSize(path);
        if (partial.has_value()) {
            EXPECT_EQ(*partial, (ImageSize{c.width, c.height})) << "length " << length;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageSizeProbeTest,
                         ::testing::Values(ProbeCase{"bmp", BmpHeader(640, 480), 640, 480},
                                           ProbeCase{"bmp_top_down", BmpHeader(33, -17), 33, 17},
                                           ProbeCase{"jpeg", JpegHeader(4000, 3000), 4000, 3000},
                                           ProbeCase{"png", PngHeader(1920, 1080), 1920, 1080},
                                           ProbeCase{"gif", GifHeader(320, 200), 320, 200},
                                           ProbeCase{"tiff", TiffHeader(1024, 70000), 1024, 70000}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// Files written by the image libraries themselves, with the extension hiding the format.
TEST(ImageSizeProbe, ReadsFilesOfTheImageLibraries)
{
    test::TempDir folder;
    constexpr int kWidth = 37;
    constexpr int kHeight = 23;
    const FrameImage picture = test::MakeColourPicture(kWidth, kHeight);
    const Bytes greyRows(static_cast<std::size_t>(kWidth * kHeight), 128);
    const Bytes rgbRows(static_cast<std::size_t>(kWidth * kHeight * 3), 200);
    const Bytes gifIndices(static_cast<std::size_t>(kWidth * kHeight), 1);
    test::GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.indices = gifIndices;
    const std::vector<std::pair<std::string, Bytes>> files{
        {"baseline.dat", test::EncodeJpeg(picture, {})},
        {"progressive.dat", test::EncodeJpeg(picture, {.quality = 90, .progressive = true})},
        {"rgb.dat", test::EncodePng(kWidth, kHeight, rgbRows, {})},
        {"grey.dat", test::EncodeTiff(kWidth, kHeight, greyRows, {})},
        {"frame.dat", test::EncodeGif(kWidth, kHeight, {{0, 0, 0}, {255, 255, 255}}, {frame})},
    };
    for (const auto& [name, bytes] : files) {
        test::WriteFileBytes(folder.path() / name, bytes);
        const auto size = ProbeImageSize(folder.path() / name);
        ASSERT_TRUE(size.has_value()) << name;
        EXPECT_EQ(*size, (ImageSize{kWidth, kHeight})) << name;
    }
}

TEST(ImageSizeProbe, RefusesMissingUnknownAndEmptySizes)
{
    test::TempDir folder;
    EXPECT_FALSE(ProbeImageSize(folder.path() / "missing.jpg").has_value());

    test::WriteFileBytes(folder.path() / "text.jpg", Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_FALSE(ProbeImageSize(folder.path() / "text.jpg").has_value());

    test::WriteFileBytes(folder.path() / "zero.bmp", BmpHeader(0, 10));
    EXPECT_FALSE(ProbeImageSize(folder.path() / "zero.bmp").has_value());

    // A segment length of 0 would loop on the same marker for ever.
    test::WriteFileBytes(folder.path() / "loop.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x00, 0, 0});
    EXPECT_FALSE(ProbeImageSize(folder.path() / "loop.jpg").has_value());

    // Scan data before any frame header: not a size.
    test::WriteFileBytes(folder.path() / "scan.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0, 0});
    EXPECT_FALSE(ProbeImageSize(folder.path() / "scan.jpg").has_value());
}

// An uncompressed 8-bit grey TIFF whose directory lists the width twice.
Bytes TiffWithTwoWidths(std::uint32_t first, std::uint32_t second, std::uint32_t height)
{
    struct Entry {
        std::uint16_t tag;
        std::uint16_t type;
        std::uint32_t value;
    };
    const std::uint32_t pixels = std::max(first, second) * height;
    constexpr std::uint32_t kEntries = 10;
    const std::uint32_t pixelOffset = 8 + 2 + kEntries * 12 + 4;
    const Entry entries[kEntries] = {
        {256, 4, first}, {256, 4, second}, {257, 4, height}, {258, 3, 8},           {259, 3, 1},
        {262, 3, 1},     {273, 4, pixelOffset}, {277, 3, 1}, {278, 4, height}, {279, 4, first * height},
    };
    Bytes out{'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto put16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put16(kEntries);
    for (const Entry& e : entries) {
        put16(e.tag);
        put16(e.type);
        put32(1);
        if (e.type == 3) {
            put16(e.value);
            put16(0);
        } else {
            put32(e.value);
        }
    }
    put32(0);
    out.resize(out.size() + pixels, 0x80);
    return out;
}

TEST(ImageSizeProbe, DuplicatedTiffSizeTagsCountAsTheDecoderCountsThem)
{
    test::TempDir folder;
    const auto path = folder.path() / "twice.tif";
    test::WriteFileBytes(path, TiffWithTwoWidths(4, 9, 3));
    FrameImage decoded;
    ASSERT_TRUE(LoadImageFile(path, decoded));
    const auto size = ProbeImageSize(path);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, (ImageSize{decoded.width(), decoded.height()}));
    EXPECT_EQ(size->width, 4);
}

} // namespace
} // namespace orvane
