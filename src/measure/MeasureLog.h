#pragma once

#include "platform/Log.h"

namespace orvane {

inline constexpr log::Logger kMeasureLog{"orvane.measure"};

} // namespace orvane
