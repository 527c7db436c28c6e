#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "image/BitmapTypes.h"

namespace orvane {

// Per-pixel operations run by FrameImage over rectangles of two images. Each
// returns the operation's result (a count, or 1 for success). They receive
// raw row pointers: the FrameImage that calls them has already clipped the
// rectangles to both images. Rectangles are in buffer coordinates (row 0 is
// the first row in memory, i.e. the bottom row of the picture).

// ApplyOp: the clipped source rectangle is processed onto position (x, y).
using PixelOp = int (*)(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& srcRect, int x, int y,
                        int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride, std::intptr_t extra1,
                        std::intptr_t extra2);

// ApplyScaledOp: the source rectangle is mapped onto the destination rectangle.
using ScaledPixelOp = int (*)(std::uint8_t* dstBits, const std::uint8_t* srcBits, const RECT& dstRect,
                              const RECT& srcRect, int dstWidth, int dstHeight, int srcWidth, int srcHeight,
                              int dstBytesPerPixel, int srcBytesPerPixel, int dstStride, int srcStride,
                              std::intptr_t extra1, std::intptr_t extra2);

// ApplyDescribedOp: operations that take whole image descriptors.
struct ImageDescriptor {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::int32_t bitsPerPixel = 0;
    std::uint8_t* bits = nullptr;
    RECT rect;
};
struct OpParams {
    std::int32_t size = 12;
    std::int32_t mode = 1;
    std::int32_t value = 0;
};
using DescribedOp = int (*)(ImageDescriptor& dst, const ImageDescriptor& src, OpParams& params, std::intptr_t extra1,
                            std::intptr_t extra2);

// The one image container of the program: frames, work images, thumbnails,
// picture resources and the paint back buffer.
//
// Rows are bottom-up (row r of the picture starts at bits() + (height-1-r) *
// stride()), stride is a multiple of 4, 8/16/24/32 bits per pixel in
// blue-green-red order; 8-bit images carry a 256-entry colour table (the grey
// ramp unless copied). A "drawable" image can be wrapped by the app for
// QPainter without a copy; a memory-only image is the same pixels without that
// promise. Copies are deep.
//
// Not thread-safe: one thread at a time (the capture hand-over locks around it).
class FrameImage {
public:
    FrameImage() = default;
    FrameImage(const FrameImage& other);
    FrameImage& operator=(const FrameImage& other);
    FrameImage(FrameImage&& other) noexcept;
    FrameImage& operator=(FrameImage&& other) noexcept;
    ~FrameImage() = default;

    // Back to the empty image; may be called any number of times. Returns 0.
    int Release();

    // New zero-filled images (8-bit ones with the grey ramp). Sizes of 1 to 65535
    // per side, 8/16/24/32 bits and at most 2^31 - 1 bytes of pixels; anything
    // else fails and leaves the image empty.
    bool Create(int width, int height, int bitsPerPixel);
    bool CreateMemoryOnly(int width, int height, int bitsPerPixel);
    bool CreateFromHeader(const BITMAPINFOHEADER& header);
    // Drawable image of the other's size and format; an 8-bit one takes over its colour table.
    bool CreateLike(const FrameImage& other);
    // Deep copy of the pixels and the colour table, drawable when the other is.
    // A target of the same size and kind keeps its buffer.
    bool CopyFrom(const FrameImage& other);

    // Blit and Fill take rectangles and positions in picture coordinates (row 0
    // at the top), as drawing calls do, and clip them to the images.
    //
    // Copy srcRect of src (nullptr: all of it) to (x, y). Equal formats copy
    // bytes (8 bits through the colour tables when they differ); 8 -> 24/32
    // through the source's table, 24 <-> 32 (alpha 0), 24/32 -> 8 to the
    // nearest entry of this image's table. 16-bit images blit only to 16 bits;
    // other pairs fail. True also when nothing of the source lands here.
    bool Blit(const FrameImage& src, const RECT* srcRect, int x, int y);
    // Fill rect (nullptr: the whole image) with a solid colour: 8 bits the
    // nearest table entry, 16 bits as 5-5-5, 32 bits with alpha 0.
    bool Fill(const RECT* rect, COLORREF colour);
    // 8-bit images only (others ignore it, still true): mode 0 the grey ramp;
    // mode 2 entries[0, count) into table[first, first + count), cut at 256.
    bool SetColorTable(int mode, const RGBQUAD* entries, int first, int count);

    // Images from DIB and BMP bytes; reads are bounded by `size`. Uncompressed
    // 1/4/8/16/24/32 bits (1 and 4 bits widen to 8-bit indices), plain bit
    // fields, top-down rows (negative height) flipped into place; a BMP file's
    // data offset is followed when it fits. Truncated, compressed or
    // inconsistent data fails and leaves the image as it was. An empty or
    // memory-only image is replaced; a drawable one keeps its size and format
    // and receives the bitmap at its top left, converted as Blit converts.
    bool LoadPackedDib(const std::uint8_t* data, std::size_t size);
    bool LoadBmpImage(const std::uint8_t* data, std::size_t size);
    bool LoadBmpFile(const std::filesystem::path& path);

    // Clips srcRect, placed at (x, y) of this image, against both images and
    // rewrites all three to the overlap; false (all zero) when there is none.
    bool ClipRects(const FrameImage& src, RECT& srcRect, int& x, int& y) const;

    // Runs op over the clipped overlap (see ClipRects); 0 when op is null or
    // nothing overlaps.
    int ApplyOp(PixelOp op, const FrameImage& src, const RECT* srcRect, int x, int y, std::intptr_t extra1 = 0,
                std::intptr_t extra2 = 0);
    // Maps srcRect of src (nullptr: all) onto dstRect of this image (nullptr:
    // all). 0 when op is null, an image is empty or a rectangle is empty or
    // misses its image; otherwise the operations write only inside this image
    // and read only inside src.
    int ApplyScaledOp(ScaledPixelOp op, const FrameImage& src, const RECT* srcRect, const RECT* dstRect,
                      std::intptr_t extra1 = 0, std::intptr_t extra2 = 0);
    // Descriptors of this image and src (nullptr: an empty descriptor) with
    // their rectangles clipped to them (nullptr: whole); params default to
    // {12, 1, 0}. 1 when op is null.
    int ApplyDescribedOp(DescribedOp op, FrameImage* src, OpParams* params, const RECT* dstRect, const RECT* srcRect,
                         std::intptr_t extra1 = 0, std::intptr_t extra2 = 0);

    [[nodiscard]] bool isEmpty() const { return m_bits == nullptr; }
    [[nodiscard]] bool isDrawable() const { return m_drawable; }
    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] int stride() const { return m_stride; }
    [[nodiscard]] int bitsPerPixel() const { return m_bitsPerPixel; }
    [[nodiscard]] int bytesPerPixel() const { return m_bitsPerPixel / 8; }
    [[nodiscard]] std::size_t byteCount() const
    {
        return static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height);
    }
    [[nodiscard]] const BITMAPINFOHEADER& header() const { return m_header; }
    [[nodiscard]] std::uint8_t* bits() { return m_bits; }
    [[nodiscard]] const std::uint8_t* bits() const { return m_bits; }
    // First byte of picture row r (r = 0 is the top row).
    [[nodiscard]] std::uint8_t* Row(int r) { return m_bits + static_cast<std::ptrdiff_t>(m_height - 1 - r) * m_stride; }
    [[nodiscard]] const std::uint8_t* Row(int r) const
    {
        return m_bits + static_cast<std::ptrdiff_t>(m_height - 1 - r) * m_stride;
    }
    [[nodiscard]] const std::array<RGBQUAD, 256>& colorTable() const { return m_colorTable; }

    // Bytes per row for a width and bit count: (width * bytes + 3) & ~3.
    [[nodiscard]] static int StrideFor(int width, int bitsPerPixel);

private:
    bool Allocate(int width, int height, int bitsPerPixel, bool drawable, bool zeroFill = true);
    bool LoadDib(const std::uint8_t* data, std::size_t size, std::optional<std::size_t> pixelOffset);

    BITMAPINFOHEADER m_header{};
    std::unique_ptr<std::uint8_t[]> m_pixels;
    std::uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_bitsPerPixel = 0;
    bool m_drawable = false;
    std::array<RGBQUAD, 256> m_colorTable{};
};

} // namespace orvane
