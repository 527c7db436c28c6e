#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/look/CPictureButton.h"
#include "app/window/CMeasureApp.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "files/ImageFiles.h"
#include "files/MeasureFile.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeMessageBoxes;

// The program's start with files on its command line, as a desktop's "open
// with" or a double click on a results file starts it.
class StartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One length measured in a first window and saved as results file.
        CMeasureDlg first(camera, roots, Language::English, boxes);
        first.Initialise();
        first.searchDialog()->startButton()->click();
        first.OnCameraRetryTimer();
        CPictureButton* line = first.controls().button(ctl::kLine);
        QTest::mouseClick(line, Qt::LeftButton);
        QTest::mouseClick(first.controls().picture(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseClick(first.controls().picture(), Qt::LeftButton, {}, QPoint(400, 500));
        QTest::mouseClick(line, Qt::LeftButton);
        ASSERT_EQ(SaveMeasureFile(first.state().measure().interaction().chain(), results), 1);

        FrameImage image;
        ASSERT_TRUE(image.Create(640, 480, 24));
        image.Fill(nullptr, RGB(0, 128, 0));
        ASSERT_TRUE(SaveImage(picture, image, 1));
    }

    QStringList Rows() const
    {
        const QAbstractItemModel* list = window->controls().resultList()->model();
        QStringList rows;
        for (int row = 0; row < list->rowCount(); ++row) {
            rows << list->index(row, 1).data().toString() + "|" + list->index(row, 2).data().toString();
        }
        return rows;
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    std::unique_ptr<CMeasureDlg> window;
    std::filesystem::path results = temp.path() / "job.MES";
    std::filesystem::path picture = temp.path() / "stage.bmp";
};

struct StartCase {
    const char* name;
    bool withPicture;
    bool resultsFirst;
};

TEST_F(StartWindowTest, ResultsFileOnTheCommandLineIsLoadedWithOrWithoutAPicture)
{
    const std::vector<StartCase> cases{
        {"results alone", false, false},
        {"picture then results", true, false},
        {"results then picture", true, true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments{results.string()};
        if (c.withPicture) {
            arguments.insert(c.resultsFirst ? arguments.end() : arguments.begin(), picture.string());
        }
        const CommandLine commandLine = ParseCommandLine(arguments);
        ASSERT_EQ(commandLine.action, CommandLine::Action::Run);

        window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
        StartWindow(*window, commandLine);
        EXPECT_EQ(Rows(), (QStringList{"Length|25.000", "Angle|306.9"}));
        EXPECT_EQ(window->isVisible(), c.withPicture);
        EXPECT_EQ(window->state().view().imageWidth(), c.withPicture ? 640 : 1280);
        window->QuitConfirmed();
        window.reset();
    }
}

} // namespace
} // namespace orvane
