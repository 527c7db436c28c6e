#include "files/MeasureFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "files/FilesLog.h"
#include "measure/Geometry.h"
#include "measure/Measure.h"
#include "platform/FileIo.h"

namespace orvane {
namespace {

using files::kLog;

constexpr std::string_view kMagic = "_MES";
constexpr std::string_view kVersion = "1000";
// Point arrays of loaded records grow in steps of this many points.
constexpr std::int32_t kPointStep = 10;

// Field-by-field little-endian output; nothing depends on struct layout.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    void Bytes(std::string_view bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }
    void Int32(std::int32_t value) { Unsigned(static_cast<std::uint32_t>(value), 4); }
    void Float64(double value) { Unsigned(std::bit_cast<std::uint64_t>(value), 8); }

private:
    void Unsigned(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i) {
            m_out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }

    std::vector<std::uint8_t>& m_out;
};

// Bounded little-endian input: a read past the end fails and consumes nothing.
class LittleEndianReader {
public:
    explicit LittleEndianReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    [[nodiscard]] std::size_t Remaining() const { return m_bytes.size() - m_position; }
    bool Int32(std::int32_t& value)
    {
        std::uint64_t raw = 0;
        if (!Unsigned(raw, 4)) {
            return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
        return true;
    }
    bool Float64(double& value)
    {
        std::uint64_t raw = 0;
        if (!Unsigned(raw, 8)) {
            return false;
        }
        value = std::bit_cast<double>(raw);
        return true;
    }

private:
    bool Unsigned(std::uint64_t& value, std::size_t bytes)
    {
        if (Remaining() < bytes) {
            return false;
        }
        value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= std::uint64_t{m_bytes[m_position + i]} << (8 * i);
        }
        m_position += bytes;
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// The points a record's array really holds (pointCount kept within the array).
std::int32_t StoredPointCount(const MEASURE& record)
{
    return std::clamp(record.pointCount, 0, record.points.Capacity());
}

void EncodeRecord(LittleEndianWriter& out, const MEASURE& record)
{
    const std::int32_t count = StoredPointCount(record);
    out.Int32(record.kind);
    out.Int32(count);
    out.Int32(record.unit);
    for (double value : record.value) {
        out.Float64(value);
    }
    for (const PointD& centre : record.centre) {
        out.Float64(centre.x);
        out.Float64(centre.y);
    }
    for (double radius : record.radius) {
        out.Float64(radius);
    }
    for (const LabelOffset& offset : record.labelOffset) {
        out.Int32(offset.dx);
        out.Int32(offset.dy);
    }
    for (const PointD& point : record.points.Slots().first(static_cast<std::size_t>(count))) {
        out.Float64(point.x);
        out.Float64(point.y);
    }
}

// The fixed 140 bytes of a record; the caller has checked that they are there.
void DecodeFixedPart(LittleEndianReader& in, MEASURE& record)
{
    in.Int32(record.kind);
    in.Int32(record.pointCount);
    in.Int32(record.unit);
    for (double& value : record.value) {
        in.Float64(value);
    }
    for (PointD& centre : record.centre) {
        in.Float64(centre.x);
        in.Float64(centre.y);
    }
    for (double& radius : record.radius) {
        in.Float64(radius);
    }
    for (LabelOffset& offset : record.labelOffset) {
        in.Int32(offset.dx);
        in.Int32(offset.dy);
    }
}

// Slots for 0 <= count <= kMaxCapacity points in whole steps, never fewer
// than one step.
std::int32_t SlotsFor(std::int32_t count)
{
    const std::int32_t steps = std::max<std::int32_t>(1, (count + kPointStep - 1) / kPointStep);
    return std::min(steps * kPointStep, PointArray::kMaxCapacity);
}

// A perpendicular stores only its base points and the measured point; the foot
// is derived from them, as drawing the record would.
void RestorePerpendicularFoot(MEASURE& record)
{
    if (record.kind != FinishedKind(kModePerpendicular) || record.pointCount != 3) {
        return;
    }
    const std::span<PointD> p = record.points.Slots();
    const LineEquation base = LineThrough(p[0], p[1]);
    p[3] = FootOfPerpendicular(p[2], base.slope, base.intercept);
}

} // namespace

std::vector<std::uint8_t> EncodeMeasureFile(const CMeasureChain& chain)
{
    std::vector<std::uint8_t> bytes;
    LittleEndianWriter out(bytes);
    out.Bytes(kMagic);
    out.Bytes(kVersion);
    out.Int32(chain.Count());
    for (const MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        EncodeRecord(out, *record);
    }
    return bytes;
}

int SaveMeasureFile(const CMeasureChain& chain, const std::filesystem::path& path)
{
    if (chain.Count() == 0) {
        return 0;
    }
    return WriteFileAtomically(path, EncodeMeasureFile(chain)) ? 1 : 0;
}

MeasureFileLoad DecodeMeasureFile(std::span<const std::uint8_t> bytes, CMeasureChain& chain)
{
    MeasureFileLoad result;
    const auto matches = [&bytes](std::size_t offset, std::string_view text) {
        return std::memcmp(bytes.data() + offset, text.data(), text.size()) == 0;
    };
    if (bytes.size() < kMagic.size() + kVersion.size() || !matches(0, kMagic) || !matches(kMagic.size(), kVersion)) {
        result.status = MeasureFileStatus::NotResultsFile;
        return result;
    }
    result.status = MeasureFileStatus::Loaded;
    chain.RemoveAll();

    LittleEndianReader in(bytes.subspan(kMagic.size() + kVersion.size()));
    std::int32_t recordCount = 0;
    if (!in.Int32(recordCount) || recordCount < 0) {
        result.damaged = true;
        return result;
    }
    while (result.loaded < recordCount && in.Remaining() >= kMeasureRecordFixedBytes) {
        MEASURE record;
        DecodeFixedPart(in, record);
        const std::int32_t count = record.pointCount;
        if (count < 0 || count > PointArray::kMaxCapacity ||
            static_cast<std::size_t>(count) > in.Remaining() / kMeasurePointBytes) {
            break;
        }
        if (record.points.Grow(0, SlotsFor(count)) == 0) {
            kLog.Warning("out of memory for a results record of " + std::to_string(count) + " points");
            break;
        }
        for (PointD& point : record.points.Slots().first(static_cast<std::size_t>(count))) {
            in.Float64(point.x);
            in.Float64(point.y);
        }
        RestorePerpendicularFoot(record);
        if (chain.AddTailCopy(&record) == 0) {
            break;
        }
        ++result.loaded;
    }
    result.dropped = recordCount - result.loaded;
    result.damaged = result.dropped > 0;
    return result;
}

MeasureFileLoad LoadMeasureFile(CMeasureChain& chain, const std::filesystem::path& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kMaxMeasureFileBytes);
    if (!bytes) {
        return {};
    }
    const MeasureFileLoad result = DecodeMeasureFile(*bytes, chain);
    if (result.status == MeasureFileStatus::NotResultsFile) {
        kLog.Info("not a results file: " + path.string());
    } else if (result.damaged) {
        kLog.Warning("results file " + path.string() + " is damaged: " + std::to_string(result.loaded) +
                     " records loaded, " + std::to_string(result.dropped) + " dropped");
    }
    return result;
}

} // namespace orvane
