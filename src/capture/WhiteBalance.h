#pragma once

#include <cstdint>

namespace orvane {

class FrameImage;

// The white-balance request block the image settings dialog shares with the
// frame handler: the dialog raises `requested`, the next live frame fills the
// two ratios and lowers it.
//
// UI thread only (the frame handler runs there).
struct WhiteBalanceRequest {
    bool requested = false;
    double redRatio = 1.0;  // sum of green / sum of red over the display frame
    double blueRatio = 1.0; // sum of green / sum of blue
};

// Serves a raised request from a 24- or 32-bit picture: the 64-bit sums of
// its blue, green and red bytes give the ratios, and the request is lowered.
// A colour whose sum is 0 gets the ratio 1, as nothing can be said about it.
// False (and the request left raised) when there is none or the picture has
// no colour bytes.
bool MeasureWhiteBalance(const FrameImage& picture, WhiteBalanceRequest& request);

// A white-balance gain register scaled by `ratio`: the 7-bit fine gain is
// multiplied (truncated) and kept within 1..127, the coarse bits 0x780 stay.
// A ratio that is not a finite positive number leaves the gain as it is.
[[nodiscard]] std::uint16_t BalancedGain(std::uint16_t gain, double ratio);

} // namespace orvane
