#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "capture/DemoPicture.h"

namespace orvane::test {

// True when `row` (kDemoWidth * 3 bytes) is the demo picture's top-down row
// `index` up to the live demo's sensor noise. Rows the drifting specimen never
// reaches are the same in every frame.
inline bool IsDemoRow(const std::uint8_t* row, int index)
{
    static const std::vector<std::uint8_t> picture = DrawDemoPicture();
    const std::uint8_t* expected = picture.data() + static_cast<std::size_t>(index) * kDemoWidth * 3;
    for (int i = 0; i < kDemoWidth * 3; ++i) {
        if (std::abs(int{row[i]} - int{expected[i]}) > kDemoNoise) {
            return false;
        }
    }
    return true;
}

} // namespace orvane::test
