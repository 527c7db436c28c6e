#include "measure/ResultList.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane {
namespace {

MEASURE Record(std::int32_t kind, std::array<double, 5> values, std::int32_t unit)
{
    MEASURE record;
    record.kind = kind;
    record.value = values;
    record.unit = unit;
    return record;
}

// One record of every kind, in unit mm, with values that tell the rows apart.
void FillEveryKind(CMeasureChain& chain)
{
    const MEASURE records[] = {
        Record(FinishedKind(kModeLength), {1.2345, 45.25, 0, 0, 0}, kUnitMm),
        Record(FinishedKind(kModeArea), {6.5, 6.5, 0, 0, 0}, kUnitMm),
        Record(FinishedKind(kModeCircle), {2.0004, 0, 0, 0, 0}, kUnitMm),
        Record(FinishedKind(kModeTwoCircles), {3.1, 4.2, 5.3, 180.04, 9}, kUnitMm),
        Record(FinishedKind(kModePerpendicular), {0.75, 0, 0, 0, 0}, kUnitMm),
        Record(FinishedKind(kModeAngle), {90.04, 0, 0, 0, 0}, kUnitMm),
    };
    for (const MEASURE& record : records) {
        chain.AddTailCopy(&record);
    }
}

struct Row {
    std::string no, type, result, unit;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row)
    {
        return out << row.no << ',' << row.type << ',' << row.result << ',' << row.unit;
    }
};

std::vector<Row> Texts(const std::vector<ResultListRow>& rows)
{
    std::vector<Row> texts;
    for (const ResultListRow& row : rows) {
        texts.push_back({row.no, row.type, row.result, row.unit});
    }
    return texts;
}

class ResultListTest : public testing::Test {
protected:
    ~ResultListTest() override { SetCurrentLanguage(Language::English); }
};

TEST_F(ResultListTest, EveryKindOwnsItsRowsNumberedFromZero)
{
    CMeasureChain chain;
    FillEveryKind(chain);
    const std::vector<ResultListRow> rows = ResultListRows(chain, kUnitMm);
    const std::vector<Row> expected = {
        {"0", "Length", "1.234", "mm"},          {"1", "Angle", "45.2", "degree"},
        {"2", "Polygon area", "6.500", "mm2"},   {"3", "Circle diameter", "2.000", "mm"},
        {"4", "Circle diameter", "3.100", "mm"}, {"5", "Circle diameter", "4.200", "mm"},
        {"6", "Circle distance", "5.300", "mm"}, {"7", "Angle", "180.0", "degree"},
        {"8", "Length", "0.750", "mm"},          {"9", "Angle", "90.0", "degree"},
    };
    EXPECT_EQ(Texts(rows), expected);

    // Each row points at the record that owns it; a record's rows are consecutive.
    const std::vector<std::size_t> rowsPerRecord = {2, 1, 1, 4, 1, 1};
    std::size_t row = 0;
    std::size_t recordIndex = 0;
    for (const MEASURE* record = chain.First(); record != nullptr; record = record->next, ++recordIndex) {
        for (std::size_t i = 0; i < rowsPerRecord[recordIndex]; ++i, ++row) {
            EXPECT_EQ(rows.at(row).record, record) << "row " << row;
        }
    }
    EXPECT_EQ(row, rows.size());
}

TEST_F(ResultListTest, JapaneseTexts)
{
    SetCurrentLanguage(Language::Japanese);
    CMeasureChain chain;
    FillEveryKind(chain);
    const std::vector<Row> texts = Texts(ResultListRows(chain, kUnitUm));
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[0], (Row{"0", "二点間距離", "1.23", "um"}));
    EXPECT_EQ(texts[1], (Row{"1", "角度", "45.2", "°"}));
    EXPECT_EQ(texts[2], (Row{"2", "多角形面積", "6.50", "um2"}));
    EXPECT_EQ(texts[3].type, "円直径");
    EXPECT_EQ(texts[6].type, "二円間距離");
}

TEST_F(ResultListTest, ListUnitOrEachRecordsOwnUnit)
{
    CMeasureChain chain;
    MEASURE cm = Record(FinishedKind(kModeLength), {1.5, 0, 0, 0, 0}, kUnitCm);
    MEASURE um = Record(FinishedKind(kModeArea), {1.5, 1.5, 0, 0, 0}, kUnitUm);
    chain.AddTailCopy(&cm);
    chain.AddTailCopy(&um);

    const std::vector<Row> stored = Texts(ResultListRows(chain, std::nullopt));
    EXPECT_EQ(stored[0], (Row{"0", "Length", "1.50", "cm"}));
    EXPECT_EQ(stored[2], (Row{"2", "Polygon area", "1.50", "um2"}));

    const std::vector<Row> inMm = Texts(ResultListRows(chain, kUnitMm));
    EXPECT_EQ(inMm[0], (Row{"0", "Length", "1.500", "mm"}));
    EXPECT_EQ(inMm[2], (Row{"2", "Polygon area", "1.500", "mm2"}));
}

TEST_F(ResultListTest, UnknownUnitEmptiesLengthsButNotAngles)
{
    CMeasureChain chain;
    MEASURE length = Record(FinishedKind(kModeLength), {1.5, 30, 0, 0, 0}, 7);
    chain.AddTailCopy(&length);
    const std::vector<Row> texts = Texts(ResultListRows(chain, std::nullopt));
    EXPECT_EQ(texts[0], (Row{"0", "Length", "", ""}));
    EXPECT_EQ(texts[1], (Row{"1", "Angle", "30.0", "degree"}));
}

TEST_F(ResultListTest, RecordsOfOtherKindsOwnNoRows)
{
    CMeasureChain chain;
    for (const std::int32_t kind : {0, 1, -7, 6}) {
        MEASURE odd = Record(kind, {1, 2, 3, 4, 5}, kUnitMm);
        chain.AddTailCopy(&odd);
    }
    MEASURE angle = Record(FinishedKind(kModeAngle), {12, 0, 0, 0, 0}, kUnitMm);
    chain.AddTailCopy(&angle);
    const std::vector<Row> texts = Texts(ResultListRows(chain, kUnitMm));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], (Row{"0", "Angle", "12.0", "degree"}));
}

} // namespace
} // namespace orvane
