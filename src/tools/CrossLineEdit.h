#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "image/PointD.h"
#include "settings/CrossLineSettings.h"

// The cross line dialog's editing of the line list, free of any window system.
namespace orvane {

// "Master" for entry 0, "Slave_%d" with the entry's number for the others.
[[nodiscard]] std::string CrossLineLabel(std::size_t index);

// A real as the dialog shows it: "%.2f", then trailing zeros and a trailing
// point removed (1.50 -> "1.5", 2.00 -> "2").
[[nodiscard]] std::string TrimmedReal(double value);

// "Add": a shown line at offset (0, 0) from the master with the given type,
// size and opacity and the colour of entry `colourFrom` (green when there is
// none). The new entry's index.
std::size_t AddCrossLine(std::vector<CrossLine>& lines, std::optional<std::size_t> colourFrom, int type, int size,
                         int draw);

// "Sub": removes entry `index`; the master (0) and indexes past the end stay.
// The entry to select afterwards (the one before the removed one), nullopt
// when nothing was removed.
std::optional<std::size_t> RemoveCrossLine(std::vector<CrossLine>& lines, std::size_t index);

// Distance from entry a to entry b at their absolute positions, scaled by the
// calibration's units per pixel: dx, dy and the straight distance.
struct CrossLineDistance {
    double dx = 0.0;
    double dy = 0.0;
    double xy = 0.0;
};
[[nodiscard]] CrossLineDistance DistanceBetween(const std::vector<CrossLine>& lines, std::size_t a, std::size_t b,
                                                PointD unitsPerPixel);

} // namespace orvane
