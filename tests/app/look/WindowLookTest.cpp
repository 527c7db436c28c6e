#include "app/look/WindowLook.h"

#include <cstdint>
#include <tuple>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>

#include "image/FrameImage.h"

namespace orvane {
namespace {

// (client width, height, tile width, height, columns, rows)
class TileGridTest : public ::testing::TestWithParam<std::tuple<int, int, int, int, int, int>> {};

TEST_P(TileGridTest, CoversTheClientPlusOne)
{
    const auto [w, h, tw, th, columns, rows] = GetParam();
    EXPECT_EQ(BackgroundTileGrid(w, h, tw, th), (TileGrid{columns, rows}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TileGridTest,
    ::testing::Values(std::make_tuple(0, 0, 200, 200, 1, 1), std::make_tuple(199, 399, 200, 200, 1, 2),
                      std::make_tuple(200, 400, 200, 200, 2, 3), std::make_tuple(1000, 700, 200, 200, 6, 4),
                      std::make_tuple(10, 10, 3, 4, 4, 3), std::make_tuple(100, 100, 0, 200, 0, 0)));

// A 3 × 2 tile whose pixel (x, y) is red 10 + x, green 20 + y.
FrameImage Tile()
{
    FrameImage tile;
    EXPECT_TRUE(tile.Create(3, 2, 24));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = tile.Row(y) + 3 * x;
            p[0] = 0;
            p[1] = static_cast<std::uint8_t>(20 + y);
            p[2] = static_cast<std::uint8_t>(10 + x);
        }
    }
    return tile;
}

TEST(WindowLookTest, TilesFromTheClientsTopLeft)
{
    const FrameImage tile = Tile();
    QImage canvas(9, 7, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        TileBackground(painter, QRect(2, 1, 7, 6), tile);
    }
    for (int y = 1; y < 7; ++y) {
        for (int x = 2; x < 9; ++x) {
            const int tx = (x - 2) % 3;
            const int ty = (y - 1) % 2;
            EXPECT_EQ(canvas.pixel(x, y), qRgb(10 + tx, 20 + ty, 0)) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.pixel(1, 3), qRgb(0, 0, 0)) << "left of the client";
    EXPECT_EQ(canvas.pixel(4, 0), qRgb(0, 0, 0)) << "above the client";
}

TEST(WindowLookTest, EmptyTilePaintsNothing)
{
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    TileBackground(painter, QRect(0, 0, 4, 4), FrameImage());
    painter.end();
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(0, 0, 0));
}

TEST(WindowLookTest, StaticTextsTakeTheWindowsColourAndShowTheBackground)
{
    EXPECT_EQ(StaticTextColour(), QColor(0, 168, 185));
    QLabel label("Screen scale");
    label.setAutoFillBackground(true);
    ApplyStaticTextLook(label);
    EXPECT_EQ(label.palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 168, 185));
    EXPECT_EQ(label.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(0, 168, 185));
    EXPECT_NE(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(0, 168, 185));
    EXPECT_FALSE(label.autoFillBackground());
}

} // namespace
} // namespace orvane
