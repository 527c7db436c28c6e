#pragma once

#include "platform/Log.h"

namespace orvane {

inline constexpr log::Logger kAppLog{"orvane.app"};

} // namespace orvane
