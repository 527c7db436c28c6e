#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "TestData.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using test::BmpSpec;
using test::MakeDib;
using test::WithFileHeader;

// Stored byte b of stored row r.
std::uint8_t StoredByte(std::size_t row, std::size_t b)
{
    return static_cast<std::uint8_t>(row * 16 + b);
}

std::vector<std::uint8_t> Dib(const BmpSpec& layout)
{
    return MakeDib(layout, StoredByte);
}

std::vector<std::uint8_t> Bmp(const BmpSpec& layout)
{
    const std::vector<std::uint8_t> dib = Dib(layout);
    const std::size_t pixels =
        dib.size() - test::StoredRowBytes(layout) * static_cast<std::size_t>(std::abs(layout.height));
    return WithFileHeader(dib, static_cast<std::uint32_t>(14 + pixels));
}

TEST(BmpLoad, BottomUpTwentyFourBits)
{
    const BmpSpec layout; // 4 x 3, 24 bits
    const std::vector<std::uint8_t> file = Bmp(layout);
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_TRUE(image.isDrawable());
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.bitsPerPixel(), 24);
    // Stored rows are memory rows: the first stored row is the bottom of the picture.
    for (int row = 0; row < 3; ++row) {
        for (int b = 0; b < 12; ++b) {
            EXPECT_EQ(image.bits()[row * image.stride() + b],
                      StoredByte(static_cast<std::size_t>(row), static_cast<std::size_t>(b)));
        }
    }
}

TEST(BmpLoad, TopDownRowsAreFlippedIntoPlace)
{
    BmpSpec layout;
    layout.height = -3;
    const std::vector<std::uint8_t> file = Bmp(layout);
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.header().biHeight, 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(image.Row(row)[5], StoredByte(static_cast<std::size_t>(row), 5)); // first stored = top
    }
}

TEST(BmpLoad, EightBitsTakesTheStoredTable)
{
    BmpSpec layout;
    layout.bitsPerPixel = 8;
    layout.tableEntries = 256;
    const std::vector<std::uint8_t> dib = Dib(layout);
    FrameImage image;
    ASSERT_TRUE(image.LoadPackedDib(dib.data(), dib.size()));
    EXPECT_EQ(image.bitsPerPixel(), 8);
    EXPECT_EQ(image.colorTable()[3], (RGBQUAD{3, 51, 252, 0}));
    EXPECT_EQ(image.bits()[image.stride() + 2], StoredByte(1, 2));
}

TEST(BmpLoad, ShortTableIsHonouredAndTheRestIsBlack)
{
    BmpSpec layout;
    layout.bitsPerPixel = 8;
    layout.coloursUsed = 2;
    layout.tableEntries = 2;
    const std::vector<std::uint8_t> dib = Dib(layout);
    FrameImage image;
    ASSERT_TRUE(image.LoadPackedDib(dib.data(), dib.size()));
    EXPECT_EQ(image.colorTable()[1], (RGBQUAD{1, 17, 254, 0}));
    EXPECT_EQ(image.colorTable()[2], (RGBQUAD{}));
    EXPECT_EQ(image.bits()[0], StoredByte(0, 0)); // pixels start right after the two entries
}

TEST(BmpLoad, OneAndFourBitsWidenToIndices)
{
    BmpSpec layout;
    layout.width = 10;
    layout.height = 2;
    layout.bitsPerPixel = 4;
    layout.tableEntries = 16;
    const std::vector<std::uint8_t> four = MakeDib(layout, [](std::size_t row, std::size_t b) {
        return static_cast<std::uint8_t>(row == 0 ? 0x12 + b * 0x22 : 0xF0);
    });
    FrameImage image;
    ASSERT_TRUE(image.LoadPackedDib(four.data(), four.size()));
    EXPECT_EQ(image.bitsPerPixel(), 8);
    const std::uint8_t bottom[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(std::memcmp(image.bits(), bottom, 10), 0);
    EXPECT_EQ(image.bits()[image.stride()], 15);
    EXPECT_EQ(image.bits()[image.stride() + 1], 0);
    EXPECT_EQ(image.colorTable()[15], (RGBQUAD{15, 255, 240, 0}));

    layout.bitsPerPixel = 1;
    layout.tableEntries = 2;
    const std::vector<std::uint8_t> one = MakeDib(layout, [](std::size_t row, std::size_t b) {
        return static_cast<std::uint8_t>(row == 0 && b == 0 ? 0xA5 : b == 1 ? 0x80 : 0);
    });
    ASSERT_TRUE(image.Release() == 0 && image.LoadPackedDib(one.data(), one.size()));
    const std::uint8_t bits[10] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 0};
    EXPECT_EQ(std::memcmp(image.bits(), bits, 10), 0);
}

TEST(BmpLoad, PlainBitFieldsAreAccepted)
{
    BmpSpec layout;
    layout.bitsPerPixel = 32;
    layout.compression = 3;
    layout.bitfields = true;
    const std::vector<std::uint8_t> dib = Dib(layout);
    FrameImage image;
    ASSERT_TRUE(image.LoadPackedDib(dib.data(), dib.size()));
    EXPECT_EQ(image.bitsPerPixel(), 32);
    EXPECT_EQ(image.bits()[0], StoredByte(0, 0));
}

TEST(BmpLoad, DataOffsetOfTheFileHeaderIsFollowed)
{
    BmpSpec layout;
    layout.dataOffsetDelta = 6; // a gap between header and pixels
    const std::vector<std::uint8_t> dib = Dib(layout);
    const std::vector<std::uint8_t> file = WithFileHeader(dib, 14 + 40 + 6);
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_EQ(image.bits()[0], StoredByte(0, 0));
}

TEST(BmpLoad, LoadingIntoADrawableImageDrawsIntoIt)
{
    const std::vector<std::uint8_t> file = Bmp(BmpSpec{}); // 4 x 3
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 5, 32));
    ASSERT_TRUE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.height(), 5);
    EXPECT_EQ(image.bitsPerPixel(), 32);
    // Picture row 0 of the bitmap (stored row 2) at the top, alpha 0.
    const std::uint8_t expected[4] = {StoredByte(2, 0), StoredByte(2, 1), StoredByte(2, 2), 0};
    EXPECT_EQ(std::memcmp(image.Row(0), expected, 4), 0);
    EXPECT_EQ(image.Row(3)[0], 0);

    FrameImage memoryOnly;
    ASSERT_TRUE(memoryOnly.CreateMemoryOnly(2, 5, 32));
    ASSERT_TRUE(memoryOnly.LoadBmpImage(file.data(), file.size()));
    EXPECT_EQ(memoryOnly.width(), 4); // replaced
    EXPECT_TRUE(memoryOnly.isDrawable());
}

// Each broken input fails and leaves a loaded image as it was.
struct Broken {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

void ExpectRefusedAndUntouched(const std::vector<std::uint8_t>& bytes, bool asFile)
{
    FrameImage image;
    ASSERT_TRUE(image.CreateMemoryOnly(3, 2, 8));
    image.bits()[0] = 77;
    // A heap copy of exactly the given size, so that any read past it is caught by ASan.
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    const bool loaded =
        asFile ? image.LoadBmpImage(exact.get(), bytes.size()) : image.LoadPackedDib(exact.get(), bytes.size());
    EXPECT_FALSE(loaded);
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.bits()[0], 77);
}

std::vector<Broken> BrokenDibs()
{
    std::vector<Broken> cases;
    const auto with = [](auto change) {
        BmpSpec layout;
        change(layout);
        return Dib(layout);
    };
    std::vector<std::uint8_t> ok = Dib(BmpSpec{});
    cases.push_back({"header cut", std::vector<std::uint8_t>(ok.begin(), ok.begin() + 30)});
    cases.push_back({"last row cut", std::vector<std::uint8_t>(ok.begin(), ok.end() - 1)});
    cases.push_back({"empty", {}});
    cases.push_back({"zero width", with([](BmpSpec& s) { s.width = 0; })});
    cases.push_back({"negative width", with([](BmpSpec& s) {
                         s.width = -4;
                         s.writtenRows = 0;
                     })});
    cases.push_back({"zero height", with([](BmpSpec& s) { s.height = 0; })});
    cases.push_back({"absurd width", with([](BmpSpec& s) {
                         s.width = 1 << 30;
                         s.writtenRows = 0;
                     })});
    cases.push_back({"absurd height", with([](BmpSpec& s) {
                         s.height = INT_MAX;
                         s.writtenRows = 2;
                     })});
    cases.push_back({"most negative height", with([](BmpSpec& s) {
                         s.height = INT_MIN;
                         s.writtenRows = 2;
                     })});
    cases.push_back({"run-length compression of 24 bits", with([](BmpSpec& s) { s.compression = 1; })});
    cases.push_back({"jpeg compression", with([](BmpSpec& s) { s.compression = 4; })});
    cases.push_back({"odd bit fields", with([](BmpSpec& s) {
                         s.compression = 3;
                         s.bitfields = true; // 24 bits has no plain masks
                     })});
    const std::vector<std::uint8_t> oddHeader = with([](BmpSpec& s) {
        s.headerSize = 44;
        s.bitsPerPixel = 32;
        s.compression = 3;
    });
    cases.push_back({"bit fields without room for masks", oddHeader});
    cases.push_back({"bit fields cut", std::vector<std::uint8_t>(oddHeader.begin(), oddHeader.begin() + 46)});
    cases.push_back({"core header", with([](BmpSpec& s) { s.headerSize = 12; })});
    std::vector<std::uint8_t> longHeader = ok;
    longHeader[1] = 0x10; // header size 4136, longer than the data
    cases.push_back({"header beyond data", longHeader});
    cases.push_back({"2 bits", with([](BmpSpec& s) { s.bitsPerPixel = 2; })});
    cases.push_back({"table cut", with([](BmpSpec& s) {
                         s.bitsPerPixel = 8;
                         s.tableEntries = 100; // 256 expected
                     })});
    cases.push_back({"huge colours used", with([](BmpSpec& s) {
                         s.bitsPerPixel = 8;
                         s.coloursUsed = 0xFFFFFFFF;
                         s.tableEntries = 256;
                     })});
    cases.push_back({"largest size, one row present", with([](BmpSpec& s) {
                         s.width = 65535;
                         s.height = -65535;
                         s.bitsPerPixel = 32;
                         s.writtenRows = 1;
                     })});
    return cases;
}

TEST(BmpLoad, BrokenDibsFailCleanly)
{
    for (const Broken& c : BrokenDibs()) {
        SCOPED_TRACE(c.name);
        ExpectRefusedAndUntouched(c.bytes, false);
        std::vector<std::uint8_t> file = WithFileHeader(c.bytes, 54);
        ExpectRefusedAndUntouched(file, true);
    }
}

TEST(BmpLoad, FileHeaderIsChecked)
{
    std::vector<std::uint8_t> file = Bmp(BmpSpec{});
    file[0] = 'M';
    file[1] = 'B';
    ExpectRefusedAndUntouched(file, true);
    ExpectRefusedAndUntouched(std::vector<std::uint8_t>{'B', 'M', 0, 0}, true);
    // A data offset past the end is not followed; the pixels after the table are used.
    file = Bmp(BmpSpec{});
    file[10] = 0xFF;
    file[11] = 0xFF;
    FrameImage image;
    EXPECT_TRUE(image.LoadBmpImage(file.data(), file.size()));
    EXPECT_EQ(image.bits()[0], StoredByte(0, 0));
}

TEST(BmpLoad, CommittedFiles)
{
    FrameImage image;
    ASSERT_TRUE(image.LoadBmpFile(test::DataPath("image/grey8_top_down.bmp")));
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.bitsPerPixel(), 8);
    // The file's first row, the top one, holds 0 1 2 3 4; its last, 20 21 22 23 24.
    EXPECT_EQ(image.Row(0)[4], 4);
    EXPECT_EQ(image.Row(2)[0], 20);

    // Run-length encoded: 3 × 2, the bottom row index 1 (the run beyond the edge
    // cut), the top row index 9.
    ASSERT_TRUE(image.LoadBmpFile(test::DataPath("image/rle8.bmp")));
    EXPECT_EQ(image.bitsPerPixel(), 8);
    EXPECT_EQ(std::vector<std::uint8_t>(image.Row(0), image.Row(0) + 3), (std::vector<std::uint8_t>{9, 9, 9}));
    EXPECT_EQ(std::vector<std::uint8_t>(image.Row(1), image.Row(1) + 3), (std::vector<std::uint8_t>{1, 1, 1}));

    for (const char* name : {"image/truncated_pixels.bmp", "image/palette_past_end.bmp",
                             "image/negative_width.bmp", "image/missing.bmp"}) {
        SCOPED_TRACE(name);
        FrameImage broken;
        EXPECT_FALSE(broken.LoadBmpFile(test::DataPath(name)));
        EXPECT_TRUE(broken.isEmpty());
    }
}

} // namespace
} // namespace orvane
