#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/look/CPictureButton.h"
#include "app/measure/CalibrationController.h"
#include "app/overlays/CCColorSet.h"
#include "app/overlays/CCrossLineSetDlg.h"
#include "app/overlays/ColourSwatch.h"
#include "app/overlays/DisplayAidsController.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "settings/CalibrationSettings.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeMessageBoxes;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The display aids on the real window. The picture is the white 1280 x 1024
// start picture at x1, so picture pixels are image pixels; the calibrations
// are the defaults, 10 mm over 200 pixels (0.05 mm a pixel).
class DisplayAidsWiringTest : public ::testing::Test {
protected:
    void WriteSettings(const std::string& text) const
    {
        const std::filesystem::path file = temp.path() / "config" / "QMC" / "Orvane.ini";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    CMeasureDlg& Start()
    {
        window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
        window->Initialise();
        window->searchDialog()->startButton()->click();
        window->OnCameraRetryTimer();
        // The offscreen screen is small; the points here assume the first window of a large one.
        window->resize(1100, 860);
        window->displayAids().SetChoosers([this](COLORREF, QWidget*) { return chosenColour; },
                                          [](const QFont&, QWidget*) { return std::optional<QFont>(); });
        return *window;
    }

    PictureView* Picture() const { return window->controls().picture(); }
    CPictureButton* Button(int id) const { return window->controls().button(id); }
    void Press(int id) const { QTest::mouseClick(Button(id), Qt::LeftButton); }
    OrvaneSettings& Settings() const { return window->state().settings(); }

    void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) const
    {
        QMouseEvent event(type, at, Picture()->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(Picture(), &event);
    }
    void Move(QPoint at, Qt::MouseButtons held = Qt::NoButton) const
    {
        Mouse(QEvent::MouseMove, Qt::NoButton, held, at);
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) const
    {
        Mouse(QEvent::MouseButtonPress, button, button, from);
        Move(to, button);
        Mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
    }

    // The picture's pixel as painted now, 0x00BBGGRR.
    COLORREF PixelAt(QPoint at) const
    {
        static_cast<void>(Picture()->grab());
        const FrameImage& back = Picture()->backBuffer();
        const std::uint8_t* pixel = back.Row(at.y()) + static_cast<std::ptrdiff_t>(at.x()) * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }

    CCColorSet* OpenColours() const
    {
        Press(ctl::kColor);
        CCColorSet* dialog = window->displayAids().colourDialog();
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    template <class Widget> Widget* ColourControl(int id) const
    {
        return qobject_cast<Widget*>(window->displayAids().colourDialog()->control(id));
    }
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    std::optional<COLORREF> chosenColour = kMagenta;
    std::unique_ptr<CMeasureDlg> window;
};

TEST_F(DisplayAidsWiringTest, ColourChangesStayButCancelPutsTheScaleBarBack)
{
    Start();
    CCColorSet* dialog = OpenColours();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(ColourControl<ColourSwatch>(1023), Qt::LeftButton);
    EXPECT_EQ(Settings().color.line, kMagenta);

    auto* place = ColourControl<QComboBox>(1125);
    EXPECT_EQ(place->currentIndex(), -1);
    ColourControl<QLineEdit>(1121)->setText("20");
    emit place->activated(3); // "lower right"
    EXPECT_EQ(Settings().m_ScaleData.Pos, (ScaleDataSettings::Point{1230, 974}));
    EXPECT_EQ(Settings().m_ScaleData.Size.cx, 20);
    QTest::mouseClick(dialog->control(1229), Qt::LeftButton); // "Show scale"
    EXPECT_EQ(Settings().m_ScaleData.Visible, 1);

    dialog->reject();
    Settle();
    EXPECT_EQ(window->displayAids().colourDialog(), nullptr);
    EXPECT_EQ(Settings().m_ScaleData, ScaleDataSettings{});
    EXPECT_EQ(Settings().color.line, kMagenta);
}

TEST_F(DisplayAidsWiringTest, ControlsWriteTheSettingsAtOnce)
{
    Start();
    OpenColours();
    const OrvaneSettings before = Settings();
    // The Focus and Grid line faces change nothing; the grid is switched by "color.gridflg".
    QTest::mouseClick(window->displayAids().colourDialog()->control(1220), Qt::LeftButton);
    QTest::mouseClick(window->displayAids().colourDialog()->control(1230), Qt::LeftButton);
    EXPECT_EQ(Settings(), before);

    struct ListCase {
        int id;
        int entry;
        std::function<int()> setting;
        int expected;
    };
    const ListCase lists[] = {
        {1124, 1, [this] { return Settings().m_ScaleData.Type; }, 1},
        {1221, 2, [this] { return Settings().color.anglebaseline; }, 2},
        {1234, 20, [this] { return Settings().color.focusscale; }, 20},
        {1250, 1, [this] { return static_cast<int>(Settings().color.CursorCrosshairs.Color); }, 0},
        {1250, 0, [this] { return static_cast<int>(Settings().color.CursorCrosshairs.Color); }, 0xFFFFFF},
    };
    for (const ListCase& c : lists) {
        emit ColourControl<QComboBox>(c.id)->activated(c.entry);
        EXPECT_EQ(c.setting(), c.expected) << c.id;
    }
    ColourControl<QSpinBox>(1141)->setValue(4);
    EXPECT_EQ(Settings().color.linesize, 4);
    ColourControl<QSpinBox>(1143)->setValue(30);
    EXPECT_EQ(Settings().color.angle, 30);
    ColourControl<QCheckBox>(1249)->setChecked(true);
    EXPECT_EQ(Settings().color.CursorCrosshairs.ShowCenter, 1);

    // The font sample: the font, then the text colour.
    window->displayAids().SetChoosers([](COLORREF, QWidget*) { return std::optional<COLORREF>(RGB(1, 2, 3)); },
                                      [](const QFont&, QWidget*) {
                                          QFont font(QStringLiteral("DejaVu Sans"));
                                          font.setPixelSize(30);
                                          font.setBold(true);
                                          return std::optional<QFont>(font);
                                      });
    window->displayAids().colourDialog()->reject();
    Settle();
    OpenColours();
    QTest::mouseClick(ColourControl<ColourSwatch>(1024), Qt::LeftButton);
    EXPECT_EQ(Settings().color.font.lfHeight, -30);
    EXPECT_EQ(Settings().color.font.lfWeight, 700);
    EXPECT_EQ(Settings().color.font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ(Settings().color.text, RGB(1, 2, 3));
}

TEST_F(DisplayAidsWiringTest, OkKeepsTheBarLengthsAndTheDecimalsTyped)
{
    Start();
    OpenColours();
    EXPECT_EQ(ColourControl<QLineEdit>(1232)->text(), "5.0"); // 100 pixels of 0.05 mm
    ColourControl<QLineEdit>(1232)->setText("2.50");
    EXPECT_EQ(Settings().color.gridsize, 50);
    EXPECT_EQ(ColourControl<QSpinBox>(1144)->value(), 50);
    ColourControl<QLineEdit>(1122)->setText("7");
    window->displayAids().colourDialog()->accept();
    Settle();
    EXPECT_EQ(ReadScaleDec(window->state().profile()), 2);
    EXPECT_EQ(Settings().m_ScaleData.Size.cy, 7);

    // Two decimals from now on; a whole number typed goes back to one.
    OpenColours();
    EXPECT_EQ(ColourControl<QLineEdit>(1232)->text(), "2.50");
    ColourControl<QLineEdit>(1232)->setText("3");
    EXPECT_EQ(Settings().color.gridsize, 60);
    ColourControl<QLineEdit>(1232)->setText("0.01"); // less than a pixel: no change
    EXPECT_EQ(Settings().color.gridsize, 60);
    ColourControl<QLineEdit>(1232)->setText("3");
    window->displayAids().colourDialog()->accept();
    Settle();
    EXPECT_EQ(ReadScaleDec(window->state().profile()), -1);
    OpenColours();
    EXPECT_EQ(ColourControl<QLineEdit>(1232)->text(), "3.0");
}

TEST_F(DisplayAidsWiringTest, TheGridFieldFollowsTheCalibrationAndAZeroOneChangesNothing)
{
    // Calibration 2: 20 mm over 200 pixels; calibration 3: a zero length.
    WriteSettings("[CALIBRATION]\nlength.x_1=20\nlength.y_1=20\nlength.x_2=0\nlength.y_2=0\n");
    Start();
    Settings().m_ScaleData.Visible = 1;
    OpenColours();
    window->calibration().OnCalibrationSelected(1);
    EXPECT_EQ(ColourControl<QLineEdit>(1232)->text(), "10.0");
    // The bar is 10 mm, now 100 pixels long: from (490, 430) to (590, 430).
    EXPECT_EQ(PixelAt({540, 430}), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt({440, 430}), kWhite);

    window->calibration().OnCalibrationSelected(2);
    EXPECT_EQ(ColourControl<QLineEdit>(1232)->text(), "10.0");
    EXPECT_EQ(PixelAt({540, 430}), kWhite);
    ColourControl<QLineEdit>(1232)->setText("4.0");
    EXPECT_EQ(Settings().color.gridsize, 100);
}

TEST_F(DisplayAidsWiringTest, TheScaleBarIsDraggedWithTheLeftButtonBeforeAnyTool)
{
    Start();
    Settings().m_ScaleData.Visible = 1;
    Press(ctl::kLine);
    // The bar runs from (390, 430) to (590, 430); grabbed 90 pixels left of its anchor.
    Move({500, 431});
    Drag(Qt::LeftButton, {500, 431}, {300, 200});
    EXPECT_EQ(Settings().m_ScaleData.Pos, (ScaleDataSettings::Point{390, 200}));
    EXPECT_EQ(window->state().measure().interaction().working().pointCount, 0);
    Move({700, 700}); // the cross hairs away from the bar
    EXPECT_EQ(PixelAt({250, 200}), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt({500, 430}), kWhite);

    // Leaving the picture ends a drag.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {300, 200});
    Move({-20, 200}, Qt::LeftButton);
    Move({100, 100}, Qt::LeftButton);
    EXPECT_EQ(Settings().m_ScaleData.Pos, (ScaleDataSettings::Point{390, 200}));
}

TEST_F(DisplayAidsWiringTest, CrossLinesAreBlendedAndDraggedWithTheRightButton)
{
    WriteSettings("[CROSSLINE]\nCount=2\nShow_0=1\nPos_x_0=300\nPos_y_0=200\nColor_0=255\nSize_0=1\nDraw_0=100\n"
                  "Show_1=1\nPos_x_1=100\nPos_y_1=50\nColor_1=16711680\nSize_1=3\nDraw_1=50\n");
    Start();
    EXPECT_EQ(PixelAt({300, 10}), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt({401, 10}), RGB(127, 127, 254));
    Press(ctl::kCrossLine);
    CCrossLineSetDlg* dialog = window->displayAids().crossLineDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());

    // The master takes its slave along.
    Drag(Qt::RightButton, {302, 203}, {500, 400});
    EXPECT_EQ(window->state().crossLines().lines[0].Pos_x, 500);
    EXPECT_EQ(window->state().crossLines().lines[0].Pos_y, 400);
    EXPECT_EQ(PixelAt({500, 10}), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt({600, 10}), RGB(127, 127, 254));
    EXPECT_EQ(PixelAt({300, 10}), kWhite);

    // A slave moves alone and is selected in the dialog.
    Drag(Qt::RightButton, {599, 451}, {550, 420});
    EXPECT_EQ(dialog->selectedLine(), 1);
    EXPECT_EQ(window->state().crossLines().lines[1].Pos_x, 50);
    EXPECT_EQ(window->state().crossLines().lines[1].Pos_y, 20);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->control(1121))->text(), "50");
    EXPECT_EQ(qobject_cast<QLineEdit*>(dialog->control(1125))->text(), "2.5");
    // The right press was the cross line's: no measurement edit began.
    EXPECT_FALSE(window->state().measure().interaction().dragActive());
}

TEST_F(DisplayAidsWiringTest, CrossLineDialogAddsAndRemovesSlaves)
{
    WriteSettings("[CROSSLINE]\nCount=1\nShow_0=1\nPos_x_0=300\nPos_y_0=200\nColor_0=255\nSize_0=1\nDraw_0=100\n");
    Start();
    Press(ctl::kCrossLine);
    CCrossLineSetDlg* dialog = window->displayAids().crossLineDialog();
    auto* add = qobject_cast<QPushButton*>(dialog->control(1223));
    auto* sub = qobject_cast<QPushButton*>(dialog->control(1224));
    sub->click(); // the master stays
    EXPECT_EQ(window->state().crossLines().lines.size(), 1U);
    add->click();
    ASSERT_EQ(window->state().crossLines().lines.size(), 2U);
    EXPECT_EQ(dialog->selectedLine(), 1);
    EXPECT_EQ(window->state().crossLines().lines[1].Color, 255U);
    auto* x = qobject_cast<QLineEdit*>(dialog->control(1121));
    x->selectAll();
    QTest::keyClicks(x, "-40");
    EXPECT_EQ(window->state().crossLines().lines[1].Pos_x, -40);
    EXPECT_EQ(PixelAt({260, 10}), RGB(255, 0, 0));
    sub->click();
    EXPECT_EQ(window->state().crossLines().lines.size(), 1U);
    EXPECT_EQ(dialog->selectedLine(), 0);
    EXPECT_EQ(PixelAt({260, 10}), kWhite);
}

TEST_F(DisplayAidsWiringTest, ASavedPictureCarriesGridScaleBarAndCrossLinesAtOne)
{
    WriteSettings("[Orvane]\ncolor.gridflg=1\ncolor.gridsize=100\nm_ScaleData.Visible=1\n"
                  "[CROSSLINE]\nCount=1\nShow_0=1\nPos_x_0=250\nPos_y_0=150\nColor_0=255\nSize_0=1\nDraw_0=100\n");
    Start();
    // Shown at x2: the saved picture is drawn at x1 whatever the view shows.
    window->state().view().ZoomChanged(6);
    Press(ctl::kType);
    const FrameImage picture = window->state().PictureToSave();
    const std::filesystem::path saved = temp.path() / "burnt.bmp";
    ASSERT_TRUE(window->state().WriteImageFile(saved, picture, 1));
    FrameImage loaded;
    ASSERT_TRUE(loaded.LoadBmpFile(saved));
    const auto pixel = [&loaded](int x, int y) {
        const std::uint8_t* p = loaded.Row(y) + static_cast<std::ptrdiff_t>(x) * 3;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(100, 50), RGB(128, 128, 255)); // grid column
    EXPECT_EQ(pixel(50, 700), RGB(128, 128, 255)); // grid row
    EXPECT_EQ(pixel(250, 30), RGB(255, 0, 0));     // cross line column
    EXPECT_EQ(pixel(30, 150), RGB(255, 0, 0));     // cross line row
    EXPECT_EQ(pixel(450, 430), RGB(0, 255, 0));    // scale bar, (390, 430) to (590, 430)
    EXPECT_EQ(pixel(50, 50), kWhite);
}

TEST_F(DisplayAidsWiringTest, ThePointerIsNeverInvisible)
{
    Start();
    Settings().color.CursorCrosshairs.Color = RGB(0, 0, 0);
    Press(ctl::kLine);
    Move({250, 300});
    // The system cursor hides only because the cross hairs stand in for it.
    EXPECT_EQ(Picture()->cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(window->state().crossHairsOn());
    EXPECT_EQ(PixelAt({250, 40}), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt({40, 300}), RGB(0, 0, 0));
    // Over another window the cross hairs no longer mark the pointer.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(Picture(), &leave);
    EXPECT_EQ(PixelAt({250, 40}), kWhite);
    Move({250, 300});
    EXPECT_EQ(PixelAt({250, 40}), RGB(0, 0, 0));

    window->OnLive();
    EXPECT_FALSE(window->state().crossHairsOn());
    EXPECT_NE(Picture()->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(PixelAt({250, 40}), kWhite);
}

} // namespace
} // namespace orvane
