#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <QFont>
#include <QPainter>
#include <QRawFont>

#include "app/qt/OverlayLayer.h"
#include "image/DrawingSurface.h"
#include "image/FrameImage.h"

namespace orvane {

// Label texts as the layer draws them: each text shaped once per font, each
// glyph's coverage rendered once per font and sub-pixel position, both kept
// across layer drawings (Trim bounds the texts). Glyphs land on the
// same pixels with the same coverage as QtDrawingSurface::Text draws them:
// one glyph after the other from QPainter's own shaping, over the same
// flipped rows.
//
// Needs a QGuiApplication; UI thread only.
class LabelTextCache {
public:
    struct GlyphMask {
        int left = 0; // offset of the mask from the glyph's whole-pixel pen position
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> coverage; // width x height, top row first
    };
    struct PlacedGlyph {
        int dx = 0; // whole-pixel pen position from the text's top-left corner
        int dy = 0;
        const GlyphMask* mask = nullptr;
    };
    struct ShapedText {
        std::vector<PlacedGlyph> glyphs;
        TextExtent extent;
    };

    // The text in the font, shaped and with its glyphs rendered.
    [[nodiscard]] const ShapedText& Shape(const DrawingFont& font, const std::string& utf8);

    // Forgets the shaped texts once there are very many (labels dragged
    // through many values); the rendered glyphs stay.
    void Trim();

private:
    static constexpr std::size_t kMaxTexts = 100000;

    struct FontEntry {
        QFont font;
        int ascent = 0;
        int height = 0;
    };
    [[nodiscard]] const FontEntry& FontFor(const DrawingFont& font);
    [[nodiscard]] const GlyphMask& Mask(const QRawFont& rawFont, quint32 glyph, QPointF fraction);

    std::vector<std::pair<DrawingFont, FontEntry>> m_fonts;
    std::vector<QRawFont> m_rawFonts;
    std::map<std::tuple<std::size_t, quint32, int, int>, std::unique_ptr<GlyphMask>> m_masks;
    std::map<std::pair<std::size_t, std::string>, ShapedText> m_texts;
};

// The drawing surface that draws into an OverlayLayer what QtDrawingSurface
// would draw into a picture of the layer's size: one-pixel lines and dots by
// the same pixel steps, other pen shapes and fills through QPainter on a
// coverage picture of that size (white on black, read back and cleared), text
// from a LabelTextCache.
//
// The layer and the cache must outlive the surface. UI thread only.
class LayerDrawingSurface final : public DrawingSurface {
public:
    LayerDrawingSurface(OverlayLayer& layer, LabelTextCache& text);
    ~LayerDrawingSurface() override;

    LayerDrawingSurface(const LayerDrawingSurface&) = delete;
    LayerDrawingSurface& operator=(const LayerDrawingSurface&) = delete;

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
    // The coverage picture with its painter, made on first need.
    [[nodiscard]] bool BeginCoverage();
    void UsePen();
    // Moves what QPainter drew into the box (picture pixels, right and bottom
    // exclusive, widened by the pen) into the layer in `colour`.
    void Harvest(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, COLORREF colour);
    void HarvestPoints(std::span<const IntPoint> points);
    [[nodiscard]] bool CanDrawText() const;

    OverlayLayer& m_layer;
    LabelTextCache& m_text;
    FrameImage m_coverage;
    QImage m_coverageView;
    QPainter m_painter;
    QTransform m_penTransform;
    QTransform m_areaTransform;
    QPen m_pen;
    COLORREF m_penColour = 0;
    int m_penWidth = 1;
    DrawingFont m_font;
};

} // namespace orvane
