#include "capture/WhiteBalance.h"

#include <algorithm>
#include <cmath>

#include "capture/MakerSensor.h"
#include "image/FrameImage.h"

namespace orvane {
namespace {

[[nodiscard]] double RatioOf(std::uint64_t green, std::uint64_t other)
{
    return other == 0 ? 1.0 : static_cast<double>(green) / static_cast<double>(other);
}

} // namespace

bool MeasureWhiteBalance(const FrameImage& picture, WhiteBalanceRequest& request)
{
    const int step = picture.bytesPerPixel();
    if (!request.requested || step < 3 || picture.bits() == nullptr) {
        return false;
    }
    std::uint64_t blue = 0;
    std::uint64_t green = 0;
    std::uint64_t red = 0;
    for (int row = 0; row < picture.height(); ++row) {
        const std::uint8_t* pixel = picture.Row(row);
        for (int x = 0; x < picture.width(); ++x, pixel += step) {
            blue += pixel[0];
            green += pixel[1];
            red += pixel[2];
        }
    }
    request.redRatio = RatioOf(green, red);
    request.blueRatio = RatioOf(green, blue);
    request.requested = false;
    return true;
}

std::uint16_t BalancedGain(std::uint16_t gain, double ratio)
{
    if (!std::isfinite(ratio) || ratio <= 0.0) {
        return gain;
    }
    const double scaled = std::trunc(static_cast<double>(gain & sensor::kGainFineMask) * ratio);
    // Wrapping a product above 127 into 7 bits would swing the colour the
    // other way; the fine gain saturates instead.
    const auto fine = static_cast<std::uint16_t>(std::clamp(scaled, 1.0, double{sensor::kGainFineMask}));
    return static_cast<std::uint16_t>(fine | (gain & sensor::kGainCoarseMask));
}

} // namespace orvane
