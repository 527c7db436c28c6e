#pragma once

#include <QDialog>
#include <QPoint>

#include "measure/Calibration.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orvane {

// "Calibration value" (dialog 139), modeless: the name (edit 1119), the real
// width and height of the calibration rectangle (edits 1121, 1122), their unit
// (combo box 1123) and the resulting units per pixel (read-only edit 1140);
// "Auto" (1230, always disabled), "Reset" (1231), OK (1) and CANCEL (2).
//
// The dialog edits the selected calibration record in place; the main window
// owns the record and keeps it alive while the dialog exists. While it is
// open the main window draws and edits the calibration rectangle and frame
// (CalibrationRectEdit) and calls UpdateInfo after every resize. On OK or
// cancel the dialog emits closed(1) or closed(2), then closes and deletes
// itself; the main window answers with the calibration choice and a repaint.
//
// UI thread only.
class CCalibrationSet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCodeOk = 1;
    static constexpr int kCodeCancel = 2;

    // `calibrationList` is the main window's calibration list (1125) whose
    // entry at the record's index is renamed on OK; it may be null.
    CCalibrationSet(CALIBRATION& record, QComboBox* calibrationList, QWidget* parent);

    // Shows the dialog with its top-left corner 300 pixels left of and 150
    // pixels above `pointer` (global coordinates).
    void ShowNear(QPoint pointer);

    // Edit 1140 from the X and Y edits, the unit choice and the record's
    // current rectangle. Nothing is stored.
    void UpdateInfo();

    // "Reset": 10 x 10 mm over (0, 0)-(200, 200), stored at once; it stays
    // even when the dialog is then cancelled.
    void OnReset();

    // OK: name, lengths, unit and (for sides of non-zero length) units per
    // pixel are stored and the list entry is renamed; closed(1).
    void accept() override;
    // CANCEL, Escape or the close box: closed(2); units per pixel stay as
    // they were even when the rectangle was changed.
    void reject() override;

    [[nodiscard]] QLineEdit* nameEdit() const { return m_name; }
    [[nodiscard]] QLineEdit* xEdit() const { return m_x; }
    [[nodiscard]] QLineEdit* yEdit() const { return m_y; }
    [[nodiscard]] QComboBox* unitList() const { return m_unit; }
    [[nodiscard]] QLineEdit* infoEdit() const { return m_info; }

signals:
    // The dialog is closing: 1 after OK, 2 after cancel.
    void closed(int code);
    // The record's rectangle changed ("Reset"): the picture is to be repainted.
    void repaintRequested();

private:
    void Finish(int code);

    CALIBRATION* m_record;
    QComboBox* m_calibrationList;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QComboBox* m_unit = nullptr;
    QLineEdit* m_info = nullptr;
    QPushButton* m_auto = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_finished = false;
};

} // namespace orvane
