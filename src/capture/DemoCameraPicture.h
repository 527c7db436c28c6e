#pragma once

#include <cstdint>

#include "camctl/SimulatedCamera.h"

namespace orvane {

// The demo camera's picture as the simulated maker camera's settings shape
// it, applied to each drawn frame (top-down BGR rows, `width` * 3 bytes).
// Per channel c, with its gain register g_c (green: the mean of 0x002B and
// 0x002E), the exposure register e and the processing-unit controls:
//   v = in * ((g_c & 0x7F) / 32 * (1 + ((g_c >> 7) & 0xF) / 8)) * e / 0x400 * gain / 16
//   v = (v + 2 * brightness - 128) * contrast / 32 + 128
//   v = 255 * (v / 255) ^ (100 / gamma)
// then saturation mixes each pixel with its luma (64 = unchanged, 0 = grey)
// and sharpness adds (sharpness - 3) / 4 of a horizontal high-pass (3 =
// unchanged, below softens). At the camera's power-on values only the
// red and blue gains (0x23 and 0x1E against 0x20) change the picture: a
// warm tint.
void ApplyDemoCamera(std::uint8_t* bgr, int width, int height, const SimulatedPicture& settings);

} // namespace orvane
