#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/FrameImage.h"

// BMP files as other programs write them: run-length encoded, OS/2 headers,
// bit fields with any masks, a last row without its padding. Each is built
// byte by byte and must load as the picture it describes.
namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A Windows information header of `size` bytes (40, 52, 56, 108 or 124), the
// masks at offset 40 when the header holds them.
Bytes InfoHeader(std::uint32_t size, std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                 std::array<std::uint32_t, 3> masks = {})
{
    Bytes out;
    Put32(out, size);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, compression);
    out.resize(40, 0);
    if (size >= 52) {
        for (const std::uint32_t m : masks) {
            Put32(out, m);
        }
    }
    out.resize(size, 0);
    return out;
}

Bytes OnePerEntryTable(int entries, int entryBytes)
{
    Bytes out;
    for (int i = 0; i < entries; ++i) {
        // blue, green, red
        out.insert(out.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 100});
        if (entryBytes == 4) {
            out.push_back(0);
        }
    }
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// With the 14-byte file header in front, its data offset pointing past `beforePixels`.
Bytes File(const Bytes& beforePixels, const Bytes& pixels)
{
    Bytes out{'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(14 + beforePixels.size() + pixels.size()));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(14 + beforePixels.size()));
    out.insert(out.end(), beforePixels.begin(), beforePixels.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

struct Family {
    const char* name;
    Bytes file;
    int bitsPerPixel;
    int width;
    int height;
    // Expected bytes of each picture row, top row first, without padding.
    std::vector<Bytes> rows;
};

std::vector<Family> Families()
{
    std::vector<Family> families;
    const Bytes table8 = OnePerEntryTable(256, 4);
    const Bytes table16 = OnePerEntryTable(16, 4);

    // RLE8: an absolute run of odd length (padded), a move up, a run, the end.
    families.push_back({"rle8",
                        File(Join({InfoHeader(40, 4, 3, 8, 1), table8}),
                             {0, 3, 7, 8, 9, 0, 0, 2, 0, 1, 1, 6, 0, 1}),
                        8,
                        4,
                        3,
                        {{0, 0, 0, 0}, {0, 0, 0, 6}, {7, 8, 9, 0}}});
    // RLE4: a run of alternating nibbles, end of line, an absolute run, the end;
    // the run that passes the right edge is cut there.
    families.push_back({"rle4",
                        File(Join({InfoHeader(40, 5, 2, 4, 2), table16}),
                             {7, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}),
                        8,
                        5,
                        2,
                        {{3, 4, 5, 0, 0}, {1, 2, 1, 2, 1}}});
    // OS/2 1.x: 12-byte header, 3-byte colour entries.
    {
        Bytes core;
        Put32(core, 12);
        Put16(core, 3);
        Put16(core, 2);
        Put16(core, 1);
        Put16(core, 8);
        families.push_back({"os2_core_8_bit",
                            File(Join({core, OnePerEntryTable(256, 3)}), {5, 6, 7, 0, 1, 2, 3, 0}),
                            8,
                            3,
                            2,
                            {{1, 2, 3}, {5, 6, 7}}});
    }
    // OS/2 2.x: a 16-byte header (the rest of the fields zero), 24 bits.
    {
        Bytes header;
        Put32(header, 16);
        Put32(header, 2);
        Put32(header, 1);
        Put16(header, 1);
        Put16(header, 24);
        families.push_back({"os2_short_24_bit", File(header, {1, 2, 3, 4, 5, 6, 0, 0}), 24, 2, 1, {{1, 2, 3, 4, 5, 6}}});
    }
    // 16-bit 5-6-5: red, green, blue, a middle grey; masks after a 40-byte header.
    {
        Bytes pixels;
        for (const std::uint32_t v : {0xF800u, 0x07E0u, 0x001Fu, 0x8410u}) {
            Put16(pixels, v);
        }
        Bytes masks;
        for (const std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) {
            Put32(masks, m);
        }
        families.push_back({"bitfields_565",
                            File(Join({InfoHeader(40, 4, 1, 16, 3), masks}), pixels),
                            24,
                            4,
                            1,
                            {{0, 0, 255, 0, 255, 0, 255, 0, 0, 132, 130, 132}}});
    }
    // 16-bit 5-5-5 in bit fields is colour too (a V5 header holding the masks).
    {
        Bytes pixels;
        Put16(pixels, 0x7C00);
        Put16(pixels, 0x03FF);
        families.push_back({"bitfields_555_v5",
                            File(InfoHeader(124, 2, 1, 16, 3, {0x7C00, 0x03E0, 0x001F}), pixels),
                            24,
                            2,
                            1,
                            {{0, 0, 255, 255, 255, 0}}});
    }
    // 32 bits, red in the low byte and blue in the third.
    {
        Bytes pixels;
        Put32(pixels, 0x00332211);
        families.push_back({"bitfields_32_rgba_order",
                            File(InfoHeader(56, 1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}), pixels),
                            24,
                            1,
                            1,
                            {{0x33, 0x22, 0x11}}});
    }
    // 32 bits of 10-bit channels: the top 8 bits count, rounded.
    {
        Bytes pixels;
        Put32(pixels, (1023u << 20) | (512u << 10) | 0u);
        families.push_back({"bitfields_32_ten_bit",
                            File(InfoHeader(108, 1, 1, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}), pixels),
                            24,
                            1,
                            1,
                            {{0, 128, 255}}});
    }
    // A mask of all 32 bits (grey from the whole pixel) and an empty one.
    {
        Bytes pixels;
        Put32(pixels, 0xFFFFFFFF);
        Put32(pixels, 0x80000000);
        families.push_back({"bitfields_32_whole_pixel",
                            File(InfoHeader(56, 2, 1, 32, 3, {0xFFFFFFFF, 0, 0xFFFFFFFF}), pixels),
                            24,
                            2,
                            1,
                            {{255, 0, 255, 128, 0, 128}}});
    }
    // 24 bits, 3 pixels wide: the last row lacks its 3 bytes of padding.
    families.push_back({"last_row_without_padding",
                        File(InfoHeader(40, 3, 2, 24, 0), {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16,
                                                          17, 18, 19}),
                        24,
                        3,
                        2,
                        {{11, 12, 13, 14, 15, 16, 17, 18, 19}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}});
    return families;
}

class BmpFamilies : public ::testing::TestWithParam<Family> {};

TEST_P(BmpFamilies, LoadAsThePictureTheyDescribe)
{
    const Family& family = GetParam();
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpImage(family.file.data(), family.file.size()));
    ASSERT_EQ(image.bitsPerPixel(), family.bitsPerPixel);
    ASSERT_EQ(image.width(), family.width);
    ASSERT_EQ(image.height(), family.height);
    for (int y = 0; y < family.height; ++y) {
        const std::uint8_t* row = image.Row(y);
        EXPECT_EQ(Bytes(row, row + family.rows[static_cast<std::size_t>(y)].size()), family.rows[static_cast<std::size_t>(y)])
            << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpFamilies, ::testing::ValuesIn(Families()),
                         [](const ::testing::TestParamInfo<Family>& c) { return std::string(c.param.name); });

TEST(BmpFamilies, PalettesOfOs2FilesAreThreeBytesAnEntry)
{
    const Family core = Families()[2];
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpImage(core.file.data(), core.file.size()));
    const RGBQUAD& entry = image.colorTable()[7];
    EXPECT_EQ(entry.rgbBlue, 7);
    EXPECT_EQ(entry.rgbGreen, 248);
    EXPECT_EQ(entry.rgbRed, 100);
}

TEST(BmpFamilies, RunsBeyondTheDataOrThePictureStopCleanly)
{
    const Bytes table8 = OnePerEntryTable(256, 4);
    // An absolute run longer than the data, a move far past the top.
    for (const Bytes& pixels : {Bytes{0, 200, 1, 2}, Bytes{0, 2, 255, 255, 5, 5}, Bytes{255, 3}}) {
        const Bytes file = File(Join({InfoHeader(40, 2, 2, 8, 1), table8}), pixels);
        FrameImage image;
        ASSERT_TRUE(image.LoadBmpImage(file.data(), file.size()));
        EXPECT_EQ(image.width(), 2);
    }
}

// Found by fuzzing: 156 bytes of RLE8 declaring 51981 × 32775 pixels made the
// loader allocate and clear 1.7 GB.
TEST(BmpFamilies, RunLengthDataFarTooShortForItsPictureIsRefused)
{
    const Bytes file{
        0x42, 0x4d, 0xfa, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xfa, 0x00, 0x00, 0x00, 0x48, 0x28, 0x00, 0x00, 0x00,
        0x0d, 0xcb, 0x00, 0x00, 0x07, 0x80, 0x00, 0x00, 0x10, 0x00, 0x08, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x02, 0x00, 0x00, 0x00, 0x00, 0x48, 0x28, 0x00, 0x00, 0x00, 0x0d, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xfa,
        0x00, 0x00, 0x00, 0x48, 0x28, 0x00, 0x00, 0x00, 0x0b, 0x00, 0x00, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d,
        0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0xfa, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xfa, 0x00, 0x00, 0x00, 0x48, 0x28,
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x09, 0x0d, 0x00, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68,
        0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x68,
        0x68, 0x68, 0x68, 0x68, 0x68, 0x68, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d, 0x0d,
        0x00, 0x00, 0xf9, 0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x00, 0x03, 0x38};
    ASSERT_EQ(file.size(), 156u);
    FrameImage image;
    EXPECT_FALSE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_TRUE(image.isEmpty());
    // The same run-length data for a picture it can fill opens.
    Bytes small = file;
    small[18] = 40; // width 40
    small[19] = 0;
    small[22] = 30; // height 30
    small[23] = 0;
    EXPECT_TRUE(image.LoadBmpImage(small.data(), small.size()));
    EXPECT_EQ(image.width(), 40);
}

} // namespace
} // namespace orvane
