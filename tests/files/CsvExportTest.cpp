#include "files/CsvExport.h"

#include <cfloat>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "files/TimeStampFileName.h"

namespace orvane {
namespace {

// Restores the program-wide language after a test.
class CsvExportTest : public testing::Test {
protected:
    ~CsvExportTest() override { SetCurrentLanguage(Language::English); }

    // A length (0.5 mm at 0 degrees) and a polygon of 2.25 mm2.
    static void FillChain(CMeasureChain& chain)
    {
        MEASURE length;
        length.kind = FinishedKind(kModeLength);
        length.value[0] = 0.5;
        length.unit = kUnitMm;
        chain.AddTailCopy(&length);
        MEASURE area;
        area.kind = FinishedKind(kModeArea);
        area.value[0] = area.value[1] = 2.25;
        area.unit = kUnitMm;
        chain.AddTailCopy(&area);
    }
};

TEST_F(CsvExportTest, EmptyListIsTheHeaderOfTheLanguage)
{
    EXPECT_EQ(CsvText({}, Language::English), "No.,Type,Result,Unit\r\n");
    EXPECT_EQ(CsvText({}, Language::Japanese), "No.,計測内容,測定値,単位\r\n");
}

TEST_F(CsvExportTest, OneLinePerRowInListOrder)
{
    CMeasureChain chain;
    FillChain(chain);
    EXPECT_EQ(CsvText(ResultListRows(chain, kUnitMm), Language::English), "No.,Type,Result,Unit\r\n"
                                                                          "0,Length,0.500,mm\r\n"
                                                                          "1,Angle,0.0,degree\r\n"
                                                                          "2,Polygon area,2.250,mm2\r\n");

    SetCurrentLanguage(Language::Japanese);
    EXPECT_EQ(CsvText(ResultListRows(chain, kUnitCm), Language::Japanese), "No.,計測内容,測定値,単位\r\n"
                                                                           "0,二点間距離,0.50,cm\r\n"
                                                                           "1,角度,0.0,°\r\n"
                                                                           "2,多角形面積,2.25,cm2\r\n");
}

TEST_F(CsvExportTest, WidestRowStaysWithinTheRowLimit)
{
    MEASURE widest;
    widest.kind = FinishedKind(kModeTwoCircles);
    widest.value.fill(-DBL_MAX);
    CMeasureChain chain;
    chain.AddTailCopy(&widest);
    for (const std::int32_t unit : {kUnitCm, kUnitMm, kUnitUm}) {
        const std::vector<ResultListRow> rows = ResultListRows(chain, unit);
        const std::string text = CsvText(rows, Language::English);
        std::size_t start = 0;
        for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
            EXPECT_LE(end + 2 - start, 1023u);
            start = end + 2;
        }
        EXPECT_NE(text.find("-1797693134862315"), std::string::npos);
    }
}

TEST_F(CsvExportTest, AppendingKeepsTheOldContentsAndAddsAHeaderEachTime)
{
    test::TempDir folder;
    const auto path = folder / "results.csv";
    test::WriteBytes(path, "earlier export\r\n");
    CMeasureChain chain;
    FillChain(chain);
    const std::vector<ResultListRow> rows = ResultListRows(chain, kUnitMm);
    const std::string csv = CsvText(rows, Language::English);

    ASSERT_EQ(AppendCsvFile(path, rows, Language::English), 1);
    ASSERT_EQ(AppendCsvFile(path, rows, Language::English), 1);
    EXPECT_EQ(test::ReadBytes(path), "earlier export\r\n" + csv + csv);
    EXPECT_EQ(test::CountOtherEntries(folder.path(), "results.csv"), 0);
}

TEST_F(CsvExportTest, MissingFileIsCreated)
{
    test::TempDir folder;
    const auto path = folder / "new.csv";
    ASSERT_EQ(AppendCsvFile(path, {}, Language::Japanese), 1);
    EXPECT_EQ(test::ReadBytes(path), "No.,計測内容,測定値,単位\r\n");
}

TEST_F(CsvExportTest, UnreadableTargetIsLeftAlone)
{
    test::TempDir folder;
    const auto path = folder / "a-folder.csv";
    std::filesystem::create_directory(path);
    EXPECT_EQ(AppendCsvFile(path, {}, Language::English), 0);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(AppendCsvFile(folder / "missing" / "x.csv", {}, Language::English), 0);
}

struct StampCase {
    int year, month, day, hour, minute, second;
    const char* name;
};

class TimeStampName : public testing::TestWithParam<StampCase> {};

TEST_P(TimeStampName, YearMonthDayHourMinuteSecond)
{
    const StampCase& c = GetParam();
    std::tm time{};
    time.tm_year = c.year - 1900;
    time.tm_mon = c.month - 1;
    time.tm_mday = c.day;
    time.tm_hour = c.hour;
    time.tm_min = c.minute;
    time.tm_sec = c.second;
    EXPECT_EQ(TimeStampFileName(time), c.name);
}

INSTANTIATE_TEST_SUITE_P(Dates, TimeStampName,
                         testing::Values(StampCase{2021, 2, 3, 9, 5, 7, "20210203090507"},
                                         StampCase{2022, 1, 5, 14, 3, 9, "20220105140309"},
                                         StampCase{1999, 12, 31, 23, 59, 60, "19991231235960"},
                                         StampCase{999, 1, 1, 0, 0, 0, " 9990101000000"},
                                         StampCase{12345, 10, 10, 10, 10, 10, "123451010101010"}));

TEST(TimeStampNameNow, IsFourteenDigits)
{
    const std::string name = TimeStampFileNameNow();
    EXPECT_EQ(name.size(), 14u);
    EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
} // namespace orvane
