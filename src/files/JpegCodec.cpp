#include "files/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

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

// A file whose data ends before this share of the picture's rows has data is
// refused; one that ends later opens, marked truncated, the rest grey.
constexpr int kMinCoveredPercent = 50;

struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg hands back its address
    std::jmp_buf jump;
    // Set when the data ran out: the percentage of the picture's rows that
    // had data by then (100 once a later scan of a multi-scan file started).
    bool dataEnded;
    int coveredPercent;
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

// Warnings go to the log (the first only, as libjpeg's own handler does); the
// premature end of the data is noted with how much of the picture it covered.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) {
        return; // trace messages
    }
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->is_decompressor && errors->pub.msg_code == JWRN_JPEG_EOF && !errors->dataEnded) {
        const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        errors->dataEnded = true;
        errors->coveredPercent =
            d->input_scan_number > 1 || d->total_iMCU_rows == 0
                ? 100
                : static_cast<int>(std::uint64_t{d->input_iMCU_row} * 100 / d->total_iMCU_rows);
    }
    if (errors->pub.num_warnings == 0) {
        (*cinfo->err->output_message)(cinfo);
    }
    ++errors->pub.num_warnings;
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
    errors.pub.emit_message = EmitMessage;
    errors.dataEnded = false;
    errors.coveredPercent = 100;
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

// Only progressive files have coef_bits (the scan progress of every coefficient).
bool AllComponentsHaveDc(const jpeg_decompress_struct& cinfo)
{
    if (!cinfo.progressive_mode || cinfo.coef_bits == nullptr) {
        return false;
    }
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

// Huffman coding spends at least one bit on every block of the first
// component, so a file smaller than that cannot hold the picture it declares;
// arithmetic coding has no such floor.
bool DataCanHoldPicture(const jpeg_decompress_struct& cinfo, std::size_t bytes)
{
    if (cinfo.arith_code || cinfo.num_components < 1) {
        return true;
    }
    const jpeg_component_info& first = cinfo.comp_info[0];
    const std::uint64_t blocks = std::uint64_t{first.width_in_blocks} * first.height_in_blocks;
    return blocks / 8 <= bytes;
}

// After decoding: false (image released) when the data ended too early.
bool CoversEnough(const ErrorManager& errors, FrameImage& image)
{
    if (errors.dataEnded && errors.coveredPercent < kMinCoveredPercent) {
        kLog.Warning("JPEG refused: the data ends after " + std::to_string(errors.coveredPercent) +
                     "% of the picture");
        image.Release();
        return false;
    }
    return true;
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
    if (!DataCanHoldPicture(cinfo, data.size())) {
        kLog.Warning("JPEG refused: the data ends long before the picture does");
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
        // read past the scans that carry them. A sequential file with several
        // scans has no DC-only scans to stop after.
        firstScansOnly = cinfo.scale_num == 1 && cinfo.progressive_mode;
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
        return CoversEnough(d.errors, image);
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
    return CoversEnough(d.errors, image);
}

bool DecodeJpegImpl(std::span<const std::uint8_t> data, FrameImage& image, int minWidth, int minHeight,
                    bool* truncated)
{
    Decompressor d{};
    InstallErrorManager(d.errors);
    d.cinfo.err = &d.errors.pub;
    const bool ok = Decompress(d, data, image, minWidth, minHeight);
    if (truncated != nullptr) {
        *truncated = ok && d.errors.dataEnded;
    }
    return ok;
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

bool DecodeJpeg(std::span<const std::uint8_t> data, FrameImage& image, bool* truncated)
{
    return DecodeJpegImpl(data, image, 0, 0, truncated);
}

bool DecodeJpegForSize(std::span<const std::uint8_t> data, FrameImage& image, int minWidth, int minHeight,
                       bool* truncated)
{
    return DecodeJpegImpl(data, image, std::max(minWidth, 1), std::max(minHeight, 1), truncated);
}

} // namespace orvane
