#pragma once

#include <string_view>

namespace orvane {

class CCalibChain;
class ProfileFile;

inline constexpr std::string_view kCalibrationSection = "CALIBRATION";

// Reads the 20 calibrations ("name_%d", "length.x_%d", "length.y_%d",
// "unit_%d", "mpp.x_%d", "mpp.y_%d", "left_%d", "top_%d", "right_%d",
// "bottom_%d" for 0..19) into the chain's records in chain order, then derives
// mpp again from lengths and rectangles (RecomputeScales). A missing key gives
// that key's default: the name "Data<n+1>" (prefix in the current language),
// lengths 10, unit 1 (mm), mpp 0, rectangle (0, 0)-(200, 200). A chain that
// does not hold exactly 20 records is first reset to the 20 defaults.
void LoadCalibrationSection(const ProfileFile& profile, CCalibChain& chain);

// Writes the chain's calibrations, per calibration the ten keys in the order
// above, numbered by chain position.
void SaveCalibrationSection(ProfileFile& profile, const CCalibChain& chain);

// "ScaleDec" of the same section: the decimals of the grid-size field of the
// colour dialog; 1 when missing.
[[nodiscard]] int ReadScaleDec(const ProfileFile& profile);
void WriteScaleDec(ProfileFile& profile, int scaleDec);

} // namespace orvane
