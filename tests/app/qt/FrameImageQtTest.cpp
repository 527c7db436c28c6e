#include "app/qt/FrameImageQt.h"

#include <cstdint>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace orvane {
namespace {

// A 24-bit picture whose pixel (x, y), y from the top, is red x·40, green y·40, blue 7.
FrameImage Gradient24(int width, int height)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, 24));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.Row(y) + 3 * x;
            p[0] = 7;
            p[1] = static_cast<std::uint8_t>(y * 40);
            p[2] = static_cast<std::uint8_t>(x * 40);
        }
    }
    return image;
}

QRgb GradientAt(int x, int y)
{
    return qRgb(x * 40, y * 40, 7);
}

QImage Canvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(qRgb(255, 0, 255));
    return canvas;
}

TEST(FrameImageQtTest, WrapSharesTheBottomUpRows)
{
    FrameImage image = Gradient24(4, 3);
    const QImage view = WrapMemoryRows(image);
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view.format(), QImage::Format_BGR888);
    EXPECT_EQ(view.constBits(), image.bits());
    EXPECT_EQ(view.bytesPerLine(), image.stride());
    EXPECT_EQ(view.pixel(1, 0), GradientAt(1, 2)); // line 0 is the picture's bottom row
    EXPECT_EQ(view.pixel(3, 2), GradientAt(3, 0));
}

TEST(FrameImageQtTest, PaintingThroughTheFlipLandsOnThePictureRow)
{
    FrameImage image = Gradient24(5, 4);
    QImage view = WrapMemoryRows(image);
    {
        QPainter painter(&view);
        painter.setTransform(PictureToMemoryRows(image.height()));
        painter.fillRect(QRect(0, 0, 5, 1), QColor(200, 100, 50)); // the picture's top row
    }
    EXPECT_EQ(view.constBits(), image.bits()) << "painting must not detach the view";
    for (int x = 0; x < 5; ++x) {
        const std::uint8_t* top = image.Row(0) + 3 * x;
        EXPECT_EQ(top[0], 50);
        EXPECT_EQ(top[1], 100);
        EXPECT_EQ(top[2], 200);
        const std::uint8_t* next = image.Row(1) + 3 * x;
        EXPECT_EQ(next[1], 40) << "the second row stays as it was";
    }
}

TEST(FrameImageQtTest, EightBitViewCarriesTheColourTable)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    image.Row(0)[0] = 10;
    image.Row(1)[2] = 200;
    const QImage view = WrapMemoryRows(image);
    ASSERT_EQ(view.format(), QImage::Format_Indexed8);
    EXPECT_EQ(view.pixel(0, 1), qRgb(10, 10, 10));
    EXPECT_EQ(view.pixel(2, 0), qRgb(200, 200, 200));
}

TEST(FrameImageQtTest, NoViewForEmptySixteenOrThirtyTwoBitImages)
{
    FrameImage empty;
    EXPECT_TRUE(WrapMemoryRows(empty).isNull());
    FrameImage sixteen;
    ASSERT_TRUE(sixteen.Create(2, 2, 16));
    EXPECT_TRUE(WrapMemoryRows(sixteen).isNull());
    EXPECT_TRUE(ToQImage(sixteen).isNull());
    FrameImage thirtyTwo;
    ASSERT_TRUE(thirtyTwo.Create(2, 2, 32));
    EXPECT_TRUE(WrapMemoryRows(thirtyTwo).isNull());
}

TEST(FrameImageQtTest, CopyIsTopRowFirst)
{
    const FrameImage image = Gradient24(4, 3);
    const QImage copy = ToQImage(image);
    ASSERT_EQ(copy.size(), QSize(4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(copy.pixel(x, y), GradientAt(x, y)) << x << "," << y;
        }
    }
}

TEST(FrameImageQtTest, CopyTurnsTheInvertedAlphaBack)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(3, 1, 32));
    const std::uint8_t stored[3] = {0, 255, 55}; // 255 − alpha
    for (int x = 0; x < 3; ++x) {
        std::uint8_t* p = image.Row(0) + 4 * x;
        p[0] = 30;
        p[1] = 20;
        p[2] = 10;
        p[3] = stored[x];
    }
    const QImage copy = ToQImage(image);
    ASSERT_EQ(copy.format(), QImage::Format_ARGB32);
    EXPECT_EQ(copy.pixel(0, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(qAlpha(copy.pixel(1, 0)), 0);
    EXPECT_EQ(qAlpha(copy.pixel(2, 0)), 200);
}

TEST(FrameImageQtTest, DrawShowsThePictureTopRowAtTheTop)
{
    const FrameImage image = Gradient24(4, 3);
    QImage canvas = Canvas(10, 8);
    {
        QPainter painter(&canvas);
        ASSERT_TRUE(DrawFrameImage(painter, QPointF(2, 3), image));
    }
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(canvas.pixel(2 + x, 3 + y), GradientAt(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.pixel(1, 3), qRgb(255, 0, 255));
    EXPECT_EQ(canvas.pixel(2, 6), qRgb(255, 0, 255));
}

TEST(FrameImageQtTest, DrawStretchesAPartOfThePicture)
{
    const FrameImage image = Gradient24(4, 4);
    QImage canvas = Canvas(4, 4);
    {
        QPainter painter(&canvas);
        // Picture pixels (1..2, 2..3) doubled onto the whole canvas.
        ASSERT_TRUE(DrawFrameImage(painter, QRectF(0, 0, 4, 4), image, QRectF(1, 2, 2, 2)));
    }
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(canvas.pixel(x, y), GradientAt(1 + x / 2, 2 + y / 2)) << x << "," << y;
        }
    }
}

TEST(FrameImageQtTest, DrawHonoursTheAlphaOfThirtyTwoBitPictures)
{
    FrameImage image;
    ASSERT_TRUE(image.Create(2, 1, 32));
    std::uint8_t* p = image.Row(0);
    p[0] = 255; // opaque blue: stored alpha 0
    p[1] = 0;
    p[2] = 0;
    p[3] = 0;
    p[4] = 255; // white, fully transparent: stored alpha 255
    p[5] = 255;
    p[6] = 255;
    p[7] = 255;
    QImage canvas = Canvas(2, 1);
    {
        QPainter painter(&canvas);
        ASSERT_TRUE(DrawFrameImage(painter, QPointF(0, 0), image));
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(1, 0), qRgb(255, 0, 255));
}

TEST(FrameImageQtTest, DrawRefusesWhatItCannotShow)
{
    QImage canvas = Canvas(4, 4);
    QPainter painter(&canvas);
    FrameImage empty;
    EXPECT_FALSE(DrawFrameImage(painter, QPointF(0, 0), empty));
    FrameImage sixteen;
    ASSERT_TRUE(sixteen.Create(2, 2, 16));
    EXPECT_FALSE(DrawFrameImage(painter, QPointF(0, 0), sixteen));
    const FrameImage image = Gradient24(2, 2);
    EXPECT_FALSE(DrawFrameImage(painter, QRectF(0, 0, 0, 4), image, QRectF(0, 0, 2, 2)));
}

} // namespace
} // namespace orvane
