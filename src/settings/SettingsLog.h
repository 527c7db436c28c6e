#pragma once

#include "platform/Log.h"

namespace orvane {

inline constexpr log::Logger kSettingsLog{"orvane.settings"};

} // namespace orvane
