#pragma once

#include <map>

#include <QObject>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWidget;

namespace orvane {

class CFocusDlg;
class MainWindowControls;
class MeasureDlgState;

// The focus indicator in the main window: button 1122 starts an area, the
// left button draws it over the picture, and each placed area gets a meter
// window (CFocusDlg) that shows its sharpness on every frame. The right
// button drags the focus line. The areas, their outlines and the line are
// drawn in the view's focus step.
//
// Mouse events reach this controller before the measuring: an event that
// belongs to an area being drawn or to the focus line goes no further.
//
// The window, its state and its controls outlive the controller. UI thread only.
class FocusController : public QObject {
    Q_OBJECT

public:
    FocusController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls);

    // Button 1122.
    void OnStartFocusArea();
    // The meter of each placed area still open, by area index.
    [[nodiscard]] const std::map<int, QPointer<CFocusDlg>>& meters() const { return m_meters; }

signals:
    // The area being drawn started or ended: the lamps are to follow.
    void focusStateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnMouse(const QMouseEvent& event, QPoint client, bool overPicture);
    void CreateMeter(int index);
    void ShowValues();
    void OnScaleChanged(int index, int scaleIndex);
    void Repaint();

    QWidget& m_window;
    MeasureDlgState& m_state;
    MainWindowControls& m_controls;
    std::map<int, QPointer<CFocusDlg>> m_meters;
};

} // namespace orvane
