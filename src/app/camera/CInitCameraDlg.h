#pragma once

#include <functional>

#include <QDialog>

#include "capture/CameraAccess.h"
#include "platform/StringTable.h"

class QProgressBar;
class QPushButton;
class QTimer;

namespace orvane {

class IMessageBoxes;
class InitCameraSearch;

// "Search camera ..." (dialog 159): shown while no camera is live, a progress
// bar (1222) that fills in 30 seconds, and "Start", which shows the main window
// with the white picture. Cancel or the close box ends the program while the
// main window has not been shown. After 30 seconds the operator is told that
// no device was found. Modeless; the logic is InitCameraSearch's.
// When video devices exist but this user may open none of them, the operator
// is told so once, with the remedy, at the first step of a search.
class CInitCameraDlg : public QDialog {
    Q_OBJECT

public:
    CInitCameraDlg(InitCameraSearch& search, Language language, IMessageBoxes& boxes, QWidget* parent);

    // Opens (or opens again) the search: progress 0, the one-second timer
    // running, placed at (screen width / 2 - 190, screen height / 2 - 40), on top.
    void Restart();
    // Closed by the main window when a camera went live.
    void CloseForCamera();

    // The one-second step (tests call it directly).
    void OnStepTimer();

    // How the video devices are looked at (tests give a fake device list).
    void SetCameraAccessCheck(std::function<CameraAccess()> check) { m_checkAccess = std::move(check); }

    [[nodiscard]] QProgressBar* progressBar() const { return m_progress; }
    [[nodiscard]] QPushButton* startButton() const { return m_start; }
    [[nodiscard]] QTimer* stepTimer() const { return m_timer; }

    // Cancel, Escape or the close box.
    void reject() override;

private:
    void OnStart();
    void TellPermissionOnce();

    InitCameraSearch& m_search;
    Language m_language;
    IMessageBoxes& m_boxes;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_start = nullptr;
    QTimer* m_timer = nullptr;
    std::function<CameraAccess()> m_checkAccess = [] { return CheckCameraAccess(SystemVideoNodes()); };
    bool m_permissionTold = false;
};

} // namespace orvane
