#include "image/ImageView.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "image/FrameImage.h"
#include "image/ViewMath.h"
#include "image/ZoomTable.h"

namespace orvane {
namespace {

// ---- Picture helpers -------------------------------------------------------

struct Bgr {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

std::ostream& operator<<(std::ostream& out, const Bgr& p)
{
    return out << "(" << int(p.b) << "," << int(p.g) << "," << int(p.r) << ")";
}

constexpr Bgr kBlack{};

// Picture pixel (x, y), y down, of a coordinate picture: names where it sits.
// The red byte is never 0, so no source pixel looks black.
Bgr Coded(int x, int y)
{
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
            static_cast<std::uint8_t>(0x80 | ((x >> 8) & 7) | (((y >> 8) & 7) << 3))};
}

// A picture whose pixel (x, y) is Coded(x, y), written by raw offsets into the
// bottom-up rows so that the test does not lean on FrameImage::Row.
FrameImage CodedPicture(int width, int height, int bits = 24)
{
    FrameImage image;
    EXPECT_TRUE(image.Create(width, height, bits));
    const int bytes = bits / 8;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.bits() + static_cast<std::ptrdiff_t>(height - 1 - y) * image.stride();
        for (int x = 0; x < width; ++x) {
            const Bgr c = Coded(x, y);
            std::uint8_t* p = row + x * bytes;
            if (bytes == 1) {
                p[0] = static_cast<std::uint8_t>(x * 7 + y * 13 + 1);
            } else {
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        }
    }
    return image;
}

Bgr PixelAt(const FrameImage& image, int x, int y)
{
    const std::uint8_t* p = image.bits() + static_cast<std::ptrdiff_t>(image.height() - 1 - y) * image.stride() + x * 3;
    return {p[0], p[1], p[2]};
}

// A view whose frame is placed at V without a window layout.
ImageView ViewAt(const RECT& frame, int imageWidth, int imageHeight, int zoomIndex, double panX = 0.0,
                 double panY = 0.0)
{
    ImageView view;
    view.SetImageSize(imageWidth, imageHeight);
    view.SetFrameRect(frame);
    view.ZoomChanged(zoomIndex);
    view.SetPan(panX, panY);
    return view;
}

// ---- Zoom table and list texts -----------------------------------------------

TEST(ZoomTable, FactorsRunFromOneToFiveInStepsOfTwoTenths)
{
    EXPECT_DOUBLE_EQ(ZoomFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(1), 1.0);
    EXPECT_EQ(ZoomFactor(8), 2.4); // the double nearest to 2.4, not 1.0 + 0.2 * 7
    EXPECT_DOUBLE_EQ(ZoomFactor(21), 5.0);
    for (int i = 2; i < kZoomCount; ++i) {
        EXPECT_NEAR(ZoomFactor(i) - ZoomFactor(i - 1), 0.2, 1e-12) << i;
    }
    EXPECT_DOUBLE_EQ(ZoomFactor(-1), 1.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(22), 1.0);
}

TEST(ZoomTable, ListTextsInBothLanguages)
{
    const std::vector<std::string> english = ZoomListTexts(Language::English);
    const std::vector<std::string> japanese = ZoomListTexts(Language::Japanese);
    ASSERT_EQ(english.size(), 22u);
    ASSERT_EQ(japanese.size(), 22u);
    EXPECT_EQ(english[0], "full-screen");
    EXPECT_EQ(english[1], "x1");
    EXPECT_EQ(english[2], "x1.2");
    EXPECT_EQ(english[6], "x2");
    EXPECT_EQ(english[20], "x4.8");
    EXPECT_EQ(english[21], "x5");
    EXPECT_EQ(japanese[0], "全画面表示");
    EXPECT_EQ(japanese[1], "1倍");
    EXPECT_EQ(japanese[2], "1.2倍");
    EXPECT_EQ(japanese[20], "4.8倍");
    EXPECT_EQ(japanese[21], "5倍");
    // Every text names its factor exactly, the Japanese one the same number.
    for (int i = 1; i < kZoomCount; ++i) {
        const std::string& text = english[static_cast<std::size_t>(i)];
        ASSERT_EQ(text[0], 'x');
        EXPECT_EQ(std::strtod(text.c_str() + 1, nullptr), ZoomFactor(i)) << text;
        EXPECT_EQ(japanese[static_cast<std::size_t>(i)], text.substr(1) + "倍");
    }
    EXPECT_EQ(ZoomListText(22, Language::English), "");
    EXPECT_EQ(ZoomListText(-1, Language::Japanese), "");
}

// ---- Mapping -----------------------------------------------------------------

TEST(ViewMath, HiddenPanelLimitsScaleWithDpi)
{
    // 24 and 20 pixels at 96 dpi become 36 at 144 dpi and 25 at 120 dpi.
    WindowLayout window;
    window.clientWidth = 1000;
    window.clientHeight = 800;
    window.rightPanelShown = false;
    window.bottomPanelShown = false;
    window.dpiX = 144;
    window.dpiY = 120;
    ViewGeometry view;
    view.frame = RECT{10, 10, 20, 20};
    view.imageWidth = 5000;
    view.imageHeight = 5000;
    view.zoomIndex = 1;
    const ViewLayoutResult result = ComputeViewLayout(window, view);
    EXPECT_EQ(result.frame.Width(), 1000 - 36);
    EXPECT_EQ(result.frame.Height(), 800 - 25);
}

TEST(ViewMath, TruncateToIntSaturates)
{
    EXPECT_EQ(TruncateToInt(-1.7), -1);
    EXPECT_EQ(TruncateToInt(1.7), 1);
    EXPECT_EQ(TruncateToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(TruncateToInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

class MappingRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(MappingRoundTrip, ClientToImageUndoesImageToClient)
{
    const ViewGeometry g{RECT{13, 7, 13 + 517, 7 + 389}, 640, 480, GetParam(), -37.25, -11.5};
    for (const PointD p :
         {PointD{0, 0}, PointD{1, 1}, PointD{639, 479}, PointD{100.5, 250.25}, PointD{-3, 700}}) {
        const std::optional<PointD> c = ImageToClient(g, p);
        ASSERT_TRUE(c);
        const std::optional<PointD> back = ClientToImage(g, *c);
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->x, p.x, 1e-9);
        EXPECT_NEAR(back->y, p.y, 1e-9);
    }
    for (const PointD c : {PointD{13, 7}, PointD{200, 300}, PointD{529, 395}}) {
        const std::optional<PointD> p = ClientToImage(g, c);
        ASSERT_TRUE(p);
        const std::optional<PointD> again = ImageToClient(g, *p);
        ASSERT_TRUE(again);
        EXPECT_NEAR(again->x, c.x, 1e-9);
        EXPECT_NEAR(again->y, c.y, 1e-9);
    }
}

TEST_P(MappingRoundTrip, BackBufferIsClientMinusFrameOrigin)
{
    const ViewGeometry g{RECT{13, 7, 13 + 517, 7 + 389}, 640, 480, GetParam(), -37.25, -11.5};
    const std::optional<ViewTransform> t = TransformOf(g);
    ASSERT_TRUE(t);
    const PointD p{321.5, 17.75};
    const PointD b = t->ToBackBuffer(p);
    const PointD c = *ImageToClient(g, p);
    EXPECT_DOUBLE_EQ(b.x + 13, c.x);
    EXPECT_DOUBLE_EQ(b.y + 7, c.y);
}

INSTANTIATE_TEST_SUITE_P(AllZooms, MappingRoundTrip, ::testing::Range(0, kZoomCount));

// The mapping refuses when its results would be meaningless.
class MappingRefuses : public ::testing::TestWithParam<ViewGeometry> {};

TEST_P(MappingRefuses, NoResult)
{
    const ViewGeometry& g = GetParam();
    EXPECT_FALSE(IsMappable(g));
    EXPECT_FALSE(ClientToImage(g, {10, 10}));
    EXPECT_FALSE(ClientToImageInt(g, {10, 10}));
    EXPECT_FALSE(ImageToClient(g, {10, 10}));
    EXPECT_FALSE(TransformOf(g));
}

INSTANTIATE_TEST_SUITE_P(BadGeometry, MappingRefuses,
                         ::testing::Values(ViewGeometry{RECT{0, 0, 100, 100}, 0, 0, 1},
                                           ViewGeometry{RECT{0, 0, 100, 100}, 640, 0, 0},
                                           ViewGeometry{RECT{5, 5, 5, 100}, 640, 480, 0},
                                           ViewGeometry{RECT{5, 5, 100, 5}, 640, 480, 3},
                                           ViewGeometry{RECT{5, 5, 100, 100}, 640, 480, 22},
                                           ViewGeometry{RECT{5, 5, 100, 100}, 640, 480, -1}));

TEST(ViewMath, ClientToImageIntTruncatesTowardZero)
{
    // x1.2, pan 0: one pixel left of V is -1 / 1.2 = -0.83, which truncates to 0.
    const ViewGeometry g{RECT{10, 20, 110, 120}, 640, 480, 2};
    EXPECT_EQ(*ClientToImageInt(g, {9, 19}), (IntPoint{0, 0}));
    EXPECT_EQ(*ClientToImageInt(g, {7, 17}), (IntPoint{-2, -2})); // -3 / 1.2 = -2.5
    EXPECT_EQ(*ClientToImageInt(g, {16, 32}), (IntPoint{5, 10}));
}

TEST(ViewMath, FitModeIgnoresThePanAndMapsTheWholeImageOntoTheFrame)
{
    const ViewGeometry g{RECT{10, 20, 330, 260}, 640, 480, kZoomFit, -55.0, -66.0};
    EXPECT_EQ(*ClientToImage(g, {170, 140}), (PointD{320, 240}));
    EXPECT_EQ(*ImageToClient(g, {640, 480}), (PointD{330, 260}));
    EXPECT_EQ(*ImageToClient(g, {0, 0}), (PointD{10, 20}));
    EXPECT_EQ(TransformOf(g)->panX, 0.0);
}

// ---- Layout ------------------------------------------------------------------

// A window in which the free space for the picture is 800 x 600 at zoom x1:
// K.right - rightReserve = 800, K.bottom - bottomReserve = 600.
WindowLayout Window800x600()
{
    WindowLayout w;
    w.clientWidth = 1100;
    w.clientHeight = 800;
    w.rightReserve = 300;
    w.bottomReserve = 200;
    w.cornerButtonWidth = 11;
    w.cornerButtonHeight = 12;
    w.resultsList = RECT{900, 300, 1050, 500};
    w.stripBox = RECT{5, 650, 600, 760};
    w.scrollBar = RECT{5, 762, 600, 780};
    return w;
}

struct PanCase {
    double panX;
    double panY;
    double clampedX;
    double clampedY;
};

class LayoutPanClamp : public ::testing::TestWithParam<PanCase> {};

TEST_P(LayoutPanClamp, X1Of1280x1024In800x600)
{
    const PanCase& c = GetParam();
    const ViewGeometry view{RECT{10, 10, 20, 20}, 1280, 1024, 1, c.panX, c.panY};
    const ViewLayoutResult r = ComputeViewLayout(Window800x600(), view);
    EXPECT_EQ(r.frame, (RECT{10, 10, 810, 610}));
    EXPECT_DOUBLE_EQ(r.panX, c.clampedX);
    EXPECT_DOUBLE_EQ(r.panY, c.clampedY);

    const ViewGeometry laidOut{r.frame, 1280, 1024, 1, r.panX, r.panY};
    EXPECT_EQ(*ClientToImage(laidOut, {10, 10}), (PointD{-r.panX, -r.panY}));
}

INSTANTIATE_TEST_SUITE_P(Pans, LayoutPanClamp,
                         ::testing::Values(PanCase{-1000, -1000, -480, -424}, PanCase{50, 60, 0, 0},
                                           PanCase{-100.5, -200.25, -100.5, -200.25}, PanCase{-480, -424, -480, -424},
                                           PanCase{std::nan(""), INFINITY, 0, 0}));

TEST(Layout, ZoomedFrameIsTheSmallerOfImageAndFreeSpace)
{
    // x2 of 300 x 200 is 600 x 400, smaller than the 800 x 600 free space.
    const ViewLayoutResult r =
        ComputeViewLayout(Window800x600(), ViewGeometry{RECT{10, 10, 20, 20}, 300, 200, 6, -50, -60});
    EXPECT_EQ(r.frame, (RECT{10, 10, 610, 410}));
    // The pan range at x2 is then [600 / 2 - 300, 0] = [0, 0].
    EXPECT_EQ(r.panX, 0.0);
    EXPECT_EQ(r.panY, 0.0);
}

TEST(Layout, FitKeepsTheImageShapeAndAddsTheFrameOffsets)
{
    WindowLayout w = Window800x600();
    w.clientWidth = 1600;
    w.clientHeight = 900;
    w.bottomReserve = 100;
    // aw = 1600 - 12 - 300 = 1288, ah = 900 - 8 - 100 = 792; 4:3 gives 1056 x 792,
    // and the frame gets its own offsets on top.
    const ViewLayoutResult r = ComputeViewLayout(w, ViewGeometry{RECT{12, 8, 50, 50}, 640, 480, kZoomFit});
    EXPECT_EQ(r.frame, (RECT{12, 8, 12 + 12 + 1056, 8 + 8 + 792}));
    EXPECT_EQ((r.frame.Width() - 12) * 3, (r.frame.Height() - 8) * 4);

    const ViewGeometry laidOut{r.frame, 640, 480, kZoomFit};
    EXPECT_EQ(*ImageToClient(laidOut, {640, 480}), (PointD{double(r.frame.right), double(r.frame.bottom)}));

    // A tall image in the same space is limited by the width.
    const ViewLayoutResult tall = ComputeViewLayout(w, ViewGeometry{RECT{12, 8, 50, 50}, 100, 400, kZoomFit});
    EXPECT_EQ(tall.frame, (RECT{12, 8, 12 + 12 + 198, 8 + 8 + 792}));
}

TEST(Layout, HiddenPanelsLeaveDpiScaledMargins)
{
    WindowLayout w = Window800x600();
    w.rightPanelShown = false;
    w.bottomPanelShown = false;
    w.dpiX = 144;
    w.dpiY = 120;
    const ViewLayoutResult r = ComputeViewLayout(w, ViewGeometry{RECT{10, 10, 20, 20}, 5000, 5000, 1});
    EXPECT_EQ(r.frame, (RECT{10, 10, 10 + 1100 - 36, 10 + 800 - 25}));
}

TEST(Layout, ListStripAndScrollBarFollowTheClientCorner)
{
    const ViewLayoutResult r = ComputeViewLayout(Window800x600(), ViewGeometry{RECT{10, 10, 20, 20}, 640, 480, 1});
    // List: width 150 and top kept, right edge at 1100 - 11, bottom at 800 - 12.
    EXPECT_EQ(r.resultsList, (RECT{939, 300, 1089, 788}));
    // Strip box and scroll bar: left and height kept, bottom at 788, width 1100 - 300.
    EXPECT_EQ(r.stripBox, (RECT{5, 678, 805, 788}));
    EXPECT_EQ(r.scrollBar, (RECT{5, 770, 805, 788}));
    // The reserve counts for the strip's width even with the right panel hidden.
    WindowLayout hidden = Window800x600();
    hidden.rightPanelShown = false;
    EXPECT_EQ(ComputeViewLayout(hidden, ViewGeometry{RECT{10, 10, 20, 20}, 640, 480, 1}).stripBox, r.stripBox);
}

TEST(Layout, TinyWindowGivesEmptyRectanglesNotNegativeOnes)
{
    WindowLayout w = Window800x600();
    w.clientWidth = 50;
    w.clientHeight = 40;
    for (int zoom : {0, 1, 21}) {
        const ViewLayoutResult r = ComputeViewLayout(w, ViewGeometry{RECT{10, 10, 20, 20}, 640, 480, zoom});
        EXPECT_GE(r.frame.Width(), 0) << zoom;
        EXPECT_GE(r.frame.Height(), 0) << zoom;
        EXPECT_GE(r.resultsList.Height(), 0);
        EXPECT_GE(r.stripBox.Width(), 0);
        EXPECT_TRUE(std::isfinite(r.panX) && std::isfinite(r.panY));
    }
}

// ---- Zoom by list and wheel ------------------------------------------------------

// 1280 x 1024 in the 800 x 600 window, panned to (-400, -300): far enough
// from the clamp limits that the zoom steps below stay clear of them.
ImageView LaidOutView(int zoomIndex = 1)
{
    ImageView view;
    view.SetImageSize(1280, 1024);
    view.SetFrameRect(RECT{10, 10, 20, 20});
    view.SetWindowLayout(Window800x600());
    view.ZoomChanged(zoomIndex);
    view.SetPan(-400, -300);
    EXPECT_TRUE(view.ViewLayout());
    return view;
}

PointD FrameCentre(const ImageView& view)
{
    const RECT& v = view.frameRect();
    return {v.left + v.Width() / 2.0, v.top + v.Height() / 2.0};
}

class ZoomKeepsCentre : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ZoomKeepsCentre, ImagePointAtTheCentreStaysThere)
{
    const auto [from, to] = GetParam();
    ImageView view = LaidOutView(from);
    const PointD before = *view.ClientToImage(FrameCentre(view));
    view.ZoomChanged(to);
    EXPECT_EQ(view.zoomIndex(), to);
    EXPECT_EQ(view.frameRect(), (RECT{10, 10, 810, 610}));
    const PointD after = *view.ClientToImage(FrameCentre(view));
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomKeepsCentre,
                         ::testing::Values(std::tuple{1, 6}, std::tuple{1, 2}, std::tuple{6, 1}, std::tuple{6, 21},
                                           std::tuple{21, 6}, std::tuple{11, 11}));

TEST(Zoom, FromFitTheImageCentreComesToTheCentreAndToFitThePanIsZero)
{
    ImageView view = LaidOutView(1);
    view.ZoomChanged(kZoomFit);
    EXPECT_EQ(view.panX(), 0.0);
    EXPECT_EQ(view.panY(), 0.0);
    // Fitted: aw = 1100 - 10 - 300 = 790, ah = 800 - 10 - 200 = 590, 5:4 gives 737 x 590.
    const RECT fitted = view.frameRect();
    EXPECT_EQ(fitted, (RECT{10, 10, 10 + 10 + 737, 10 + 10 + 590}));
    view.ZoomChanged(6);
    EXPECT_EQ(view.frameRect(), (RECT{10, 10, 810, 610}));
    // Both pans are worked out with the frame before the change, so the image
    // centre lands where the fitted frame's centre was.
    const PointD atOldCentre =
        *view.ClientToImage({fitted.left + fitted.Width() / 2.0, fitted.top + fitted.Height() / 2.0});
    EXPECT_NEAR(atOldCentre.x, 640, 1e-9);
    EXPECT_NEAR(atOldCentre.y, 512, 1e-9);
}

TEST(Zoom, IndexOutsideTheListSelectsX1)
{
    ImageView view = LaidOutView(6);
    view.ZoomChanged(99);
    EXPECT_EQ(view.zoomIndex(), 1);
    view.ZoomChanged(-1);
    EXPECT_EQ(view.zoomIndex(), 1);
}

TEST(Zoom, ChangeLaysOutTakesFocusAndAsksForARepaint)
{
    ImageView view = LaidOutView(1);
    ASSERT_TRUE(view.TakeRepaintPending());
    EXPECT_FALSE(view.TakeRepaintPending());
    int layouts = 0;
    int focus = 0;
    RECT applied;
    view.SetHost(ViewHost{[&](const ViewLayoutResult& r) {
                              ++layouts;
                              applied = r.frame;
                          },
                          [&] { ++focus; }});
    view.ZoomChanged(kZoomFit);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(focus, 1);
    EXPECT_EQ(applied, view.frameRect());
    EXPECT_TRUE(view.TakeRepaintPending());
}

TEST(Zoom, NoLayoutBeforeTheWindowExists)
{
    ImageView view;
    int layouts = 0;
    view.SetHost(ViewHost{[&](const ViewLayoutResult&) { ++layouts; }, {}});
    EXPECT_FALSE(view.ViewLayout());
    view.ZoomChanged(3);
    EXPECT_EQ(layouts, 0);
    EXPECT_EQ(view.zoomIndex(), 3);
}

TEST(Wheel, StopsAtBothEndsOfTheList)
{
    ImageView top = LaidOutView(21);
    EXPECT_FALSE(top.OnMouseWheel(120, {400, 300}));
    EXPECT_EQ(top.zoomIndex(), 21);
    EXPECT_FALSE(top.OnMouseWheel(120, {2000, 2000}));
    EXPECT_EQ(top.zoomIndex(), 21);

    ImageView fit = LaidOutView(kZoomFit);
    EXPECT_FALSE(fit.OnMouseWheel(-120, {400, 300}));
    EXPECT_EQ(fit.zoomIndex(), kZoomFit);
    EXPECT_EQ(fit.panX(), 0.0);

    EXPECT_TRUE(fit.OnMouseWheel(120, {400, 300}));
    EXPECT_EQ(fit.zoomIndex(), 1);
    EXPECT_TRUE(fit.OnMouseWheel(-120, {400, 300}));
    EXPECT_EQ(fit.zoomIndex(), kZoomFit);
}

struct WheelCase {
    int zoom;
    int delta;
    IntPoint cursor;
};

class WheelKeepsPointUnderCursor : public ::testing::TestWithParam<WheelCase> {};

TEST_P(WheelKeepsPointUnderCursor, ImagePointStaysUnderTheCursor)
{
    const WheelCase& c = GetParam();
    ImageView view = LaidOutView(c.zoom);
    const PointD cursor{double(c.cursor.x), double(c.cursor.y)};
    const PointD before = *view.ClientToImage(cursor);
    EXPECT_TRUE(view.OnMouseWheel(c.delta, c.cursor));
    EXPECT_EQ(view.zoomIndex(), c.zoom + (c.delta > 0 ? 1 : -1));
    const PointD after = *view.ClientToImage(cursor);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    EXPECT_TRUE(view.TakeRepaintPending());
}

INSTANTIATE_TEST_SUITE_P(Cursors, WheelKeepsPointUnderCursor,
                         ::testing::Values(WheelCase{1, 120, {110, 60}}, WheelCase{2, -120, {110, 60}},
                                           WheelCase{6, 120, {400, 300}}, WheelCase{6, -1, {700, 500}},
                                           WheelCase{10, 120, {10, 10}}, WheelCase{2, -120, {809, 609}}));

TEST(Wheel, IntoFitModeThePanIsZero)
{
    ImageView view = LaidOutView(1);
    EXPECT_TRUE(view.OnMouseWheel(-120, {110, 60}));
    EXPECT_EQ(view.zoomIndex(), kZoomFit);
    EXPECT_EQ(view.panX(), 0.0);
    EXPECT_EQ(view.panY(), 0.0);
}

TEST(Wheel, OutsideTheFrameKeepsTheCentreLikeTheList)
{
    ImageView view = LaidOutView(6);
    int focus = 0;
    view.SetHost(ViewHost{{}, [&] { ++focus; }});
    const PointD before = *view.ClientToImage(FrameCentre(view));
    EXPECT_TRUE(view.OnMouseWheel(120, {900, 50})); // right of V (V.right is exclusive: 810)
    EXPECT_EQ(view.zoomIndex(), 7);
    EXPECT_EQ(focus, 1);
    const PointD after = *view.ClientToImage(FrameCentre(view));
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
}

// ---- Painting -------------------------------------------------------------------

TEST(Paint, X1CopiesFromThePanAndKeepsThePictureTopAtTheTop)
{
    const FrameImage source = CodedPicture(40, 30);
    const ImageView view = ViewAt(RECT{3, 4, 3 + 16, 4 + 12}, 40, 30, 1, -5.75, -7.25);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    ASSERT_EQ(back.width(), 16);
    ASSERT_EQ(back.height(), 12);
    ASSERT_EQ(back.bitsPerPixel(), 24);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(PixelAt(back, x, y), Coded(x + 5, y + 7)) << x << "," << y;
        }
    }
    // The last row in memory is the picture's top row, source picture row 7 from column 5.
    const std::uint8_t* lastRow = back.bits() + 11 * back.stride();
    const std::uint8_t* sourceRow = source.bits() + (30 - 1 - 7) * source.stride() + 5 * 3;
    EXPECT_EQ(std::memcmp(lastRow, sourceRow, 16 * 3), 0);
}

TEST(Paint, X1IsBlackOutsideTheSource)
{
    // A positive pan shows the source's top-left corner inside the frame; the
    // frame is larger than what is left of the source on the right and bottom.
    // Source pixel 0 starts at 3.5 and 2.9: the first whole pixels show it.
    const FrameImage source = CodedPicture(10, 8);
    const ImageView view = ViewAt(RECT{0, 0, 16, 12}, 10, 8, 1, 3.5, 2.9);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 14 && y >= 3 && y < 11;
            ASSERT_EQ(PixelAt(back, x, y), inside ? Coded(x - 4, y - 3) : kBlack) << x << "," << y;
        }
    }
}

TEST(Paint, X2Point4StretchesTheSourceRectangle)
{
    // 12 x 12 frame at x2.4: a 5 x 5 source rectangle from (2, 3); back-buffer
    // column c shows source column 2 + c * 5 / 12.
    const FrameImage source = CodedPicture(20, 20);
    const ImageView view = ViewAt(RECT{0, 0, 12, 12}, 20, 20, 8, -2.0, -3.0);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    const int columns[12] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4};
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(PixelAt(back, x, y), Coded(2 + columns[x], 3 + columns[y])) << x << "," << y;
        }
    }
}

TEST(Paint, FitResamplesTheWholeSource)
{
    const FrameImage source = CodedPicture(8, 6);
    const ImageView view = ViewAt(RECT{0, 0, 16, 12}, 8, 6, kZoomFit);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    EXPECT_EQ(PixelAt(back, 0, 0), Coded(0, 0));
    EXPECT_EQ(PixelAt(back, 15, 11), Coded(7, 5));
    EXPECT_EQ(PixelAt(back, 3, 5), Coded(1, 2));
    EXPECT_EQ(PixelAt(back, 9, 0), Coded(4, 0));
}

TEST(Paint, FitOfAnEightBitSourceGivesGrey)
{
    const FrameImage source = CodedPicture(8, 6, 8);
    const ImageView view = ViewAt(RECT{0, 0, 16, 12}, 8, 6, kZoomFit);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    const std::uint8_t v = source.bits()[(6 - 1 - 2) * source.stride() + 1]; // picture (1, 2)
    EXPECT_EQ(PixelAt(back, 3, 5), (Bgr{v, v, v}));
}

TEST(Paint, ZoomedEightBitSourceGivesGrey)
{
    const FrameImage source = CodedPicture(9, 7, 8);
    const ImageView view = ViewAt(RECT{0, 0, 9, 7}, 9, 7, 1);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            const std::uint8_t v = source.bits()[(7 - 1 - y) * source.stride() + x];
            ASSERT_EQ(PixelAt(back, x, y), (Bgr{v, v, v})) << x << "," << y;
        }
    }
}

// Odd sizes, fractional pans and pans that run off every edge, 24-, 32- and
// 8-bit sources: every back-buffer pixel shows the source pixel that the
// view's own mapping puts under it (so a click lands on what is shown) or
// black, and (under the sanitizers) nothing is read or written out of bounds.
class PaintEveryPixel : public ::testing::TestWithParam<std::tuple<int, int, PointD>> {};

TEST_P(PaintEveryPixel, FollowsTheNearestRule)
{
    const auto [zoom, bits, pan] = GetParam();
    const int sw = 29;
    const int sh = 17;
    const FrameImage source = CodedPicture(sw, sh, bits);
    const RECT frame{1, 2, 1 + 37, 2 + 23};
    const ImageView view = ViewAt(frame, sw, sh, zoom, pan.x, pan.y);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const std::optional<PointD> mapped = view.ClientToImage(PointD{frame.left + x + 0.0, frame.top + y + 0.0});
            ASSERT_TRUE(mapped);
            const int sx = static_cast<int>(std::floor(mapped->x + 1e-9));
            const int sy = static_cast<int>(std::floor(mapped->y + 1e-9));
            Bgr expected = kBlack;
            if (sx >= 0 && sx < sw && sy >= 0 && sy < sh) {
                if (bits == 8) {
                    const std::uint8_t v = source.bits()[(sh - 1 - sy) * source.stride() + sx];
                    expected = Bgr{v, v, v};
                } else {
                    expected = Coded(sx, sy);
                }
            }
            ASSERT_EQ(PixelAt(back, x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OddSizes, PaintEveryPixel,
                         ::testing::Combine(::testing::Values(1, 2, 8, 13, 21), ::testing::Values(24, 32, 8),
                                            ::testing::Values(PointD{0, 0}, PointD{-20.9, -9.5}, PointD{-2.6, -1.3},
                                                              PointD{5.5, 3.2}, PointD{-28, -16},
                                                              PointD{-1000, 1000})));

class PaintFitBufferRows : public ::testing::TestWithParam<std::tuple<int, int, int, int>> {};

// Fit mode samples in memory rows (first row = the picture's bottom row), as
// the resampler does for the display frame.
TEST_P(PaintFitBufferRows, EveryPixelFromTheResampledRow)
{
    const auto [sw, sh, fw, fh] = GetParam();
    const FrameImage source = CodedPicture(sw, sh);
    const ImageView view = ViewAt(RECT{4, 4, 4 + fw, 4 + fh}, sw, sh, kZoomFit);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    for (int i = 0; i < fh; ++i) {
        const int sourceRow =
            std::min(sh - 1, static_cast<int>(static_cast<float>(sh) / static_cast<float>(fh) * static_cast<float>(i)));
        for (int j = 0; j < fw; ++j) {
            const int sourceColumn = std::min(
                sw - 1, static_cast<int>(static_cast<float>(sw) / static_cast<float>(fw) * static_cast<float>(j)));
            ASSERT_EQ(PixelAt(back, j, fh - 1 - i), Coded(sourceColumn, sh - 1 - sourceRow)) << j << "," << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PaintFitBufferRows,
                         ::testing::Values(std::tuple{31, 17, 13, 7}, std::tuple{13, 7, 31, 17}, std::tuple{1, 1, 5, 3},
                                           std::tuple{64, 48, 64, 48}));

TEST(Paint, BackBufferIsReusedWhileTheFrameSizeStays)
{
    const FrameImage source = CodedPicture(40, 30);
    ImageView view = ViewAt(RECT{0, 0, 16, 12}, 40, 30, 1);
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(source, back));
    const std::uint8_t* first = back.bits();
    view.SetPan(-3, -2);
    ASSERT_TRUE(view.PaintPicture(source, back));
    EXPECT_EQ(back.bits(), first);
    EXPECT_EQ(PixelAt(back, 0, 0), Coded(3, 2));

    view.SetFrameRect(RECT{0, 0, 17, 12});
    ASSERT_TRUE(view.PaintPicture(source, back));
    EXPECT_EQ(back.width(), 17);
}

TEST(Paint, SourcesThatCannotBeShownPaintBlackAndTinyFramesStillShowThePicture)
{
    ImageView view = ViewAt(RECT{0, 0, 8, 6}, 8, 6, 1);
    FrameImage back;
    FrameImage sixteen;
    ASSERT_TRUE(sixteen.Create(8, 6, 16));
    std::memset(sixteen.bits(), 0x55, sixteen.byteCount());
    // A buffer left from an earlier picture must not show through.
    ASSERT_TRUE(back.Create(8, 6, 24));
    std::memset(back.bits(), 0x77, back.byteCount());
    ASSERT_TRUE(view.PaintPicture(sixteen, back));
    EXPECT_EQ(PixelAt(back, 4, 3), kBlack);

    std::memset(back.bits(), 0x77, back.byteCount());
    ASSERT_TRUE(view.PaintPicture(FrameImage{}, back));
    EXPECT_EQ(PixelAt(back, 7, 5), kBlack);

    // x5 of a frame narrower than a source pixel shows that pixel, magnified.
    const ImageView narrow = ViewAt(RECT{0, 0, 4, 4}, 8, 6, 21);
    FrameImage small;
    ASSERT_TRUE(small.Create(4, 4, 24));
    std::memset(small.bits(), 0x77, small.byteCount());
    ASSERT_TRUE(narrow.PaintPicture(CodedPicture(8, 6), small));
    EXPECT_EQ(PixelAt(small, 3, 3), Coded(0, 0));
}

TEST(Paint, NothingWithoutAFrameArea)
{
    const ImageView view = ViewAt(RECT{5, 5, 5, 50}, 8, 6, 1);
    FrameImage back;
    EXPECT_FALSE(view.PaintPicture(CodedPicture(8, 6), back));
    EXPECT_TRUE(back.isEmpty());
}

TEST(Paint, OverlaysRunInOrderOverThePictureWithFitPanZero)
{
    ImageView view = ViewAt(RECT{0, 0, 16, 12}, 8, 6, kZoomFit);
    view.SetPan(-4, -3); // a stored pan that fit mode does not use
    std::vector<std::string> calls;
    ViewTransform seen;
    Bgr pixelUnderOverlays;
    const auto step = [&](std::string name) {
        return [&calls, &seen, &pixelUnderOverlays, name](FrameImage& back, const ViewTransform& t) {
            if (calls.empty()) {
                pixelUnderOverlays = PixelAt(back, 15, 11);
            }
            calls.push_back(name);
            seen = t;
        };
    };
    ViewOverlays& o = view.overlays();
    o.calibrationMarks = step("calibration");
    o.grid = step("grid");
    o.measurements = step("measurements");
    o.cursorCrossHairs = step("crosshairs");
    o.scaleBar = step("scale bar");
    o.measurementInProgress = step("placing");
    o.focusDisplay = step("focus");
    o.crossLines = step("cross lines");
    FrameImage back;
    ASSERT_TRUE(view.PaintPicture(CodedPicture(8, 6), back));
    EXPECT_EQ(calls, (std::vector<std::string>{"measurements", "scale bar", "cross lines", "focus", "grid",
                                               "crosshairs", "placing", "calibration"}));
    EXPECT_EQ(pixelUnderOverlays, Coded(7, 5));
    EXPECT_EQ(seen.panX, 0.0);
    EXPECT_EQ(seen.panY, 0.0);
    EXPECT_EQ(seen.scaleX, 2.0);
    EXPECT_EQ(view.panX(), -4.0);
    EXPECT_EQ(view.panY(), -3.0);

    // Zoomed, the overlays get the view's own pan and factor.
    view.ZoomChanged(6);
    view.SetPan(-1.5, -2.5);
    calls.clear();
    ASSERT_TRUE(view.PaintPicture(CodedPicture(8, 6), back));
    EXPECT_EQ(calls.size(), 8u);
    EXPECT_EQ(seen.panX, -1.5);
    EXPECT_DOUBLE_EQ(seen.scaleX, 2.0);
}

} // namespace
} // namespace orvane
