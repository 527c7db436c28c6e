#include "files/GifCodec.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "files/DecodeLimits.h"
#include "files/FilesLog.h"

// giflib reports errors by return values and an error code (no jumps); its
// only callback is the bounded read from memory below.
namespace orvane {
namespace {

using files::kLog;

struct GifSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count)
{
    auto* source = static_cast<GifSource*>(gif->UserData);
    if (count <= 0) {
        return 0;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(count), source->size - source->offset);
    if (n == 0) {
        return 0;
    }
    std::memcpy(out, source->data + source->offset, n);
    source->offset += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

void LogGifError(int error)
{
    const char* text = GifErrorString(error);
    kLog.Warning(std::string("giflib: ") + (text != nullptr ? text : "unknown error"));
}

// Reads records up to the first image descriptor, keeping the transparent
// colour index of a graphic control extension met on the way (-1: none).
bool SkipToFirstImage(GifFileType* gif, int& transparent)
{
    transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            LogGifError(gif->Error);
            return false;
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                LogGifError(gif->Error);
                return false;
            }
            return true;
        }
        if (type != EXTENSION_RECORD_TYPE) {
            kLog.Warning("GIF refused: no picture");
            return false;
        }
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
            LogGifError(gif->Error);
            return false;
        }
        if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                transparent = control.TransparentColor;
            }
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
                LogGifError(gif->Error);
                return false;
            }
        }
    }
}

// The canvas: the logical screen with its white margins, unless that screen is
// large and the frame covers little of it; then only the frame, so that a tiny
// frame far from the origin does not make a huge white picture. A screen
// beyond the size limits leaves the frame alone too.
constexpr std::int64_t kAnyScreenPixels = std::int64_t{1} << 20;
constexpr std::int64_t kMaxScreenPerFramePixel = 16;

struct Canvas {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
};

Canvas ChooseCanvas(const GifFileType* gif)
{
    const GifImageDesc& frame = gif->Image;
    const std::int64_t screenWidth = gif->SWidth > 0 ? gif->SWidth : std::int64_t{frame.Left} + frame.Width;
    const std::int64_t screenHeight = gif->SHeight > 0 ? gif->SHeight : std::int64_t{frame.Top} + frame.Height;
    const std::int64_t frameArea = std::int64_t{frame.Width} * frame.Height;
    const std::int64_t screenArea = screenWidth * screenHeight;
    if (WithinDecodeLimits(screenWidth, screenHeight, 24) &&
        (screenArea <= kAnyScreenPixels || screenArea <= frameArea * kMaxScreenPerFramePixel)) {
        return {static_cast<int>(screenWidth), static_cast<int>(screenHeight), frame.Left, frame.Top};
    }
    return {frame.Width, frame.Height, 0, 0};
}

bool ComposeFirstImage(GifFileType* gif, int transparent, FrameImage& image)
{
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    const Canvas canvas = ChooseCanvas(gif);
    if (colours == nullptr || colours->Colors == nullptr || !WithinDecodeLimits(canvas.width, canvas.height, 24) ||
        !WithinDecodeLimits(frame.Width, frame.Height, 8)) {
        kLog.Warning("GIF refused: no colours, or a size beyond the limits");
        return false;
    }

    // Interlaced pictures deliver every 8th row from 0, every 8th from 4,
    // every 4th from 2, then every 2nd from 1.
    static constexpr int kPassStart[] = {0, 4, 2, 1};
    static constexpr int kPassStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.Interlace ? kPassStart[pass] : 0;
        const int step = frame.Interlace ? kPassStep[pass] : 1;
        for (int y = start; y < frame.Height; y += step) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                LogGifError(gif->Error);
                return false;
            }
            // The canvas is made once the frame's first row has decoded: a
            // header alone does not justify it.
            if (image.isEmpty()) {
                if (!image.Create(canvas.width, canvas.height, 24)) {
                    return false;
                }
                for (int r = 0; r < canvas.height; ++r) {
                    std::memset(image.Row(r), 0xFF, static_cast<std::size_t>(canvas.width) * 3);
                }
            }
            const int row = canvas.top + y;
            if (row < 0 || row >= canvas.height) {
                continue;
            }
            std::uint8_t* out = image.Row(row);
            for (int x = 0; x < frame.Width; ++x) {
                const int column = canvas.left + x;
                const int index = line[static_cast<std::size_t>(x)];
                if (column < 0 || column >= canvas.width || index == transparent || index >= colours->ColorCount) {
                    continue;
                }
                const GifColorType& colour = colours->Colors[index];
                std::uint8_t* pixel = out + static_cast<std::ptrdiff_t>(column) * 3;
                pixel[0] = colour.Blue;
                pixel[1] = colour.Green;
                pixel[2] = colour.Red;
            }
        }
    }
    return !image.isEmpty();
}

} // namespace

bool DecodeGif(std::span<const std::uint8_t> data, FrameImage& image)
{
    image.Release();
    GifSource source{data.data(), data.size(), 0};
    int error = 0;
    const GifHandle gif(DGifOpen(&source, ReadFromMemory, &error));
    if (!gif) {
        LogGifError(error);
        return false;
    }
    int transparent = NO_TRANSPARENT_COLOR;
    if (!SkipToFirstImage(gif.get(), transparent) || !ComposeFirstImage(gif.get(), transparent, image)) {
        image.Release();
        return false;
    }
    return true;
}

} // namespace orvane
