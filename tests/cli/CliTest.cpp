#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RunTool.h"
#include "TempDir.h"
#include "files/ImageFiles.h"
#include "files/MeasureFile.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

using Outcome = test::ToolOutcome;
using test::RunTool;

// A length of 0.5 mm from (10, 10) to (20, 10); a 10 x 10 pixel square of
// 0.25 mm2; a perpendicular of 1 mm from (50, 20) onto the x axis; a 90 degree
// angle. Stored as the program computed them with 0.05 mm per pixel.
void FillChain(CMeasureChain& chain)
{
    MEASURE length;
    length.kind = FinishedKind(kModeLength);
    length.pointCount = 2;
    length.points.SetAt(0, 10, 10);
    length.points.SetAt(1, 20, 10);
    length.value[0] = 0.5;
    length.unit = kUnitMm;
    chain.AddTailCopy(&length);

    MEASURE square;
    square.kind = FinishedKind(kModeArea);
    square.pointCount = 4;
    square.points.SetAt(0, 0, 0);
    square.points.SetAt(1, 9, 0);
    square.points.SetAt(2, 9, 9);
    square.points.SetAt(3, 0, 9);
    square.value[0] = square.value[1] = 0.25;
    square.unit = kUnitMm;
    chain.AddTailCopy(&square);

    MEASURE perpendicular;
    perpendicular.kind = FinishedKind(kModePerpendicular);
    perpendicular.pointCount = 3;
    perpendicular.points.SetAt(0, 0, 0);
    perpendicular.points.SetAt(1, 100, 0);
    perpendicular.points.SetAt(2, 50, 20);
    perpendicular.points.SetAt(3, 50, 0);
    perpendicular.value[0] = 1.0;
    perpendicular.unit = kUnitMm;
    chain.AddTailCopy(&perpendicular);

    MEASURE angle;
    angle.kind = FinishedKind(kModeAngle);
    angle.pointCount = 3;
    angle.points.SetAt(0, 20, 10);
    angle.points.SetAt(1, 10, 10);
    angle.points.SetAt(2, 10, 0);
    angle.value[0] = 90.0;
    angle.unit = kUnitMm;
    chain.AddTailCopy(&angle);
}

std::filesystem::path WriteResults(const test::TempDir& folder)
{
    CMeasureChain chain;
    FillChain(chain);
    const auto path = folder / "results.mes";
    EXPECT_EQ(SaveMeasureFile(chain, path), 1);
    return path;
}

TEST(Mes2Csv, StoredValuesInTheirStoredUnits)
{
    test::TempDir folder;
    const auto file = WriteResults(folder);
    const Outcome outcome = RunTool(folder, {"mes2csv", file.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "No.,Type,Result,Unit\r\n"
                           "0,Length,0.500,mm\r\n"
                           "1,Angle,0.0,degree\r\n"
                           "2,Polygon area,0.250,mm2\r\n"
                           "3,Length,1.000,mm\r\n"
                           "4,Angle,90.0,degree\r\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(Mes2Csv, JapaneseTexts)
{
    test::TempDir folder;
    const auto file = WriteResults(folder);
    const Outcome outcome = RunTool(folder, {"mes2csv", "--lang", "ja", file.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "No.,計測内容,測定値,単位\r\n"
                           "0,二点間距離,0.500,mm\r\n"
                           "1,角度,0.0,°\r\n"
                           "2,多角形面積,0.250,mm2\r\n"
                           "3,二点間距離,1.000,mm\r\n"
                           "4,角度,90.0,°\r\n");
}

TEST(Mes2Csv, RecomputedForAnotherCalibration)
{
    test::TempDir folder;
    const auto file = WriteResults(folder);
    // 0.1 x 0.2 cm per pixel: the length is horizontal, the perpendicular
    // vertical (its foot is not in the file and must be found again), the
    // square covers 100 pixels; angles stay.
    const Outcome outcome =
        RunTool(folder, {"mes2csv", file.string(), "--recompute", "0.1", "0.2", "cm", "--frame", "640x480"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "No.,Type,Result,Unit\r\n"
                           "0,Length,1.00,cm\r\n"
                           "1,Angle,0.0,degree\r\n"
                           "2,Polygon area,2.00,cm2\r\n"
                           "3,Length,4.00,cm\r\n"
                           "4,Angle,90.0,degree\r\n");

    // Areas are counted on the given frame; the numeric unit code works too.
    const Outcome clipped =
        RunTool(folder, {"mes2csv", file.string(), "--recompute", "0.1", "0.2", "0", "--frame", "5x5"});
    EXPECT_EQ(clipped.status, 0) << clipped.err;
    EXPECT_NE(clipped.out.find("2,Polygon area,0.50,cm2\r\n"), std::string::npos) << clipped.out;
}

TEST(Mes2Csv, DamagedFilePrintsTheCompleteRecordsAndWarns)
{
    test::TempDir folder;
    const auto file = WriteResults(folder);
    std::string bytes = test::ReadBytes(file);
    // Cut inside the perpendicular (the third record).
    const std::size_t cut = kMeasureFileHeaderBytes + (140 + 2 * 16) + (140 + 4 * 16) + 100;
    test::WriteBytes(file, bytes.substr(0, cut));
    const Outcome outcome = RunTool(folder, {"mes2csv", file.string()});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "No.,Type,Result,Unit\r\n"
                           "0,Length,0.500,mm\r\n"
                           "1,Angle,0.0,degree\r\n"
                           "2,Polygon area,0.250,mm2\r\n");
    EXPECT_NE(outcome.err.find("2 dropped"), std::string::npos) << outcome.err;
}

TEST(Mes2Csv, UnusableFilesExitWithOne)
{
    test::TempDir folder;
    test::WriteBytes(folder / "wrong.mes", std::string("_MES0999\0\0\0\0", 12));
    const Outcome wrong = RunTool(folder, {"mes2csv", (folder / "wrong.mes").string()});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("not an Orvane results file"), std::string::npos) << wrong.err;

    const Outcome missing = RunTool(folder, {"mes2csv", (folder / "absent.mes").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
}

class UsageErrors : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UsageErrors, ExitWithTwoAndSayWhy)
{
    test::TempDir folder;
    const auto file = WriteResults(folder);
    std::vector<std::string> args = GetParam();
    for (std::string& arg : args) {
        if (arg == "FILE") {
            arg = file.string();
        }
    }
    const Outcome outcome = RunTool(folder, args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("orvane-tool"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageErrors,
    testing::Values(std::vector<std::string>{}, std::vector<std::string>{"frobnicate"},
                    std::vector<std::string>{"mes2csv"}, std::vector<std::string>{"mes2csv", "FILE", "FILE"},
                    std::vector<std::string>{"mes2csv", "FILE", "--lang", "de"},
                    std::vector<std::string>{"mes2csv", "FILE", "--lang"},
                    std::vector<std::string>{"mes2csv", "FILE", "--bogus"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "0.1", "0.1", "mm"},
                    std::vector<std::string>{"mes2csv", "FILE", "--frame", "10x10"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "0.1", "0.1", "km", "--frame", "9x9"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "x", "0.1", "mm", "--frame", "9x9"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "nan", "0.1", "mm", "--frame", "9x9"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "0.1", "0.1", "mm", "--frame", "0x9"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "0.1", "0.1", "mm", "--frame", "9"},
                    std::vector<std::string>{"mes2csv", "FILE", "--recompute", "0.1", "0.1"},
                    std::vector<std::string>{"convert", "a.bmp"}, std::vector<std::string>{"convert", "a.bmp", "b.png"},
                    std::vector<std::string>{"convert", "a.txt", "b.bmp"},
                    std::vector<std::string>{"convert", "a.bmp", "b.jpg", "--type", "5"},
                    std::vector<std::string>{"convert", "a.bmp", "b.jpg", "c.jpg"}));

TEST(Cli, HelpAndVersion)
{
    test::TempDir folder;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"mes2csv", "--help"}, {"convert", "--help"}}) {
        const Outcome outcome = RunTool(folder, args);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.out.find("Usage: orvane-tool"), std::string::npos) << outcome.out;
    }
    const Outcome version = RunTool(folder, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("orvane-tool (Orvane) ", 0), 0u) << version.out;
}

// A 24-bit picture with a smooth gradient, which JPEG keeps well.
FrameImage Gradient(int width, int height)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x + 0] = static_cast<std::uint8_t>(x * 4);
            row[3 * x + 1] = static_cast<std::uint8_t>(y * 6);
            row[3 * x + 2] = static_cast<std::uint8_t>(128);
        }
    }
    return image;
}

int LargestDifference(const FrameImage& a, const FrameImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < 3 * a.width(); ++x) {
            largest = std::max(largest, std::abs(int{a.Row(y)[x]} - int{b.Row(y)[x]}));
        }
    }
    return largest;
}

TEST(Convert, BmpToJpegAndBack)
{
    test::TempDir folder;
    const FrameImage original = Gradient(40, 30);
    ASSERT_TRUE(SaveImage(folder / "in.bmp", original, kSaveTypeBmp));

    const Outcome toJpeg = RunTool(folder, {"convert", (folder / "in.bmp").string(), (folder / "out.JPG").string()});
    ASSERT_EQ(toJpeg.status, 0) << toJpeg.err;
    EXPECT_EQ(test::ReadBytes(folder / "out.JPG").substr(0, 2), "\xFF\xD8");
    FrameImage jpeg;
    ASSERT_TRUE(LoadImageFile(folder / "out.JPG", jpeg));
    ASSERT_EQ(jpeg.width(), 40);
    ASSERT_EQ(jpeg.height(), 30);
    EXPECT_LE(LargestDifference(original, jpeg), 8);

    const Outcome toBmp = RunTool(folder, {"convert", (folder / "out.JPG").string(), (folder / "back.bmp").string()});
    ASSERT_EQ(toBmp.status, 0) << toBmp.err;
    EXPECT_EQ(test::ReadBytes(folder / "back.bmp").substr(0, 2), "BM");
    FrameImage bmp;
    ASSERT_TRUE(LoadImageFile(folder / "back.bmp", bmp));
    ASSERT_EQ(bmp.width(), 40);
    EXPECT_EQ(LargestDifference(jpeg, bmp), 0);
}

TEST(Convert, SixteenBitPicturesBecomeEightBitGreyBmps)
{
    test::TempDir folder;
    FrameImage sixteen;
    ASSERT_TRUE(sixteen.Create(5, 2, 16));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int value = 200 * x + 3 * y; // ten bits
            sixteen.Row(y)[2 * x] = static_cast<std::uint8_t>(value);
            sixteen.Row(y)[2 * x + 1] = static_cast<std::uint8_t>(value >> 8);
        }
    }
    ASSERT_TRUE(SaveImage(folder / "in.bmp", sixteen, kSaveTypeBmp));

    const Outcome converted = RunTool(folder, {"convert", (folder / "in.bmp").string(), (folder / "out.bmp").string()});
    ASSERT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(test::ReadBytes(folder / "out.bmp")[28], 8); // biBitCount
    FrameImage grey;
    ASSERT_TRUE(LoadImageFile(folder / "out.bmp", grey));
    ASSERT_EQ(grey.bitsPerPixel(), 8);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(grey.Row(y)[x], ((200 * x + 3 * y) >> 2) & 0xFF) << x << "," << y;
            EXPECT_EQ(grey.colorTable()[grey.Row(y)[x]].rgbGreen, grey.Row(y)[x]);
        }
    }
}

TEST(Convert, TypeChoosesTheFormatWhateverTheName)
{
    test::TempDir folder;
    ASSERT_TRUE(SaveImage(folder / "in.bmp", Gradient(16, 16), kSaveTypeBmp));
    const Outcome low =
        RunTool(folder, {"convert", (folder / "in.bmp").string(), (folder / "out.img").string(), "--type", "4"});
    ASSERT_EQ(low.status, 0) << low.err;
    EXPECT_EQ(test::ReadBytes(folder / "out.img").substr(0, 2), "\xFF\xD8");
    const Outcome bmp =
        RunTool(folder, {"convert", "--type", "1", (folder / "in.bmp").string(), (folder / "as.jpg").string()});
    ASSERT_EQ(bmp.status, 0) << bmp.err;
    EXPECT_EQ(test::ReadBytes(folder / "as.jpg").substr(0, 2), "BM");
}

TEST(Convert, UndecodableInputExitsWithOne)
{
    test::TempDir folder;
    test::WriteBytes(folder / "broken.jpg", "not a picture");
    const Outcome broken =
        RunTool(folder, {"convert", (folder / "broken.jpg").string(), (folder / "out.bmp").string()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.bmp"));
    const Outcome missing = RunTool(folder, {"convert", (folder / "none.png").string(), (folder / "out.bmp").string()});
    EXPECT_EQ(missing.status, 1);
}

TEST(Thumbs, RebuildWritesTheIndexAndTheListingShowsImageSizes)
{
    test::TempDir folder;
    const std::string path = folder.path().string();
    ASSERT_TRUE(SaveImage(folder / "b.jpg", Gradient(40, 30), kSaveTypeJpegMedium));
    ASSERT_TRUE(SaveImage(folder / "a.bmp", Gradient(16, 12), kSaveTypeBmp));
    test::WriteBytes(folder / "c.png", "not a picture");

    const Outcome none = RunTool(folder, {"thumbs", path});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("--rebuild"), std::string::npos) << none.err;

    const Outcome rebuilt = RunTool(folder, {"thumbs", path, "--rebuild"});
    ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;
    EXPECT_EQ(rebuilt.out, "a.bmp\t16x12\nb.jpg\t40x30\n");
    EXPECT_EQ(rebuilt.err.find("scanning"), std::string::npos) << "progress only on a terminal";
    EXPECT_EQ(test::ReadBytes(folder / "ThumbNail").substr(0, 29), std::string("KELVOR THUMBNAILFILE VER1000\0", 29));

    // Listing reads the index only: a removed file drops out, an unreadable one shows "?".
    std::filesystem::remove(folder / "a.bmp");
    test::WriteBytes(folder / "b.jpg", "damaged");
    const Outcome listed = RunTool(folder, {"thumbs", path});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "b.jpg\t?\n");
}

TEST(Thumbs, FolderWithoutImagesLosesItsIndex)
{
    test::TempDir folder;
    ASSERT_TRUE(SaveImage(folder / "a.jpg", Gradient(16, 16), kSaveTypeJpegLow));
    ASSERT_EQ(RunTool(folder, {"thumbs", folder.path().string(), "--rebuild"}).status, 0);
    ASSERT_TRUE(std::filesystem::exists(folder / "ThumbNail"));
    std::filesystem::remove(folder / "a.jpg");
    const Outcome emptied = RunTool(folder, {"thumbs", folder.path().string(), "--rebuild"});
    EXPECT_EQ(emptied.status, 0) << emptied.err;
    EXPECT_EQ(emptied.out, "");
    EXPECT_FALSE(std::filesystem::exists(folder / "ThumbNail"));
}

TEST(Thumbs, DamagedIndexOrFolderExitsWithOne)
{
    test::TempDir folder;
    ASSERT_TRUE(SaveImage(folder / "a.jpg", Gradient(16, 16), kSaveTypeJpegLow));
    test::WriteBytes(folder / "ThumbNail", "KELVOR THUMBNAILFILE VER0999");
    const Outcome damaged = RunTool(folder, {"thumbs", folder.path().string()});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("not a thumbnail index"), std::string::npos) << damaged.err;
    const Outcome remade = RunTool(folder, {"thumbs", folder.path().string(), "--rebuild"});
    EXPECT_EQ(remade.status, 0) << remade.err;
    EXPECT_EQ(remade.out, "a.jpg\t16x16\n");

    EXPECT_EQ(RunTool(folder, {"thumbs", (folder / "a.jpg").string()}).status, 1);
    EXPECT_EQ(RunTool(folder, {"thumbs", (folder / "missing").string(), "--rebuild"}).status, 1);
}

TEST(Thumbs, UsageErrorsExitWithTwo)
{
    test::TempDir folder;
    const std::string path = folder.path().string();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"thumbs"}, {"thumbs", path, path}, {"thumbs", path, "--bogus"}, {"thumbs", "--rebuild"}}) {
        const Outcome outcome = RunTool(folder, args);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    const Outcome help = RunTool(folder, {"thumbs", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: orvane-tool thumbs"), std::string::npos) << help.out;
}

} // namespace
} // namespace orvane
