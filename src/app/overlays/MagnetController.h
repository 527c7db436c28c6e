#pragma once

#include <QObject>

#include "platform/StringTable.h"

class QCheckBox;
class QWidget;

namespace orvane {

class CMagnetDlg;
class MainWindowControls;
class MeasureDlgState;

// The magnet in the main window: check box 1233 switches it, a right click on
// button 1236 opens "Magnet setting" (made on the first request 200 pixels
// left of and 100 above the pointer, later only shown), a double click on the
// picture and every change in the dialog rebuild the edge image from the
// picture shown, and the picture repaints.
//
// The window, its state and its controls outlive the controller. UI thread only.
class MagnetController : public QObject {
    Q_OBJECT

public:
    MagnetController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls, Language language);

    // Right click on 1236.
    void OnMagnetSettings();
    [[nodiscard]] CMagnetDlg* dialog() const { return m_dialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SettingsChanged();

    QWidget& m_window;
    MeasureDlgState& m_state;
    MainWindowControls& m_controls;
    Language m_language;
    CMagnetDlg* m_dialog = nullptr;
};

} // namespace orvane
