#pragma once

#include "platform/Log.h"

namespace orvane {

inline constexpr log::Logger kCaptureLog{"orvane.capture"};

} // namespace orvane
