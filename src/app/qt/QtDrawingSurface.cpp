#include "app/qt/QtDrawingSurface.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPolygon>

#include "app/qt/FontFaces.h"
#include "app/qt/FrameImageQt.h"
#include "app/qt/PixelSteps.h"

namespace orvane {
namespace {

// GDI's height of the default font, in pixels.
constexpr int kDefaultPixelSize = 16;

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

QString ToQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

QPolygon ToQPolygon(std::span<const IntPoint> points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const IntPoint& p : points) {
        polygon.append(QPoint(p.x, p.y));
    }
    return polygon;
}

QRectF EllipseOutlineRect(const RECT& box)
{
    const double left = std::min(box.left, box.right);
    const double top = std::min(box.top, box.bottom);
    const double width = std::abs(static_cast<double>(box.right) - box.left);
    const double height = std::abs(static_cast<double>(box.bottom) - box.top);
    return {left, top, std::max(width - 1.0, 0.0), std::max(height - 1.0, 0.0)};
}

QFont ToQFont(const DrawingFont& wanted)
{
    QFont font;
    const QString face = InstalledFace(QString::fromStdString(wanted.faceName));
    if (!face.isEmpty()) {
        font.setFamilies({face});
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    }
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    font.setWeight(wanted.weight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::min(wanted.weight, 1000)));
    font.setKerning(false);

    if (wanted.height < 0) {
        // INT_MIN has no positive counterpart; no font is that tall anyway.
        font.setPixelSize(wanted.height == INT_MIN ? INT_MAX : -wanted.height);
    } else if (wanted.height > 0) {
        // A cell height: scale the em size so that ascent + descent fit it.
        font.setPixelSize(wanted.height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0 && cell != wanted.height) {
            const double em = static_cast<double>(wanted.height) * wanted.height / cell;
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
        }
    } else {
        font.setPixelSize(kDefaultPixelSize);
    }
    return font;
}

QtDrawingSurface::QtDrawingSurface(FrameImage& image)
{
    if (image.bitsPerPixel() != 24) {
        return;
    }
    m_image = &image;
    m_view = WrapMemoryRows(image);
    if (m_view.isNull() || !m_painter.begin(&m_view)) {
        return;
    }
    const double height = m_view.height();
    m_penTransform = QTransform(1.0, 0.0, 0.0, -1.0, 0.0, height - 1.0);
    m_areaTransform = PictureToMemoryRows(m_view.height());
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setBrush(Qt::NoBrush);
    SetPen(0, 1);
}

QtDrawingSurface::~QtDrawingSurface()
{
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

void QtDrawingSurface::UsePenTransform()
{
    m_painter.setTransform(m_penTransform);
    m_painter.setPen(m_pen);
    m_painter.setBrush(Qt::NoBrush);
}

void QtDrawingSurface::UseAreaTransform()
{
    m_painter.setTransform(m_areaTransform);
}

bool QtDrawingSurface::CanDrawText() const
{
    return isValid() && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

void QtDrawingSurface::SetPen(COLORREF colour, int width)
{
    m_penColourRef = colour & 0xFFFFFFu;
    m_penColour = ToQColor(colour);
    m_penWidth = std::max(width, 1);
    if (m_penWidth == 1) {
        // Used for ellipses; thin lines are set pixel by pixel.
        m_pen = QPen(m_penColour, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        m_pen.setCosmetic(true);
    } else {
        m_pen = QPen(m_penColour, m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
}

void QtDrawingSurface::SetPixel(std::int64_t x, std::int64_t y)
{
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height()) {
        return;
    }
    std::uint8_t* p = m_image->Row(static_cast<int>(y)) + 3 * x;
    p[0] = GetBValue(m_penColourRef);
    p[1] = GetGValue(m_penColourRef);
    p[2] = GetRValue(m_penColourRef);
}

void QtDrawingSurface::ThinLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    ForEachThinLinePixel(x0, y0, x1, y1, {m_image->width(), m_image->height()},
                         [this](std::int64_t x, std::int64_t y) { SetPixel(x, y); });
}

void QtDrawingSurface::Line(int x0, int y0, int x1, int y1)
{
    if (!isValid()) {
        return;
    }
    if (m_penWidth == 1) {
        ThinLine(x0, y0, x1, y1);
        return;
    }
    UsePenTransform();
    m_painter.drawLine(QPoint(x0, y0), QPoint(x1, y1));
}

void QtDrawingSurface::Polyline(std::span<const IntPoint> points)
{
    if (!isValid() || points.size() < 2) {
        return;
    }
    if (m_penWidth == 1) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            ThinLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        }
        return;
    }
    UsePenTransform();
    m_painter.drawPolyline(ToQPolygon(points));
}

void QtDrawingSurface::PolygonOutline(std::span<const IntPoint> points)
{
    if (!isValid() || points.size() < 2) {
        return;
    }
    if (m_penWidth == 1) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const IntPoint& from = points[i];
            const IntPoint& to = points[(i + 1) % points.size()];
            ThinLine(from.x, from.y, to.x, to.y);
        }
        return;
    }
    UsePenTransform();
    m_painter.drawPolygon(ToQPolygon(points));
}

void QtDrawingSurface::Ellipse(const RECT& box)
{
    if (!isValid()) {
        return;
    }
    UsePenTransform();
    m_painter.drawEllipse(EllipseOutlineRect(box));
}

void QtDrawingSurface::Dot(int x, int y)
{
    if (!isValid()) {
        return;
    }
    ForEachDotPixel(x, y, m_penWidth, {m_image->width(), m_image->height()},
                    [this](std::int64_t px, std::int64_t py) { SetPixel(px, py); });
}

void QtDrawingSurface::FillRect(const RECT& rect, COLORREF colour)
{
    if (!isValid() || rect.IsEmpty()) {
        return;
    }
    UseAreaTransform();
    m_painter.fillRect(QRectF(rect.left, rect.top, static_cast<double>(rect.right) - rect.left,
                              static_cast<double>(rect.bottom) - rect.top),
                       ToQColor(colour));
}

void QtDrawingSurface::SetFont(const DrawingFont& font)
{
    m_fontSpec = font;
}

const QFont& QtDrawingSurface::CurrentFont()
{
    if (m_fontBuiltFor != m_fontSpec) {
        m_font = ToQFont(m_fontSpec);
        m_fontBuiltFor = m_fontSpec;
    }
    return m_font;
}

void QtDrawingSurface::Text(int x, int y, std::string_view utf8, COLORREF colour)
{
    if (!CanDrawText() || utf8.empty()) {
        return;
    }
    UseAreaTransform();
    m_painter.setFont(CurrentFont());
    m_painter.setPen(ToQColor(colour));
    const QFontMetrics metrics(m_font);
    m_painter.drawText(QPointF(x, static_cast<double>(y) + metrics.ascent()), ToQString(utf8));
}

TextExtent QtDrawingSurface::TextSize(std::string_view utf8)
{
    if (!CanDrawText()) {
        return {};
    }
    const QFontMetrics metrics(CurrentFont());
    return {metrics.horizontalAdvance(ToQString(utf8)), metrics.height()};
}

} // namespace orvane
