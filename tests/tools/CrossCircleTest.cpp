#include "tools/CrossLineDrawing.h"

#include <vector>

#include <gtest/gtest.h>


namespace orvane {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Outline {
    RECT box;
    COLORREF colour = 0;
    int width = 0;
    friend bool operator==(const Outline&, const Outline&) = default;
};

// Keeps the outlines with the pen they were drawn with; nothing else is expected.
class OutlineSurface final : public DrawingSurface {
public:
    std::vector<Outline> outlines;
    int otherCalls = 0;

    void SetPen(COLORREF colour, int width) override
    {
        m_colour = colour;
        m_width = width;
    }
    void Ellipse(const RECT& box) override { outlines.push_back({box, m_colour, m_width}); }
    void Line(int, int, int, int) override { ++otherCalls; }
    void Polyline(std::span<const IntPoint>) override { ++otherCalls; }
    void PolygonOutline(std::span<const IntPoint>) override { ++otherCalls; }
    void Dot(int, int) override { ++otherCalls; }
    void FillRect(const RECT&, COLORREF) override { ++otherCalls; }
    void SetFont(const DrawingFont&) override {}
    void Text(int, int, std::string_view, COLORREF) override { ++otherCalls; }
    TextExtent TextSize(std::string_view) override { return {}; }

private:
    COLORREF m_colour = 0;
    int m_width = 0;
};

CrossLine Circle(int x, int y, COLORREF colour, int size, int mode, float radius)
{
    CrossLine circle;
    circle.Show = 1;
    circle.Pos_x = x;
    circle.Pos_y = y;
    circle.Color = colour;
    circle.Size = size;
    circle.Draw = 100;
    circle.Mode = mode;
    circle.Radius = radius;
    return circle;
}

TEST(CrossCirclesTest, CompleteCirclesGetACentreCrossAndAnOutline)
{
    // The second is still being defined: nothing of it shows.
    const std::vector<CrossLine> circles{Circle(100, 80, RGB(255, 0, 0), 2, 3, 25.5F),
                                         Circle(20, -10, RGB(0, 0, 255), 3, 2, 10.0F)};
    OutlineSurface surface;
    const ViewTransform view{2.0, 2.0, 0.0, 0.0};
    DrawCrossCircleOutlines(surface, view, circles);
    EXPECT_EQ(surface.outlines, (std::vector<Outline>{{RECT{149, 109, 251, 211}, RGB(255, 0, 0), 2}}));
    EXPECT_EQ(surface.otherCalls, 0);

    FrameImage image;
    ASSERT_TRUE(image.Create(400, 400, 24));
    image.Fill(nullptr, kWhite);
    BlendCrossCircleCentres(image, view, circles);
    const auto pixel = [&image](int x, int y) {
        const std::uint8_t* p = image.Row(y) + static_cast<std::ptrdiff_t>(x) * 3;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(200, 10), RGB(255, 0, 0));
    EXPECT_EQ(pixel(240, 10), kWhite); // the incomplete circle's centre column
}

} // namespace
} // namespace orvane
