#include "CodecTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <utility>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace orvane::test {

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Rgb PixelAt(const FrameImage& image, int x, int y)
{
    const std::uint8_t* p = image.Row(y) + static_cast<std::ptrdiff_t>(x) * image.bytesPerPixel();
    return Rgb{p[2], p[1], p[0]};
}

Rgb ColourPictureAt(int width, int height, int x, int y)
{
    // A dark square and a light disc over three gradients.
    const bool inSquare = x >= width / 8 && x < width / 3 && y >= height / 8 && y < height / 3;
    const int dx = x - width * 2 / 3;
    const int dy = y - height * 2 / 3;
    const int radius = std::min(width, height) / 6;
    if (inSquare) {
        return Rgb{30, 40, 120};
    }
    if (dx * dx + dy * dy < radius * radius) {
        return Rgb{240, 230, 90};
    }
    return Rgb{255 * x / std::max(width - 1, 1), 255 * y / std::max(height - 1, 1),
               255 - 255 * (x + y) / std::max(width + height - 2, 1)};
}

FrameImage MakeColourPicture(int width, int height)
{
    FrameImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const Rgb c = ColourPictureAt(width, height, x, y);
            p[0] = static_cast<std::uint8_t>(c.blue);
            p[1] = static_cast<std::uint8_t>(c.green);
            p[2] = static_cast<std::uint8_t>(c.red);
        }
    }
    return image;
}

FrameImage ScaleNearest(const FrameImage& source, int width, int height)
{
    FrameImage out;
    out.Create(width, height, 24);
    const float xRatio = static_cast<float>(source.width()) / static_cast<float>(width);
    const float yRatio = static_cast<float>(source.height()) / static_cast<float>(height);
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(static_cast<int>(yRatio * static_cast<float>(y)), source.height() - 1);
        for (int x = 0; x < width; ++x) {
            const int sx = std::min(static_cast<int>(xRatio * static_cast<float>(x)), source.width() - 1);
            std::memcpy(out.Row(y) + x * 3, source.Row(sy) + sx * 3, 3);
        }
    }
    return out;
}

double MeanAbsoluteDifference(const FrameImage& a, const FrameImage& b)
{
    double sum = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 3; ++x) {
            sum += std::abs(static_cast<int>(a.Row(y)[x]) - static_cast<int>(b.Row(y)[x]));
        }
    }
    return sum / (static_cast<double>(a.width()) * a.height() * 3);
}

namespace {

void CopyAndFree(unsigned char* buffer, unsigned long size, Bytes& out)
{
    out.assign(buffer, buffer + size);
    std::free(buffer);
}

} // namespace

Bytes EncodeJpeg(const FrameImage& image, const JpegOptions& options)
{
    static const jpeg_scan_info kSeparateDc[] = {
        {1, {0}, 0, 0, 0, 0},  {1, {1}, 0, 0, 0, 0},  {1, {2}, 0, 0, 0, 0},
        {1, {0}, 1, 63, 0, 0}, {1, {1}, 1, 63, 0, 0}, {1, {2}, 1, 63, 0, 0},
    };
    static const jpeg_scan_info kSequentialScans[] = {
        {1, {0}, 0, 63, 0, 0},
        {1, {1}, 0, 63, 0, 0},
        {1, {2}, 0, 63, 0, 0},
    };
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    const bool grey = image.bitsPerPixel() == 8;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.fullChroma) {
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    if (options.separateDcScans) {
        cinfo.scan_info = kSeparateDc;
        cinfo.num_scans = 6;
    } else if (options.sequentialScans) {
        cinfo.scan_info = kSequentialScans;
        cinfo.num_scans = 3;
    } else if (options.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.Row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out;
    CopyAndFree(buffer, size, out);
    return out;
}

Bytes EncodeCmykJpeg(int width, int height, std::array<std::uint8_t, 4> cmyk)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 4; ++c) {
            row[static_cast<std::size_t>(x) * 4 + c] = static_cast<std::uint8_t>(255 - cmyk[c]);
        }
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out;
    CopyAndFree(buffer, size, out);
    return out;
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp)
{
}

// Only trivially destructible locals: libpng may longjmp back here.
bool WritePng(Bytes& out, png_bytepp rows, int width, int height, const PngOptions& options, png_colorp palette,
              int paletteSize)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), options.bitDepth,
                 options.colourType, options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (paletteSize > 0) {
        png_set_PLTE(png, info, palette, paletteSize);
    }
    if (!options.transparency.empty()) {
        png_set_tRNS(png, info, options.transparency.data(), static_cast<int>(options.transparency.size()), nullptr);
    }
    if (options.gamma > 0.0) {
        png_set_gAMA(png, info, options.gamma);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Bytes EncodePng(int width, int height, const Bytes& rows, const PngOptions& options)
{
    const int channels = options.colourType == PNG_COLOR_TYPE_RGB          ? 3
                         : options.colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                         : options.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                           : 1;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * channels * options.bitDepth + 7) / 8;
    std::vector<png_bytep> pointers(static_cast<std::size_t>(height));
    for (int r = 0; r < height; ++r) {
        pointers[static_cast<std::size_t>(r)] = const_cast<png_bytep>(rows.data() + rowBytes * r);
    }
    std::vector<png_color> palette;
    for (const auto& entry : options.palette) {
        palette.push_back(png_color{entry[0], entry[1], entry[2]});
    }
    Bytes out;
    if (!WritePng(out, pointers.data(), width, height, options, palette.data(), static_cast<int>(palette.size()))) {
        out.clear();
    }
    return out;
}

Bytes EncodeTiff(int width, int height, const Bytes& rows, const TiffOptions& options)
{
    static std::atomic<int> counter{0};
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("orvane-codec-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        return {};
    }
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(options.samples));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(options.bitsPerSample));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, static_cast<std::uint16_t>(options.photometric));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, static_cast<std::uint16_t>(options.compression));
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, static_cast<std::uint16_t>(options.sampleFormat));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG,
                 static_cast<std::uint16_t>(options.separatePlanes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG));
    if (options.samples == 4) {
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (!options.colourMap.empty()) {
        const std::size_t n = options.colourMap.size() / 3;
        TIFFSetField(tiff, TIFFTAG_COLORMAP, options.colourMap.data(), options.colourMap.data() + n,
                     options.colourMap.data() + 2 * n);
    }
    if (options.compression == COMPRESSION_JPEG && options.photometric == PHOTOMETRIC_YCBCR) {
        // libtiff converts the RGB rows it is given.
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 95);
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * options.samples * options.bitsPerSample + 7) / 8;
    const std::size_t sampleBytes = options.bitsPerSample >= 8 ? static_cast<std::size_t>(options.bitsPerSample / 8) : 0;
    if (options.tiled) {
        // 16 × 16 tiles cut from the rows (whole bytes per pixel only); the
        // parts beyond the picture repeat its last row and column, as
        // encoders do so that JPEG tiles do not ring at the picture's edge.
        constexpr std::uint32_t kTile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        const std::size_t pixelBytes = sampleBytes * static_cast<std::size_t>(options.samples);
        for (std::uint32_t ty = 0; ty < static_cast<std::uint32_t>(height); ty += kTile) {
            for (std::uint32_t tx = 0; tx < static_cast<std::uint32_t>(width); tx += kTile) {
                std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tiff)), 0);
                for (std::uint32_t y = 0; y < kTile; ++y) {
                    const std::size_t row = std::min<std::size_t>(ty + y, static_cast<std::size_t>(height) - 1);
                    for (std::uint32_t x = 0; x < kTile; ++x) {
                        const std::size_t column = std::min<std::size_t>(tx + x, static_cast<std::size_t>(width) - 1);
                        std::memcpy(tile.data() + (y * kTile + x) * pixelBytes,
                                    rows.data() + row * rowBytes + column * pixelBytes, pixelBytes);
                    }
                }
                TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0);
            }
        }
    } else if (options.separatePlanes) {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(options.rowsPerStrip));
        std::vector<std::uint8_t> plane(static_cast<std::size_t>(width) * sampleBytes);
        for (int s = 0; s < options.samples; ++s) {
            for (int r = 0; r < height; ++r) {
                for (int x = 0; x < width; ++x) {
                    const std::size_t from = r * rowBytes + (static_cast<std::size_t>(x) * options.samples + s) * sampleBytes;
                    std::memcpy(plane.data() + x * sampleBytes, rows.data() + from, sampleBytes);
                }
                TIFFWriteScanline(tiff, plane.data(), static_cast<std::uint32_t>(r), static_cast<std::uint16_t>(s));
            }
        }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(options.rowsPerStrip));
        std::vector<std::uint8_t> row(rowBytes);
        for (int r = 0; r < height; ++r) {
            std::memcpy(row.data(), rows.data() + rowBytes * r, rowBytes);
            TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(r), 0);
        }
    }
    TIFFClose(tiff);
    Bytes out = ReadFileBytes(path);
    std::filesystem::remove(path);
    return out;
}

namespace {

int AppendGifBytes(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// giflib wants a power-of-two table.
ColorMapObject* MakeColourMap(const std::vector<std::array<std::uint8_t, 3>>& colours)
{
    int size = 2;
    while (size < static_cast<int>(colours.size())) {
        size *= 2;
    }
    std::vector<GifColorType> entries(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < colours.size(); ++i) {
        entries[i] = GifColorType{colours[i][0], colours[i][1], colours[i][2]};
    }
    return GifMakeMapObject(size, entries.data());
}

} // namespace

Bytes EncodeGif(int screenWidth, int screenHeight, const std::vector<std::array<std::uint8_t, 3>>& colours,
                const std::vector<GifFrame>& frames)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    if (gif == nullptr) {
        return {};
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MakeColourMap(colours);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global);
    GifFreeMapObject(global);
    for (const GifFrame& frame : frames) {
        if (frame.transparentIndex >= 0) {
            GraphicsControlBlock control{};
            control.DisposalMode = DISPOSAL_UNSPECIFIED;
            control.TransparentColor = frame.transparentIndex;
            GifByteType extension[4];
            const std::size_t length = EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
        }
        ColorMapObject* local = frame.localColours.empty() ? nullptr : MakeColourMap(frame.localColours);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local);
        if (local != nullptr) {
            GifFreeMapObject(local);
        }
        std::vector<int> order;
        if (frame.interlaced) {
            for (const auto& [start, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}}) {
                for (int y = start; y < frame.height; y += step) {
                    order.push_back(y);
                }
            }
        } else {
            for (int y = 0; y < frame.height; ++y) {
                order.push_back(y);
            }
        }
        for (const int y : order) {
            auto* line = const_cast<GifPixelType*>(frame.indices.data() + static_cast<std::size_t>(y) * frame.width);
            EGifPutLine(gif, line, frame.width);
        }
    }
    EGifCloseFile(gif, &error);
    return out;
}

std::uint32_t Le16At(const Bytes& bytes, std::size_t offset)
{
    return bytes.at(offset) | (bytes.at(offset + 1) << 8);
}

std::uint32_t Le32At(const Bytes& bytes, std::size_t offset)
{
    return Le16At(bytes, offset) | (Le16At(bytes, offset + 2) << 16);
}

} // namespace orvane::test
