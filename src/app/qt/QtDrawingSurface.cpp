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

namespace orvane {
namespace {

// GDI's height of the default font, in pixels.
constexpr int kDefaultPixelSize = 16;

// One-pixel lines with an end further out than this are first cut to the
// picture (with this margin), so that the stepping stays in 64 bits and
// within the picture's size.
constexpr std::int64_t kFarCoordinate = std::int64_t{1} << 24;
constexpr double kClipMargin = 16.0;

// n / d rounded half up, d > 0.
std::int64_t RoundDiv(std::int64_t n, std::int64_t d)
{
    const std::int64_t twice = 2 * n + d;
    const std::int64_t q = twice / (2 * d);
    return (twice % (2 * d) != 0 && twice < 0) ? q - 1 : q;
}

// Cuts the segment to the box (Liang-Barsky); false when it misses it.
bool ClipToBox(double& x0, double& y0, double& x1, double& y1, double left, double top, double right, double bottom)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const std::array<std::pair<double, double>, 4> edges{
        {{-dx, x0 - left}, {dx, right - x0}, {-dy, y0 - top}, {dy, bottom - y0}}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q / p;
        if (p < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const double ex = x0 + t1 * dx;
    const double ey = y0 + t1 * dy;
    x0 += t0 * dx;
    y0 += t0 * dy;
    x1 = ex;
    y1 = ey;
    return true;
}

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

QString ToQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QPolygon ToQPolygon(std::span<const IntPoint> points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const IntPoint& p : points) {
        polygon.append(QPoint(p.x, p.y));
    }
    return polygon;
}

} // namespace

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
    if (std::max({std::abs(x0), std::abs(y0), std::abs(x1), std::abs(y1)}) > kFarCoordinate) {
        double fx0 = static_cast<double>(x0);
        double fy0 = static_cast<double>(y0);
        double fx1 = static_cast<double>(x1);
        double fy1 = static_cast<double>(y1);
        if (!ClipToBox(fx0, fy0, fx1, fy1, -kClipMargin, -kClipMargin, m_image->width() + kClipMargin,
                       m_image->height() + kClipMargin)) {
            return;
        }
        x0 = std::llround(fx0);
        y0 = std::llround(fy0);
        x1 = std::llround(fx1);
        y1 = std::llround(fy1);
    }
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = alongX ? std::abs(dx) : std::abs(dy);
    if (steps == 0) {
        return; // a zero-length one-pixel line draws nothing
    }
    // Only the steps whose major coordinate lies on the picture.
    const std::int64_t major0 = alongX ? x0 : y0;
    const std::int64_t size = alongX ? m_image->width() : m_image->height();
    const bool forward = (alongX ? dx : dy) > 0;
    std::int64_t first = forward ? -major0 : major0 - (size - 1);
    std::int64_t last = forward ? size - 1 - major0 : major0; // inclusive
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    for (std::int64_t i = first; i <= last; ++i) {
        SetPixel(x0 + RoundDiv(i * dx, steps), y0 + RoundDiv(i * dy, steps));
    }
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
    // The outline spans columns left..right-1 and rows top..bottom-1; QRectF's
    // outline takes one pixel more than its size.
    const double left = std::min(box.left, box.right);
    const double top = std::min(box.top, box.bottom);
    const double width = std::abs(static_cast<double>(box.right) - box.left);
    const double height = std::abs(static_cast<double>(box.bottom) - box.top);
    UsePenTransform();
    m_painter.drawEllipse(QRectF(left, top, std::max(width - 1.0, 0.0), std::max(height - 1.0, 0.0)));
}

void QtDrawingSurface::Dot(int x, int y)
{
    if (!isValid()) {
        return;
    }
    // A disk of the pen's width on the pixel grid: centred on the pixel for
    // odd widths, on its top-left corner for even ones.
    const std::int64_t width = m_penWidth;
    const double centreShift = width % 2 == 1 ? 0.0 : -0.5;
    const double limit = width * width / 4.0 + 0.25; // radius squared, rounded in
    const std::int64_t reach = width / 2;
    // Only the part of the disk's square that lies on the picture.
    const std::int64_t dyFirst = std::max(-reach, -std::int64_t{y});
    const std::int64_t dyLast = std::min(reach, m_image->height() - 1 - std::int64_t{y});
    const std::int64_t dxFirst = std::max(-reach, -std::int64_t{x});
    const std::int64_t dxLast = std::min(reach, m_image->width() - 1 - std::int64_t{x});
    for (std::int64_t dy = dyFirst; dy <= dyLast; ++dy) {
        for (std::int64_t dx = dxFirst; dx <= dxLast; ++dx) {
            const double ox = dx - centreShift;
            const double oy = dy - centreShift;
            if (ox * ox + oy * oy <= limit) {
                SetPixel(std::int64_t{x} + dx, std::int64_t{y} + dy);
            }
        }
    }
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
