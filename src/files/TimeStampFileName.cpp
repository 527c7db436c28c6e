#include "files/TimeStampFileName.h"

#include <cstdio>

namespace orvane {

std::string TimeStampFileName(const std::tm& time)
{
    // Year and month are widened so that no std::tm value overflows on the +1900 / +1.
    char text[96];
    std::snprintf(text, sizeof text, "%4lld%02lld%02d%02d%02d%02d", static_cast<long long>(time.tm_year) + 1900,
                  static_cast<long long>(time.tm_mon) + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

std::string TimeStampFileNameNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimeStampFileName(local);
}

} // namespace orvane
