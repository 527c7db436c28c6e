#include "app/qt/QtFileDialogs.h"

#include <filesystem>
#include <functional>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include "../core/AppTestSupport.h"

namespace orvane {
namespace {

using test::AppTempFolder;

// Once the dialog is up: `act` on it, then accept it (or reject when told).
void AnswerNextDialog(const std::function<void(QFileDialog&)>& act, bool accept = true)
{
    QTimer::singleShot(0, [act, accept] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (accept) {
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which checks the name
        } else {
            dialog->reject();
        }
    });
}

class QtFileDialogsTest : public ::testing::Test {
protected:
    FileDialogRequest ImageRequest() const
    {
        FileDialogRequest request;
        request.title = "Save as";
        request.initialPath = QString::fromStdString((temp.path() / "20220105140309").string());
        request.filters = QStringList{"Bitmap File(*.bmp)", "Jpeg File(high)(*.jpg)", "Jpeg File(medium)(*.jpg)",
                                      "Jpeg File(low)(*.jpg)"};
        request.filterIndex = 3;
        request.defaultExtension = "bmp";
        return request;
    }

    AppTempFolder temp;
    QtFileDialogs dialogs;
};

TEST_F(QtFileDialogsTest, SaveStartsOnTheRequestAndAnswersPathAndEntry)
{
    QString shownFilter;
    QString shownDirectory;
    AnswerNextDialog([&](QFileDialog& dialog) {
        shownFilter = dialog.selectedNameFilter();
        shownDirectory = dialog.directory().absolutePath();
        EXPECT_EQ(dialog.windowTitle(), "Save as");
        dialog.selectNameFilter("Jpeg File(low)(*.jpg)");
    });
    const std::optional<FileDialogAnswer> answer = dialogs.SaveFile(nullptr, ImageRequest());
    EXPECT_EQ(shownFilter, "Jpeg File(medium)(*.jpg)");
    EXPECT_EQ(std::filesystem::path(shownDirectory.toStdString()), temp.path());
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->filterIndex, 4);
    EXPECT_EQ(std::filesystem::path(answer->path.toStdString()).parent_path(), temp.path());
    EXPECT_EQ(std::filesystem::path(answer->path.toStdString()).stem(), "20220105140309");
}

TEST_F(QtFileDialogsTest, CancelAnswersNothing)
{
    AnswerNextDialog([](QFileDialog&) {}, false);
    EXPECT_FALSE(dialogs.SaveFile(nullptr, ImageRequest()).has_value());
}

} // namespace
} // namespace orvane
