#include "app/look/CPictureButton.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/window/ControlIds.h"
#include "app/qt/FrameImageQt.h"
#include "app/look/PictureSheet.h"
#include "app/look/UiPictures.h"

namespace orvane {
namespace {

const QRgb kMarker = qRgb(255, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);

class CPictureButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pictures = new UiPictures;
        ASSERT_TRUE(s_pictures->Load());
        s_sheet = new QImage(ToQImage(s_pictures->buttonSheet()).convertToFormat(QImage::Format_ARGB32));
        s_arrows = new QImage(ToQImage(s_pictures->arrowStrip()).convertToFormat(QImage::Format_ARGB32));
    }
    static void TearDownTestSuite()
    {
        delete s_arrows;
        delete s_sheet;
        delete s_pictures;
    }

    // What the button paints, over a marker colour that shows where it paints nothing.
    static QImage Render(CPictureButton& button)
    {
        QImage image(button.size(), QImage::Format_ARGB32);
        image.fill(kMarker);
        button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    static QImage Cell(int x, int y) { return s_sheet->copy(x, y, sheet::kCellWidth, sheet::kCellHeight); }

    // The face equals the sheet cell everywhere outside the lamp's rectangle.
    static void ExpectFace(const QImage& rendered, int x, int y)
    {
        ASSERT_EQ(rendered.size(), QSize(sheet::kCellWidth, sheet::kCellHeight));
        const QImage cell = Cell(x, y);
        int differing = 0;
        for (int py = 0; py < cell.height(); ++py) {
            for (int px = 0; px < cell.width(); ++px) {
                differing += rendered.pixel(px, py) != cell.pixel(px, py) ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << "face of cell " << x << "," << y;
    }

    static QPoint LampCentre() { return {6, 46}; }

    static inline UiPictures* s_pictures = nullptr;
    static inline QImage* s_sheet = nullptr;
    static inline QImage* s_arrows = nullptr;
};

TEST_F(CPictureButtonTest, IsNamedByItsControlId)
{
    CPictureButton button(ctl::kLive, *s_pictures);
    EXPECT_EQ(button.objectName(), QStringLiteral("1130"));
    EXPECT_EQ(button.controlId(), ctl::kLive);
    EXPECT_EQ(button.kind(), CPictureButton::Kind::Face);
}

TEST_F(CPictureButtonTest, ShowsItsCellOfTheSheet)
{
    CPictureButton line(ctl::kLine, *s_pictures);
    EXPECT_EQ(line.size(), QSize(50, 53));
    ExpectFace(Render(line), 0, 0);
    CPictureButton save(ctl::kSave, *s_pictures);
    ExpectFace(Render(save), 150, 106);
    CPictureButton focus(ctl::kWhiteBalance, *s_pictures);
    ExpectFace(Render(focus), 50, 318);
}

TEST_F(CPictureButtonTest, DisabledShowsTheCellTwoHundredToTheRight)
{
    CPictureButton button(ctl::kCircle, *s_pictures);
    button.setEnabled(false);
    ExpectFace(Render(button), 300, 0);
    EXPECT_EQ(button.currentCell(), (SheetCell{300, 0}));
    button.setEnabled(true);
    ExpectFace(Render(button), 100, 0);
}

TEST_F(CPictureButtonTest, LiveSwitchesToTheStillFaceWhenFrozen)
{
    CPictureButton live(ctl::kLive, *s_pictures);
    ExpectFace(Render(live), 0, 53);
    live.setAlternative(true);
    ExpectFace(Render(live), 50, 53);
    live.setEnabled(false);
    ExpectFace(Render(live), 250, 53);
    live.setEnabled(true);
    live.setAlternative(false);
    ExpectFace(Render(live), 0, 53);
}

TEST_F(CPictureButtonTest, TypeShowsItsSecondFaceWhileBurningIn)
{
    CPictureButton type(ctl::kType, *s_pictures);
    ExpectFace(Render(type), 100, 159);
    type.setAlternative(true);
    ExpectFace(Render(type), 150, 159);
}

TEST_F(CPictureButtonTest, SingleFaceButtonsIgnoreTheSecondState)
{
    CPictureButton line(ctl::kLine, *s_pictures);
    line.setAlternative(true);
    ExpectFace(Render(line), 0, 0);
}

TEST_F(CPictureButtonTest, RedLampWhileTheLeftButtonIsHeldInside)
{
    CPictureButton button(ctl::kLine, *s_pictures);
    button.show();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(25, 20));
    QImage pressed = Render(button);
    EXPECT_EQ(pressed.pixel(LampCentre()), kRed);
    EXPECT_EQ(pressed.pixel(25, 20), Cell(0, 0).pixel(25, 20)) << "the face stays";

    // Dragged outside with the button still held: the lamp goes out.
    const QPointF outside(200, 200);
    QMouseEvent move(QEvent::MouseMove, outside, button.mapToGlobal(outside), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
    EXPECT_NE(Render(button).pixel(LampCentre()), kRed);

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));
    ExpectFace(Render(button), 0, 0);
}

TEST_F(CPictureButtonTest, ReleasedLeftButtonLeavesTheLampOut)
{
    CPictureButton button(ctl::kDelete, *s_pictures);
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(25, 20));
    EXPECT_EQ(clicked.count(), 1);
    ExpectFace(Render(button), 0, 106);
}

TEST_F(CPictureButtonTest, GreenLampMarksTheMode)
{
    CPictureButton button(ctl::kLine, *s_pictures);
    button.show();
    button.setModeLamp(true);
    QImage lit = Render(button);
    EXPECT_EQ(lit.pixel(LampCentre()), kGreen);
    EXPECT_EQ(lit.pixel(25, 20), Cell(0, 0).pixel(25, 20));
    // Outside the lamp's rectangle the face is untouched.
    EXPECT_EQ(lit.pixel(14, 46), Cell(0, 0).pixel(14, 46));
    EXPECT_EQ(lit.pixel(6, 39), Cell(0, 0).pixel(6, 39));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(25, 20));
    EXPECT_EQ(Render(button).pixel(LampCentre()), kRed) << "pressing shows over the mode lamp";
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(25, 20));
    EXPECT_EQ(Render(button).pixel(LampCentre()), kGreen);

    button.setModeLamp(false);
    ExpectFace(Render(button), 0, 0);
}

TEST_F(CPictureButtonTest, ScalesFaceAndLampAt144DotsPerInch)
{
    CPictureButton button(ctl::kLine, *s_pictures);
    button.setDpiScale(DpiScale(144, 144));
    ASSERT_EQ(button.size(), QSize(75, 80)); // 50 × 1.5, 53 × 1.5 = 79.5 rounded up
    button.setModeLamp(true);
    const QImage image = Render(button);
    // Lamp (1, 41)–(12, 51) becomes (2, 62)–(18, 77).
    EXPECT_EQ(image.pixel(10, 69), kGreen);
    EXPECT_EQ(image.pixel(16, 69), kGreen) << "beyond the unscaled lamp's right edge";
    EXPECT_NE(image.pixel(10, 59), kGreen) << "above the scaled lamp";
    // The face fills the whole button: the sheet's dark outline at both ends.
    const QImage cell = Cell(0, 0);
    for (const QPoint& at : {QPoint(37, 0), QPoint(37, 79), QPoint(0, 40), QPoint(74, 40)}) {
        EXPECT_LT(qGray(image.pixel(at)), 60) << at.x() << "," << at.y();
    }
    // A flat part of the plate keeps its colour.
    const QRgb plate = cell.pixel(3, 20);
    const QRgb scaled = image.pixel(5, 30);
    EXPECT_NEAR(qRed(scaled), qRed(plate), 8);
    EXPECT_NEAR(qGreen(scaled), qGreen(plate), 8);
    EXPECT_NEAR(qBlue(scaled), qBlue(plate), 8);

    const QImage unscaled = [&] {
        CPictureButton plain(ctl::kLine, *s_pictures);
        plain.setModeLamp(true);
        return Render(plain);
    }();
    EXPECT_NE(unscaled.pixel(16, 46), kGreen);
}

TEST_F(CPictureButtonTest, CornerButtonsShowTheirArrow)
{
    CPictureButton right(ctl::kRightCorner, *s_pictures);
    EXPECT_EQ(right.kind(), CPictureButton::Kind::Corner);
    EXPECT_EQ(right.size(), QSize(13, 13));
    EXPECT_FALSE(right.currentCell().has_value());
    EXPECT_EQ(Render(right), s_arrows->copy(0, 0, 13, 13));
    right.setAlternative(true); // panel hidden
    EXPECT_EQ(Render(right), s_arrows->copy(13, 0, 13, 13));

    CPictureButton bottom(ctl::kBottomCorner, *s_pictures);
    EXPECT_EQ(Render(bottom), s_arrows->copy(26, 0, 13, 13));
    bottom.setAlternative(true);
    EXPECT_EQ(Render(bottom), s_arrows->copy(39, 0, 13, 13));

    bottom.setDpiScale(DpiScale(144, 144));
    EXPECT_EQ(bottom.size(), QSize(20, 20));
}

TEST_F(CPictureButtonTest, MagnetButtonShowsItsIconUnscaled)
{
    CPictureButton magnet(ctl::kMagnetButton, *s_pictures);
    magnet.setDpiScale(DpiScale(144, 144));
    EXPECT_EQ(magnet.kind(), CPictureButton::Kind::Magnet);
    ASSERT_EQ(magnet.size(), QSize(16, 16));
    const QImage icon = ToQImage(s_pictures->magnetIcon());
    const QImage image = Render(magnet);
    EXPECT_EQ(image.pixel(0, 0), kMarker) << "transparent corner";
    EXPECT_EQ(image.pixel(8, 1), icon.pixel(8, 1));
    EXPECT_EQ(qAlpha(icon.pixel(8, 1)), 255);
}

TEST_F(CPictureButtonTest, RightClickInsideIsReported)
{
    CPictureButton save(ctl::kSave, *s_pictures);
    save.show();
    QSignalSpy right(&save, &CPictureButton::rightClicked);
    QSignalSpy left(&save, &QAbstractButton::clicked);
    QTest::mouseClick(&save, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(right.count(), 1);
    EXPECT_EQ(left.count(), 0);
    EXPECT_NE(Render(save).pixel(LampCentre()), kRed) << "the right button does not press it";

    QTest::mousePress(&save, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&save, Qt::RightButton, {}, QPoint(100, 10));
    EXPECT_EQ(right.count(), 1) << "released outside";

    QTest::mouseClick(&save, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(right.count(), 1);
    EXPECT_EQ(left.count(), 1);
}

} // namespace
} // namespace orvane
