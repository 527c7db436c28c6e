#include "image/ImageView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "image/PixelOps.h"
#include "image/ZoomTable.h"

namespace orvane {
namespace {

enum class SourceKind { Bgr, Grey, Unsupported };

SourceKind KindOf(const FrameImage& source)
{
    switch (source.bitsPerPixel()) {
    case 24:
    case 32: return SourceKind::Bgr;
    case 8: return SourceKind::Grey;
    default: return SourceKind::Unsupported;
    }
}

void FillBlack(FrameImage& image)
{
    std::memset(image.bits(), 0, image.byteCount());
}

// One back-buffer row from one source row through the column byte offsets;
// columns [first, last) of the back buffer come from the source, the rest stay
// as they are. Where the next pixel overwrites the fourth byte, pixels move as
// four bytes; a four-byte read stays inside the source row's stride.
template <SourceKind kind>
void SampleRow(std::uint8_t* d, const std::uint8_t* s, const std::int32_t* offsets, int first, int last, int fastEnd)
{
    int c = first;
    d += static_cast<std::ptrdiff_t>(first) * 3;
    for (; c < fastEnd; ++c, d += 3) {
        std::uint32_t v;
        if constexpr (kind == SourceKind::Bgr) {
            std::memcpy(&v, s + offsets[c], 4);
        } else {
            v = s[offsets[c]] * 0x01010101u;
        }
        std::memcpy(d, &v, 4);
    }
    for (; c < last; ++c, d += 3) {
        if constexpr (kind == SourceKind::Bgr) {
            std::memcpy(d, s + offsets[c], 3);
        } else {
            std::memset(d, s[offsets[c]], 3);
        }
    }
}

// The source pixel a back-buffer column or row shows: the one under its
// top-left corner by the view's own mapping (client / f - pan), so that the
// picture and every overlay and click agree to the pixel at fractional pans.
// The small bias keeps exact boundaries (6 / 1.2) from falling a pixel short.
[[nodiscard]] std::int64_t SourceIndex(int backIndex, double factor, double origin)
{
    return static_cast<std::int64_t>(std::floor(backIndex / factor + origin + 1e-9));
}

// Back-buffer picture row r, column c <- source picture row SourceIndex(r),
// column SourceIndex(c); black where that lies outside the source. Rows that
// repeat the previous source row are copied from the previous back-buffer row.
template <SourceKind kind>
void Stretch(const FrameImage& source, FrameImage& back, double factor, double originX, double originY)
{
    const int width = back.width();
    const int height = back.height();
    const int sourceBytes = source.bytesPerPixel();
    const auto rowBytes = static_cast<std::size_t>(width) * 3;

    std::vector<std::int32_t> offsets(static_cast<std::size_t>(width));
    int first = width;
    int last = 0;
    for (int c = 0; c < width; ++c) {
        const std::int64_t column = SourceIndex(c, factor, originX);
        if (column >= 0 && column < source.width()) {
            offsets[static_cast<std::size_t>(c)] = static_cast<std::int32_t>(column * sourceBytes);
            first = std::min(first, c);
            last = c + 1;
        }
    }
    // Source columns never decrease, so the pixels that may move four bytes at
    // once come first; the last one always moves three.
    int fastEnd = first;
    while (fastEnd < last - 1 &&
           (kind == SourceKind::Grey || offsets[static_cast<std::size_t>(fastEnd)] + 4 <= source.stride())) {
        ++fastEnd;
    }
    // At x1 with a 24-bit source the columns are one contiguous run.
    const bool blockCopy = kind == SourceKind::Bgr && sourceBytes == 3 && factor == 1.0;

    std::int64_t previousRow = -1;
    const std::uint8_t* previous = nullptr;
    for (int r = 0; r < height; ++r) {
        std::uint8_t* d = back.Row(r);
        const std::int64_t row = SourceIndex(r, factor, originY);
        if (first >= last || row < 0 || row >= source.height()) {
            std::memset(d, 0, rowBytes);
            previous = nullptr;
            continue;
        }
        if (previous != nullptr && row == previousRow) {
            std::memcpy(d, previous, rowBytes);
            previous = d;
            continue;
        }
        std::memset(d, 0, static_cast<std::size_t>(first) * 3);
        std::memset(d + static_cast<std::ptrdiff_t>(last) * 3, 0, static_cast<std::size_t>(width - last) * 3);
        const std::uint8_t* s = source.Row(static_cast<int>(row));
        if (blockCopy) {
            std::memcpy(d + static_cast<std::ptrdiff_t>(first) * 3, s + offsets[static_cast<std::size_t>(first)],
                        static_cast<std::size_t>(last - first) * 3);
        } else {
            SampleRow<kind>(d, s, offsets.data(), first, last, fastEnd);
        }
        previousRow = row;
        previous = d;
    }
}

void DrawZoomed(const FrameImage& source, FrameImage& back, double factor, double originX, double originY)
{
    switch (KindOf(source)) {
    case SourceKind::Bgr: Stretch<SourceKind::Bgr>(source, back, factor, originX, originY); break;
    case SourceKind::Grey: Stretch<SourceKind::Grey>(source, back, factor, originX, originY); break;
    case SourceKind::Unsupported: FillBlack(back); break;
    }
}

void DrawFitted(const FrameImage& source, FrameImage& back)
{
    const SourceKind kind = KindOf(source);
    const ScaledPixelOp op = kind == SourceKind::Bgr    ? Resample24To24
                             : kind == SourceKind::Grey ? Resample8To24
                                                        : nullptr;
    if (op == nullptr || back.ApplyScaledOp(op, source, nullptr, nullptr) == 0) {
        FillBlack(back);
    }
}

void RunStep(const ViewOverlays::Step& step, FrameImage& back, const ViewTransform& transform)
{
    if (step) {
        step(back, transform);
    }
}

} // namespace

void ImageView::SetPan(double x, double y)
{
    m_panX = std::isfinite(x) ? x : 0.0;
    m_panY = std::isfinite(y) ? y : 0.0;
}

void ImageView::SetImageSize(int width, int height)
{
    m_imageWidth = std::max(0, width);
    m_imageHeight = std::max(0, height);
}

ViewGeometry ImageView::geometry() const
{
    return ViewGeometry{m_frame, m_imageWidth, m_imageHeight, m_zoomIndex, m_panX, m_panY};
}

std::optional<ViewTransform> ImageView::transform() const
{
    return TransformOf(geometry());
}

std::optional<PointD> ImageView::ClientToImage(PointD client, const RECT* view) const
{
    ViewGeometry g = geometry();
    if (view != nullptr) {
        g.frame = *view;
    }
    return orvane::ClientToImage(g, client);
}

std::optional<IntPoint> ImageView::ClientToImageInt(PointD client, const RECT* view) const
{
    ViewGeometry g = geometry();
    if (view != nullptr) {
        g.frame = *view;
    }
    return orvane::ClientToImageInt(g, client);
}

std::optional<PointD> ImageView::ImageToClient(PointD image, const RECT* view) const
{
    ViewGeometry g = geometry();
    if (view != nullptr) {
        g.frame = *view;
    }
    return orvane::ImageToClient(g, image);
}

bool ImageView::ViewLayout()
{
    if (!m_window) {
        return false;
    }
    const ViewLayoutResult result = ComputeViewLayout(*m_window, geometry());
    m_frame = result.frame;
    m_panX = result.panX;
    m_panY = result.panY;
    m_window->resultsList = result.resultsList;
    m_window->stripBox = result.stripBox;
    m_window->scrollBar = result.scrollBar;
    if (m_host.applyLayout) {
        m_host.applyLayout(result);
    }
    return true;
}

void ImageView::ZoomChanged(int newIndex)
{
    if (!IsValidZoomIndex(newIndex)) {
        newIndex = kZoomDefault;
    }
    // Both pans are worked out with the frame's size before the change.
    const PointD centre = ImagePointAtFraction(geometry(), 0.5, 0.5);
    const PointD pan = PanShowingPoint(newIndex, centre, 0.5, 0.5, m_frame.Width(), m_frame.Height());
    m_zoomIndex = newIndex;
    m_panX = pan.x;
    m_panY = pan.y;
    if (m_host.takeKeyboardFocus) {
        m_host.takeKeyboardFocus();
    }
    ViewLayout();
    m_repaintPending = true;
}

bool ImageView::OnMouseWheel(int delta, IntPoint cursor)
{
    const int oldIndex = m_zoomIndex;
    int newIndex = oldIndex;
    if (delta < 0 && oldIndex > 0) {
        newIndex = oldIndex - 1;
    } else if (delta > 0 && oldIndex + 1 < kZoomCount) {
        newIndex = oldIndex + 1;
    }
    if (Contains(m_frame, cursor)) {
        const int width = m_frame.Width();
        const int height = m_frame.Height();
        const double rx = static_cast<double>(cursor.x - m_frame.left) / width;
        const double ry = static_cast<double>(cursor.y - m_frame.top) / height;
        const PointD underCursor = ImagePointAtFraction(geometry(), rx, ry);
        const PointD pan = PanShowingPoint(newIndex, underCursor, rx, ry, width, height);
        m_zoomIndex = newIndex;
        m_panX = pan.x;
        m_panY = pan.y;
        ViewLayout();
        m_repaintPending = true;
    } else {
        ZoomChanged(newIndex);
    }
    return newIndex != oldIndex;
}

bool ImageView::PanBy(double dx, double dy)
{
    if (m_zoomIndex == kZoomFit || !std::isfinite(dx) || !std::isfinite(dy)) {
        return false;
    }
    // bx = (x + pan) * f: a screen step d moves the pan by d / f.
    const double f = ZoomFactor(m_zoomIndex);
    const double oldX = m_panX;
    const double oldY = m_panY;
    m_panX += dx / f;
    m_panY += dy / f;
    ViewLayout();
    const bool moved = m_panX != oldX || m_panY != oldY;
    m_repaintPending = m_repaintPending || moved;
    return moved;
}

bool ImageView::TakeRepaintPending()
{
    return std::exchange(m_repaintPending, false);
}

bool ImageView::PaintPicture(const FrameImage& source, FrameImage& backBuffer) const
{
    const int width = m_frame.Width();
    const int height = m_frame.Height();
    if (width <= 0 || height <= 0 || &source == &backBuffer) {
        return false;
    }
    // The back buffer lives across paints; only a new frame size makes a new one.
    if (backBuffer.width() != width || backBuffer.height() != height || backBuffer.bitsPerPixel() != 24) {
        if (!backBuffer.Create(width, height, 24)) {
            return false;
        }
    }

    if (source.isEmpty()) {
        FillBlack(backBuffer);
    } else if (m_zoomIndex == kZoomFit) {
        DrawFitted(source, backBuffer);
    } else {
        // f(1) is exactly 1.0: at x1 the rows are plain copies.
        DrawZoomed(source, backBuffer, ZoomFactor(m_zoomIndex), -m_panX, -m_panY);
    }

    const std::optional<ViewTransform> t = transform();
    if (t) {
        for (const ViewOverlays::Step* step : {&m_overlays.measurements, &m_overlays.scaleBar, &m_overlays.crossLines,
                                               &m_overlays.focusDisplay, &m_overlays.grid, &m_overlays.cursorCrossHairs,
                                               &m_overlays.measurementInProgress, &m_overlays.calibrationMarks}) {
            RunStep(*step, backBuffer, *t);
        }
    }
    return true;
}

} // namespace orvane
