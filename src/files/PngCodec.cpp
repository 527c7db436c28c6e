#include "files/PngCodec.h"

#include <csetjmp>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include <png.h>

#include "files/DecodeLimits.h"
#include "files/FilesLog.h"

// libpng reports errors by longjmp to the jump set in the read phase that
// called it. Those phase functions hold only trivially destructible locals and
// keep their state in a caller-owned block; DecodePng owns the C++ objects.
namespace orvane {
namespace {

using files::kLog;

// One PNG decode at a time: each may hold a picture of up to a gigabyte, and
// the program has never run two at once.
std::mutex g_pngMutex;

struct PngSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

struct PngDecoder {
    png_structp png;
    png_infop info;
    PngSource source;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    std::size_t rowBytes;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length == 0) {
        return;
    }
    if (length > source->size - source->offset) {
        png_error(png, "file ends early");
    }
    std::memcpy(out, source->data + source->offset, length);
    source->offset += length;
}

// Every chunk must fit in the bytes that follow its header; libpng itself only
// warns about an oversized ancillary chunk and then allocates its whole length.
bool ChunksFitInFile(std::span<const std::uint8_t> data)
{
    std::size_t offset = 8;
    while (data.size() - offset >= 8) {
        const std::uint8_t* p = data.data() + offset;
        const std::uint64_t length = (std::uint64_t{p[0]} << 24) | (std::uint64_t{p[1]} << 16) |
                                     (std::uint64_t{p[2]} << 8) | std::uint64_t{p[3]};
        // Length, type, data and CRC.
        if (length > 0x7FFFFFFF || length + 12 > data.size() - offset) {
            return false;
        }
        if (std::memcmp(p + 4, "IEND", 4) == 0) {
            return true;
        }
        offset += static_cast<std::size_t>(length) + 12;
    }
    return false;
}

// Ancillary chunks the program has no use for; libpng skips them unread
// instead of allocating and inflating them.
constexpr png_byte kIgnoredChunks[] = "tEXt\0zTXt\0iTXt\0sCAL\0iCCP\0sPLT\0pCAL\0eXIf\0hIST\0tIME\0pHYs\0sBIT\0bKGD\0oFFs\0";
constexpr int kIgnoredChunkCount = 14;

// libpng's memory comes from operator new, so that it counts where the
// program's own allocations do.
png_voidp Allocate(png_structp, png_alloc_size_t size)
{
    return ::operator new(size, std::nothrow);
}

void Free(png_structp, png_voidp memory)
{
    ::operator delete(memory);
}

[[noreturn]] void OnError(png_structp png, png_const_charp message)
{
    kLog.Warning(std::string("libpng error: ") + message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp message)
{
    kLog.Debug(std::string("libpng warning: ") + message);
}

// Reads the header and sets the transformations; the decoder's size fields
// describe the rows libpng will then deliver.
bool ReadHeader(PngDecoder& d)
{
    if (setjmp(png_jmpbuf(d.png))) {
        return false;
    }
    d.info = png_create_info_struct(d.png);
    if (d.info == nullptr) {
        return false;
    }
    png_set_read_fn(d.png, &d.source, ReadFromMemory);
    png_set_user_limits(d.png, static_cast<png_uint_32>(kMaxDecodeSide), static_cast<png_uint_32>(kMaxDecodeSide));
    png_set_keep_unknown_chunks(d.png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
    // No chunk may make libpng allocate much more than the file could hold.
    png_set_chunk_malloc_max(d.png, d.source.size + 65536);
    png_read_info(d.png, d.info);

    const int bitDepth = png_get_bit_depth(d.png, d.info);
    const int colourType = png_get_color_type(d.png, d.info);
    if (bitDepth == 16) {
        png_set_strip_16(d.png);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(d.png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(d.png);
    }
    if (png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(d.png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(d.png);
    }
    double fileGamma = 0.0;
    if (png_get_gAMA(d.png, d.info, &fileGamma) != 0) {
        png_set_gamma(d.png, 2.2, fileGamma);
    }
    png_set_bgr(d.png);
    png_set_invert_alpha(d.png);
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);

    d.width = png_get_image_width(d.png, d.info);
    d.height = png_get_image_height(d.png, d.info);
    d.channels = png_get_channels(d.png, d.info);
    d.rowBytes = png_get_rowbytes(d.png, d.info);
    return true;
}

bool ReadRows(PngDecoder& d, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(d.png))) {
        return false;
    }
    png_read_image(d.png, rows);
    png_read_end(d.png, nullptr);
    return true;
}

} // namespace

bool DecodePng(std::span<const std::uint8_t> data, FrameImage& image)
{
    image.Release();
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) {
        return false;
    }
    if (!ChunksFitInFile(data)) {
        kLog.Warning("PNG refused: a chunk is longer than the file");
        return false;
    }
    std::lock_guard lock(g_pngMutex);
    PngDecoder d{};
    d.source = PngSource{data.data(), data.size(), 0};
    d.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning, nullptr, Allocate, Free);
    if (d.png == nullptr) {
        return false;
    }
    bool ok = ReadHeader(d);
    if (ok) {
        const int bits = d.channels * 8;
        ok = (d.channels == 3 || d.channels == 4) && d.rowBytes == std::size_t{d.width} * d.channels &&
             WithinDecodeLimits(d.width, d.height, bits) &&
             image.Create(static_cast<int>(d.width), static_cast<int>(d.height), bits);
    }
    if (ok) {
        // libpng writes straight into the picture rows, its row 0 at the top.
        std::vector<png_bytep> rows(d.height);
        for (png_uint_32 r = 0; r < d.height; ++r) {
            rows[r] = image.Row(static_cast<int>(r));
        }
        ok = ReadRows(d, rows.data());
    }
    png_destroy_read_struct(&d.png, d.info != nullptr ? &d.info : nullptr, nullptr);
    if (!ok) {
        image.Release();
    }
    return ok;
}

} // namespace orvane
