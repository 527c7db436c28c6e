#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using test::Bytes;
namespace fs = std::filesystem;

constexpr std::size_t kPictureSize = 44154; // 54 + 420 × 105
constexpr std::size_t kHeaderSize = 33;

std::vector<std::string> Paths(const CThumbNail& chain)
{
    std::vector<std::string> paths;
    for (const THUMBNAIL* record = chain.First(); record != nullptr; record = record->next) {
        paths.push_back(record->path);
    }
    return paths;
}

std::vector<int> Numbers(const CThumbNail& chain)
{
    std::vector<int> numbers;
    for (const THUMBNAIL* record = chain.First(); record != nullptr; record = record->next) {
        numbers.push_back(record->no);
    }
    return numbers;
}

std::string Text(const Bytes& bytes, std::size_t at, std::size_t length)
{
    return {reinterpret_cast<const char*>(bytes.data() + at), length};
}

// Source pixel whose bytes tell where it came from: blue and green the low
// bytes of its buffer column and row, red their high bits.
FrameImage MakeCoordinatePicture(int width, int height, int bitsPerPixel = 24)
{
    FrameImage image;
    EXPECT_TRUE(image.CreateMemoryOnly(width, height, bitsPerPixel));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            std::uint8_t* pixel = image.bits() + static_cast<std::size_t>(row) * image.stride() +
                                  static_cast<std::size_t>(column) * image.bytesPerPixel();
            pixel[0] = static_cast<std::uint8_t>(column);
            pixel[1] = static_cast<std::uint8_t>(row);
            pixel[2] = static_cast<std::uint8_t>((column >> 8) | ((row >> 8) << 4));
        }
    }
    return image;
}

const std::uint8_t* BufferPixel(const FrameImage& image, int column, int row)
{
    return image.bits() + static_cast<std::size_t>(row) * image.stride() +
           static_cast<std::size_t>(column) * image.bytesPerPixel();
}

class ThumbnailFolderTest : public ::testing::Test {
protected:
    // Three images of different kinds and name lengths.
    void WriteThreeImages()
    {
        ASSERT_TRUE(SaveImage(Path("a.jpg"), test::MakeColourPicture(320, 240), kSaveTypeJpegMedium));
        ASSERT_TRUE(SaveBmp(test::MakeColourPicture(64, 48), Path("bb.bmp")));
        ASSERT_TRUE(SaveImage(Path("ccc.jpeg"), test::MakeColourPicture(200, 100), kSaveTypeJpegLow));
    }

    [[nodiscard]] std::string Path(const std::string& name) const { return (m_folder.path() / name).string(); }
    [[nodiscard]] fs::path IndexPath() const { return CThumbNail::IndexPathFor(m_folder.path()); }

    // Writes the index of the three images and returns its bytes.
    Bytes WriteIndexOfThreeImages()
    {
        WriteThreeImages();
        CThumbNail chain;
        EXPECT_EQ(chain.ScanImageFolder(m_folder.path()).added, 3);
        EXPECT_EQ(chain.SaveThumbnailIndex(IndexPath()), 1);
        return test::ReadFileBytes(IndexPath());
    }

    test::TempDir m_folder;
};

TEST_F(ThumbnailFolderTest, IndexOfThreeImagesHasTheExactLayout)
{
    WriteThreeImages();
    CThumbNail chain;
    const ThumbnailScanResult scan = chain.ScanImageFolder(m_folder.path());
    EXPECT_TRUE(scan.listed);
    EXPECT_EQ(scan.matching, 3);
    EXPECT_EQ(scan.added, 3);
    ASSERT_THAT(Paths(chain), ::testing::ElementsAre(Path("a.jpg"), Path("bb.bmp"), Path("ccc.jpeg")));
    EXPECT_THAT(Numbers(chain), ::testing::ElementsAre(0, 1, 2));
    ASSERT_EQ(chain.SaveThumbnailIndex(IndexPath()), 1);

    const Bytes file = test::ReadFileBytes(IndexPath());
    ASSERT_EQ(file.size(), kHeaderSize + (5 + 9 + kPictureSize) + (6 + 9 + kPictureSize) + (8 + 9 + kPictureSize));
    EXPECT_EQ(Text(file, 0, 29), std::string("KELVOR THUMBNAILFILE VER1000\0", 29));
    EXPECT_EQ(test::Le32At(file, 29), 3U);

    std::size_t at = kHeaderSize;
    const THUMBNAIL* record = chain.First();
    for (const std::string name : {"a.jpg", "bb.bmp", "ccc.jpeg"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(Text(file, at, name.size() + 1), name + '\0');
        at += name.size() + 1;
        EXPECT_EQ(test::Le32At(file, at), kPictureSize);
        EXPECT_EQ(test::Le32At(file, at + 4), 0U);
        const std::size_t bmp = at + 8;
        EXPECT_EQ(Text(file, bmp, 2), "BM");
        EXPECT_EQ(test::Le32At(file, bmp + 2), kPictureSize);
        EXPECT_EQ(test::Le32At(file, bmp + 6), 0U);
        EXPECT_EQ(test::Le32At(file, bmp + 10), 54U);
        EXPECT_EQ(test::Le32At(file, bmp + 14), 40U);
        EXPECT_EQ(test::Le32At(file, bmp + 18), 140U);
        EXPECT_EQ(test::Le32At(file, bmp + 22), 105U);
        EXPECT_EQ(test::Le16At(file, bmp + 26), 1U);
        EXPECT_EQ(test::Le16At(file, bmp + 28), 24U);
        EXPECT_EQ(test::Le32At(file, bmp + 30), 0U);
        ASSERT_EQ(record->picture.byteCount(), kPictureSize - 54);
        EXPECT_EQ(std::memcmp(file.data() + bmp + 54, record->picture.bits(), kPictureSize - 54), 0);
        at = bmp + kPictureSize;
        record = record->next;
    }
    EXPECT_EQ(at, file.size());
}

TEST_F(ThumbnailFolderTest, IndexRoundTripKeepsPathsOrderAndPictures)
{
    WriteThreeImages();
    CThumbNail written;
    written.ScanImageFolder(m_folder.path());
    ASSERT_EQ(written.SaveThumbnailIndex(IndexPath()), 1);

    CThumbNail read;
    ASSERT_EQ(read.LoadThumbnailIndex(IndexPath()), 1);
    ASSERT_EQ(Paths(read), Paths(written));
    EXPECT_THAT(Numbers(read), ::testing::ElementsAre(0, 1, 2));
    for (const THUMBNAIL *a = written.First(), *b = read.First(); a != nullptr; a = a->next, b = b->next) {
        ASSERT_EQ(b->picture.width(), 140);
        ASSERT_EQ(b->picture.height(), 105);
        ASSERT_EQ(b->picture.bitsPerPixel(), 24);
        EXPECT_EQ(std::memcmp(a->picture.bits(), b->picture.bits(), a->picture.byteCount()), 0) << a->path;
        EXPECT_EQ(b->mark, 0);
    }
    // The scan after reading the index decodes nothing again.
    EXPECT_EQ(read.ScanImageFolder(m_folder.path()).added, 0);
    EXPECT_EQ(read.Count(), 3);
}

TEST_F(ThumbnailFolderTest, OlderMagicIsReadAndRewrittenWithTheNewer)
{
    const Bytes current = WriteIndexOfThreeImages();
    // The older magic is one byte shorter: everything after it moves one byte down.
    Bytes older{'Z', 'B', '-', 'Q', 'T', ' ', 'T', 'H', 'U', 'M', 'B', 'N',
                'A', 'I', 'L', 'F', 'I', 'L', 'E', ' ', 'V', 'E', 'R'};
    older.insert(older.end(), current.begin() + 24, current.end());
    test::WriteFileBytes(IndexPath(), older);

    CThumbNail chain;
    ASSERT_EQ(chain.LoadThumbnailIndex(IndexPath()), 1);
    EXPECT_EQ(chain.Count(), 3);
    ASSERT_EQ(chain.SaveThumbnailIndex(IndexPath()), 1);
    EXPECT_EQ(test::ReadFileBytes(IndexPath()), current);
}

class ThumbnailVersionTest : public ThumbnailFolderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ThumbnailVersionTest, AnyVersionBut1000IsRefused)
{
    Bytes file = WriteIndexOfThreeImages();
    std::memcpy(file.data() + 24, GetParam(), 5);
    test::WriteFileBytes(IndexPath(), file);
    CThumbNail chain;
    EXPECT_EQ(chain.LoadThumbnailIndex(IndexPath()), 0);
    EXPECT_EQ(chain.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, ThumbnailVersionTest,
                         ::testing::Values("1001\0", "0999\0", "999\0\0", "\0\0\0\0\0", "abcd\0", "10000"));

TEST_F(ThumbnailFolderTest, WrongMagicOrMissingFileIsRefused)
{
    CThumbNail chain;
    EXPECT_EQ(chain.LoadThumbnailIndex(IndexPath()), 0);
    Bytes file = WriteIndexOfThreeImages();
    file[0] = 'k';
    test::WriteFileBytes(IndexPath(), file);
    EXPECT_EQ(chain.LoadThumbnailIndex(IndexPath()), 0);
    EXPECT_EQ(chain.Count(), 0);
}

TEST_F(ThumbnailFolderTest, EntriesOfMissingFilesAreDroppedAndLeaveTheNextIndex)
{
    WriteIndexOfThreeImages();
    fs::remove(Path("bb.bmp"));
    CThumbNail chain;
    ASSERT_EQ(chain.LoadThumbnailIndex(IndexPath()), 1);
    EXPECT_THAT(Paths(chain), ::testing::ElementsAre(Path("a.jpg"), Path("ccc.jpeg")));
    EXPECT_THAT(Numbers(chain), ::testing::ElementsAre(0, 1));
    ASSERT_EQ(chain.SaveThumbnailIndex(IndexPath()), 1);
    EXPECT_EQ(test::ReadFileBytes(IndexPath()).size(), kHeaderSize + (5 + 9 + kPictureSize) + (8 + 9 + kPictureSize));
}

// Entry names that are empty or reach outside the folder would let the chain
// point at (and the Remove command delete) files elsewhere.
TEST_F(ThumbnailFolderTest, NamesLeavingTheFolderAreSkippedAndReadingGoesOn)
{
    const Bytes original = WriteIndexOfThreeImages();
    fs::create_directory(m_folder.path() / "sub");
    ASSERT_TRUE(SaveBmp(test::MakeColourPicture(8, 8), m_folder.path() / "sub" / "x.bmp"));
    // Where the size fields of the three original entries start.
    const std::size_t firstSizes = kHeaderSize + 6;
    const std::size_t secondSizes = firstSizes + 8 + kPictureSize + 7;
    const std::size_t thirdSizes = secondSizes + 8 + kPictureSize + 9;
    Bytes rebuilt(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(kHeaderSize));
    const auto appendEntry = [&rebuilt, &original](const std::string& name, std::size_t sizesAt) {
        rebuilt.insert(rebuilt.end(), name.begin(), name.end());
        rebuilt.push_back(0);
        rebuilt.insert(rebuilt.end(), original.begin() + static_cast<std::ptrdiff_t>(sizesAt),
                       original.begin() + static_cast<std::ptrdiff_t>(sizesAt + 8 + kPictureSize));
    };
    // Each of these names an existing file or folder.
    appendEntry("../" + m_folder.path().filename().string() + "/a.jpg", firstSizes);
    appendEntry("", secondSizes);
    appendEntry(".", secondSizes);
    appendEntry("sub/x.bmp", secondSizes);
    appendEntry("ccc.jpeg", thirdSizes);
    rebuilt[29] = 5;
    test::WriteFileBytes(IndexPath(), rebuilt);

    CThumbNail chain;
    ASSERT_EQ(chain.LoadThumbnailIndex(IndexPath()), 1);
    EXPECT_THAT(Paths(chain), ::testing::ElementsAre(Path("ccc.jpeg")));
}

// Every cut of a valid index ends the reading cleanly after the entries that
// are complete: positions inside the headers and names one by one, inside the
// pixel rows sampled.
TEST_F(ThumbnailFolderTest, TruncatedIndexLoadsTheCompleteEntriesOnly)
{
    const Bytes file = WriteIndexOfThreeImages();
    const std::vector<std::size_t> entryEnds{kHeaderSize + 14 + kPictureSize, kHeaderSize + 29 + 2 * kPictureSize,
                                             file.size()};
    std::vector<std::size_t> cuts;
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        const bool nearStructure = cut < kHeaderSize + 80 || (cut + 80 > entryEnds[0] && cut < entryEnds[0] + 80) ||
                                   (cut + 80 > entryEnds[1] && cut < entryEnds[1] + 80) || cut + 80 > file.size();
        if (nearStructure || cut % 997 == 0) {
            cuts.push_back(cut);
        }
    }
    const fs::path cutPath = m_folder.path() / "cut";
    for (const std::size_t cut : cuts) {
        test::WriteFileBytes(cutPath, Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut)));
        CThumbNail chain;
        const int read = chain.LoadThumbnailIndex(cutPath);
        ASSERT_EQ(read, cut >= kHeaderSize ? 1 : 0) << "cut at " << cut;
        int complete = 0;
        while (complete < 3 && entryEnds[static_cast<std::size_t>(complete)] <= cut) {
            ++complete;
        }
        ASSERT_EQ(chain.Count(), complete) << "cut at " << cut;
    }
}

// Damaged bytes in the structure (names, sizes, BMP headers) never read
// outside the file and never give a picture that is not a thumbnail.
TEST_F(ThumbnailFolderTest, CorruptIndexBytesNeverGiveBrokenRecords)
{
    const Bytes file = WriteIndexOfThreeImages();
    const fs::path damagedPath = m_folder.path() / "damaged";
    const std::size_t secondEntry = kHeaderSize + 14 + kPictureSize;
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at < kHeaderSize + 14 + 54; ++at) {
        offsets.push_back(at);
    }
    for (std::size_t at = secondEntry; at < secondEntry + 15 + 54; ++at) {
        offsets.push_back(at);
    }
    for (const std::size_t at : offsets) {
        for (const std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
            Bytes damaged = file;
            damaged[at] = value;
            test::WriteFileBytes(damagedPath, damaged);
            CThumbNail chain;
            chain.LoadThumbnailIndex(damagedPath);
            ASSERT_LE(chain.Count(), 3);
            for (const THUMBNAIL* record = chain.First(); record != nullptr; record = record->next) {
                ASSERT_EQ(record->picture.width(), 140) << "byte " << at;
                ASSERT_EQ(record->picture.height(), 105) << "byte " << at;
                ASSERT_EQ(record->picture.bitsPerPixel(), 24) << "byte " << at;
            }
        }
    }
}

TEST_F(ThumbnailFolderTest, ScanTakesExactLowerCaseExtensionsOnly)
{
    const FrameImage picture = test::MakeColourPicture(40, 30);
    for (const char* name : {"IMG.JPG", "a.jpg", "b.JPEG", "c.Png", "d.tiff", "e.tif", "f.gif.txt", "g", "h.jpe"}) {
        ASSERT_TRUE(SaveImage(Path(name), picture, kSaveTypeJpegMedium));
    }
    // Files that match but cannot be decoded count, and get no thumbnail.
    test::WriteFileBytes(Path("broken.png"), Bytes{'n', 'o', 't', ' ', 'p', 'n', 'g'});
    fs::create_directory(Path("folder.bmp"));
    ASSERT_TRUE(SaveBmp(picture, Path("z.bmp")));

    CThumbNail chain;
    const ThumbnailScanResult scan = chain.ScanImageFolder(m_folder.path());
    EXPECT_EQ(scan.matching, 5); // a.jpg broken.png d.tiff e.tif z.bmp
    EXPECT_EQ(scan.added, 2);
    EXPECT_THAT(Paths(chain), ::testing::ElementsAre(Path("a.jpg"), Path("z.bmp")));
}

TEST(ThumbnailNames, ExtensionIsTheTextFromTheLastDot)
{
    EXPECT_TRUE(IsThumbnailImageName("x.tar.jpeg"));
    EXPECT_TRUE(IsThumbnailImageName(".png"));
    EXPECT_FALSE(IsThumbnailImageName("x.jpeg.old"));
    EXPECT_FALSE(IsThumbnailImageName("ThumbNail"));
    EXPECT_FALSE(IsThumbnailImageName("x.BMP"));
}

TEST_F(ThumbnailFolderTest, EmptyFolderEmptiesTheChainAndRemovesTheIndex)
{
    WriteIndexOfThreeImages();
    CThumbNail chain;
    ASSERT_EQ(chain.LoadThumbnailIndex(IndexPath()), 1);
    ASSERT_EQ(chain.Count(), 3);

    test::TempDir empty;
    test::WriteFileBytes(empty.path() / "ThumbNail", Bytes{'o', 'l', 'd'});
    const ThumbnailScanResult scan = chain.ScanImageFolder(empty.path());
    EXPECT_TRUE(scan.listed);
    EXPECT_EQ(scan.matching, 0);
    EXPECT_EQ(chain.Count(), 0);
    EXPECT_EQ(chain.SaveThumbnailIndex(CThumbNail::IndexPathFor(empty.path())), 0);
    EXPECT_FALSE(fs::exists(empty.path() / "ThumbNail"));
    EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST_F(ThumbnailFolderTest, UnlistableFolderEmptiesTheChain)
{
    WriteThreeImages();
    CThumbNail chain;
    chain.ScanImageFolder(m_folder.path());
    ASSERT_EQ(chain.Count(), 3);
    const ThumbnailScanResult scan = chain.ScanImageFolder(m_folder.path() / "missing");
    EXPECT_FALSE(scan.listed);
    EXPECT_EQ(chain.Count(), 0);
}

TEST_F(ThumbnailFolderTest, ScanReportsProgressAndStopsWhenAsked)
{
    WriteThreeImages();
    std::vector<std::pair<int, int>> reports;
    CThumbNail chain;
    const ThumbnailScanResult scan = chain.ScanImageFolder(m_folder.path(), [&reports](int done, int total) {
        reports.emplace_back(done, total);
        return done < 2;
    });
    EXPECT_THAT(reports, ::testing::ElementsAre(std::pair{0, 3}, std::pair{1, 3}, std::pair{2, 3}));
    EXPECT_TRUE(scan.cancelled);
    EXPECT_EQ(scan.added, 2);
    EXPECT_EQ(chain.Count(), 2);
}

TEST_F(ThumbnailFolderTest, SavingTheSameNameTwiceKeepsOneRecordPlacedLast)
{
    WriteThreeImages();
    CThumbNail chain;
    chain.ScanImageFolder(m_folder.path());
    ASSERT_EQ(chain.AddThumbnailFromFile(Path("a.jpg")), 1); // a second record of the same path
    ASSERT_EQ(chain.Count(), 4);

    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("a.jpg")), 2);
    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("a.jpg") + "/"), 0); // exact match only
    ASSERT_EQ(chain.AddThumbnailFromFile(Path("a.jpg")), 1);
    EXPECT_THAT(Paths(chain), ::testing::ElementsAre(Path("bb.bmp"), Path("ccc.jpeg"), Path("a.jpg")));
    EXPECT_THAT(Numbers(chain), ::testing::ElementsAre(0, 1, 2));

    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("a.jpg")), 1);  // the last record
    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("bb.bmp")), 1); // the first record
    EXPECT_THAT(Paths(chain), ::testing::ElementsAre(Path("ccc.jpeg")));
    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("ccc.jpeg")), 1); // the only record
    EXPECT_EQ(chain.Count(), 0);
    EXPECT_EQ(chain.RemoveThumbnailsFor(Path("ccc.jpeg")), 0);
}

TEST_F(ThumbnailFolderTest, SelectThumbnailMovesTheCursorByPosition)
{
    WriteThreeImages();
    CThumbNail chain;
    EXPECT_EQ(chain.SelectThumbnail(0), 0);
    chain.ScanImageFolder(m_folder.path());
    ASSERT_EQ(chain.SelectThumbnail(1), 1);
    EXPECT_EQ(chain.Current()->path, Path("bb.bmp"));
    EXPECT_EQ(chain.SelectThumbnail(3), 0);
    EXPECT_EQ(chain.SelectThumbnail(-1), 0);
}

TEST_F(ThumbnailFolderTest, ThumbnailOfAJpegMatchesTheFullPictureScaled)
{
    const FrameImage picture = test::MakeColourPicture(1600, 1200);
    ASSERT_TRUE(SaveImage(Path("big.jpg"), picture, kSaveTypeJpegHigh));
    CThumbNail chain;
    ASSERT_EQ(chain.AddThumbnailFromFile(Path("big.jpg")), 1);
    const FrameImage expected = test::ScaleNearest(picture, 140, 105);
    EXPECT_LT(test::MeanAbsoluteDifference(chain.Current()->picture, expected), 6.0);
    EXPECT_EQ(chain.AddThumbnailFromFile(Path("missing.jpg")), 0);
    EXPECT_EQ(chain.Count(), 1);
}

// Destination (column, row) in buffer order and the source pixel it must take,
// worked out by hand in single precision; 147 and 245 are sizes where exact
// arithmetic would pick the next pixel.
struct ScaleCase {
    int sourceWidth;
    int sourceHeight;
    int column;
    int row;
    int sourceColumn;
    int sourceRow;
};

class ThumbnailScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ThumbnailScaleTest, DestinationPixelTakesTheFormulasSourcePixel)
{
    const ScaleCase& c = GetParam();
    EXPECT_EQ(ThumbnailSourceIndex(c.column, c.sourceWidth, 140), c.sourceColumn);
    EXPECT_EQ(ThumbnailSourceIndex(c.row, c.sourceHeight, 105), c.sourceRow);
    for (const int bits : {24, 32}) {
        const FrameImage source = MakeCoordinatePicture(c.sourceWidth, c.sourceHeight, bits);
        CThumbNail chain;
        ASSERT_EQ(chain.AddThumbnail("p.bmp", source), 1);
        const FrameImage& thumb = chain.Current()->picture;
        ASSERT_EQ(thumb.bitsPerPixel(), 24);
        const std::uint8_t* got = BufferPixel(thumb, c.column, c.row);
        const std::uint8_t* want = BufferPixel(source, c.sourceColumn, c.sourceRow);
        EXPECT_EQ(std::vector<int>(got, got + 3), std::vector<int>(want, want + 3)) << bits << " bits";
    }
}

INSTANTIATE_TEST_SUITE_P(Pixels, ThumbnailScaleTest,
                         ::testing::Values(ScaleCase{1000, 700, 0, 0, 0, 0}, ScaleCase{1000, 700, 70, 52, 500, 346},
                                           ScaleCase{1000, 700, 139, 104, 992, 693},
                                           ScaleCase{147, 245, 60, 27, 62, 62}, ScaleCase{147, 245, 100, 51, 104, 118},
                                           ScaleCase{147, 245, 139, 104, 145, 242}, ScaleCase{50, 40, 70, 52, 25, 19},
                                           ScaleCase{50, 40, 139, 104, 49, 39}, ScaleCase{140, 105, 77, 33, 77, 33}));

TEST(ThumbnailScale, EightBitPixelsGoThroughTheColourTable)
{
    FrameImage source;
    ASSERT_TRUE(source.CreateMemoryOnly(280, 210, 8));
    for (int row = 0; row < 210; ++row) {
        for (int column = 0; column < 280; ++column) {
            source.bits()[row * source.stride() + column] = static_cast<std::uint8_t>(column + row);
        }
    }
    CThumbNail chain;
    ASSERT_EQ(chain.AddThumbnail("grey.bmp", source), 1);
    const FrameImage& grey = chain.Current()->picture;
    // Column 10, row 7 takes source (20, 14): index 34 of the grey ramp.
    EXPECT_EQ(std::vector<int>(BufferPixel(grey, 10, 7), BufferPixel(grey, 10, 7) + 3), (std::vector<int>{34, 34, 34}));

    RGBQUAD sepia{.rgbBlue = 20, .rgbGreen = 66, .rgbRed = 112, .rgbReserved = 0};
    ASSERT_TRUE(source.SetColorTable(2, &sepia, 34, 1));
    ASSERT_EQ(chain.AddThumbnail("sepia.bmp", source), 1);
    const FrameImage& coloured = chain.Current()->picture;
    EXPECT_EQ(std::vector<int>(BufferPixel(coloured, 10, 7), BufferPixel(coloured, 10, 7) + 3),
              (std::vector<int>{20, 66, 112}));
}

TEST(ThumbnailScale, SixteenBitPixelsBecomeGreyOfBitsTwoToNine)
{
    FrameImage source;
    ASSERT_TRUE(source.CreateMemoryOnly(140, 105, 16));
    const std::vector<std::uint16_t> values{0x0000, 0x0003, 0x0155, 0x03FC, 0x03FF, 0x0400, 0xFFFF};
    for (std::size_t i = 0; i < values.size(); ++i) {
        source.bits()[2 * i] = static_cast<std::uint8_t>(values[i]);
        source.bits()[2 * i + 1] = static_cast<std::uint8_t>(values[i] >> 8);
    }
    CThumbNail chain;
    ASSERT_EQ(chain.AddThumbnail("deep.tif", source), 1);
    const std::vector<int> expected{0x00, 0x00, 0x55, 0xFF, 0xFF, 0x00, 0xFF};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::uint8_t* pixel = BufferPixel(chain.Current()->picture, static_cast<int>(i), 0);
        EXPECT_EQ(std::vector<int>(pixel, pixel + 3), std::vector<int>(3, expected[i])) << "value " << values[i];
    }
}

TEST(ThumbnailScale, EmptyOrUnknownDepthAddsNothing)
{
    CThumbNail chain;
    EXPECT_EQ(chain.AddThumbnail("empty.bmp", FrameImage{}), 0);
    EXPECT_EQ(chain.Count(), 0);
}

} // namespace
} // namespace orvane
