#pragma once

#include "platform/Log.h"

namespace orvane {

inline constexpr log::Logger kCamctlLog{"orvane.camctl"};

} // namespace orvane
