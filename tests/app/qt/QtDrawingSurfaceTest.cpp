#include "app/qt/QtDrawingSurface.h"

#include <chrono>
#include <climits>
#include <cstdint>
#include <vector>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QRawFont>
#include <gtest/gtest.h>

#include "app/qt/FontFaces.h"
#include "measure/MeasureDrawing.h"

namespace orvane {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

FrameImage Black(int width, int height)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, 24));
    image.Fill(nullptr, 0);
    return image;
}

// Pixel (x, y), y from the picture's top row, as a colour value.
COLORREF At(const FrameImage& image, int x, int y)
{
    const std::uint8_t* p = image.Row(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

struct Extent {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN; // inclusive
    int bottom = INT_MIN;
    int count = 0;
};

// Where the picture holds anything but black.
Extent Lit(const FrameImage& image)
{
    Extent e;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (At(image, x, y) != 0) {
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
                ++e.count;
            }
        }
    }
    return e;
}

TEST(QtDrawingSurfaceTest, OnePixelLineLeavesOutItsEndPixel)
{
    FrameImage image = Black(20, 10);
    {
        QtDrawingSurface surface(image);
        ASSERT_TRUE(surface.isValid());
        surface.SetPen(kRed, 1);
        surface.Line(2, 3, 8, 3);
        surface.Line(15, 1, 15, 6);
    }
    for (int x = 2; x < 8; ++x) {
        EXPECT_EQ(At(image, x, 3), kRed) << "x " << x;
    }
    EXPECT_EQ(At(image, 8, 3), 0u);
    EXPECT_EQ(At(image, 1, 3), 0u);
    for (int y = 1; y < 6; ++y) {
        EXPECT_EQ(At(image, 15, y), kRed) << "y " << y;
    }
    EXPECT_EQ(At(image, 15, 6), 0u);
    EXPECT_EQ(Lit(image).count, 6 + 5);
}

TEST(QtDrawingSurfaceTest, LineDrawnBackwardsLeavesOutItsOtherEnd)
{
    FrameImage image = Black(20, 10);
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kRed, 1);
        surface.Line(8, 3, 2, 3);
        surface.Line(15, 6, 15, 1);
    }
    EXPECT_EQ(At(image, 8, 3), kRed);
    EXPECT_EQ(At(image, 3, 3), kRed);
    EXPECT_EQ(At(image, 2, 3), 0u);
    EXPECT_EQ(At(image, 15, 6), kRed);
    EXPECT_EQ(At(image, 15, 2), kRed);
    EXPECT_EQ(At(image, 15, 1), 0u);
}

TEST(QtDrawingSurfaceTest, PolygonOutlineIsClosedAndPolylineOpen)
{
    FrameImage image = Black(20, 20);
    const std::vector<IntPoint> square{{2, 2}, {10, 2}, {10, 10}, {2, 10}};
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kRed, 1);
        surface.PolygonOutline(square);
    }
    EXPECT_EQ(Lit(image).count, 4 * 8);
    EXPECT_EQ(At(image, 2, 6), kRed); // the closing edge

    FrameImage open = Black(20, 20);
    {
        QtDrawingSurface surface(open);
        surface.SetPen(kRed, 1);
        surface.Polyline(square);
    }
    EXPECT_EQ(Lit(open).count, 3 * 8);
    EXPECT_EQ(At(open, 2, 10), 0u); // the last point is left out
    EXPECT_EQ(At(open, 2, 6), 0u);
}

TEST(QtDrawingSurfaceTest, PictureTopRowIsDrawnAtTheTop)
{
    FrameImage image = Black(8, 6);
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kGreen, 1);
        surface.Line(0, 0, 8, 0);
        surface.FillRect(RECT{2, 4, 5, 6}, kWhite);
    }
    // Row(0) is the picture's top row; in memory it is the last one.
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(At(image, x, 0), kGreen);
    }
    EXPECT_EQ(image.bits()[(image.height() - 1) * image.stride() + 1], 255); // green byte of the top row
    const Extent fill = Lit(image);
    EXPECT_EQ(fill.bottom, 5);
    EXPECT_EQ(At(image, 2, 4), kWhite);
    EXPECT_EQ(At(image, 4, 5), kWhite);
    EXPECT_EQ(At(image, 5, 5), 0u);
    EXPECT_EQ(At(image, 2, 3), 0u);
}

TEST(QtDrawingSurfaceTest, EllipseOutlineFillsItsBoxExclusiveOfRightAndBottom)
{
    FrameImage image = Black(40, 40);
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kRed, 1);
        surface.Ellipse(RECT{10, 5, 30, 35});
    }
    const Extent e = Lit(image);
    EXPECT_EQ(e.left, 10);
    EXPECT_EQ(e.right, 29);
    EXPECT_EQ(e.top, 5);
    EXPECT_EQ(e.bottom, 34);
    EXPECT_EQ(At(image, 20, 20), 0u); // outline only
}

TEST(QtDrawingSurfaceTest, DotIsARoundMarkOfThePenWidth)
{
    FrameImage image = Black(30, 30);
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kRed, 5);
        surface.Dot(10, 12);
    }
    const Extent e = Lit(image);
    EXPECT_EQ(e.left, 8);
    EXPECT_EQ(e.right, 12);
    EXPECT_EQ(e.top, 10);
    EXPECT_EQ(e.bottom, 14);
    EXPECT_EQ(At(image, 10, 12), kRed);
    EXPECT_EQ(At(image, 8, 10), 0u); // round, not square
}

TEST(QtDrawingSurfaceTest, TextIsUprightWithItsTopLeftAtThePoint)
{
    FrameImage image = Black(120, 80);
    TextExtent size;
    {
        QtDrawingSurface surface(image);
        surface.SetFont(DrawingFont{.height = -40, .weight = 700, .faceName = "DejaVu Sans"});
        size = surface.TextSize("T");
        surface.Text(20, 10, "T", kWhite);
    }
    EXPECT_GT(size.cx, 10);
    EXPECT_GE(size.cy, 40);
    const Extent e = Lit(image);
    ASSERT_GT(e.count, 0);
    EXPECT_GE(e.left, 20);
    EXPECT_GE(e.top, 10);
    EXPECT_LE(e.bottom, 10 + size.cy);
    // A "T": its bar on top is wider than its stem below.
    auto widthOfRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x) {
            n += At(image, x, y) != 0 ? 1 : 0;
        }
        return n;
    };
    EXPECT_GT(widthOfRow(e.top + 1), 2 * widthOfRow(e.bottom - 1));
}

TEST(QtDrawingSurfaceTest, MeasuredLengthIsDrawnInTheLineColourWithItsLabel)
{
    FrameImage image = Black(200, 100);
    MEASURE record;
    record.kind = -1;
    record.unit = kUnitMm;
    record.points.SetAt(0, 20.0, 30.0);
    record.points.SetAt(1, 180.0, 30.0);
    record.pointCount = 2;
    record.value = {8.0, 0.0};
    MeasureStyle style;
    style.lineColour = kRed;
    style.textColour = kWhite;
    style.showAngle = false;
    {
        QtDrawingSurface surface(image);
        DrawRecord(surface, record, style, MeasureCanvas{ViewTransform{}, {200, 100}, {200, 100}});
    }
    for (int x = 20; x < 180; ++x) {
        ASSERT_EQ(At(image, x, 30), kRed) << "x " << x;
    }
    EXPECT_EQ(At(image, 50, 29), 0u);
    EXPECT_EQ(At(image, 50, 31), 0u);
    // The label "8.000mm" hangs below the line from the midpoint (100, 30).
    int textPixels = 0;
    for (int y = 31; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const COLORREF c = At(image, x, y);
            textPixels += c != 0 ? 1 : 0;
            if (c != 0) {
                EXPECT_GE(x, 100);
            }
        }
    }
    EXPECT_GT(textPixels, 20);
}

TEST(QtDrawingSurfaceTest, OtherImageFormatsAreRefused)
{
    FrameImage grey;
    ASSERT_TRUE(grey.Create(8, 8, 8));
    QtDrawingSurface surface(grey);
    EXPECT_FALSE(surface.isValid());
    surface.SetPen(kRed, 1);
    surface.Line(0, 0, 7, 7);
    surface.Text(0, 0, "x", kRed);
    EXPECT_EQ(surface.TextSize("x"), (TextExtent{}));
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(grey.Row(y)[y], 0);
    }
}

TEST(QtDrawingSurfaceTest, FarCoordinatesAreClippedQuickly)
{
    FrameImage image = Black(64, 48);
    const auto start = std::chrono::steady_clock::now();
    {
        QtDrawingSurface surface(image);
        surface.SetPen(kRed, 3);
        surface.Ellipse(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        surface.Line(INT_MIN, 10, INT_MAX, 10);
        surface.SetPen(kRed, 1000000000);
        surface.Dot(10, 10);
        surface.SetPen(0, 1);
        surface.FillRect(RECT{0, 0, 64, 48}, 0);
        surface.SetPen(kRed, 1);
        surface.Ellipse(RECT{-2000000000, -2000000000, 2000000000, 2000000000});
        surface.Line(0, 20, INT_MAX, 20);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(At(image, 32, 20), kRed);
}

TEST(QtFontTest, SettingsFontBecomesAPixelSizedFont)
{
    const QFont font = ToQFont(DrawingFont{.height = -21, .weight = 700, .italic = true, .faceName = "DejaVu Sans"});
    EXPECT_EQ(font.pixelSize(), 21);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans");
}

TEST(QtFontTest, MissingFaceFallsBackToAnInstalledSansSerif)
{
    const QFont font = ToQFont(DrawingFont{.height = -21, .faceName = "No Such Face"});
    EXPECT_TRUE(QFontDatabase::hasFamily(QFontInfo(font).family()));
    EXPECT_EQ(font.pixelSize(), 21);
    EXPECT_EQ(font.weight(), QFont::Normal);
}

// The label font's default face draws Japanese text, not empty boxes, once a
// Japanese font is installed (scripts/install-deps.sh installs IPA gothic).
TEST(QtFontTest, DefaultFaceDrawsJapaneseWithTheInstalledFont)
{
    const QString installed = InstalledFace(QString::fromUtf8("ＭＳ Ｐゴシック"));
    if (installed.isEmpty()) {
        GTEST_SKIP() << "no Japanese gothic font installed";
    }
    const QFont font = ToQFont(DrawingFont{.height = -16, .faceName = "ＭＳ Ｐゴシック"});
    EXPECT_EQ(QFontInfo(font).family(), installed);
    const QRawFont raw = QRawFont::fromFont(font);
    for (const QChar c : QString::fromUtf8("計測結果ゴシック")) {
        EXPECT_TRUE(raw.supportsCharacter(c)) << static_cast<int>(c.unicode());
    }

    InstallFontSubstitutes();
    // Qt keeps substitutes in lower case.
    EXPECT_EQ(QFont::substitutes("MS PGothic").value(0), installed.toLower());
    QFont asked(QString::fromUtf8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(QFontInfo(asked).family(), installed);
}

TEST(QtFontTest, PositiveHeightIsTheCellHeight)
{
    const QFont font = ToQFont(DrawingFont{.height = 30, .faceName = "DejaVu Sans"});
    EXPECT_NEAR(QFontMetrics(font).height(), 30, 1);
    EXPECT_LT(font.pixelSize(), 30);
}

} // namespace
} // namespace orvane

// Fonts need a QGuiApplication; without a screen it runs offscreen.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
