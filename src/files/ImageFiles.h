#pragma once

#include <filesystem>

#include "image/FrameImage.h"

// Image files of the program: saving BMP and JPEG, loading BMP, JPEG, PNG,
// GIF and TIFF chosen by the file's extension. Every save goes through a
// temporary file renamed into place, so a failed save leaves an existing file
// as it was; every load reads the file bounded by its size and leaves the
// image empty when it fails.
namespace orvane {

// Save types: the filter index of the image save dialog and the settings key
// "m_FilterIndex".
inline constexpr int kSaveTypeBmp = 1;
inline constexpr int kSaveTypeJpegHigh = 2;   // quality 100
inline constexpr int kSaveTypeJpegMedium = 3; // quality 90
inline constexpr int kSaveTypeJpegLow = 4;    // quality 75

enum class ImageFormat { Unknown, Bmp, Jpeg, Gif, Png, Tiff };

// The decoder for a path's extension, compared without regard to case:
// ".bmp", ".jpg", ".jpeg", ".gif", ".png", ".tif", ".tiff"; anything else
// (".jpe" too) is Unknown.
[[nodiscard]] ImageFormat ImageFormatForPath(const std::filesystem::path& path);

// BMP file of the image as it is stored: the 14-byte file header, the image's
// 40-byte information header, 256 colour table entries for 8 bits or fewer,
// then the rows bottom-up with their padding. True when every write succeeded.
bool SaveBmp(const FrameImage& image, const std::filesystem::path& path);

// An 8-bit grey image (grey colour table) of bits 2 to 9 of each pixel of a
// 16-bit image, as the 16-bit frames are shown; false for other depths.
bool SixteenBitToGrey(const FrameImage& image, FrameImage& grey);

// Save type 1 writes a BMP, 2/3/4 a progressive JPEG of quality 100/90/75.
// 16-bit images become 8-bit grey JPEGs of bits 2 to 9 of each pixel value.
// False for other types, an empty image or a file that cannot be written.
bool SaveImage(const std::filesystem::path& path, const FrameImage& image, int type);

// What a successful load found out besides the picture.
struct LoadInfo {
    // The file ended early: the picture opened, but its lower part is missing
    // (shown grey). Only JPEG files open this way; others that end early fail.
    bool truncated = false;
};

// Loads by extension: BMP as stored, JPEG 24 bits, GIF 24 bits, PNG 24 or 32
// bits (alpha inverted), TIFF as stored (8, 16, 24 or 32 bits). `info`, when
// given, is filled on success.
bool LoadImageFile(const std::filesystem::path& path, FrameImage& image, LoadInfo* info = nullptr);

// Any picture LoadImageFile reads, as a 24-bit image: 8-bit pixels through the
// colour table, 16-bit pixels as grey of bits 2 to 9, 32-bit pixels without
// their alpha byte.
bool LoadPicture(const std::filesystem::path& path, FrameImage& image, LoadInfo* info = nullptr);

// LoadImageFile for a thumbnail of minWidth × minHeight: a JPEG that carries
// the thumbnail this program embeds gives that one (up to 160 × 120, enough
// for a request of at most that size); another JPEG is decoded at
// the smallest DCT scale that still covers that size (so the result may be up
// to eight times smaller than the picture), other formats in full.
bool LoadImageForThumbnail(const std::filesystem::path& path, FrameImage& image, int minWidth = 140,
                           int minHeight = 105, LoadInfo* info = nullptr);

} // namespace orvane
