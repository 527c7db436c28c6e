#include "files/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "files/DecodeLimits.h"
#include "files/FilesLog.h"
#include "files/JpegThumbnail.h"
#include "platform/FileIo.h"

// libjpeg reports errors by calling error_exit, which must not return: it
// longjmps back to the function that set the jump. Those functions therefore
// hold only trivially destructible locals, keep the libjpeg structures in a
// caller-owned block (so nothing they change lives in a register across the
// jump), and leave every C++ object with a destructor to their callers.
namespace orvane {
namespace {

using files::kLog;

// More scans than any sensible progressive file uses; a crafted file with
// thousands of tiny scans would otherwise keep the decoder busy for minutes.
constexpr int kMaxScans = 256;

struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg hands back its address
    std::jmp_buf jump;
};

void LogMessage(j_common_ptr cinfo, bool error)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    if (error) {
        kLog.Warning(std::string("libjpeg: ") + text);
    } else {
        kLog.Debug(std::string("libjpeg: ") + text);
    }
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    LogMessage(cinfo, true);
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt data that libjpeg works around) do not stop decoding.
void OutputMessage(j_common_ptr cinfo)
{
    LogMessage(cinfo, false);
}

void StopOnTooManyScans(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        kLog.Warning("JPEG refused: more than " + std::to_string(kMaxScans) + " scans");
        std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
    }
}

void InstallErrorManager(ErrorManager& errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.output_message = OutputMessage;
}

struct Compressor {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    std::FILE* stream;       // the file written, or null to write into `memory`
    unsigned char* memory;   // libjpeg's buffer, freed by the caller
    unsigned long memorySize;
    const std::uint8_t* app0; // contents of an APP0 segment after JFIF's, or null
    std::size_t app0Size;
    bool progressive;
};

bool Compress(Compressor& c, const FrameImage& image, int quality)
{
    jpeg_compress_struct& cinfo = c.cinfo;
    if (setjmp(c.errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    if (c.stream != nullptr) {
        jpeg_stdio_dest(&cinfo, c.stream);
    } else {
        jpeg_mem_dest(&cinfo, &c.memory, &c.memorySize);
    }
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    // libjpeg-turbo reads blue-green-red rows itself, which is the same as
    // reordering each pixel to red-green-blue first.
    switch (image.bitsPerPixel()) {
    case 8:
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
        break;
    case 24:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        break;
    default:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_EXT_BGRX;
        break;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (c.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    // Right after the JFIF segment, where a JFIF extension belongs.
    if (c.app0 != nullptr) {
        jpeg_write_marker(&cinfo, JPEG_APP0, c.app0, static_cast<unsigned int>(c.app0Size));
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.Row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

struct Decompressor {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
};

// Smallest scale n/8 whose output covers minWidth × minHeight; 8 when none does.
void ChooseScale(jpeg_decompress_struct& cinfo, int minWidth, int minHeight)
{
    cinfo.scale_denom = 8;
    for (unsigned int num = 1; num <= 8; ++num) {
        cinfo.scale_num = num;
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= static_cast<JDIMENSION>(minWidth) &&
            cinfo.output_height >= static_cast<JDIMENSION>(minHeight)) {
            return;
        }
    }
}

bool AllComponentsHaveDc(const jpeg_decompress_struct& cinfo)
{
    for (int component = 0; component < cinfo.num_components; ++component) {
        if (cinfo.coef_bits[component][0] < 0) {
            return false;
        }
    }
    return true;
}

// CMYK as libjpeg hands it over; Adobe's files (the APP14 marker) store every
// channel inverted, as nearly all CMYK JPEGs do.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

void ReadRows(jpeg_decompress_struct& cinfo, FrameImage& image)
{
    if (cinfo.out_color_space == JCS_CMYK) {
        JSAMPARRAY buffer =
            (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int row = static_cast<int>(cinfo.output_scanline);
            if (jpeg_read_scanlines(&cinfo, buffer, 1) == 1) {
                CmykRowToBgr(buffer[0], image.Row(row), cinfo.output_width, cinfo.saw_Adobe_marker);
            }
        }
        return;
    }
    // Straight into the picture rows; the stride padding stays as created (zero).
    constexpr int kRowsAtOnce = 16;
    JSAMPROW rows[kRowsAtOnce];
    while (cinfo.output_scanline < cinfo.output_height) {
        const int first = static_cast<int>(cinfo.output_scanline);
        const int count = std::min(kRowsAtOnce, static_cast<int>(cinfo.output_height) - first);
        for (int i = 0; i < count; ++i) {
            rows[i] = image.Row(first + i);
        }
        jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
    }
}

// minWidth 0 decodes in full. The image is empty when this returns false.
bool Decompress(Decompressor& d, std::span<const std::uint8_t> data, FrameImage& image, int minWidth, int minHeight)
{
    jpeg_decompress_struct& cinfo = d.cinfo;
    image.Release();
    if (setjmp(d.errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        image.Release();
        return false;
    }
    jpeg_create_decompress(&cinfo);
    // Beyond this libjpeg fails (it has no backing store) instead of allocating.
    cinfo.mem->max_memory_to_use = kMaxDecodedBytes;
    d.progress.progress_monitor = StopOnTooManyScans;
    cinfo.progress = &d.progress;
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK ||
        !WithinDecodeLimits(cinfo.image_width, cinfo.image_height, 24)) {
        kLog.Warning("JPEG refused: no picture or one beyond the size limits");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB: cinfo.out_color_space = JCS_EXT_BGR; break;
    case JCS_CMYK:
    case JCS_YCCK: cinfo.out_color_space = JCS_CMYK; break;
    default:
        kLog.Warning("JPEG refused: unsupported colour space " + std::to_string(cinfo.jpeg_color_space));
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    bool firstScansOnly = false;
    if (minWidth > 0) {
        ChooseScale(cinfo, minWidth, minHeight);
        // The picture is reduced anyway, so plain upsampling does.
        cinfo.do_fancy_upsampling = FALSE;
        // At 1/8 only DC coefficients count: a progressive file need not be
        // read past the scans that carry them.
        firstScansOnly = cinfo.scale_num == 1 && jpeg_has_multiple_scans(&cinfo);
        if (firstScansOnly) {
            cinfo.buffered_image = TRUE;
            cinfo.do_block_smoothing = FALSE;
        }
    }
    // libjpeg's own buffers first: a picture whose coefficients would not fit
    // fails there before the image is allocated.
    jpeg_start_decompress(&cinfo);
    if (!image.Create(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), 24)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (!firstScansOnly) {
        ReadRows(cinfo, image);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    int status = JPEG_SUSPENDED;
    do {
        status = jpeg_consume_input(&cinfo);
        if (status == JPEG_SUSPENDED || cinfo.input_scan_number > kMaxScans) {
            kLog.Warning("JPEG refused: scans do not end");
            jpeg_destroy_decompress(&cinfo);
            image.Release();
            return false;
        }
    } while (status != JPEG_REACHED_EOI && !(status == JPEG_SCAN_COMPLETED && AllComponentsHaveDc(cinfo)));
    jpeg_start_output(&cinfo, cinfo.input_scan_number);
    ReadRows(cinfo, image);
    jpeg_finish_output(&cinfo);
    // The remaining scans are never read.
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool DecodeJpegImpl(std::span<const std::uint8_t> data, FrameImage& image, int minWidth, int minHeight)
{
    Decompressor d{};
    InstallErrorManager(d.errors);
    d.cinfo.err = &d.errors.pub;
    return Decompress(d, data, image, minWidth, minHeight);
}

} // namespace

bool SaveJpeg(const std::filesystem::path& path, const FrameImage& image, int quality)
{
    const int bits = image.bitsPerPixel();
    if (image.isEmpty() || (bits != 8 && bits != 24 && bits != 32) || quality < 1 || quality > 100) {
        return false;
    }
    AtomicFile file(path);
    if (!file.Open()) {
        return false;
    }
    const std::vector<std::uint8_t> thumbnail = MakeJfxxThumbnailSegment(image);
    Compressor c{};
    InstallErrorManager(c.errors);
    c.cinfo.err = &c.errors.pub;
    c.stream = file.stream();
    c.progressive = true;
    if (!thumbnail.empty()) {
        c.app0 = thumbnail.data();
        c.app0Size = thumbnail.size();
    }
    return Compress(c, image, quality) && file.Commit();
}

std::vector<std::uint8_t> EncodeBaselineJpeg(const FrameImage& image, int quality)
{
    const int bits = image.bitsPerPixel();
    if (image.isEmpty() || (bits != 8 && bits != 24 && bits != 32) || quality < 1 || quality > 100) {
        return {};
    }
    Compressor c{};
    InstallErrorManager(c.errors);
    c.cinfo.err = &c.errors.pub;
    const bool written = Compress(c, image, quality);
    std::vector<std::uint8_t> bytes;
    if (written && c.memory != nullptr) {
        bytes.assign(c.memory, c.memory + c.memorySize);
    }
    std::free(c.memory);
    return bytes;
}

bool DecodeJpeg(std::span<const std::uint8_t> data, FrameImage& image)
{
    return DecodeJpegImpl(data, image, 0, 0);
}

bool DecodeJpegForSize(std::span<const std::uint8_t> data, FrameImage& image, int minWidth, int minHeight)
{
    return DecodeJpegImpl(data, image, std::max(minWidth, 1), std::max(minHeight, 1));
}

} // namespace orvane
