#pragma once

#include <ctime>
#include <string>

namespace orvane {

// Default names of saved images, CSV exports and results files: year, month,
// day, hour, minute and second as "%4d%02d%02d%02d%02d%02d" (no extension).
[[nodiscard]] std::string TimeStampFileName(const std::tm& time);

// TimeStampFileName of the present moment in local time.
[[nodiscard]] std::string TimeStampFileNameNow();

} // namespace orvane
