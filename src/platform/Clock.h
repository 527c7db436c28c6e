#pragma once

#include <cstdint>

namespace orvane {

// Milliseconds of a steady clock since an arbitrary start, wrapping at 2^32 like
// the tick counters that frame-age stamps and record ids were built on.
// Differences are taken in uint32 arithmetic so that a wrap is harmless.
[[nodiscard]] std::uint32_t TickCount();

}  // namespace orvane
