#include "files/TiffCodec.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <tiffio.h>

#include "files/DecodeLimits.h"
#include "files/FilesLog.h"

// libtiff reports errors through callbacks and return values (no jumps); the
// callbacks below log and stop libtiff from printing to stderr.
namespace orvane {
namespace {

using files::kLog;

struct TiffSource {
    const std::uint8_t* data;
    toff_t size;
    toff_t offset;
};

tsize_t ReadProc(thandle_t handle, tdata_t buffer, tsize_t count)
{
    auto* source = static_cast<TiffSource*>(handle);
    if (count <= 0 || source->offset >= source->size) {
        return 0;
    }
    const toff_t available = source->size - source->offset;
    const auto n = static_cast<toff_t>(count) < available ? static_cast<toff_t>(count) : available;
    std::memcpy(buffer, source->data + source->offset, n);
    source->offset += n;
    return static_cast<tsize_t>(n);
}

tsize_t WriteProc(thandle_t, tdata_t, tsize_t)
{
    return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* source = static_cast<TiffSource*>(handle);
    toff_t base = 0;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = source->offset; break;
    case SEEK_END: base = source->size; break;
    default: return static_cast<toff_t>(-1);
    }
    // Offsets arrive as unsigned 64-bit values; a negative one wraps.
    const auto target = static_cast<std::int64_t>(base) + static_cast<std::int64_t>(offset);
    if (target < 0) {
        return static_cast<toff_t>(-1);
    }
    source->offset = static_cast<toff_t>(target);
    return source->offset;
}

int CloseProc(thandle_t)
{
    return 0;
}

toff_t SizeProc(thandle_t handle)
{
    return static_cast<TiffSource*>(handle)->size;
}

// The file is in memory already: libtiff reads it in place (read-only). Its
// unmapped path rejects uncompressed tiles (it compares the rounded-up read
// buffer with the tile size), so mapping is also what makes those readable.
int MapProc(thandle_t handle, tdata_t* base, toff_t* size)
{
    auto* source = static_cast<TiffSource*>(handle);
    *base = const_cast<std::uint8_t*>(source->data);
    *size = source->size;
    return 1;
}

void UnmapProc(thandle_t, tdata_t, toff_t)
{
}

std::string Format(const char* module, const char* format, va_list arguments)
{
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, arguments);
    return std::string(module != nullptr ? module : "libtiff") + ": " + text.data();
}

int OnError(TIFF*, void*, const char* module, const char* format, va_list arguments)
{
    kLog.Warning("libtiff error: " + Format(module, format, arguments));
    return 1;
}

int OnWarning(TIFF*, void*, const char* module, const char* format, va_list arguments)
{
    kLog.Debug("libtiff warning: " + Format(module, format, arguments));
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle OpenInMemory(TiffSource& source)
{
    std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options) {
        return nullptr;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(kMaxDecodedBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, nullptr);
    return TiffHandle(TIFFClientOpenExt("memory", "r", &source, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                        MapProc, UnmapProc, options.get()));
}

// Colour table of a one-sample 8-bit picture; false for photometric
// interpretations that are not grey levels or a palette.
bool SetUpColourTable(TIFF* tiff, std::uint16_t photometric, FrameImage& image)
{
    std::array<RGBQUAD, 256> table{};
    switch (photometric) {
    case PHOTOMETRIC_MINISBLACK: return true; // the grey ramp made with the image
    case PHOTOMETRIC_MINISWHITE:
        for (int i = 0; i < 256; ++i) {
            const auto level = static_cast<std::uint8_t>(255 - i);
            table[static_cast<std::size_t>(i)] = RGBQUAD{level, level, level, 0};
        }
        break;
    case PHOTOMETRIC_PALETTE: {
        std::uint16_t* red = nullptr;
        std::uint16_t* green = nullptr;
        std::uint16_t* blue = nullptr;
        if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) == 0) {
            return false;
        }
        // Some writers store 8-bit values although the format asks for 16.
        const bool eightBit = std::all_of(red, red + 256, [](std::uint16_t v) { return v < 256; }) &&
                              std::all_of(green, green + 256, [](std::uint16_t v) { return v < 256; }) &&
                              std::all_of(blue, blue + 256, [](std::uint16_t v) { return v < 256; });
        const int shift = eightBit ? 0 : 8;
        for (std::size_t i = 0; i < 256; ++i) {
            table[i] =
                RGBQUAD{static_cast<std::uint8_t>(blue[i] >> shift), static_cast<std::uint8_t>(green[i] >> shift),
                        static_cast<std::uint8_t>(red[i] >> shift), 0};
        }
        break;
    }
    default: return false;
    }
    return image.SetColorTable(2, table.data(), 0, 256);
}

// The sample's high byte moves up two bits into the 10-bit frame layout:
// low' = (high << 2) | (low & 3), high' = high >> 6.
void RepackSixteenBit(FrameImage& image)
{
    for (int r = 0; r < image.height(); ++r) {
        std::uint8_t* p = image.Row(r);
        for (int x = 0; x < image.width(); ++x, p += 2) {
            const std::uint8_t low = p[0];
            const std::uint8_t high = p[1];
            p[0] = static_cast<std::uint8_t>(((high << 2) & 0xFF) | (low & 3));
            p[1] = static_cast<std::uint8_t>(high >> 6);
        }
    }
}

void SwapRedBlue(FrameImage& image)
{
    const int bytes = image.bytesPerPixel();
    for (int r = 0; r < image.height(); ++r) {
        std::uint8_t* p = image.Row(r);
        for (int x = 0; x < image.width(); ++x, p += bytes) {
            std::swap(p[0], p[2]);
        }
    }
}

// Rows handed over by libtiff's RGBA interface at a time: the picture itself
// is the only allocation that grows with the declared size.
constexpr std::int64_t kRgbaBandPixels = std::int64_t{1} << 20;

// Every layout libtiff's RGBA interface understands (tiles, separate planes,
// 1/2/4-bit and 16-bit samples, palettes, fax and old-style JPEG, CIELab,
// YCbCr, CMYK) as a 24-bit picture; alpha is dropped.
bool ReadThroughRgba(TIFF* tiff, std::uint32_t width, std::uint32_t length, FrameImage& image)
{
    char message[1024] = {};
    if (TIFFRGBAImageOK(tiff, message) == 0) {
        kLog.Warning(std::string("TIFF refused: ") + message);
        return false;
    }
    if (!WithinDecodeLimits(width, length, 24) || !WithinDecodeLimits(width, 1, 32)) {
        kLog.Warning("TIFF refused: size beyond the limits");
        return false;
    }
    TIFFRGBAImage rgba{};
    if (TIFFRGBAImageBegin(&rgba, tiff, 0, message) == 0) {
        kLog.Warning(std::string("TIFF refused: ") + message);
        return false;
    }
    // Bands are read top to bottom in the file's row order; only pictures stored
    // top row first can be read that way, others are turned in one piece.
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    const bool banded = orientation == ORIENTATION_TOPLEFT;
    const std::uint32_t bandRows =
        banded ? static_cast<std::uint32_t>(std::max<std::int64_t>(1, kRgbaBandPixels / width)) : length;
    bool ok = WithinDecodeLimits(width, std::min(bandRows, length), 32) &&
              image.Create(static_cast<int>(width), static_cast<int>(length), 24);
    std::vector<std::uint32_t> band;
    if (ok) {
        band.resize(static_cast<std::size_t>(width) * std::min(bandRows, length));
    }
    rgba.req_orientation = ORIENTATION_TOPLEFT;
    for (std::uint32_t top = 0; ok && top < length; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, length - top);
        rgba.row_offset = static_cast<int>(top);
        rgba.col_offset = 0;
        if (TIFFRGBAImageGet(&rgba, band.data(), width, rows) == 0) {
            kLog.Warning("TIFF refused: the pixels cannot be read");
            ok = false;
            break;
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint32_t* in = band.data() + static_cast<std::size_t>(r) * width;
            std::uint8_t* out = image.Row(static_cast<int>(top + r));
            for (std::uint32_t x = 0; x < width; ++x, out += 3) {
                out[0] = static_cast<std::uint8_t>(TIFFGetB(in[x]));
                out[1] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
                out[2] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
            }
        }
    }
    TIFFRGBAImageEnd(&rgba);
    return ok;
}

bool ReadPicture(TIFF* tiff, FrameImage& image)
{
    std::uint32_t width = 0;
    std::uint32_t length = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t samples = 0;
    std::uint16_t planar = 0;
    std::uint16_t sampleFormat = 0;
    std::uint16_t photometric = 0;
    std::uint16_t compression = 0;
    if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 0 || TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &length) == 0) {
        return false;
    }
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    // A missing photometric interpretation is left to libtiff's RGBA interface,
    // which guesses it as other readers do.
    const bool hasPhotometric = TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 0;

    // The exact path keeps the samples as stored: 8-bit grey or palette, 16-bit
    // grey, 8-bit RGB(A) in strips. Everything else goes through RGBA.
    const bool grey = samples == 1 && (bitsPerSample == 8 || bitsPerSample == 16);
    const bool colour = (samples == 3 || samples == 4) && bitsPerSample == 8;
    bool exact = hasPhotometric && TIFFIsTiled(tiff) == 0 && (grey || colour) && sampleFormat == SAMPLEFORMAT_UINT &&
                 (samples == 1 || planar == PLANARCONFIG_CONTIG) && compression != COMPRESSION_OJPEG;
    if (exact && grey) {
        exact = bitsPerSample == 16 ? photometric == PHOTOMETRIC_MINISBLACK
                                    : (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
                                       photometric == PHOTOMETRIC_PALETTE);
    }
    if (exact && colour) {
        // JPEG-compressed YCbCr is converted by libtiff; other YCbCr is subsampled.
        if (photometric == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG) {
            TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        } else {
            exact = photometric == PHOTOMETRIC_RGB;
        }
    }
    const int bitsPerPixel = samples * 8 * (bitsPerSample / 8);
    exact = exact && TIFFScanlineSize64(tiff) == std::uint64_t{width} * static_cast<std::uint64_t>(bitsPerPixel / 8);
    if (!exact) {
        return ReadThroughRgba(tiff, width, length, image);
    }
    if (!WithinDecodeLimits(width, length, bitsPerPixel) ||
        !image.Create(static_cast<int>(width), static_cast<int>(length), bitsPerPixel)) {
        kLog.Warning("TIFF refused: size beyond the limits");
        return false;
    }
    if (bitsPerPixel == 8 && !SetUpColourTable(tiff, photometric, image)) {
        kLog.Warning("TIFF refused: palette without a colour map");
        return false;
    }
    for (std::uint32_t r = 0; r < length; ++r) {
        if (TIFFReadScanline(tiff, image.Row(static_cast<int>(r)), r, 0) < 0) {
            return false;
        }
    }
    if (bitsPerPixel == 16) {
        RepackSixteenBit(image);
    } else if (colour) {
        SwapRedBlue(image);
    }
    return true;
}

} // namespace

bool DecodeTiff(std::span<const std::uint8_t> data, FrameImage& image)
{
    image.Release();
    TiffSource source{data.data(), data.size(), 0};
    const TiffHandle tiff = OpenInMemory(source);
    if (!tiff) {
        return false;
    }
    if (!ReadPicture(tiff.get(), image)) {
        image.Release();
        return false;
    }
    return true;
}

} // namespace orvane
