#include "app/measure/CCalibrationSet.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "measure/CCalibChain.h"
#include "measure/Measure.h"
#include "platform/ProfileFile.h"
#include "settings/CalibrationSettings.h"

namespace orvane {
namespace {

class CCalibrationSetTest : public testing::Test {
protected:
    void SetUp() override
    {
        AddDefaultCalibrations(chain);
        for (const CALIBRATION* entry = chain.First(); entry != nullptr; entry = entry->next) {
            list.addItem(QString::fromStdString(entry->name));
        }
        list.setCurrentIndex(3);
        record = chain.RectAt(3);
        dialog = new CCalibrationSet(*record, &list, nullptr);
    }

    void TearDown() override
    {
        delete dialog.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class Widget> Widget* Control(int id) const { return dialog->findChild<Widget*>(QString::number(id)); }

    bool DialogIsGone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }

    CCalibChain chain;
    QComboBox list;
    CALIBRATION* record = nullptr;
    QPointer<CCalibrationSet> dialog;
};

TEST_F(CCalibrationSetTest, OpensOnTheRecordWithItsInformation)
{
    EXPECT_EQ(dialog->windowTitle(), "Calibration value");
    EXPECT_EQ(Control<QLineEdit>(1119)->text(), "Data4");
    EXPECT_EQ(Control<QLineEdit>(1121)->text(), "10");
    EXPECT_EQ(Control<QLineEdit>(1122)->text(), "10");
    EXPECT_EQ(Control<QComboBox>(1123)->currentText(), "mm");
    EXPECT_EQ(Control<QComboBox>(1123)->count(), 3);
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.050000, Y = 0.050000 [mm/pix]");
    EXPECT_TRUE(Control<QLineEdit>(1140)->isReadOnly());
    EXPECT_FALSE(Control<QPushButton>(1230)->isEnabled());
    for (int id : {1231, 1, 2}) {
        EXPECT_NE(Control<QPushButton>(id), nullptr) << id;
    }
}

TEST_F(CCalibrationSetTest, InformationFollowsEveryEditButStoresNothing)
{
    Control<QLineEdit>(1121)->setText("5");
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.025000, Y = 0.050000 [mm/pix]");
    Control<QLineEdit>(1122)->setText("0.5 um");
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.025000, Y = 0.002500 [mm/pix]");
    Control<QComboBox>(1123)->setCurrentIndex(2);
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.025000, Y = 0.002500 [um/pix]");
    Control<QLineEdit>(1121)->setText("ten");
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.000000, Y = 0.002500 [um/pix]");

    // A drag of the rectangle on the picture: the main window asks for new values.
    record->right = 100.0;
    Control<QLineEdit>(1121)->setText("5");
    dialog->UpdateInfo();
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.050000, Y = 0.002500 [um/pix]");

    EXPECT_EQ(record->length, (PointD{10.0, 10.0}));
    EXPECT_EQ(record->unit, kUnitMm);
    EXPECT_EQ(record->mpp, (PointD{0.05, 0.05}));
}

TEST_F(CCalibrationSetTest, ResetThenCancelKeepsTheResetButNotANewScale)
{
    delete dialog.data();
    record->length = PointD{3.0, 1.5};
    record->unit = kUnitCm;
    record->right = 60.0;
    record->bottom = 30.0;
    chain.RecomputeScales(); // 0.05 cm per pixel on both axes
    dialog = new CCalibrationSet(*record, &list, nullptr);
    EXPECT_EQ(Control<QLineEdit>(1121)->text(), "3");
    EXPECT_EQ(Control<QLineEdit>(1122)->text(), "1.5");
    EXPECT_EQ(Control<QComboBox>(1123)->currentText(), "cm");
    QSignalSpy repaints(dialog.data(), &CCalibrationSet::repaintRequested);
    QSignalSpy closed(dialog.data(), &CCalibrationSet::closed);

    Control<QPushButton>(1231)->click();
    EXPECT_EQ(Control<QLineEdit>(1121)->text(), "10");
    EXPECT_EQ(Control<QLineEdit>(1122)->text(), "10");
    EXPECT_EQ(Control<QComboBox>(1123)->currentText(), "mm");
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.050000, Y = 0.050000 [mm/pix]");
    EXPECT_EQ(repaints.count(), 1);

    Control<QPushButton>(2)->click();
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toInt(), CCalibrationSet::kCodeCancel);
    EXPECT_TRUE(DialogIsGone());
    EXPECT_EQ(record->length, (PointD{10.0, 10.0}));
    EXPECT_EQ(record->unit, kUnitMm);
    EXPECT_EQ(record->right, 200.0);
    EXPECT_EQ(record->bottom, 200.0);
    EXPECT_EQ(record->mpp, (PointD{0.05, 0.05})); // still 0.05 cm, as before the reset
    EXPECT_EQ(list.itemText(3), "Data4");
}

TEST_F(CCalibrationSetTest, OkRenamesTheListEntryAndStoresTheScale)
{
    QSignalSpy closed(dialog.data(), &CCalibrationSet::closed);
    QSignalSpy listChanges(&list, &QComboBox::currentIndexChanged);
    record->right = 100.0;
    Control<QLineEdit>(1119)->setText("Lens B");
    Control<QLineEdit>(1121)->setText("2");
    Control<QComboBox>(1123)->setCurrentIndex(2);

    Control<QPushButton>(1)->click();

    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toInt(), CCalibrationSet::kCodeOk);
    EXPECT_TRUE(DialogIsGone());
    EXPECT_EQ(list.count(), 20);
    EXPECT_EQ(list.itemText(3), "Lens B");
    EXPECT_EQ(list.currentIndex(), 3);
    EXPECT_EQ(listChanges.count(), 0);
    EXPECT_EQ(record->name, "Lens B");
    EXPECT_EQ(record->length, (PointD{2.0, 10.0}));
    EXPECT_EQ(record->unit, kUnitUm);
    EXPECT_DOUBLE_EQ(record->mpp.x, 0.02);
    EXPECT_DOUBLE_EQ(record->mpp.y, 0.05);

    ProfileFile profile;
    SaveCalibrationSection(profile, chain);
    EXPECT_EQ(profile.GetString("CALIBRATION", "name_3", "", 256), "Lens B");
    EXPECT_EQ(profile.GetString("CALIBRATION", "name_2", "", 256), "Data3");
}

TEST_F(CCalibrationSetTest, ClosingTheWindowCancelsOnce)
{
    QSignalSpy closed(dialog.data(), &CCalibrationSet::closed);
    dialog->show();
    dialog->close();
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).toInt(), CCalibrationSet::kCodeCancel);
    EXPECT_TRUE(DialogIsGone());
}

TEST_F(CCalibrationSetTest, AnUnknownUnitIsKeptOnOk)
{
    delete dialog.data();
    record->unit = 7;
    dialog = new CCalibrationSet(*record, &list, nullptr);
    EXPECT_EQ(Control<QComboBox>(1123)->currentIndex(), -1);
    EXPECT_EQ(Control<QLineEdit>(1140)->text(), "X = 0.050000, Y = 0.050000 [/pix]");
    dialog->accept();
    EXPECT_EQ(record->unit, 7);
}

TEST_F(CCalibrationSetTest, OpensUpAndLeftOfThePointer)
{
    dialog->ShowNear(QPoint(700, 500));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->pos(), QPoint(400, 350));
}

} // namespace
} // namespace orvane
