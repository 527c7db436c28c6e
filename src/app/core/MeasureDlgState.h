#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "app/core/ICaptureSource.h"
#include "app/core/IThumbnailScanner.h"
#include "app/core/InitCameraSearch.h"
#include "app/core/MeasureSession.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"
#include "image/FrameImage.h"
#include "image/ImageView.h"
#include "measure/CCalibChain.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "settings/CrossLineSettings.h"
#include "settings/OrvaneSettings.h"
#include "tools/FocusIndicator.h"
#include "tools/MagnetEdge.h"

namespace orvane {

// The pictures of the main window: the camera's frame, the frame shown, and
// the two 8-bit work images of the magnet and the focus meters.
struct FrameBuffers {
    FrameImage capture;
    FrameImage display;
    FrameImage work1;
    FrameImage work2;
};

// What the 100 ms tick asks of the window.
struct TickResult {
    bool repaint = false; // invalidate the whole window
    std::string title;
};

// What the 300 ms camera retry asks of the window.
struct RetryResult {
    bool closeSearchDialog = false;
    bool showWindow = false; // show the main window (the view is already set up)
    bool endProgram = false; // the operator gave up the search before the window was shown
};

// The state of the main window and its handlers, free of any window system:
// settings, calibrations, cross lines, thumbnails, the frames, the view, the
// live/frozen state, the start-up show state and the periodic timers. The Qt
// window forwards its events here and shows what the results ask for.
//
// UI thread only.
class MeasureDlgState {
public:
    // The size of the white picture until the settings give the capture size.
    static constexpr int kInitialWidth = 640;
    static constexpr int kInitialHeight = 480;
    // Frames are dropped when the last tick is older than this (the window is busy).
    static constexpr std::uint32_t kStaleTickMilliseconds = 500;

    // Construction: the defaults of every setting, the 20 default calibrations
    // (names in the current language), the settings path, a white picture.
    MeasureDlgState(ICaptureSource& capture, const PathRoots& roots);
    // The camera's frames stop before the frames they are written into go.
    ~MeasureDlgState();
    MeasureDlgState(const MeasureDlgState&) = delete;
    MeasureDlgState& operator=(const MeasureDlgState&) = delete;

    // Initialisation up to and including the first attempt to go live: moves
    // an old settings file kept beside the program, LoadSettings, the
    // calibration scales, BeginLive. True when a camera went live.
    bool Initialise();

    // Reads the settings file: the product section, the zoom and pan, the
    // calibrations, the cross lines, the default folders (created) and the
    // thumbnails of the image folder (index file, then a folder scan).
    void LoadSettings();
    // Writes the whole key set, the calibrations and the cross lines to the
    // settings file, then the thumbnail index of the image folder. True when
    // the settings file was written.
    bool SaveSettings(const WindowPlacementSettings& placement);

    // Starts the camera; when it does not go live, a white picture of the
    // capture size ("width" x "height") is shown.
    bool BeginLive();
    void EndLive();

    // Hands the capture source this state and the UI thread's wake-up call.
    void ConnectCapture(std::function<void()> frameReady) { m_capture.Connect(*this, std::move(frameReady)); }
    // A frame has arrived: true when the picture is to be repainted.
    bool OnFrameReady(std::uint32_t now) { return m_capture.OnFrameReady(now); }
    // The display frame holds a new camera frame at `now`: the focus meters
    // measure it and the magnet's edge image follows its rebuild rules.
    void FeedFrameConsumers(std::uint32_t now);
    // Called after the focus areas were measured (the meters repaint).
    void SetFocusValuesChanged(std::function<void()> changed) { m_focusValuesChanged = std::move(changed); }
    // What the picture shows: the display frame, or with the magnet's "Show"
    // the thresholded picture made from it.
    [[nodiscard]] const FrameImage& PictureToShow();
    // The magnet's edge image is made again from the display frame now.
    void RebuildEdgeImage();
    // The camera's frames before it starts: a white capture frame of the
    // camera's size and a white display frame (with the work images and the
    // view following it). False, with nothing changed, when they cannot be had
    // or while the camera is live (its stream writes into the capture frame).
    bool PrepareLiveFrames(int width, int height, int displayWidth, int displayHeight);

    // The 100 ms tick at `now` (TickCount milliseconds).
    TickResult OnTick(std::uint32_t now);
    // True when the last tick is older than 500 ms at `now`: frames arriving
    // then are dropped so that a busy window is not flooded.
    [[nodiscard]] bool TickIsStale(std::uint32_t now) const;

    // The 300 ms camera retry: while neither frozen nor live, try the camera
    // and follow the search dialog's show state.
    RetryResult OnCameraRetry();

    // LIVE and F11: freeze, or go live again. True when the search dialog must
    // be shown again (going live failed); its search is restarted.
    bool OnLive();

    // Opens a picture as opening a thumbnail does: the picture freezes, the
    // file becomes the display frame, the view is set up for its size and the
    // measurement being placed is dropped (the tool stays armed). False, with
    // nothing changed, when the file cannot be read.
    // `info`, when given, says whether the file ended early (what was read shows).
    bool OpenPicture(const std::filesystem::path& path, LoadInfo* info = nullptr);

    // Who fills the thumbnails of a folder; null (the default) scans at once.
    // The scanner must outlive the state or be unset first.
    void SetThumbnailScanner(IThumbnailScanner* scanner) { m_scanner = scanner; }
    // "Open" and a double click on thumbnail `index`: OpenPicture of its
    // file. A file that is gone or cannot be read loses its thumbnail and
    // nothing else changes. The path, empty when there is no such thumbnail.
    struct ThumbnailOpen {
        std::filesystem::path path;
        bool opened = false;
    };
    ThumbnailOpen OpenThumbnail(int index);
    // "Remove" and "Trash box": thumbnail `index`'s file is handed to
    // `disposeFile` (deleted, or moved to the trash) and its record leaves the
    // chain even when that fails. The path, empty when there is no such
    // thumbnail.
    std::filesystem::path DisposeThumbnail(int index,
                                           const std::function<bool(const std::filesystem::path&)>& disposeFile);

    // F12: saves the display frame at once into the image folder under the
    // time-stamp name for the save type, replacing its thumbnail. The path
    // written, empty when nothing was written.
    std::filesystem::path InstantSave(const std::tm& localTime);

    // TYPE: saved images carry the overlays from now on, or no longer.
    void ToggleBurnIn();
    // The picture every save writes, never the screen: a 24-bit copy of the
    // display frame and, with burn-in on, the overlays drawn over it as the
    // view draws them at x1 without pan (finished measurements, scale bar,
    // cross lines, focus display, grid, cross hairs, the measurement being
    // placed). Empty when the display frame cannot be copied.
    [[nodiscard]] FrameImage PictureToSave();
    // Writes `picture` to `path` as save type 1 (BMP) or 2-4 (JPEG), then
    // replaces the path's thumbnails by one of the picture. False, with the
    // thumbnails untouched, when nothing was written.
    bool WriteImageFile(const std::filesystem::path& path, const FrameImage& picture, int saveType);
    // SAVE's dialog answered with `chosen` under entry `filterIndex`: that
    // entry becomes the save type, the chosen file's folder the image folder,
    // and the picture is written (the JPEG types under ".jpg"). The path
    // written, empty when nothing was written.
    std::filesystem::path SaveImageAs(const std::filesystem::path& chosen, int filterIndex, const FrameImage& picture);
    // A new image folder: the old folder's thumbnail index is written, the
    // thumbnails are emptied and those of the new folder read from its index
    // and its images.
    void ChangeImageFolder(const std::string& folder);

    // The corner buttons: flip the panel and ask for a repaint; the window then
    // shows or hides the panel's controls and runs the view layout.
    void ToggleRightPanel();
    void ToggleBottomPanel();

    // Shut-down: the camera stops, then SaveSettings.
    bool Shutdown(const WindowPlacementSettings& placement);

    [[nodiscard]] bool isFrozen() const { return m_isFrozen; }
    [[nodiscard]] bool isLive() const { return m_capture.isLive(); }
    // SET waits while a maker camera's saved image settings are not applied yet.
    [[nodiscard]] bool setButtonEnabled() const { return m_capture.setAvailable(); }
    [[nodiscard]] double fps() const { return m_fps; }
    void SetFps(double fps) { m_fps = fps; }
    [[nodiscard]] std::uint32_t lastTickTime() const { return m_lastTickTime; }
    [[nodiscard]] bool rightPanelShown() const { return m_rightPanelShown; }
    [[nodiscard]] bool bottomPanelShown() const { return m_bottomPanelShown; }
    void RequestRepaint() { m_repaintPending = true; }
    [[nodiscard]] bool repaintPending() const { return m_repaintPending; }
    // The window's cursor: the hint of the set-cursor handler and whether the
    // pointer is hidden over the picture. LIVE shows the default cursor again.
    [[nodiscard]] int cursorHint() const { return m_cursorHint; }
    void SetCursorHint(int hint) { m_cursorHint = hint; }
    [[nodiscard]] bool cursorHidden() const { return m_cursorHidden; }
    void SetCursorHidden(bool hidden) { m_cursorHidden = hidden; }
    // The cursor cross hairs are drawn at the pointer (they stand in for it
    // while the measuring hides the system cursor); LIVE clears them.
    [[nodiscard]] bool crossHairsOn() const { return m_crossHairsOn; }
    void SetCrossHairsOn(bool on) { m_crossHairsOn = on; }
    [[nodiscard]] bool burnIn() const { return m_burnIn; }
    // The measurement tool armed (0 none, 1 LINE ... 6 ANGLE).
    [[nodiscard]] int activeMode() const { return m_measure.interaction().mode(); }
    [[nodiscard]] int focusAreaState() const { return m_focus.drawingState(); }
    [[nodiscard]] int selectedCalibration() const { return m_measure.selectedIndex(); }
    // The calibration list's choice: see MeasureSession::SelectCalibration.
    void SelectCalibration(int index) { m_measure.SelectCalibration(index); }
    [[nodiscard]] int rightReserve() const { return m_rightReserve; }
    [[nodiscard]] int bottomReserve() const { return m_bottomReserve; }
    void SetReserves(int right, int bottom);

    [[nodiscard]] const std::filesystem::path& settingsPath() const { return m_settingsPath; }
    [[nodiscard]] const std::string& dataFolder() const { return m_dataFolder; }
    [[nodiscard]] ProfileFile& profile() { return m_profile; }
    [[nodiscard]] const ProfileFile& profile() const { return m_profile; }
    [[nodiscard]] OrvaneSettings& settings() { return m_settings; }
    [[nodiscard]] const OrvaneSettings& settings() const { return m_settings; }
    [[nodiscard]] CCalibChain& calibrations() { return m_calibrations; }
    [[nodiscard]] CrossLineSettings& crossLines() { return m_crossLines; }
    [[nodiscard]] CThumbNail& thumbnails() { return m_thumbnails; }
    [[nodiscard]] FrameBuffers& frames() { return m_frames; }
    [[nodiscard]] const FrameBuffers& frames() const { return m_frames; }
    [[nodiscard]] ImageView& view() { return m_view; }
    [[nodiscard]] const ImageView& view() const { return m_view; }
    [[nodiscard]] InitCameraSearch& search() { return m_search; }
    [[nodiscard]] MeasureSession& measure() { return m_measure; }
    [[nodiscard]] const MeasureSession& measure() const { return m_measure; }
    [[nodiscard]] MagnetAid& magnet() { return m_magnet; }
    [[nodiscard]] FocusIndicator& focus() { return m_focus; }

private:
    // A white 24-bit capture and display frame and blank work images of the
    // given size (640 x 480 when that size cannot be had). A live camera is
    // stopped first.
    void ShowWhitePicture(int width, int height);
    // The display frame changed size: work images and view follow.
    void DisplayFrameChanged();
    // Reads the folder's thumbnail index, then has its images scanned.
    void LoadThumbnailsOf(const std::filesystem::path& folder);

    ICaptureSource& m_capture;
    PathRoots m_roots;
    std::filesystem::path m_settingsPath;
    std::string m_dataFolder;
    ProfileFile m_profile;

    OrvaneSettings m_settings;
    CCalibChain m_calibrations;
    CrossLineSettings m_crossLines;
    CThumbNail m_thumbnails;
    FrameBuffers m_frames;
    ImageView m_view;
    InitCameraSearch m_search;
    // The magnet's edge image and shown picture are the two work images.
    MagnetAid m_magnet{m_frames.work1, m_frames.work2};
    FocusIndicator m_focus;
    std::function<void()> m_focusValuesChanged;
    IThumbnailScanner* m_scanner = nullptr;
    MeasureSession m_measure{m_settings, m_calibrations, m_view, MeasureTools{&m_magnet, &m_focus}};

    bool m_isFrozen = false;
    bool m_burnIn = false;
    bool m_rightPanelShown = true;
    bool m_bottomPanelShown = true;
    bool m_repaintPending = false;
    bool m_cameraLost = false;   // the live stream failed: its last picture stays while the retry runs
    bool m_whitePicture = false; // the display frame is the white picture asked for at this size
    int m_whiteWidth = 0;
    int m_whiteHeight = 0;
    int m_cursorHint = 0;
    bool m_cursorHidden = false;
    bool m_crossHairsOn = false;
    double m_fps = 0.0;
    std::uint32_t m_lastTickTime = 0;
    int m_rightReserve = 0;
    int m_bottomReserve = 0;
};

} // namespace orvane
