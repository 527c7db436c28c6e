#include "files/MeasureFile.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "LargestAllocation.h"
#include "measure/Geometry.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A record with a distinct value in every stored field, so that a field read
// from the wrong offset shows.
MEASURE MakeRecord(std::int32_t kind, std::int32_t pointCount, std::int32_t unit = kUnitMm)
{
    MEASURE record;
    record.kind = kind;
    record.pointCount = pointCount;
    record.unit = unit;
    for (std::int32_t i = 0; i < pointCount; ++i) {
        EXPECT_EQ(record.points.SetAt(i, 10.5 * (i + 1) - kind, 7.25 * (i + 2) + kind), 1);
    }
    for (std::size_t i = 0; i < record.value.size(); ++i) {
        record.value[i] = -kind * 100.0 + static_cast<double>(i) + 0.125;
    }
    record.centre = {PointD{1.5 - kind, 2.5}, PointD{3.5, 4.5 - kind}};
    record.radius = {5.75, 6.75 - kind};
    for (std::size_t i = 0; i < record.labelOffset.size(); ++i) {
        record.labelOffset[i] = {static_cast<std::int32_t>(i) * 3 - 7, kind * 11 + static_cast<std::int32_t>(i)};
    }
    record.selected = 1;
    record.labelText[0] = "old label";
    return record;
}

// A perpendicular as the program makes it: pointCount 3, its foot in slot 3.
MEASURE MakePerpendicular()
{
    MEASURE record = MakeRecord(FinishedKind(kModePerpendicular), 3);
    const std::span<const PointD> p = record.points.Slots();
    const LineEquation base = LineThrough(p[0], p[1]);
    const PointD foot = FootOfPerpendicular(p[2], base.slope, base.intercept);
    EXPECT_EQ(record.points.SetAt(3, foot.x, foot.y), 1);
    return record;
}

// One record of every kind; the polygon has more points than one growth step.
void FillEveryKind(CMeasureChain& chain)
{
    const MEASURE records[] = {
        MakeRecord(FinishedKind(kModeLength), 2, kUnitCm),
        MakeRecord(FinishedKind(kModeArea), 23, kUnitMm),
        MakeRecord(FinishedKind(kModeCircle), 3, kUnitUm),
        MakeRecord(FinishedKind(kModeTwoCircles), 6, kUnitMm),
        MakePerpendicular(),
        MakeRecord(FinishedKind(kModeAngle), 3, kUnitCm),
    };
    for (const MEASURE& record : records) {
        ASSERT_EQ(chain.AddTailCopy(&record), 1);
    }
}

std::vector<const MEASURE*> Records(const CMeasureChain& chain)
{
    std::vector<const MEASURE*> records;
    for (const MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        records.push_back(record);
    }
    return records;
}

std::int32_t Int32At(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{bytes.at(offset + i)} << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

double Float64At(const Bytes& bytes, std::size_t offset)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        value |= std::uint64_t{bytes.at(offset + i)} << (8 * i);
    }
    return std::bit_cast<double>(value);
}

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

std::size_t RecordBytes(std::int32_t points)
{
    return kMeasureRecordFixedBytes + kMeasurePointBytes * static_cast<std::size_t>(points);
}

// Every stored field of `record` at `offset` of the file's bytes.
void ExpectRecordAt(const Bytes& bytes, std::size_t offset, const MEASURE& record)
{
    EXPECT_EQ(Int32At(bytes, offset + 0), record.kind);
    EXPECT_EQ(Int32At(bytes, offset + 4), record.pointCount);
    EXPECT_EQ(Int32At(bytes, offset + 8), record.unit);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Float64At(bytes, offset + 12 + 8 * i), record.value[i]) << "value " << i;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Float64At(bytes, offset + 52 + 16 * i), record.centre[i].x) << "centre " << i;
        EXPECT_EQ(Float64At(bytes, offset + 60 + 16 * i), record.centre[i].y) << "centre " << i;
        EXPECT_EQ(Float64At(bytes, offset + 84 + 8 * i), record.radius[i]) << "radius " << i;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(Int32At(bytes, offset + 100 + 8 * i), record.labelOffset[i].dx) << "label " << i;
        EXPECT_EQ(Int32At(bytes, offset + 104 + 8 * i), record.labelOffset[i].dy) << "label " << i;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(record.pointCount); ++i) {
        EXPECT_EQ(Float64At(bytes, offset + 140 + 16 * i), record.points.Slots()[i].x) << "point " << i;
        EXPECT_EQ(Float64At(bytes, offset + 148 + 16 * i), record.points.Slots()[i].y) << "point " << i;
    }
}

void ExpectSameStoredFields(const MEASURE& loaded, const MEASURE& original)
{
    EXPECT_EQ(loaded.kind, original.kind);
    EXPECT_EQ(loaded.pointCount, original.pointCount);
    EXPECT_EQ(loaded.unit, original.unit);
    EXPECT_EQ(loaded.value, original.value);
    EXPECT_EQ(loaded.centre, original.centre);
    EXPECT_EQ(loaded.radius, original.radius);
    EXPECT_EQ(loaded.labelOffset, original.labelOffset);
    ASSERT_GE(loaded.points.Capacity(), loaded.pointCount);
    for (std::int32_t i = 0; i < original.pointCount; ++i) {
        EXPECT_EQ(loaded.points.Slots()[static_cast<std::size_t>(i)],
                  original.points.Slots()[static_cast<std::size_t>(i)])
            << "point " << i;
    }
}

TEST(MeasureFileLayout, EveryFieldAtItsOffsetAndRecordsBackToBack)
{
    CMeasureChain chain;
    FillEveryKind(chain);
    const Bytes bytes = EncodeMeasureFile(chain);

    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "_MES1000");
    EXPECT_EQ(Int32At(bytes, 8), 6);
    std::size_t offset = kMeasureFileHeaderBytes;
    for (const MEASURE* record : Records(chain)) {
        ExpectRecordAt(bytes, offset, *record);
        offset += RecordBytes(record->pointCount);
    }
    EXPECT_EQ(bytes.size(), offset); // 12 + sum of (140 + 16 N), nothing else
    EXPECT_EQ(offset, 12 + RecordBytes(2) + RecordBytes(23) + RecordBytes(3) + RecordBytes(6) + RecordBytes(3) +
                          RecordBytes(3));
}

TEST(MeasureFileLayout, PointCountBeyondTheArrayIsWrittenAsWhatTheArrayHolds)
{
    MEASURE record = MakeRecord(FinishedKind(kModeArea), 0);
    record.points.Grow(0, 4);
    record.pointCount = 9; // more than the 4 slots that exist
    CMeasureChain chain;
    chain.AddTailCopy(&record);
    const Bytes bytes = EncodeMeasureFile(chain);
    EXPECT_EQ(Int32At(bytes, 12 + 4), 4);
    EXPECT_EQ(bytes.size(), 12 + RecordBytes(4));
}

TEST(MeasureFile, SaveWritesTheEncodedBytesAndLoadRestoresEveryKind)
{
    test::TempDir folder;
    CMeasureChain saved;
    FillEveryKind(saved);
    const auto path = folder / "results.mes";
    ASSERT_EQ(SaveMeasureFile(saved, path), 1);
    const std::string onDisk = test::ReadBytes(path);
    const Bytes encoded = EncodeMeasureFile(saved);
    EXPECT_EQ(onDisk, std::string(encoded.begin(), encoded.end()));
    EXPECT_EQ(test::CountOtherEntries(folder.path(), "results.mes"), 0);

    CMeasureChain loaded;
    const MEASURE old = MakeRecord(FinishedKind(kModeAngle), 3);
    loaded.AddTailCopy(&old);
    const MeasureFileLoad result = LoadMeasureFile(loaded, path);
    EXPECT_EQ(result.status, MeasureFileStatus::Loaded);
    EXPECT_EQ(result.loaded, 6);
    EXPECT_EQ(result.dropped, 0);
    EXPECT_FALSE(result.damaged);

    const auto before = Records(saved);
    const auto after = Records(loaded);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        ExpectSameStoredFields(*after[i], *before[i]);
        EXPECT_EQ(after[i]->selected, 0);
        EXPECT_TRUE(after[i]->labelText[0].empty());
        // Point arrays grow in steps of 10 points.
        EXPECT_EQ(after[i]->points.Capacity() % 10, 0);
    }
    EXPECT_EQ(after[1]->points.Capacity(), 30); // the 23-point polygon
    // The perpendicular's foot is not stored; it comes back from its points.
    EXPECT_EQ(after[4]->points.Slots()[3], before[4]->points.Slots()[3]);
    // A loaded file saves to the same bytes.
    EXPECT_EQ(EncodeMeasureFile(loaded), encoded);
}

TEST(MeasureFile, EmptyChainWritesNoFile)
{
    test::TempDir folder;
    const CMeasureChain empty;
    EXPECT_EQ(SaveMeasureFile(empty, folder / "none.mes"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "none.mes"));
}

TEST(MeasureFile, FailedSaveReportsZero)
{
    test::TempDir folder;
    CMeasureChain chain;
    FillEveryKind(chain);
    EXPECT_EQ(SaveMeasureFile(chain, folder / "missing-folder" / "a.mes"), 0);
}

TEST(MeasureFile, MissingFileLeavesTheChain)
{
    test::TempDir folder;
    CMeasureChain chain;
    FillEveryKind(chain);
    const MeasureFileLoad result = LoadMeasureFile(chain, folder / "absent.mes");
    EXPECT_EQ(result.status, MeasureFileStatus::Unreadable);
    EXPECT_EQ(chain.Count(), 6);
}

TEST(MeasureFile, ZeroRecordsClearsTheChain)
{
    CMeasureChain chain;
    FillEveryKind(chain);
    const Bytes bytes = {'_', 'M', 'E', 'S', '1', '0', '0', '0', 0, 0, 0, 0};
    const MeasureFileLoad result = DecodeMeasureFile(bytes, chain);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.loaded, 0);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(chain.Count(), 0);
    EXPECT_EQ(chain.First(), nullptr);
}

class MeasureFileWrongHeader : public testing::TestWithParam<std::string> {};

TEST_P(MeasureFileWrongHeader, LeavesTheChainAsItWas)
{
    CMeasureChain chain;
    FillEveryKind(chain);
    const MEASURE* first = chain.First();
    // A sound one-record file under a wrong header, or a file shorter than the header.
    CMeasureChain one;
    FillEveryKind(one);
    Bytes bytes = EncodeMeasureFile(one);
    const std::string header = GetParam();
    if (header.size() == 8) {
        std::copy(header.begin(), header.end(), bytes.begin());
    } else {
        bytes.assign(header.begin(), header.end());
    }
    const MeasureFileLoad result = DecodeMeasureFile(bytes, chain);
    EXPECT_EQ(result.status, MeasureFileStatus::NotResultsFile);
    EXPECT_EQ(chain.Count(), 6);
    EXPECT_EQ(chain.First(), first);
}

INSTANTIATE_TEST_SUITE_P(Headers, MeasureFileWrongHeader,
                         testing::Values("_MEX1000", "_mes1000", "_MES1001", "_MES 100", "MES_1000", "", "_MES",
                                         "_MES100"));

TEST(MeasureFileDamaged, TruncatedAtEveryByteLoadsTheCompleteRecordsOnly)
{
    CMeasureChain saved;
    FillEveryKind(saved);
    const Bytes whole = EncodeMeasureFile(saved);
    const auto originals = Records(saved);
    std::vector<std::size_t> recordEnds;
    std::size_t end = kMeasureFileHeaderBytes;
    for (const MEASURE* record : originals) {
        end += RecordBytes(record->pointCount);
        recordEnds.push_back(end);
    }

    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE("file cut to " + std::to_string(length) + " bytes");
        // A fresh copy of only the prefix, so that a read past it is caught.
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        CMeasureChain chain;
        const MEASURE old = MakeRecord(FinishedKind(kModeLength), 2);
        chain.AddTailCopy(&old);
        const MeasureFileLoad result = DecodeMeasureFile(prefix, chain);
        if (length < 8) {
            EXPECT_EQ(result.status, MeasureFileStatus::NotResultsFile);
            EXPECT_EQ(chain.Count(), 1);
            continue;
        }
        ASSERT_EQ(result.status, MeasureFileStatus::Loaded);
        EXPECT_TRUE(result.damaged);
        std::int32_t complete = 0;
        while (complete < 6 && recordEnds[static_cast<std::size_t>(complete)] <= length) {
            ++complete;
        }
        EXPECT_EQ(result.loaded, complete);
        // Without the record count nothing is known to be missing.
        EXPECT_EQ(result.dropped, length < kMeasureFileHeaderBytes ? 0 : 6 - complete);
        ASSERT_EQ(chain.Count(), complete);
        const auto loaded = Records(chain);
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            ExpectSameStoredFields(*loaded[i], *originals[i]);
        }
    }
}

// A file of `count` records announced by `announced`, the first of which
// claims `points` points.
Bytes FileWithCounts(std::int32_t announced, std::int32_t points, std::int32_t realRecords = 1)
{
    CMeasureChain chain;
    for (std::int32_t i = 0; i < realRecords; ++i) {
        const MEASURE record = MakeRecord(FinishedKind(kModeLength), 2);
        chain.AddTailCopy(&record);
    }
    Bytes bytes = EncodeMeasureFile(chain);
    PutInt32(bytes, 8, announced);
    PutInt32(bytes, 12 + 4, points);
    return bytes;
}

struct AbsurdCase {
    const char* name;
    std::int32_t announced;
    std::int32_t points;
    std::int32_t loaded;
    std::int32_t dropped;
};

class MeasureFileAbsurdCounts : public testing::TestWithParam<AbsurdCase> {};

TEST_P(MeasureFileAbsurdCounts, LoadWhatFitsWithoutAllocatingForTheClaim)
{
    const AbsurdCase& c = GetParam();
    const Bytes bytes = FileWithCounts(c.announced, c.points, 2);
    CMeasureChain chain;
    test::LargestAllocation largest;
    const MeasureFileLoad result = DecodeMeasureFile(bytes, chain);
    const std::size_t largestBytes = largest.Stop();
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(result.loaded, c.loaded);
    EXPECT_EQ(result.dropped, c.dropped);
    EXPECT_EQ(chain.Count(), c.loaded);
    // Nothing larger than a record's own small needs.
    EXPECT_LT(largestBytes, std::size_t{4096});
}

INSTANTIATE_TEST_SUITE_P(Counts, MeasureFileAbsurdCounts,
                         testing::Values(AbsurdCase{"MaxRecords", INT32_MAX, 2, 2, INT32_MAX - 2},
                                         AbsurdCase{"NegativeRecords", -1, 2, 0, 0},
                                         AbsurdCase{"MinRecords", INT32_MIN, 2, 0, 0},
                                         AbsurdCase{"NegativePoints", 2, -1, 0, 2},
                                         AbsurdCase{"PointsBeyondTheFile", 2, 1 << 20, 0, 2},
                                         AbsurdCase{"PointsJustBeyondTheFile", 2, 2 + 10 + 1, 0, 2},
                                         AbsurdCase{"PointsBeyondAnyArray", 2, INT32_MAX, 0, 2}),
                         [](const testing::TestParamInfo<AbsurdCase>& param) { return std::string(param.param.name); });

TEST(MeasureFileDamaged, PointCountThatSwallowsTheNextRecordStillLoadsTheFirst)
{
    // Record 1 claims as points its own 2 and 10 more from the 172 bytes of
    // record 2: that fits in the file, and too little is left of record 2.
    const Bytes bytes = FileWithCounts(2, 2 + 10, 2);
    CMeasureChain chain;
    const MeasureFileLoad result = DecodeMeasureFile(bytes, chain);
    EXPECT_EQ(result.loaded, 1);
    EXPECT_EQ(result.dropped, 1);
    EXPECT_TRUE(result.damaged);
    ASSERT_EQ(chain.Count(), 1);
    EXPECT_EQ(chain.First()->pointCount, 12);
    EXPECT_EQ(chain.First()->points.Capacity(), 20);
}

TEST(MeasureFileDamaged, RecordWithoutPointsStillHasTheSlotsOfEveryKind)
{
    const Bytes bytes = FileWithCounts(1, 0, 1);
    Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(12 + RecordBytes(0)));
    CMeasureChain chain;
    const MeasureFileLoad result = DecodeMeasureFile(cut, chain);
    EXPECT_EQ(result.loaded, 1);
    EXPECT_FALSE(result.damaged);
    ASSERT_EQ(chain.Count(), 1);
    EXPECT_EQ(chain.First()->pointCount, 0);
    EXPECT_GE(chain.First()->points.Capacity(), 6);
}

} // namespace
} // namespace orvane
