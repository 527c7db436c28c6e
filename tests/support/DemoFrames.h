#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "camctl/SimulatedCamera.h"
#include "capture/DemoCameraPicture.h"
#include "capture/DemoPicture.h"

namespace orvane::test {

// The demo picture as the simulated camera delivers it at its power-on
// settings (top-down rows).
inline const std::vector<std::uint8_t>& DeliveredDemoPicture()
{
    static const std::vector<std::uint8_t> picture = [] {
        std::vector<std::uint8_t> drawn = DrawDemoPicture();
        ApplyDemoCamera(drawn.data(), kDemoWidth, kDemoHeight, SimulatedCamera().Picture());
        return drawn;
    }();
    return picture;
}
// The sensor noise once the camera's gains (up to 1.094 at power-on) have
// scaled it and rounded.
inline constexpr int kDeliveredNoise = kDemoNoise + 1;

// True when `row` (kDemoWidth * 3 bytes) and `expected` differ by at most
// `tolerance` in every byte.
inline bool RowNear(const std::uint8_t* row, const std::uint8_t* expected, int tolerance)
{
    for (int i = 0; i < kDemoWidth * 3; ++i) {
        if (std::abs(int{row[i]} - int{expected[i]}) > tolerance) {
            return false;
        }
    }
    return true;
}

// True when `row` is the drawn demo picture's (DemoScene's) top-down row
// `index` up to the sensor noise. Rows the drifting specimen never reaches
// are the same in every frame.
inline bool IsDrawnDemoRow(const std::uint8_t* row, int index)
{
    static const std::vector<std::uint8_t> picture = DrawDemoPicture();
    return RowNear(row, picture.data() + static_cast<std::size_t>(index) * kDemoWidth * 3, kDemoNoise);
}

// The same for the delivered demo picture, as the camera's frames carry it.
inline bool IsDemoRow(const std::uint8_t* row, int index)
{
    return RowNear(row, DeliveredDemoPicture().data() + static_cast<std::size_t>(index) * kDemoWidth * 3,
                   kDeliveredNoise);
}

} // namespace orvane::test
