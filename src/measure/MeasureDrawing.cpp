#include "measure/MeasureDrawing.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <span>
#include <vector>

#include "measure/Geometry.h"
#include "measure/ResultFormat.h"

namespace orvane {
namespace {

// Half the arm of a cross mark, screen pixels: two 6-pixel strokes.
constexpr int kCrossArm = 3;
// Base points of a perpendicular are dots this many times the line width.
constexpr std::int64_t kBaseDotWidthFactor = 5;

int Saturate(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// Point i of the record; slots the array does not have read as the origin,
// as the zeroed spare slots do.
PointD PointAt(const MEASURE& record, std::int32_t i)
{
    const std::span<const PointD> slots = record.points.Slots();
    return i >= 0 && static_cast<std::size_t>(i) < slots.size() ? slots[static_cast<std::size_t>(i)] : PointD{};
}

// The meaningful points that the array really holds.
std::span<const PointD> PlacedPoints(const MEASURE& record)
{
    const std::span<const PointD> slots = record.points.Slots();
    const std::size_t count = static_cast<std::size_t>(std::max(record.pointCount, 0));
    return slots.first(std::min(count, slots.size()));
}

PointD Midpoint(PointD a, PointD b)
{
    return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
}

std::optional<PointD> Mean(std::span<const PointD> points)
{
    if (points.empty()) {
        return std::nullopt;
    }
    PointD sum;
    for (const PointD& p : points) {
        sum.x += p.x;
        sum.y += p.y;
    }
    const double n = static_cast<double>(points.size());
    return PointD{sum.x / n, sum.y / n};
}

// Draws through one canvas with the style's pen and font chosen once.
class Painter {
public:
    Painter(DrawingSurface& surface, const MeasureStyle& style, const MeasureCanvas& canvas)
        : m_surface(surface), m_style(style), m_canvas(canvas)
    {
    }

    [[nodiscard]] IntPoint Screen(PointD p) const { return ToScreen(m_canvas.transform, p); }

    void Pen(COLORREF colour, int width) { m_surface.SetPen(colour, width); }

    void Segment(PointD a, PointD b)
    {
        const IntPoint sa = Screen(a);
        const IntPoint sb = Screen(b);
        m_surface.Line(sa.x, sa.y, sb.x, sb.y);
    }

    void Cross(PointD p)
    {
        const IntPoint s = Screen(p);
        m_surface.Line(Saturate(std::int64_t{s.x} - kCrossArm), s.y, Saturate(std::int64_t{s.x} + kCrossArm), s.y);
        m_surface.Line(s.x, Saturate(std::int64_t{s.y} - kCrossArm), s.x, Saturate(std::int64_t{s.y} + kCrossArm));
    }

    // The full arc in the box centre -/+ (radius * sx, radius * sy).
    void Circle(PointD centre, double radius)
    {
        const IntPoint c = Screen(centre);
        const std::int64_t rx = TruncateToInt(radius * m_canvas.transform.scaleX);
        const std::int64_t ry = TruncateToInt(radius * m_canvas.transform.scaleY);
        m_surface.Ellipse(RECT{Saturate(c.x - rx), Saturate(c.y - ry), Saturate(c.x + rx), Saturate(c.y + ry)});
    }

    void Lines(std::span<const PointD> points, bool closed)
    {
        std::vector<IntPoint> screen;
        screen.reserve(points.size());
        for (const PointD& p : points) {
            screen.push_back(Screen(p));
        }
        if (screen.size() < 2) {
            return;
        }
        if (closed) {
            m_surface.PolygonOutline(screen);
        } else {
            m_surface.Polyline(screen);
        }
    }

    // The line through p0 and p1 across the whole image: a vertical or
    // horizontal line over the whole picture area, any other from image x 0 to
    // the image's top edge (falling slope) or bottom edge (rising slope).
    void BaseLine(PointD p0, PointD p1)
    {
        const LineEquation line = LineThrough(p0, p1);
        const IntPoint s0 = Screen(p0);
        if (line.slope == kVerticalSlope) {
            m_surface.Line(s0.x, 0, s0.x, m_canvas.picture.height);
            return;
        }
        if (line.slope == kHorizontalSlope) {
            m_surface.Line(0, s0.y, m_canvas.picture.width, s0.y);
            return;
        }
        const double m = line.slope;
        const double k = line.intercept;
        const double h = m_canvas.image.height;
        PointD end;
        if (m < 0.0) {
            end = {-k / m, 0.0};
        } else if (m > 0.0) {
            end = {(h - k) / m, h};
        } else {
            // A slope so small that it underflowed to 0: the line runs flat.
            end = {static_cast<double>(m_canvas.image.width), k};
        }
        Segment({0.0, k}, end);
    }

    void Label(PointD anchor, LabelOffset offset, int drop, const std::string& text, COLORREF colour)
    {
        if (text.empty()) {
            return;
        }
        const IntPoint s = Screen({anchor.x + offset.dx, anchor.y + offset.dy});
        m_surface.Text(s.x, Saturate(std::int64_t{s.y} + drop), text, colour);
    }

    void Font() { m_surface.SetFont(m_style.font); }

private:
    DrawingSurface& m_surface;
    const MeasureStyle& m_style;
    const MeasureCanvas& m_canvas;
};

void SetLabel(MEASURE& record, std::size_t index, std::optional<std::string> text)
{
    if (text) {
        record.labelText[index] = std::move(*text);
    }
}

// The label texts of a finished record from its values and unit.
void FormatLabels(MEASURE& record)
{
    switch (record.kind) {
    case -1:
        SetLabel(record, 0, FormatLengthLabel(record.value[0], record.unit));
        SetLabel(record, 1, FormatAngleLabel(record.value[1]));
        break;
    case -2: SetLabel(record, 0, FormatAreaLabel(record.value[0], record.unit)); break;
    case -3: SetLabel(record, 0, FormatLengthLabel(record.value[0], record.unit)); break;
    case -4:
        SetLabel(record, 0, FormatLengthLabel(record.value[0], record.unit));
        SetLabel(record, 1, FormatLengthLabel(record.value[1], record.unit));
        SetLabel(record, 2, FormatLengthLabel(record.value[2], record.unit));
        SetLabel(record, 3, FormatAngleLabel(record.value[3]));
        break;
    case -5: SetLabel(record, 0, FormatLengthLabel(record.value[0], record.unit)); break;
    case -6: SetLabel(record, 0, FormatAngleLabel(record.value[0])); break;
    default: break;
    }
}

// The labels a record shows: angle labels only with showAngle.
std::vector<int> ShownLabels(std::int32_t kind, bool showAngle)
{
    switch (kind) {
    case -1: return showAngle ? std::vector<int>{0, 1} : std::vector<int>{0};
    case -4: return showAngle ? std::vector<int>{0, 1, 2, 3} : std::vector<int>{0, 1, 2};
    case -2:
    case -3:
    case -5:
    case -6: return {0};
    default: return {};
    }
}

// The foot of a perpendicular from its stored base line and measured point,
// stored as point 3.
void UpdateFoot(MEASURE& record)
{
    const LineEquation line = LineThrough(PointAt(record, 0), PointAt(record, 1));
    const PointD foot = FootOfPerpendicular(PointAt(record, 2), line.slope, line.intercept);
    record.points.SetAt(3, foot.x, foot.y);
}

int DotWidth(int lineWidth)
{
    return Saturate(kBaseDotWidthFactor * std::max(lineWidth, 1));
}

// Collects the box of everything a record would draw instead of drawing it;
// text sizes come from the real surface.
class BoundsSurface final : public DrawingSurface {
public:
    explicit BoundsSurface(DrawingSurface& measuring) : m_measuring(measuring) {}

    void SetPen(COLORREF /*colour*/, int width) override { m_penReach = std::max(width, 1) / 2 + 1; }
    void Line(int x0, int y0, int x1, int y1) override
    {
        Add(x0, y0, m_penReach);
        Add(x1, y1, m_penReach);
    }
    void Polyline(std::span<const IntPoint> points) override { AddAll(points); }
    void PolygonOutline(std::span<const IntPoint> points) override { AddAll(points); }
    void Ellipse(const RECT& box) override
    {
        Add(box.left, box.top, m_penReach);
        Add(box.right, box.bottom, m_penReach);
    }
    void Dot(int x, int y) override { Add(x, y, 2 * m_penReach); }
    void FillRect(const RECT& rect, COLORREF /*colour*/) override
    {
        Add(rect.left, rect.top, 0);
        Add(rect.right, rect.bottom, 0);
    }
    void SetFont(const DrawingFont& font) override { m_measuring.SetFont(font); }
    void Text(int x, int y, std::string_view utf8, COLORREF /*colour*/) override
    {
        const TextExtent extent = m_measuring.TextSize(utf8);
        const std::int64_t margin = extent.cy / 2 + 2;
        Add(x, y, margin);
        Add(std::int64_t{x} + extent.cx, std::int64_t{y} + extent.cy, margin);
    }
    [[nodiscard]] TextExtent TextSize(std::string_view utf8) override { return m_measuring.TextSize(utf8); }

    [[nodiscard]] std::optional<RECT> Box() const
    {
        if (!m_any) {
            return std::nullopt;
        }
        return RECT{Saturate(m_left), Saturate(m_top), Saturate(m_right + 1), Saturate(m_bottom + 1)};
    }

private:
    void Add(std::int64_t x, std::int64_t y, std::int64_t reach)
    {
        m_left = m_any ? std::min(m_left, x - reach) : x - reach;
        m_top = m_any ? std::min(m_top, y - reach) : y - reach;
        m_right = m_any ? std::max(m_right, x + reach) : x + reach;
        m_bottom = m_any ? std::max(m_bottom, y + reach) : y + reach;
        m_any = true;
    }
    void AddAll(std::span<const IntPoint> points)
    {
        for (const IntPoint& p : points) {
            Add(p.x, p.y, m_penReach);
        }
    }

    DrawingSurface& m_measuring;
    std::int64_t m_penReach = 1;
    bool m_any = false;
    std::int64_t m_left = 0;
    std::int64_t m_top = 0;
    std::int64_t m_right = 0;
    std::int64_t m_bottom = 0;
};

} // namespace

IntPoint ToScreen(const ViewTransform& transform, PointD image)
{
    const PointD b = transform.ToBackBuffer({image.x, image.y});
    return {TruncateToInt(b.x), TruncateToInt(b.y)};
}

std::optional<PointD> LabelAnchor(const MEASURE& record, int index)
{
    switch (record.kind) {
    case -1:
        if (index == 0) {
            return Midpoint(PointAt(record, 0), PointAt(record, 1));
        }
        if (index == 1) {
            return PointAt(record, 0);
        }
        break;
    case -2:
        if (index == 0) {
            return Mean(PlacedPoints(record));
        }
        break;
    case -3:
        if (index == 0) {
            return record.centre[0];
        }
        break;
    case -4:
        switch (index) {
        case 0: return record.centre[0];
        case 1: return record.centre[1];
        case 2: return Midpoint(record.centre[0], record.centre[1]);
        case 3: return PointD{record.centre[0].x, record.centre[0].y + 20.0};
        default: break;
        }
        break;
    case -5:
        if (index == 0) {
            return Midpoint(PointAt(record, 2), PointAt(record, 3));
        }
        break;
    case -6:
        if (index == 0) {
            const std::array<PointD, 3> arms{PointAt(record, 0), PointAt(record, 1), PointAt(record, 2)};
            return Mean(arms);
        }
        break;
    default: break;
    }
    return std::nullopt;
}

void DrawRecord(DrawingSurface& surface, MEASURE& record, const MeasureStyle& style, const MeasureCanvas& canvas)
{
    if (record.kind == 0 || record.pointCount < 1) {
        return;
    }
    FormatLabels(record);
    if (record.kind == -5) {
        UpdateFoot(record);
    }

    const bool selected = record.selected == 1;
    const COLORREF lineColour = selected ? InvertedColour(style.lineColour) : style.lineColour;
    const COLORREF textColour = selected ? InvertedColour(style.textColour) : style.textColour;
    Painter painter(surface, style, canvas);
    painter.Pen(lineColour, style.lineWidth);
    painter.Font();

    switch (record.kind) {
    case -1: painter.Segment(PointAt(record, 0), PointAt(record, 1)); break;
    case -2: painter.Lines(PlacedPoints(record), true); break;
    case -3:
        painter.Circle(record.centre[0], record.radius[0]);
        painter.Cross(record.centre[0]);
        break;
    case -4:
        painter.Circle(record.centre[0], record.radius[0]);
        painter.Circle(record.centre[1], record.radius[1]);
        painter.Segment(record.centre[0], record.centre[1]);
        break;
    case -5:
        painter.BaseLine(PointAt(record, 0), PointAt(record, 1));
        painter.Segment(PointAt(record, 2), PointAt(record, 3));
        // The base points are marks of the line, not of the selection.
        painter.Pen(style.lineColour, DotWidth(style.lineWidth));
        for (const std::int32_t i : {0, 1}) {
            const IntPoint s = painter.Screen(PointAt(record, i));
            surface.Dot(s.x, s.y);
        }
        break;
    case -6: {
        const std::array<PointD, 3> arms{PointAt(record, 0), PointAt(record, 1), PointAt(record, 2)};
        painter.Lines(arms, false);
        break;
    }
    default: return;
    }

    const int drop = record.kind == -2 || record.kind == -5 ? kLabelDropPixels : 0;
    for (const int index : ShownLabels(record.kind, style.showAngle)) {
        const std::optional<PointD> anchor = LabelAnchor(record, index);
        if (anchor) {
            const auto slot = static_cast<std::size_t>(index);
            painter.Label(*anchor, record.labelOffset[slot], drop, record.labelText[slot], textColour);
        }
    }
}

void DrawMeasurements(DrawingSurface& surface, CMeasureChain& chain, const MeasureStyle& style,
                      const MeasureCanvas& canvas)
{
    for (MEASURE* record = chain.First(); record != nullptr; record = record->next) {
        DrawRecord(surface, *record, style, canvas);
    }
}

std::optional<RECT> RecordScreenBox(DrawingSurface& measuring, MEASURE& record, const MeasureStyle& style,
                                    const MeasureCanvas& canvas)
{
    BoundsSurface bounds(measuring);
    DrawRecord(bounds, record, style, canvas);
    return bounds.Box();
}

bool BoxMeets(const RECT& box, FrameSize area)
{
    return box.right > 0 && box.bottom > 0 && box.left < area.width && box.top < area.height;
}

void DrawWorking(DrawingSurface& surface, const MEASURE& working, std::int32_t mode, PointD mouse, bool shift,
                 const MeasureStyle& style, const MeasureCanvas& canvas)
{
    const std::span<const PointD> placed = PlacedPoints(working);
    if (mode < kModeLength || mode > kModeAngle || placed.empty()) {
        return;
    }
    Painter painter(surface, style, canvas);
    painter.Pen(style.lineColour, style.lineWidth);

    switch (mode) {
    case kModeLength:
    case kModeArea:
    case kModeAngle: {
        PointD end = mouse;
        if (mode == kModeLength && shift && placed.size() == 1) {
            end = SnapSecondPoint(placed[0], mouse, style.snapStep, SnapRange::FullTurn);
        }
        std::vector<PointD> band(placed.begin(), placed.end());
        band.push_back(end);
        painter.Lines(band, false);
        if (mode == kModeLength && style.showAngle) {
            const PointD first = placed[0];
            const PointD second = placed.size() > 1 ? placed[1] : end;
            const double angle = DirectionAngle(second.x, second.y, first.x, first.y, style.angleBaseLine);
            painter.Font();
            const IntPoint s = painter.Screen(first);
            surface.Text(s.x, s.y, FormatAngleLabel(angle), style.textColour);
        }
        break;
    }
    case kModeCircle:
    case kModeTwoCircles: {
        for (const PointD& p : placed) {
            painter.Cross(p);
        }
        const std::size_t groups = mode == kModeCircle ? 1 : 2;
        for (std::size_t g = 0; g < groups; ++g) {
            const std::size_t first = 3 * g;
            if (placed.size() < first + 2) {
                break;
            }
            const PointD third = placed.size() >= first + 3 ? placed[first + 2] : mouse;
            const CircleFit fit = CircleFrom3Points(placed[first], placed[first + 1], third);
            // A rubber band has no earlier radius to fall back on.
            if (fit.radius) {
                painter.Circle(fit.centre, *fit.radius);
                painter.Cross(fit.centre);
            }
        }
        break;
    }
    case kModePerpendicular:
        if (placed.size() == 1) {
            const PointD end = shift ? SnapSecondPoint(placed[0], mouse, style.snapStep, SnapRange::HalfTurn) : mouse;
            painter.BaseLine(placed[0], end);
        } else {
            painter.BaseLine(placed[0], placed[1]);
        }
        break;
    default: break;
    }
}

} // namespace orvane
