#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/measure/CCalibrationSet.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/window/CMeasureDlg.h"
#include "app/look/CPictureButton.h"
#include "app/measure/CalibrationController.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeMessageBoxes;

// Measuring on the real window: clicks on the picture, the tool buttons,
// DELETE, the results list and the calibration controls. The picture is the
// white 1280 x 1024 start picture at x1, so picture pixels are image pixels;
// the calibrations are the defaults, 10 mm over 200 pixels.
class MeasureWiringTest : public ::testing::Test {
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
        // The offscreen screen is small; the clicks here assume the first window of a large one.
        window->resize(1100, 860);
        return *window;
    }

    PictureView* Picture() const { return window->controls().picture(); }
    QTableView* List() const { return window->controls().resultList(); }
    CPictureButton* Button(int id) const { return window->controls().button(id); }

    void Press(int id) const { QTest::mouseClick(Button(id), Qt::LeftButton); }
    void Click(QPoint at) const { QTest::mouseClick(Picture(), Qt::LeftButton, {}, at); }
    // The pointer moves over the picture with no button held.
    void Move(QPoint at) const
    {
        QMouseEvent move(QEvent::MouseMove, at, Picture()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Picture(), &move);
    }

    // Row texts as "No.|Type|Result|Unit".
    QStringList Rows() const
    {
        QStringList rows;
        const QAbstractItemModel* model = List()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column) {
                cells << model->index(row, column).data().toString();
            }
            rows << cells.join('|');
        }
        return rows;
    }

    // The picture's pixel as painted now, 0x00BBGGRR.
    COLORREF PixelAt(QPoint at) const
    {
        static_cast<void>(Picture()->grab());
        const FrameImage& back = Picture()->backBuffer();
        const std::uint8_t* pixel = back.Row(at.y()) + static_cast<std::ptrdiff_t>(at.x()) * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }

    // LINE from (100, 100) to (400, 500): 500 pixels, 25 mm, pointing down-right.
    void MeasureLength() const
    {
        Press(ctl::kLine);
        Click({100, 100});
        Click({400, 500});
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    std::unique_ptr<CMeasureDlg> window;
};

constexpr COLORREF kLineColour = RGB(0, 255, 0);
constexpr COLORREF kSelectedColour = RGB(255, 0, 255);
constexpr QPoint kOnTheLine{175, 200}; // a quarter of the way from (100, 100) to (400, 500)

TEST_F(MeasureWiringTest, TwoClicksWithLineListLengthAndAngleAndDrawTheLine)
{
    Start();
    Press(ctl::kLine);
    EXPECT_EQ(window->state().activeMode(), 1);
    EXPECT_TRUE(Button(ctl::kLine)->modeLamp());
    Click({100, 100});
    EXPECT_TRUE(Rows().isEmpty());
    Click({400, 500});

    EXPECT_EQ(Rows(), (QStringList{"0|Length|25.000|mm", "1|Angle|306.9|degree"}));
    // The tool stays armed for the next length.
    EXPECT_EQ(window->state().activeMode(), 1);
    EXPECT_TRUE(Button(ctl::kLine)->modeLamp());
    EXPECT_EQ(PixelAt(kOnTheLine), kLineColour);

    // Shift held at the second click snaps the direction to the 45-degree steps.
    Click({100, 600});
    QTest::mouseClick(Picture(), Qt::LeftButton, Qt::ShiftModifier, {400, 612});
    EXPECT_EQ(Rows().value(3), "3|Angle|0.0|degree");

    Press(ctl::kLine);
    EXPECT_EQ(window->state().activeMode(), 0);
    EXPECT_FALSE(Button(ctl::kLine)->modeLamp());
}

TEST_F(MeasureWiringTest, RubberBandFollowsThePointerAndTheCursorHides)
{
    Start();
    Press(ctl::kLine);
    Move({100, 100});
    Click({100, 100});
    Move({500, 100});
    EXPECT_EQ(Picture()->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(PixelAt({400, 100}), kLineColour);
    Move({100, 500});
    EXPECT_NE(PixelAt({400, 100}), kLineColour);
    EXPECT_EQ(PixelAt({100, 400}), kLineColour);

    // With no tool the pointer shows again at the next move.
    Press(ctl::kLine);
    Move({300, 300});
    EXPECT_NE(Picture()->cursor().shape(), Qt::BlankCursor);
    EXPECT_NE(PixelAt({100, 400}), kLineColour);
}

TEST_F(MeasureWiringTest, CalibrationChoiceRewritesTheRowsInItsUnit)
{
    // Calibration 2: 1000 um over 200 pixels, 5 um a pixel; um rows have two decimals.
    WriteSettings("[CALIBRATION]\nlength.x_1=1000\nlength.y_1=1000\nunit_1=2\n");
    Start();
    MeasureLength();
    QComboBox* calibrations = window->controls().calibrationList();
    QTest::keyClick(calibrations, Qt::Key_Down);
    ASSERT_EQ(calibrations->currentIndex(), 1);
    EXPECT_EQ(Rows(), (QStringList{"0|Length|2500.00|um", "1|Angle|306.9|degree"}));

    // New measurements are scaled with it too.
    Click({100, 100});
    Click({100, 300});
    EXPECT_EQ(Rows().value(2), "2|Length|1000.00|um");
}

TEST_F(MeasureWiringTest, SelectedRowsDrawInvertedAndDeleteRemovesTheirRecords)
{
    Start();
    MeasureLength();
    Click({600, 100});
    Click({600, 300});
    ASSERT_EQ(Rows().size(), 4);

    List()->selectRow(1); // the first length's angle row
    EXPECT_EQ(PixelAt(kOnTheLine), kSelectedColour);
    EXPECT_EQ(PixelAt({600, 200}), kLineColour);

    Press(ctl::kDelete);
    EXPECT_TRUE(boxes.questions.isEmpty());
    EXPECT_EQ(Rows(), (QStringList{"0|Length|10.000|mm", "1|Angle|270.0|degree"}));
    EXPECT_NE(PixelAt(kOnTheLine), kLineColour);
    EXPECT_NE(PixelAt(kOnTheLine), kSelectedColour);
    EXPECT_EQ(PixelAt({600, 200}), kLineColour);

    // Nothing selected: everything goes after a Yes.
    boxes.answer = false;
    Press(ctl::kDelete);
    EXPECT_EQ(boxes.questions, QStringList{"confirm|Are all items deleted ?"});
    EXPECT_EQ(Rows().size(), 2);
    boxes.answer = true;
    Press(ctl::kDelete);
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(window->state().activeMode(), 0);
    EXPECT_FALSE(Button(ctl::kLine)->modeLamp());
    EXPECT_NE(PixelAt({600, 200}), kLineColour);
}

TEST_F(MeasureWiringTest, DoubleClickClosesAPolygonWithAllToolsEnabled)
{
    WriteSettings("[Orvane]\nEnableAllTools=1\n");
    Start();
    Press(ctl::kAria);
    ASSERT_EQ(window->state().activeMode(), 2);
    EXPECT_TRUE(Button(ctl::kAria)->modeLamp());
    Click({100, 100});
    Click({300, 100});
    Click({300, 300});
    // A double click: press, release, double click, release.
    Click({100, 300});
    QTest::mouseDClick(Picture(), Qt::LeftButton, {}, {100, 300});
    QTest::mouseRelease(Picture(), Qt::LeftButton, {}, {100, 300});

    ASSERT_EQ(Rows().size(), 1);
    EXPECT_TRUE(Rows()[0].startsWith("0|Polygon area|"));
    EXPECT_TRUE(Rows()[0].endsWith("|mm2"));
    const MEASURE* polygon = window->state().measure().interaction().chain().First();
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->pointCount, 4);
    EXPECT_EQ(PixelAt({200, 100}), kLineColour);
    EXPECT_EQ(PixelAt({100, 200}), kLineColour); // the closing side
    // Armed again, with no points.
    EXPECT_EQ(window->state().activeMode(), 2);
    EXPECT_EQ(window->state().measure().interaction().working().pointCount, 0);
}

TEST_F(MeasureWiringTest, RightDragOfAnEndPointUpdatesTheRow)
{
    Start();
    MeasureLength();
    Press(ctl::kLine); // edits follow the pointer only with no tool armed

    QTest::mousePress(Picture(), Qt::RightButton, {}, {400, 500});
    QTest::mouseMove(Picture(), {250, 500});
    EXPECT_EQ(Picture()->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(Picture(), {100, 500});
    QTest::mouseRelease(Picture(), Qt::RightButton, {}, {100, 500});

    EXPECT_EQ(Rows(), (QStringList{"0|Length|20.000|mm", "1|Angle|270.0|degree"}));
    Move({700, 700}); // the cursor cross hairs off the line
    EXPECT_EQ(PixelAt({100, 300}), kLineColour);
    EXPECT_NE(PixelAt(kOnTheLine), kLineColour);
    EXPECT_FALSE(window->state().measure().interaction().dragActive());
}

TEST_F(MeasureWiringTest, LabelsAreFoundInTheirFontAndDraggedByTheRightButton)
{
    Start();
    MeasureLength();
    Press(ctl::kLine);
    static_cast<void>(Picture()->grab()); // labels get their texts when drawn
    // The length's label starts at the midpoint (250, 300).
    Move({262, 310});
    EXPECT_EQ(window->state().cursorHint(), kCursorLabel);
    EXPECT_EQ(Picture()->cursor().shape(), Qt::BitmapCursor);
    Move({240, 310});
    EXPECT_EQ(window->state().cursorHint(), kCursorDefault);

    QTest::mousePress(Picture(), Qt::RightButton, {}, {262, 310});
    QTest::mouseMove(Picture(), {292, 290});
    QTest::mouseRelease(Picture(), Qt::RightButton, {}, {292, 290});
    const MEASURE* length = window->state().measure().interaction().chain().First();
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length->labelOffset[0], (LabelOffset{30, -20}));
    EXPECT_EQ(Rows().value(0), "0|Length|25.000|mm");
}

TEST_F(MeasureWiringTest, CalibDialogEditsTheRectangleAndOkRescalesTheRows)
{
    Start();
    MeasureLength();
    Press(ctl::kLine);
    CalibrationController& calibration = window->calibration();
    QCursor::setPos(700, 500);
    Press(ctl::kCalib);
    CCalibrationSet* dialog = calibration.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pos(), QCursor::pos() - QPoint(300, 150));
    Press(ctl::kCalib);
    EXPECT_EQ(calibration.dialog(), dialog);

    // The rectangle (0, 0)-(200, 200) and its centre lines are drawn.
    EXPECT_EQ(PixelAt({50, 100}), kLineColour);
    EXPECT_EQ(PixelAt({100, 150}), kLineColour);
    // The right mark dragged 30 pixels out: 60 pixels wider about the centre.
    QTest::mousePress(Picture(), Qt::RightButton, {}, {195, 100});
    QTest::mouseMove(Picture(), {225, 100});
    QTest::mouseRelease(Picture(), Qt::RightButton, {}, {225, 100});
    EXPECT_EQ(dialog->infoEdit()->text(), "X = 0.038462, Y = 0.050000 [mm/pix]");
    // Not used before OK.
    EXPECT_EQ(Rows().value(0), "0|Length|25.000|mm");

    dialog->nameEdit()->setText("Lens B");
    dialog->findChild<QPushButton*>("1")->click();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(calibration.dialog(), nullptr);
    EXPECT_EQ(window->controls().calibrationList()->itemText(0), "Lens B");
    // 300 x 400 pixels at 10/260 and 10/200 mm a pixel.
    EXPECT_EQ(Rows().value(0), "0|Length|23.090|mm");
    EXPECT_NE(PixelAt({50, 100}), kLineColour);

    // A new dialog can be opened once the old one closed.
    Press(ctl::kCalib);
    ASSERT_NE(calibration.dialog(), nullptr);
    calibration.dialog()->reject();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(calibration.dialog(), nullptr);

    // The calibrations are kept at exit.
    window->QuitConfirmed();
    std::ifstream saved(temp.path() / "config" / "QMC" / "Orvane.ini");
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("name_0=Lens B"), std::string::npos);
    EXPECT_NE(text.find("right_0=230.000000"), std::string::npos);
}

} // namespace
} // namespace orvane
