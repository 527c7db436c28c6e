#include "files/ImageFiles.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "files/DecodeLimits.h"
#include "files/GifCodec.h"
#include "files/JpegCodec.h"
#include "files/JpegThumbnail.h"
#include "files/PngCodec.h"
#include "files/TiffCodec.h"
#include "platform/FileIo.h"

namespace orvane {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kColourTableBytes = 256 * 4;

void PutLe16(std::uint8_t*& out, std::uint32_t value)
{
    *out++ = static_cast<std::uint8_t>(value);
    *out++ = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t*& out, std::uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

// Grey level shown for a 16-bit pixel: bits 2 to 9 of its little-endian value.
[[nodiscard]] std::uint8_t GreyOfSixteenBit(const std::uint8_t* pixel)
{
    return static_cast<std::uint8_t>((pixel[1] << 6) | (pixel[0] >> 2));
}

// Copies every pixel of source into a new image of outBits through `put`
// (destination pixel, source pixel).
template <typename Put> bool ConvertPixels(const FrameImage& source, int outBits, FrameImage& out, Put put)
{
    if (!out.Create(source.width(), source.height(), outBits)) {
        return false;
    }
    const int inBytes = source.bytesPerPixel();
    const int outBytes = out.bytesPerPixel();
    for (int r = 0; r < source.height(); ++r) {
        const std::uint8_t* in = source.Row(r);
        std::uint8_t* to = out.Row(r);
        for (int x = 0; x < source.width(); ++x, in += inBytes, to += outBytes) {
            put(to, in);
        }
    }
    return true;
}

bool ToTwentyFourBits(FrameImage& image)
{
    FrameImage out;
    bool ok = false;
    switch (image.bitsPerPixel()) {
    case 24: return true;
    case 8: {
        const auto& table = image.colorTable();
        ok = ConvertPixels(image, 24, out, [&table](std::uint8_t* to, const std::uint8_t* in) {
            const RGBQUAD& entry = table[*in];
            to[0] = entry.rgbBlue;
            to[1] = entry.rgbGreen;
            to[2] = entry.rgbRed;
        });
        break;
    }
    case 16:
        ok = ConvertPixels(image, 24, out, [](std::uint8_t* to, const std::uint8_t* in) {
            to[0] = to[1] = to[2] = GreyOfSixteenBit(in);
        });
        break;
    case 32:
        ok = ConvertPixels(image, 24, out, [](std::uint8_t* to, const std::uint8_t* in) {
            to[0] = in[0];
            to[1] = in[1];
            to[2] = in[2];
        });
        break;
    default: break;
    }
    if (!ok) {
        image.Release();
        return false;
    }
    image = std::move(out);
    return true;
}

bool Decode(ImageFormat format, std::span<const std::uint8_t> data, FrameImage& image, LoadInfo& info)
{
    switch (format) {
    case ImageFormat::Jpeg: return DecodeJpeg(data, image, &info.truncated);
    case ImageFormat::Gif: return DecodeGif(data, image);
    case ImageFormat::Png: return DecodePng(data, image);
    case ImageFormat::Tiff: return DecodeTiff(data, image);
    case ImageFormat::Bmp:
    case ImageFormat::Unknown: break;
    }
    image.Release();
    return false;
}

} // namespace

ImageFormat ImageFormatForPath(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        return ImageFormat::Unknown;
    }
    std::string extension = name.substr(dot);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (extension == ".bmp") {
        return ImageFormat::Bmp;
    }
    if (extension == ".jpg" || extension == ".jpeg") {
        return ImageFormat::Jpeg;
    }
    if (extension == ".gif") {
        return ImageFormat::Gif;
    }
    if (extension == ".png") {
        return ImageFormat::Png;
    }
    if (extension == ".tif" || extension == ".tiff") {
        return ImageFormat::Tiff;
    }
    return ImageFormat::Unknown;
}

bool SaveBmp(const FrameImage& image, const std::filesystem::path& path)
{
    if (image.isEmpty()) {
        return false;
    }
    const bool hasTable = image.bitsPerPixel() <= 8;
    const std::uint32_t dataOffset = kFileHeaderBytes + kInfoHeaderBytes + (hasTable ? kColourTableBytes : 0);
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(image.byteCount());

    std::array<std::uint8_t, kFileHeaderBytes + kInfoHeaderBytes + kColourTableBytes> head{};
    std::uint8_t* out = head.data();
    *out++ = 'B';
    *out++ = 'M';
    PutLe32(out, dataOffset + pixelBytes);
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe32(out, dataOffset);
    const BITMAPINFOHEADER& info = image.header();
    PutLe32(out, info.biSize);
    PutLe32(out, static_cast<std::uint32_t>(info.biWidth));
    PutLe32(out, static_cast<std::uint32_t>(info.biHeight));
    PutLe16(out, info.biPlanes);
    PutLe16(out, info.biBitCount);
    PutLe32(out, info.biCompression);
    PutLe32(out, info.biSizeImage);
    PutLe32(out, static_cast<std::uint32_t>(info.biXPelsPerMeter));
    PutLe32(out, static_cast<std::uint32_t>(info.biYPelsPerMeter));
    PutLe32(out, info.biClrUsed);
    PutLe32(out, info.biClrImportant);
    if (hasTable) {
        for (const RGBQUAD& entry : image.colorTable()) {
            *out++ = entry.rgbBlue;
            *out++ = entry.rgbGreen;
            *out++ = entry.rgbRed;
            *out++ = entry.rgbReserved;
        }
    }

    AtomicFile file(path);
    return file.Open() && file.Write(std::span(head.data(), dataOffset)) &&
           file.Write(std::span(image.bits(), pixelBytes)) && file.Commit();
}

bool SaveImage(const std::filesystem::path& path, const FrameImage& image, int type)
{
    int quality = 0;
    switch (type) {
    case kSaveTypeBmp: return SaveBmp(image, path);
    case kSaveTypeJpegHigh: quality = 100; break;
    case kSaveTypeJpegMedium: quality = 90; break;
    case kSaveTypeJpegLow: quality = 75; break;
    default: return false;
    }
    if (image.bitsPerPixel() != 16) {
        return SaveJpeg(path, image, quality);
    }
    FrameImage grey;
    return SixteenBitToGrey(image, grey) && SaveJpeg(path, grey, quality);
}

bool SixteenBitToGrey(const FrameImage& image, FrameImage& grey)
{
    return image.bitsPerPixel() == 16 &&
           ConvertPixels(image, 8, grey, [](std::uint8_t* to, const std::uint8_t* in) { *to = GreyOfSixteenBit(in); });
}

bool LoadImageFile(const std::filesystem::path& path, FrameImage& image, LoadInfo* info)
{
    LoadInfo found;
    if (info != nullptr) {
        *info = found;
    }
    const ImageFormat format = ImageFormatForPath(path);
    if (format == ImageFormat::Bmp) {
        // Loading into an existing image would keep that image's size.
        image.Release();
        if (image.LoadBmpFile(path)) {
            return true;
        }
        image.Release();
        return false;
    }
    if (format == ImageFormat::Unknown) {
        image.Release();
        return false;
    }
    const auto data = ReadWholeFile(path, kMaxImageFileBytes);
    if (!data) {
        image.Release();
        return false;
    }
    if (!Decode(format, *data, image, found)) {
        return false;
    }
    if (info != nullptr) {
        *info = found;
    }
    return true;
}

bool LoadPicture(const std::filesystem::path& path, FrameImage& image, LoadInfo* info)
{
    return LoadImageFile(path, image, info) && ToTwentyFourBits(image);
}

bool LoadImageForThumbnail(const std::filesystem::path& path, FrameImage& image, int minWidth, int minHeight,
                           LoadInfo* info)
{
    if (ImageFormatForPath(path) != ImageFormat::Jpeg) {
        return LoadImageFile(path, image, info);
    }
    if (info != nullptr) {
        *info = LoadInfo{};
    }
    // The program's own pictures carry their thumbnail.
    if (minWidth <= kEmbeddedThumbnailMaxWidth && minHeight <= kEmbeddedThumbnailMaxHeight &&
        ReadEmbeddedThumbnail(path, image)) {
        return true;
    }
    const auto data = ReadWholeFile(path, kMaxImageFileBytes);
    if (!data) {
        image.Release();
        return false;
    }
    bool truncated = false;
    if (!DecodeJpegForSize(*data, image, minWidth, minHeight, &truncated)) {
        return false;
    }
    if (info != nullptr) {
        info->truncated = truncated;
    }
    return true;
}

} // namespace orvane
