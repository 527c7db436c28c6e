#pragma once

#include <QObject>
#include <QPointer>

#include "app/measure/CCalibrationSet.h"

class QAbstractButton;
class QComboBox;
class QWidget;

namespace orvane {

class MeasureSession;

// The calibration controls of the main window: the choice in the
// calibration list (1125) and the button "CALIB" (1124) with its modeless
// dialog. While the dialog is open the session draws and edits the
// calibration rectangle; when it closes it posts its result (1 OK, 2 cancel)
// to this object, which then applies the list's choice again.
//
// The window and the session must outlive the controller. UI thread only.
class CalibrationController : public QObject {
    Q_OBJECT

public:
    CalibrationController(QWidget& window, MeasureSession& session, QComboBox& list, QAbstractButton& calibButton);
    ~CalibrationController() override;

    // CALIB: opens the dialog on the chosen calibration, its top-left corner
    // 300 pixels left of and 150 pixels above the pointer; nothing while it
    // is open already.
    void OnCalibButton();
    // A choice in the list (also the one in place when the dialog closed).
    void OnCalibrationSelected(int index);

    // The open dialog, null when there is none.
    [[nodiscard]] CCalibrationSet* dialog() const { return m_dialog; }

protected:
    bool event(QEvent* event) override;

private:
    QWidget& m_window;
    MeasureSession& m_session;
    QComboBox& m_list;
    QPointer<CCalibrationSet> m_dialog;
};

} // namespace orvane
