#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "TempDir.h"
#include "image/FrameImage.h"

// Pictures and encoded files for the codec tests, made with the image
// libraries themselves so that the decoders meet files they did not write.
namespace orvane::test {

using Bytes = std::vector<std::uint8_t>;

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] Bytes ReadFileBytes(const std::filesystem::path& path);

// Red, green and blue of picture pixel (x, y), y counted from the top.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};
[[nodiscard]] Rgb PixelAt(const FrameImage& image, int x, int y);

// A 24-bit picture with smooth colour gradients and a few sharp shapes, so
// that orientation, channel order and scaling all show.
[[nodiscard]] FrameImage MakeColourPicture(int width, int height);
// Red, green and blue of MakeColourPicture at (x, y).
[[nodiscard]] Rgb ColourPictureAt(int width, int height, int x, int y);

// Nearest-neighbour scaling of a 24-bit picture to width × height, as the
// thumbnails are made: source column trunc(x × sourceWidth ÷ width).
[[nodiscard]] FrameImage ScaleNearest(const FrameImage& source, int width, int height);
// Mean absolute difference of all channels of two 24-bit pictures of one size.
[[nodiscard]] double MeanAbsoluteDifference(const FrameImage& a, const FrameImage& b);

// JPEG of a 24-bit (three components) or 8-bit (grey) picture through libjpeg.
struct JpegOptions {
    int quality = 90;
    bool progressive = false;
    // Progressive with the DC coefficients of each component in its own scan.
    bool separateDcScans = false;
    // Chroma at full resolution (4:4:4) instead of halved both ways.
    bool fullChroma = false;
    // Sequential (not progressive), one scan per colour component.
    bool sequentialScans = false;
};
[[nodiscard]] Bytes EncodeJpeg(const FrameImage& image, const JpegOptions& options);
// Adobe-style CMYK JPEG (every channel stored inverted) of width × height in one colour.
[[nodiscard]] Bytes EncodeCmykJpeg(int width, int height, std::array<std::uint8_t, 4> cmyk);

// PNG from rows in PNG order (top row first, samples as the colour type has them).
struct PngOptions {
    int colourType = 2; // PNG_COLOR_TYPE_RGB
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::array<std::uint8_t, 3>> palette; // red, green, blue
    std::vector<std::uint8_t> transparency;           // tRNS alpha per palette entry
    double gamma = 0.0;                               // gAMA value, 0 for none
};
[[nodiscard]] Bytes EncodePng(int width, int height, const Bytes& rows, const PngOptions& options);

// TIFF from rows in TIFF order (top row first, samples contiguous).
struct TiffOptions {
    int samples = 1;
    int bitsPerSample = 8;
    int photometric = 1; // PHOTOMETRIC_MINISBLACK
    int compression = 1; // COMPRESSION_NONE
    int rowsPerStrip = 1;
    int sampleFormat = 1; // SAMPLEFORMAT_UINT
    bool tiled = false;   // 16 × 16 tiles
    bool separatePlanes = false;
    std::vector<std::uint16_t> colourMap{}; // red, green, blue runs for palette pictures
};
[[nodiscard]] Bytes EncodeTiff(int width, int height, const Bytes& rows, const TiffOptions& options);

// GIF of one or more frames, each with its own position and pixel indices.
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    int transparentIndex = -1;
    std::vector<std::array<std::uint8_t, 3>> localColours; // empty: the global table
    Bytes indices;                                         // top row first
};
[[nodiscard]] Bytes EncodeGif(int screenWidth, int screenHeight,
                              const std::vector<std::array<std::uint8_t, 3>>& colours,
                              const std::vector<GifFrame>& frames);

// Little-endian reads of saved files.
[[nodiscard]] std::uint32_t Le16At(const Bytes& bytes, std::size_t offset);
[[nodiscard]] std::uint32_t Le32At(const Bytes& bytes, std::size_t offset);

} // namespace orvane::test
