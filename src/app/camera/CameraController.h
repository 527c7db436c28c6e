#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

namespace orvane {

class ICameraControl;
class ICaptureSource;
class LiveCamera;
class MeasureDlgState;

// The camera's part of the main window: SET (1132) opens the "Device setting"
// dialog while the picture is frozen, and while it is live the maker camera's
// "Image setting" or any other device's own settings page; SET waits while a
// maker camera's saved settings are not applied yet. A camera with several
// setting profiles asks through "Select camera".
//
// UI thread only.
class CameraController : public QObject {
    Q_OBJECT

public:
    CameraController(QWidget& window, MeasureDlgState& state, ICaptureSource& capture, QAbstractButton& setButton);
    ~CameraController() override;
    CameraController(const CameraController&) = delete;
    CameraController& operator=(const CameraController&) = delete;

    void OnSet();
    // SET is enabled unless a maker camera's saved settings wait to be applied.
    void RefreshSetButton();

private:
    void OpenDeviceDialog();
    void OpenSourcePage();
    void OpenImageSettings(ICameraControl& control);

    QWidget& m_window;
    MeasureDlgState& m_state;
    QAbstractButton& m_setButton;
    LiveCamera* m_camera = nullptr; // null when the window runs on another source (tests)
};

} // namespace orvane
