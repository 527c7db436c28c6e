#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRectF>
#include <QTransform>

#include "image/DrawingSurface.h"
#include "image/FrameImage.h"

namespace orvane {

// The drawing surface over a 24-bit FrameImage's own pixels (the paint back
// buffer, or a picture about to be saved), drawn with QPainter, aliased as the
// reference platform draws.
//
// The image's rows lie bottom-up in memory; the painter works on a no-copy
// view of them in memory order and flips every primitive, so callers keep
// picture coordinates (y down from the top row). Pen shapes go through
// y -> height - 1 - y, which keeps whole pixel coordinates on whole pixels;
// fills and text through the continuous flip y -> height - y.
//
// One-pixel lines and dots are set pixel by pixel: QPainter leaves out the
// end of a line with the larger device coordinate whichever way the line
// runs, and places small round marks half a pixel off, where the reference
// platform leaves out the end point and centres the mark on its pixel.
//
// Text needs the application's font database: without a QGuiApplication,
// Text draws nothing and TextSize answers 0 x 0.
//
// The image must stay alive and keep its pixels while the surface exists; the
// drawing is complete when the surface is destroyed. UI thread only (or the
// one thread of orvane-tool).
class QtDrawingSurface final : public DrawingSurface {
public:
    explicit QtDrawingSurface(FrameImage& image);
    ~QtDrawingSurface() override;

    QtDrawingSurface(const QtDrawingSurface&) = delete;
    QtDrawingSurface& operator=(const QtDrawingSurface&) = delete;

    // False when the image is not a 24-bit picture; every call then does nothing.
    [[nodiscard]] bool isValid() const { return m_painter.isActive(); }

    void SetPen(COLORREF colour, int width) override;
    void Line(int x0, int y0, int x1, int y1) override;
    void Polyline(std::span<const IntPoint> points) override;
    void PolygonOutline(std::span<const IntPoint> points) override;
    void Ellipse(const RECT& box) override;
    void Dot(int x, int y) override;
    void FillRect(const RECT& rect, COLORREF colour) override;
    void SetFont(const DrawingFont& font) override;
    void Text(int x, int y, std::string_view utf8, COLORREF colour) override;
    [[nodiscard]] TextExtent TextSize(std::string_view utf8) override;

private:
    void UsePenTransform();
    void SetPixel(std::int64_t x, std::int64_t y);
    // One-pixel line from (x0, y0) to (x1, y1) without the end pixel.
    void ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void UseAreaTransform();
    [[nodiscard]] bool CanDrawText() const;
    // The QFont of the current font description, built when it changed.
    [[nodiscard]] const QFont& CurrentFont();

    FrameImage* m_image = nullptr;
    QImage m_view;
    QPainter m_painter;
    QTransform m_penTransform;
    QTransform m_areaTransform;
    QPen m_pen;
    QColor m_penColour;
    COLORREF m_penColourRef = 0;
    int m_penWidth = 1;
    DrawingFont m_fontSpec;
    std::optional<DrawingFont> m_fontBuiltFor;
    QFont m_font;
};

// The font the settings describe: lfHeight < 0 is the character height in
// pixels, > 0 the cell height (ascent + descent), 0 a 16-pixel default; weight
// 0 is normal; a Windows Japanese face (the default "ＭＳ Ｐゴシック") gives its
// installed stand-in (FaceStandIns), any other face the system does not have
// the system's sans-serif face. Needs a QGuiApplication.
[[nodiscard]] QFont ToQFont(const DrawingFont& font);

[[nodiscard]] QPolygon ToQPolygon(std::span<const IntPoint> points);

// The rectangle QPainter::drawEllipse takes for an outline spanning columns
// left..right-1 and rows top..bottom-1 of `box` (QRectF's outline takes one
// pixel more than its size).
[[nodiscard]] QRectF EllipseOutlineRect(const RECT& box);

} // namespace orvane
