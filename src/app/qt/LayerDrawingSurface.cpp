#include "app/qt/LayerDrawingSurface.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPolygon>
#include <QTextLayout>

#include "app/qt/FrameImageQt.h"
#include "app/qt/PixelSteps.h"
#include "app/qt/QtDrawingSurface.h"

namespace orvane {
namespace {

// Sub-pixel glyph positions are told apart to 1/256 pixel, finer than the
// 1/64 of the raster engine.
constexpr double kFractionSteps = 256.0;

// A picture's pixels read as coverage (its blue bytes) and cleared, within
// the box clipped to the picture.
template <typename Take>
void TakeCoverage(FrameImage& picture, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  Take&& take)
{
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, picture.width());
    bottom = std::min<std::int64_t>(bottom, picture.height());
    for (std::int64_t y = top; y < bottom; ++y) {
        std::uint8_t* row = picture.Row(static_cast<int>(y));
        for (std::int64_t x = left; x < right; ++x) {
            std::uint8_t* pixel = row + x * 3;
            if (pixel[0] != 0) {
                take(x, y, pixel[0]);
                pixel[0] = pixel[1] = pixel[2] = 0;
            }
        }
    }
}

} // namespace

const LabelTextCache::FontEntry& LabelTextCache::FontFor(const DrawingFont& font)
{
    for (const auto& [known, entry] : m_fonts) {
        if (known == font) {
            return entry;
        }
    }
    FontEntry entry;
    entry.font = ToQFont(font);
    const QFontMetrics metrics(entry.font);
    entry.ascent = metrics.ascent();
    entry.height = metrics.height();
    m_fonts.emplace_back(font, std::move(entry));
    return m_fonts.back().second;
}

const LabelTextCache::GlyphMask& LabelTextCache::Mask(const QRawFont& rawFont, quint32 glyph, QPointF fraction)
{
    auto found = std::find(m_rawFonts.begin(), m_rawFonts.end(), rawFont);
    const auto slot = static_cast<std::size_t>(found - m_rawFonts.begin());
    if (found == m_rawFonts.end()) {
        m_rawFonts.push_back(rawFont);
    }
    const auto key = std::make_tuple(slot, glyph, static_cast<int>(std::lround(fraction.x() * kFractionSteps)),
                                     static_cast<int>(std::lround(fraction.y() * kFractionSteps)));
    std::unique_ptr<GlyphMask>& mask = m_masks[key];
    if (mask) {
        return *mask;
    }
    mask = std::make_unique<GlyphMask>();

    // Rendered alone, white on black, on a picture just large enough, with
    // the same flip as the picture's rows and the same sub-pixel position.
    const QRectF ink = rawFont.boundingRect(glyph);
    const int margin = 2 + static_cast<int>(std::ceil(rawFont.pixelSize() / 8.0));
    const int left = static_cast<int>(std::floor(ink.left())) - margin;
    const int top = static_cast<int>(std::floor(ink.top())) - margin;
    const int width = std::max(1, static_cast<int>(std::ceil(ink.right())) + margin + 1 - left);
    const int height = std::max(1, static_cast<int>(std::ceil(ink.bottom())) + margin + 1 - top);
    FrameImage scratch;
    if (!scratch.Create(width, height, 24)) {
        return *mask;
    }
    {
        QImage view = WrapMemoryRows(scratch);
        view.fill(Qt::black);
        QPainter painter(&view);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(PictureToMemoryRows(height));
        painter.setPen(Qt::white);
        QGlyphRun one;
        one.setRawFont(rawFont);
        one.setGlyphIndexes({glyph});
        one.setPositions({fraction});
        painter.drawGlyphRun(QPointF(-left, -top), one);
    }
    int inkLeft = width;
    int inkTop = height;
    int inkRight = 0;
    int inkBottom = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = scratch.Row(y);
        for (int x = 0; x < width; ++x) {
            if (row[x * 3] != 0) {
                inkLeft = std::min(inkLeft, x);
                inkTop = std::min(inkTop, y);
                inkRight = std::max(inkRight, x + 1);
                inkBottom = std::max(inkBottom, y + 1);
            }
        }
    }
    if (inkLeft >= inkRight) {
        return *mask; // a space
    }
    mask->left = left + inkLeft;
    mask->top = top + inkTop;
    mask->width = inkRight - inkLeft;
    mask->height = inkBottom - inkTop;
    mask->coverage.resize(static_cast<std::size_t>(mask->width) * static_cast<std::size_t>(mask->height));
    for (int y = 0; y < mask->height; ++y) {
        const std::uint8_t* row = scratch.Row(inkTop + y);
        for (int x = 0; x < mask->width; ++x) {
            mask->coverage[static_cast<std::size_t>(y * mask->width + x)] = row[(inkLeft + x) * 3];
        }
    }
    return *mask;
}

const LabelTextCache::ShapedText& LabelTextCache::Shape(const DrawingFont& font, const std::string& utf8)
{
    const FontEntry& entry = FontFor(font);
    std::size_t index = 0;
    while (!(m_fonts[index].first == font)) {
        ++index;
    }
    const auto key = std::make_pair(index, utf8);
    if (const auto found = m_texts.find(key); found != m_texts.end()) {
        return found->second;
    }
    ShapedText shaped;
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QTextLayout layout(text, entry.font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // QPainter::drawText puts the baseline at the text's top + the font's ascent.
    const QPointF toTopLeft(0.0, entry.ascent - (line.isValid() ? line.ascent() : 0.0));
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const QPointF pen = positions[i] + toTopLeft;
            const QPointF whole(std::floor(pen.x()), std::floor(pen.y()));
            const GlyphMask& mask = Mask(run.rawFont(), glyphs[i], pen - whole);
            shaped.glyphs.push_back({static_cast<int>(whole.x()), static_cast<int>(whole.y()), &mask});
        }
    }
    shaped.extent = {QFontMetrics(entry.font).horizontalAdvance(text), entry.height};
    return m_texts.emplace(key, std::move(shaped)).first->second;
}

void LabelTextCache::Trim()
{
    if (m_texts.size() > kMaxTexts) {
        m_texts.clear();
    }
}

LayerDrawingSurface::LayerDrawingSurface(OverlayLayer& layer, LabelTextCache& text) : m_layer(layer), m_text(text)
{
    SetPen(0, 1);
}

LayerDrawingSurface::~LayerDrawingSurface()
{
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

bool LayerDrawingSurface::BeginCoverage()
{
    if (m_painter.isActive()) {
        return true;
    }
    if (m_layer.width() <= 0 || m_layer.height() <= 0 || !m_coverage.Create(m_layer.width(), m_layer.height(), 24)) {
        return false;
    }
    m_coverageView = WrapMemoryRows(m_coverage);
    m_coverageView.fill(Qt::black);
    if (m_coverageView.isNull() || !m_painter.begin(&m_coverageView)) {
        return false;
    }
    // As QtDrawingSurface draws.
    m_penTransform = QTransform(1.0, 0.0, 0.0, -1.0, 0.0, m_coverageView.height() - 1.0);
    m_areaTransform = PictureToMemoryRows(m_coverageView.height());
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    return true;
}

void LayerDrawingSurface::SetPen(COLORREF colour, int width)
{
    m_penColour = colour & 0xFFFFFFu;
    m_penWidth = std::max(width, 1);
    if (m_penWidth == 1) {
        m_pen = QPen(Qt::white, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        m_pen.setCosmetic(true);
    } else {
        m_pen = QPen(Qt::white, m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
}

void LayerDrawingSurface::UsePen()
{
    m_painter.setTransform(m_penTransform);
    m_painter.setPen(m_pen);
    m_painter.setBrush(Qt::NoBrush);
}

void LayerDrawingSurface::Harvest(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                                  COLORREF colour)
{
    const std::int64_t reach = m_penWidth + 2;
    TakeCoverage(m_coverage, left - reach, top - reach, right + reach, bottom + reach,
                 [this, colour](std::int64_t x, std::int64_t y, std::uint8_t a) { m_layer.Blend(x, y, colour, a); });
}

void LayerDrawingSurface::HarvestPoints(std::span<const IntPoint> points)
{
    std::int64_t left = points.front().x;
    std::int64_t top = points.front().y;
    std::int64_t right = left;
    std::int64_t bottom = top;
    for (const IntPoint& p : points) {
        left = std::min<std::int64_t>(left, p.x);
        top = std::min<std::int64_t>(top, p.y);
        right = std::max<std::int64_t>(right, p.x);
        bottom = std::max<std::int64_t>(bottom, p.y);
    }
    Harvest(left, top, right + 1, bottom + 1, m_penColour);
}

void LayerDrawingSurface::Line(int x0, int y0, int x1, int y1)
{
    if (m_penWidth == 1) {
        ForEachThinLinePixel(x0, y0, x1, y1, {m_layer.width(), m_layer.height()},
                             [this](std::int64_t x, std::int64_t y) { m_layer.SetOpaque(x, y, m_penColour); });
        return;
    }
    if (!BeginCoverage()) {
        return;
    }
    UsePen();
    m_painter.drawLine(QPoint(x0, y0), QPoint(x1, y1));
    const std::array<IntPoint, 2> ends{IntPoint{x0, y0}, IntPoint{x1, y1}};
    HarvestPoints(ends);
}

void LayerDrawingSurface::Polyline(std::span<const IntPoint> points)
{
    if (points.size() < 2) {
        return;
    }
    if (m_penWidth == 1) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        }
        return;
    }
    if (!BeginCoverage()) {
        return;
    }
    UsePen();
    m_painter.drawPolyline(ToQPolygon(points));
    HarvestPoints(points);
}

void LayerDrawingSurface::PolygonOutline(std::span<const IntPoint> points)
{
    if (points.size() < 2) {
        return;
    }
    if (m_penWidth == 1) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const IntPoint& from = points[i];
            const IntPoint& to = points[(i + 1) % points.size()];
            Line(from.x, from.y, to.x, to.y);
        }
        return;
    }
    if (!BeginCoverage()) {
        return;
    }
    UsePen();
    m_painter.drawPolygon(ToQPolygon(points));
    HarvestPoints(points);
}

void LayerDrawingSurface::Ellipse(const RECT& box)
{
    if (!BeginCoverage()) {
        return;
    }
    const QRectF outline = EllipseOutlineRect(box);
    UsePen();
    m_painter.drawEllipse(outline);
    Harvest(static_cast<std::int64_t>(outline.left()), static_cast<std::int64_t>(outline.top()),
            static_cast<std::int64_t>(outline.right()) + 2, static_cast<std::int64_t>(outline.bottom()) + 2,
            m_penColour);
}

void LayerDrawingSurface::Dot(int x, int y)
{
    ForEachDotPixel(x, y, m_penWidth, {m_layer.width(), m_layer.height()},
                    [this](std::int64_t px, std::int64_t py) { m_layer.SetOpaque(px, py, m_penColour); });
}

void LayerDrawingSurface::FillRect(const RECT& rect, COLORREF colour)
{
    if (rect.IsEmpty() || !BeginCoverage()) {
        return;
    }
    m_painter.setTransform(m_areaTransform);
    m_painter.fillRect(QRectF(rect.left, rect.top, static_cast<double>(rect.right) - rect.left,
                              static_cast<double>(rect.bottom) - rect.top),
                       Qt::white);
    Harvest(rect.left, rect.top, rect.right, rect.bottom, colour & 0xFFFFFFu);
}

void LayerDrawingSurface::SetFont(const DrawingFont& font)
{
    m_font = font;
}

bool LayerDrawingSurface::CanDrawText() const
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

void LayerDrawingSurface::Text(int x, int y, std::string_view utf8, COLORREF colour)
{
    if (!CanDrawText() || utf8.empty()) {
        return;
    }
    colour &= 0xFFFFFFu;
    const LabelTextCache::ShapedText& shaped = m_text.Shape(m_font, std::string(utf8));
    for (const LabelTextCache::PlacedGlyph& glyph : shaped.glyphs) {
        const LabelTextCache::GlyphMask& mask = *glyph.mask;
        const std::int64_t left = std::int64_t{x} + glyph.dx + mask.left;
        const std::int64_t top = std::int64_t{y} + glyph.dy + mask.top;
        m_layer.BlendMask(left, top, mask.width, mask.height, mask.coverage.data(), colour);
    }
}

TextExtent LayerDrawingSurface::TextSize(std::string_view utf8)
{
    if (!CanDrawText()) {
        return {};
    }
    return m_text.Shape(m_font, std::string(utf8)).extent;
}

} // namespace orvane
