#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "measure/CMeasureChain.h"

// Results files (".mes"): the measurements themselves, to be loaded again.
//
// Little-endian, no padding. Header: "_MES", "1000", int32 record count R.
// Then R records in chain order, each 140 + 16 N bytes:
//   0 int32 kind, 4 int32 point count N, 8 int32 unit, 12 5 x float64 value,
//   52 2 x (float64 x, y) centre, 84 2 x float64 radius,
//   100 5 x (int32 dx, dy) label offset, 140 N x (float64 x, y) points.
// Identity, position number, selection and label texts are not stored.
namespace orvane {

inline constexpr std::size_t kMeasureFileHeaderBytes = 12;
inline constexpr std::size_t kMeasureRecordFixedBytes = 140;
inline constexpr std::size_t kMeasurePointBytes = 16;

// Results files larger than this are not read (no measurement comes near it).
inline constexpr std::size_t kMaxMeasureFileBytes = std::size_t{256} << 20;

// The bytes of a results file for the chain's records, from the first.
[[nodiscard]] std::vector<std::uint8_t> EncodeMeasureFile(const CMeasureChain& chain);

// Writes the chain's records to `path` through a temporary file renamed into
// place. 1 when written; 0 for an empty chain (no file is created) or when the
// file cannot be written (an existing file is left as it was).
int SaveMeasureFile(const CMeasureChain& chain, const std::filesystem::path& path);

enum class MeasureFileStatus {
    Loaded,         // the header matched; the chain holds the records read
    Unreadable,     // missing, unreadable or too large; the chain is untouched
    NotResultsFile, // wrong magic or version; the chain is untouched
};

struct MeasureFileLoad {
    MeasureFileStatus status = MeasureFileStatus::Unreadable;
    std::int32_t loaded = 0;
    // Records that the header announced but the file did not hold in full.
    std::int32_t dropped = 0;
    // The file did not hold what its counts declare: it ends inside a record
    // or its header, or a record or point count is negative or larger than
    // the bytes left could hold. Only complete records were loaded.
    bool damaged = false;

    [[nodiscard]] bool ok() const { return status == MeasureFileStatus::Loaded; }
};

// Replaces the chain's records with those of a results file's bytes. Each
// record enters through AddTailCopy (a new identity); its point array is sized
// in steps of 10 points (at least 10 slots, so the fixed point positions of
// every kind exist even in a damaged record), and a perpendicular gets back
// the foot of its perpendicular, which the file does not store. Reading stops
// at the first record that does not fit in the bytes left; counts are checked
// against the bytes left before anything is allocated for them.
MeasureFileLoad DecodeMeasureFile(std::span<const std::uint8_t> bytes, CMeasureChain& chain);

// DecodeMeasureFile of a file, read whole and bounded by its size.
MeasureFileLoad LoadMeasureFile(CMeasureChain& chain, const std::filesystem::path& path);

} // namespace orvane
