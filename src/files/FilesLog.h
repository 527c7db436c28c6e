#pragma once

#include "platform/Log.h"

// The files module's logger, in its own namespace so that the other modules'
// loggers of the same name never meet it.
namespace orvane::files {

inline constexpr log::Logger kLog{"orvane.files"};

} // namespace orvane::files
