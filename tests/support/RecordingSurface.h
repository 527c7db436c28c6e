#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "image/DrawingSurface.h"

namespace orvane::test {

// A DrawingSurface that records every call with its arguments, so that tests
// of drawing code check primitives and coordinates without a painter.
struct PenCall {
    COLORREF colour = 0;
    int width = 0;
    friend bool operator==(const PenCall&, const PenCall&) = default;
};
struct LineCall {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend bool operator==(const LineCall&, const LineCall&) = default;
};
struct PolylineCall {
    std::vector<IntPoint> points;
    friend bool operator==(const PolylineCall&, const PolylineCall&) = default;
};
struct PolygonCall {
    std::vector<IntPoint> points;
    friend bool operator==(const PolygonCall&, const PolygonCall&) = default;
};
struct EllipseCall {
    RECT box;
    friend bool operator==(const EllipseCall&, const EllipseCall&) = default;
};
struct DotCall {
    int x = 0, y = 0;
    friend bool operator==(const DotCall&, const DotCall&) = default;
};
struct FillCall {
    RECT rect;
    COLORREF colour = 0;
    friend bool operator==(const FillCall&, const FillCall&) = default;
};
struct FontCall {
    DrawingFont font;
    friend bool operator==(const FontCall&, const FontCall&) = default;
};
struct TextCall {
    int x = 0, y = 0;
    std::string text;
    COLORREF colour = 0;
    friend bool operator==(const TextCall&, const TextCall&) = default;
};

using DrawCall =
    std::variant<PenCall, LineCall, PolylineCall, PolygonCall, EllipseCall, DotCall, FillCall, FontCall, TextCall>;

// What a recorded primitive was drawn with: the pen (or text colour) and font
// in force at the time.
template <typename Call> struct Drawn {
    Call call;
    PenCall pen;
};

class RecordingSurface : public DrawingSurface {
public:
    // Text sizes are made up: each byte of the text is `charWidth` wide, the
    // line as high as the font's pixel height (or 16).
    int charWidth = 8;

    void SetPen(COLORREF colour, int width) override { Record(PenCall{colour, width}); }
    void Line(int x0, int y0, int x1, int y1) override { Record(LineCall{x0, y0, x1, y1}); }
    void Polyline(std::span<const IntPoint> points) override { Record(PolylineCall{{points.begin(), points.end()}}); }
    void PolygonOutline(std::span<const IntPoint> points) override
    {
        Record(PolygonCall{{points.begin(), points.end()}});
    }
    void Ellipse(const RECT& box) override { Record(EllipseCall{box}); }
    void Dot(int x, int y) override { Record(DotCall{x, y}); }
    void FillRect(const RECT& rect, COLORREF colour) override { Record(FillCall{rect, colour}); }
    void SetFont(const DrawingFont& font) override
    {
        m_font = font;
        Record(FontCall{font});
    }
    void Text(int x, int y, std::string_view utf8, COLORREF colour) override
    {
        Record(TextCall{x, y, std::string(utf8), colour});
    }
    TextExtent TextSize(std::string_view utf8) override
    {
        const int height = m_font.height < 0 ? -m_font.height : (m_font.height > 0 ? m_font.height : 16);
        return {static_cast<int>(utf8.size()) * charWidth, height};
    }

    [[nodiscard]] const std::vector<DrawCall>& calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

    // Every recorded call of one kind, in order, with the pen in force.
    template <typename Call> [[nodiscard]] std::vector<Drawn<Call>> All() const
    {
        std::vector<Drawn<Call>> found;
        PenCall pen;
        for (const DrawCall& call : m_calls) {
            if (const auto* p = std::get_if<PenCall>(&call)) {
                pen = *p;
            } else if (const auto* c = std::get_if<Call>(&call)) {
                found.push_back({*c, pen});
            }
        }
        return found;
    }

    // Just the calls of one kind.
    template <typename Call> [[nodiscard]] std::vector<Call> Calls() const
    {
        std::vector<Call> found;
        for (const DrawCall& call : m_calls) {
            if (const auto* c = std::get_if<Call>(&call)) {
                found.push_back(*c);
            }
        }
        return found;
    }

private:
    void Record(DrawCall call) { m_calls.push_back(std::move(call)); }

    std::vector<DrawCall> m_calls;
    DrawingFont m_font;
};

inline std::ostream& operator<<(std::ostream& out, const LineCall& c)
{
    return out << "Line(" << c.x0 << ", " << c.y0 << " -> " << c.x1 << ", " << c.y1 << ')';
}
inline std::ostream& operator<<(std::ostream& out, const EllipseCall& c)
{
    return out << "Ellipse(" << c.box.left << ", " << c.box.top << ", " << c.box.right << ", " << c.box.bottom << ')';
}
inline std::ostream& operator<<(std::ostream& out, const TextCall& c)
{
    return out << "Text(" << c.x << ", " << c.y << ", \"" << c.text << "\", 0x" << std::hex << c.colour << std::dec
               << ')';
}
inline std::ostream& operator<<(std::ostream& out, const DotCall& c)
{
    return out << "Dot(" << c.x << ", " << c.y << ')';
}

} // namespace orvane::test
