#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "image/FrameImage.h"

// JPEG through libjpeg. All of libjpeg's error handling (its setjmp) lives in
// JpegCodec.cpp; every error ends in a clean failure.
namespace orvane {

// Writes a progressive JPEG of quality 1..100 through a temporary file renamed
// into place, top row first, with the picture's thumbnail embedded
// (JpegThumbnail.h). 24-bit images give three colour components,
// 32-bit images the same (the fourth byte ignored), 8-bit images one grey
// component made of the pixel values. Other depths fail.
[[nodiscard]] bool SaveJpeg(const std::filesystem::path& path, const FrameImage& image, int quality);

// A baseline JPEG of `image` in memory, as SaveJpeg takes its pixels; empty on failure.
[[nodiscard]] std::vector<std::uint8_t> EncodeBaselineJpeg(const FrameImage& image, int quality);

// Decodes a whole JPEG into a 24-bit image, top row first; grey pictures come
// out grey, CMYK pictures converted. On failure the image is empty. A file
// whose data ends before half the picture has data is refused, as is one too
// small to hold the picture it declares; one that ends later decodes with the
// rest grey and `*truncated` (when given) set.
[[nodiscard]] bool DecodeJpeg(std::span<const std::uint8_t> data, FrameImage& image, bool* truncated = nullptr);

// Decodes a 24-bit picture for a minWidth × minHeight thumbnail: at the
// smallest DCT scale (1/8 .. 8/8) whose result still covers that size, or in
// full when nothing smaller does. Progressive pictures that 1/8 covers are
// taken from their first scans holding every component's DC coefficients.
// On failure the image is empty; early ends as for DecodeJpeg.
[[nodiscard]] bool DecodeJpegForSize(std::span<const std::uint8_t> data, FrameImage& image, int minWidth,
                                     int minHeight, bool* truncated = nullptr);

} // namespace orvane
