#pragma once

#include <filesystem>
#include <memory>

#include <QWidget>

#include "app/look/DpiScale.h"
#include "app/look/UiCursors.h"
#include "app/look/UiPictures.h"
#include "app/core/MeasureDlgState.h"
#include "platform/StringTable.h"

class QTimer;

namespace orvane {

class CalibrationController;
class DisplayAidsController;
class FileCommands;
class CInitCameraDlg;
class FocusController;
class MagnetController;
class ICaptureSource;
class IMessageBoxes;
class MainWindowControls;
class MeasureController;
class ThumbnailController;
class PicturePanning;

// The main window. It owns the window's state (MeasureDlgState, plain C++)
// and maps Qt's events to it: the two timers, the keys, the zoom list and
// wheel, LIVE, the corner buttons, resizing, the first show and the quit.
// Measuring, calibration and the file commands have helpers of their own
// (MeasureController, CalibrationController, FileCommands).
// It stays hidden behind the "Search camera ..." dialog until a camera goes
// live or the dialog releases it.
class CMeasureDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTickMilliseconds = 100;
    static constexpr int kCameraRetryMilliseconds = 300;

    CMeasureDlg(ICaptureSource& capture, const PathRoots& roots, Language language, IMessageBoxes& boxes,
                QWidget* parent = nullptr);
    ~CMeasureDlg() override;

    // The initialisation sequence: settings, tools, lists, first attempt to go
    // live, timers. With `picture` (that can be read) the window shows at
    // once, frozen on it; otherwise it shows when a camera is live, and the
    // search dialog opens while none is.
    void Initialise(const std::filesystem::path& picture = {});

    // Quit without asking (a signal asked for it, or the search was given up):
    // shut down, save the settings, close.
    void QuitConfirmed();

    // Handlers, public so that tests drive them without waiting.
    void OnTickTimer();
    void OnCameraRetryTimer();
    void OnLive();
    void OnInstantSave();
    void OnRightCorner();
    void OnBottomCorner();
    // The wheel at `cursor` (client coordinates): zoom one step around it.
    void OnMouseWheel(int delta, QPoint cursor);

    [[nodiscard]] MeasureDlgState& state() { return m_state; }
    [[nodiscard]] MainWindowControls& controls() { return *m_controls; }
    [[nodiscard]] CalibrationController& calibration() { return *m_calibration; }
    [[nodiscard]] FileCommands& files() { return *m_files; }
    [[nodiscard]] ThumbnailController& thumbnails() { return *m_thumbnails; }
    [[nodiscard]] DisplayAidsController& displayAids() { return *m_displayAids; }
    [[nodiscard]] MagnetController& magnet() { return *m_magnet; }
    [[nodiscard]] FocusController& focus() { return *m_focus; }
    [[nodiscard]] CInitCameraDlg* searchDialog() const { return m_search; }
    [[nodiscard]] QTimer* tickTimer() const { return m_tickTimer; }
    [[nodiscard]] QTimer* cameraRetryTimer() const { return m_retryTimer; }
    [[nodiscard]] bool hasShutDown() const { return m_shutDown; }

signals:
    // The window closed for good; the program ends.
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectControls();
    void Relayout();
    void ShowMainWindow();
    void SyncZoomList();
    // The picture area repaints from the view as it is now.
    void RepaintPicture();
    // LIVE and TYPE faces and the green lamps from the state.
    void UpdateButtonStates();
    bool AskQuit();
    void Shutdown();
    void RestorePlacement();
    // The window frame's width on each side (assumed before it is known).
    [[nodiscard]] QMargins FrameMargins() const;
    [[nodiscard]] WindowPlacementSettings CurrentPlacement() const;

    Language m_language;
    IMessageBoxes& m_boxes;
    MeasureDlgState m_state;
    UiPictures m_pictures;
    UiCursors m_cursors;
    DpiScale m_dpi;
    std::unique_ptr<MainWindowControls> m_controls;
    // Declared after the state and the controls, so that they go first.
    std::unique_ptr<MeasureController> m_measure;
    std::unique_ptr<CalibrationController> m_calibration;
    std::unique_ptr<DisplayAidsController> m_displayAids;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<ThumbnailController> m_thumbnails;
    PicturePanning* m_panning = nullptr;
    std::unique_ptr<MagnetController> m_magnet;
    std::unique_ptr<FocusController> m_focus;
    CInitCameraDlg* m_search = nullptr;
    QTimer* m_tickTimer = nullptr;
    QTimer* m_retryTimer = nullptr;
    QRect m_initialGeometry;
    bool m_everShown = false;
    bool m_quitConfirmed = false;
    bool m_shutDown = false;
};

} // namespace orvane
