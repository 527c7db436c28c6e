#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

namespace orvane {

class ICaptureSource;
class LiveCamera;
class MeasureDlgState;

// The camera's part of the main window: SET (1132) opens the "Device setting"
// dialog while the picture is frozen and the device's own settings page while
// it is live; a camera with several setting profiles asks through "Select
// camera".
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

private:
    void OpenDeviceDialog();
    void OpenSourcePage();

    QWidget& m_window;
    MeasureDlgState& m_state;
    LiveCamera* m_camera = nullptr; // null when the window runs on another source (tests)
};

} // namespace orvane
