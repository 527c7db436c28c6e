#include "app/window/FileCommands.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/window/CMeasureDlg.h"
#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/thumbnails/ThumbnailController.h"
#include "app/thumbnails/ThumbnailScanner.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvane {
namespace {

using test::AppTempFolder;
using test::FakeCapture;
using test::FakeFileDialogs;
using test::FakeMessageBoxes;

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// The window's file commands with scripted dialogs. The picture is the white
// 1280 x 1024 start picture at x1, so picture pixels are image pixels.
class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<CMeasureDlg>(camera, roots, Language::English, boxes);
        window->Initialise();
        window->searchDialog()->startButton()->click();
        window->OnCameraRetryTimer();
        // The offscreen screen is small; the clicks here assume the first window of a large one.
        window->resize(1100, 860);
        window->files().SetDialogs(dialogs);
        std::filesystem::create_directories(out);
    }

    CPictureButton* Button(int id) const { return window->controls().button(id); }
    void Press(int id) const { QTest::mouseClick(Button(id), Qt::LeftButton); }
    void Click(QPoint at) const { QTest::mouseClick(window->controls().picture(), Qt::LeftButton, {}, at); }

    // LINE from (100, 100) to (400, 500): 25 mm at 306.9 degrees.
    void MeasureLength() const
    {
        Press(ctl::kLine);
        Click({100, 100});
        Click({400, 500});
        Press(ctl::kLine);
    }
    void MeasureSecond() const
    {
        Press(ctl::kLine);
        Click({600, 100});
        Click({600, 300});
        Press(ctl::kLine);
    }

    QStringList Rows() const
    {
        const QAbstractItemModel* list = window->controls().resultList()->model();
        QStringList rows;
        for (int row = 0; row < list->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column) {
                cells << list->index(row, column).data().toString();
            }
            rows << cells.join('|');
        }
        return rows;
    }

    void SaveResultsAs(const std::filesystem::path& path, int filter)
    {
        dialogs.saveAnswers.push_back(FileDialogAnswer{Q(path), filter});
        Press(ctl::kCsv);
    }
    void LoadResults(const std::filesystem::path& path)
    {
        dialogs.openAnswers.push_back(FileDialogAnswer{Q(path), 1});
        Press(ctl::kClear);
    }

    // The only file of the image folder named by the time stamp with `extension`.
    std::filesystem::path TimeStampFile(const std::string& extension) const
    {
        std::filesystem::path found;
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(window->state().settings().savedir)) {
            if (entry.path().extension() == extension && entry.path().stem().string().size() == 14) {
                found = entry.path();
                ++count;
            }
        }
        EXPECT_EQ(count, 1);
        return found;
    }

    COLORREF SavedPixel(const std::filesystem::path& path, QPoint at) const
    {
        FrameImage image;
        EXPECT_TRUE(image.LoadBmpFile(path));
        if (image.isEmpty()) {
            return 0xFFFFFFFF;
        }
        const std::uint8_t* pixel = image.Row(at.y()) + static_cast<std::ptrdiff_t>(at.x()) * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }

    AppTempFolder temp;
    PathRoots roots = temp.Roots();
    FakeCapture camera;
    FakeMessageBoxes boxes;
    FakeFileDialogs dialogs;
    std::unique_ptr<CMeasureDlg> window;
    std::filesystem::path out = temp.path() / "out";
};

constexpr char kHeader[] = "No.,Type,Result,Unit\r\n";
constexpr char kLengthRows[] = "0,Length,25.000,mm\r\n1,Angle,306.9,degree\r\n";

TEST_F(FileCommandsTest, CsvSaveWritesTheListAndAppendsOnASecondSave)
{
    const std::string resultsFolder = window->state().settings().savedir2;
    MeasureLength();
    SaveResultsAs(out / "r.csv", 1);

    ASSERT_EQ(dialogs.saveRequests.size(), 1U);
    const FileDialogRequest& asked = dialogs.saveRequests[0];
    EXPECT_EQ(asked.title, "Save as");
    EXPECT_EQ(asked.filters, (QStringList{"CSV File(*.csv)", "Data File(*.mes)"}));
    EXPECT_EQ(asked.defaultExtension, "csv");
    const std::filesystem::path initial = asked.initialPath.toStdString();
    EXPECT_EQ(initial.parent_path().string(), resultsFolder);
    EXPECT_EQ(initial.extension(), ".csv");
    EXPECT_EQ(initial.stem().string().size(), 14U);

    EXPECT_EQ(ReadAll(out / "r.csv"), std::string(kHeader) + kLengthRows);
    EXPECT_EQ(window->state().settings().savedir2, out.string());

    SaveResultsAs(out / "r.csv", 1);
    EXPECT_EQ(ReadAll(out / "r.csv"), std::string(kHeader) + kLengthRows + kHeader + kLengthRows);
    EXPECT_EQ(Q(out / "r.csv").left(Q(out).size()), dialogs.saveRequests[1].initialPath.left(Q(out).size()));

    // A cancelled dialog writes nothing and keeps the folder.
    Press(ctl::kCsv);
    EXPECT_EQ(ReadAll(out / "r.csv").size(), 2 * (std::string(kHeader) + kLengthRows).size());
}

TEST_F(FileCommandsTest, ResultsFileTypeReplacesTheTypedExtensionAndLoadsBack)
{
    MeasureLength();
    SaveResultsAs(out / "a.csv", 2);
    EXPECT_FALSE(std::filesystem::exists(out / "a.csv"));
    ASSERT_TRUE(std::filesystem::exists(out / "a.mes"));

    MeasureSecond();
    ASSERT_EQ(Rows().size(), 4);
    window->state().settings().savedir2.clear();
    // The second length was never saved: asked first, "No" keeps it.
    LoadResults(out / "a.mes");
    EXPECT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(dialogs.openRequests.empty());
    EXPECT_EQ(Rows().size(), 4);

    boxes.answer = true;
    dialogs.openAnswers.clear();
    LoadResults(out / "a.mes");
    EXPECT_EQ(boxes.questions.size(), 2);
    ASSERT_EQ(dialogs.openRequests.size(), 1U);
    EXPECT_EQ(dialogs.openRequests[0].title, "Open file");
    EXPECT_EQ(dialogs.openRequests[0].filters, QStringList{"Data File(*.mes)"});
    EXPECT_EQ(std::filesystem::path(dialogs.openRequests[0].initialPath.toStdString()).filename(), "MES File");
    EXPECT_EQ(Rows(), (QStringList{"0|Length|25.000|mm", "1|Angle|306.9|degree"}));
    EXPECT_EQ(window->state().measure().interaction().chain().Count(), 1);
    EXPECT_EQ(window->state().settings().savedir2, out.string());
    EXPECT_TRUE(boxes.notices.isEmpty());
    // Nothing changed since the load: no question.
    LoadResults(out / "a.mes");
    EXPECT_EQ(boxes.questions.size(), 2);
}

TEST_F(FileCommandsTest, DamagedResultsFileLoadsItsCompleteRecordsAndSaysHowManyWereLost)
{
    MeasureLength();
    MeasureSecond();
    SaveResultsAs(out / "two.mes", 2);
    const std::uintmax_t size = std::filesystem::file_size(out / "two.mes");
    std::filesystem::resize_file(out / "two.mes", size - 8);

    LoadResults(out / "two.mes");
    EXPECT_EQ(Rows(), (QStringList{"0|Length|25.000|mm", "1|Angle|306.9|degree"}));
    ASSERT_EQ(boxes.notices.size(), 1);
    EXPECT_TRUE(boxes.notices[0].contains("1 measurements were loaded, 1 could not be read"))
        << boxes.notices[0].toStdString();
}

TEST_F(FileCommandsTest, FilesThatGiveNoMeasurementKeepTheListAndSaySo)
{
    MeasureLength();
    SaveResultsAs(out / "kept.mes", 2);
    std::ofstream(out / "bad.mes", std::ios::binary) << "_MEX1000" << std::string(4, '\0');
    std::ofstream(out / "empty.mes", std::ios::binary) << "_MES1000" << std::string(4, '\0');
    for (const char* name : {"bad.mes", "empty.mes", "gone.mes"}) {
        boxes.notices.clear();
        LoadResults(out / name);
        EXPECT_EQ(Rows(), (QStringList{"0|Length|25.000|mm", "1|Angle|306.9|degree"})) << name;
        ASSERT_EQ(boxes.notices.size(), 1) << name;
        EXPECT_TRUE(boxes.notices[0].contains(Q(out / name))) << name;
    }
    EXPECT_EQ(window->state().settings().savedir2, out.string());
    EXPECT_TRUE(boxes.questions.isEmpty());
}

TEST_F(FileCommandsTest, FailedSavesNameTheFileAndTheReason)
{
    const std::filesystem::path missing = out / "missing";
    MeasureLength();
    struct Case {
        const char* what;
        std::function<void()> save;
        std::filesystem::path file;
    };
    const std::vector<Case> cases{
        {"csv", [&] { SaveResultsAs(missing / "r.csv", 1); }, missing / "r.csv"},
        {"results", [&] { SaveResultsAs(missing / "r.mes", 2); }, missing / "r.mes"},
        {"picture",
         [&] {
             dialogs.saveAnswers.push_back(FileDialogAnswer{Q(missing / "p.bmp"), 1});
             Press(ctl::kSave);
         },
         missing / "p.bmp"},
        {"quick save",
         [&] {
             window->state().settings().savedir = missing.string();
             QTest::mouseClick(Button(ctl::kSave), Qt::RightButton);
         },
         missing},
        {"F12",
         [&] {
             window->state().settings().savedir = missing.string();
             window->OnInstantSave();
         },
         missing},
    };
    for (const Case& c : cases) {
        boxes.notices.clear();
        c.save();
        ASSERT_EQ(boxes.notices.size(), 1) << c.what;
        EXPECT_TRUE(boxes.notices[0].contains(Q(c.file))) << c.what << ": " << boxes.notices[0].toStdString();
        EXPECT_TRUE(boxes.notices[0].contains("No such file or directory")) << c.what;
        EXPECT_TRUE(window->controls().picture()->noteText().isEmpty()) << c.what;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    // An empty list has nothing to save, and says so.
    boxes.answer = true;
    Press(ctl::kDelete);
    boxes.notices.clear();
    SaveResultsAs(out / "none.mes", 2);
    ASSERT_EQ(boxes.notices.size(), 1);
    EXPECT_EQ(boxes.notices[0], "There are no measurements to save.");
}

TEST_F(FileCommandsTest, SavesWithoutADialogShowWhereThePictureWent)
{
    window->state().settings().m_FilterIndex = 2;
    window->OnInstantSave();
    const std::filesystem::path saved = TimeStampFile(".jpg");
    EXPECT_EQ(window->controls().picture()->noteText(), "Saved " + Q(saved.filename()));
    EXPECT_TRUE(boxes.notices.isEmpty());
}

TEST_F(FileCommandsTest, RightClickOnSaveWritesATimeStampFileOfTheSaveType)
{
    window->state().settings().m_FilterIndex = 2;
    QTest::mouseClick(Button(ctl::kSave), Qt::RightButton);
    EXPECT_TRUE(dialogs.saveRequests.empty());
    const std::filesystem::path saved = TimeStampFile(".jpg");
    ASSERT_FALSE(saved.empty());
    const std::string bytes = ReadAll(saved);
    ASSERT_GE(bytes.size(), 2U);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    EXPECT_TRUE(window->state().thumbnails().Holds(saved.string()));
}

TEST_F(FileCommandsTest, TypeBurnsTheMeasuredLineIntoSavedPictures)
{
    constexpr QPoint kOnTheLine{175, 200};
    MeasureLength();
    const std::filesystem::path plain = out / "plain.bmp";
    dialogs.saveAnswers.push_back(FileDialogAnswer{Q(plain), 1});
    Press(ctl::kSave);
    EXPECT_EQ(SavedPixel(plain, kOnTheLine), RGB(255, 255, 255));

    Press(ctl::kType);
    EXPECT_TRUE(window->state().burnIn());
    EXPECT_TRUE(Button(ctl::kType)->alternative());
    const std::filesystem::path burnt = out / "burnt.bmp";
    dialogs.saveAnswers.push_back(FileDialogAnswer{Q(burnt), 1});
    Press(ctl::kSave);
    EXPECT_EQ(SavedPixel(burnt, kOnTheLine), RGB(0, 255, 0));
    EXPECT_EQ(SavedPixel(burnt, {175, 300}), RGB(255, 255, 255));

    // F12 burns in as well.
    QTest::keyClick(window->controls().resultList(), Qt::Key_F12);
    EXPECT_EQ(SavedPixel(TimeStampFile(".bmp"), kOnTheLine), RGB(0, 255, 0));

    Press(ctl::kType);
    EXPECT_FALSE(window->state().burnIn());
    EXPECT_FALSE(Button(ctl::kType)->alternative());
}

TEST_F(FileCommandsTest, SaveDialogTakesTheTypeAndTheFolder)
{
    Press(ctl::kSave); // cancelled
    ASSERT_EQ(dialogs.saveRequests.size(), 1U);
    const FileDialogRequest& asked = dialogs.saveRequests[0];
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.defaultExtension, "bmp");
    ASSERT_EQ(asked.filters.size(), 4);
    EXPECT_EQ(asked.filters[2], "Jpeg File(medium)(*.jpg)");
    EXPECT_EQ(std::filesystem::path(asked.initialPath.toStdString()).parent_path().string(),
              window->state().settings().savedir);
    EXPECT_TRUE(std::filesystem::is_empty(out));

    dialogs.saveAnswers.push_back(FileDialogAnswer{Q(out / "a.bmp"), 4});
    Press(ctl::kSave);
    EXPECT_TRUE(std::filesystem::exists(out / "a.jpg"));
    EXPECT_FALSE(std::filesystem::exists(out / "a.bmp"));
    EXPECT_EQ(window->state().settings().m_FilterIndex, 4);
    EXPECT_EQ(window->state().settings().savedir, out.string());
    EXPECT_EQ(window->state().thumbnails().Count(), 1);

    Press(ctl::kSave);
    EXPECT_EQ(dialogs.saveRequests.back().filterIndex, 4);
}

TEST_F(FileCommandsTest, DirSwitchesTheImageFolderAndItsThumbnails)
{
    const std::filesystem::path first(window->state().settings().savedir);
    QTest::keyClick(window->controls().resultList(), Qt::Key_F12);
    ASSERT_EQ(window->state().thumbnails().Count(), 1);

    FrameImage small;
    ASSERT_TRUE(small.Create(8, 6, 24));
    ASSERT_TRUE(SaveImage(out / "x.bmp", small, 1));
    ASSERT_TRUE(SaveImage(out / "y.jpg", small, 2));
    dialogs.folderAnswers.push_back(Q(out));
    Press(ctl::kDir);
    ASSERT_EQ(dialogs.folderTitles.size(), 1U);
    EXPECT_EQ(dialogs.folderTitles[0], "Select a folder");
    EXPECT_EQ(window->state().settings().savedir, out.string());
    // The folder is scanned in the background.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->thumbnails().scanner().running(); }, 10000));
    EXPECT_EQ(window->state().thumbnails().Count(), 2);
    EXPECT_TRUE(std::filesystem::exists(CThumbNail::IndexPathFor(first)));

    Press(ctl::kDir); // cancelled
    EXPECT_EQ(window->state().settings().savedir, out.string());
}

} // namespace
} // namespace orvane
