#include "app/core/MeasureDlgState.h"

#include <utility>

#include "app/core/AppLog.h"
#include "app/core/AppTexts.h"
#include "app/core/FileCommandRules.h"
#include "app/core/InstantSaveName.h"
#include "app/core/OverlayToolSettings.h"
#include "files/ImageFiles.h"
#include "settings/CalibrationSettings.h"

namespace orvane {

MeasureDlgState::MeasureDlgState(ICaptureSource& capture, const PathRoots& roots)
    : m_capture(capture), m_roots(roots), m_settingsPath(ComputeSettingsPath(roots))
{
    AddDefaultCalibrations(m_calibrations);
    ShowWhitePicture(kInitialWidth, kInitialHeight);
}

MeasureDlgState::~MeasureDlgState()
{
    m_capture.Disconnect();
}

bool MeasureDlgState::Initialise()
{
    const MigrationResult migration = MigrateOldSettingsFile(m_settingsPath, m_roots.programFolder);
    if (migration == MigrationResult::Migrated || migration == MigrationResult::OldFileKept) {
        kAppLog.Info("settings moved from the program folder to " + m_settingsPath.string());
    }
    LoadSettings();
    m_calibrations.RecomputeScales();
    return BeginLive();
}

void MeasureDlgState::LoadSettings()
{
    m_dataFolder = ComputeDataFolder(m_roots);
    if (!m_profile.Load(m_settingsPath)) {
        kAppLog.Warning("settings file cannot be read, defaults used: " + m_settingsPath.string());
    }
    LoadOrvaneSection(m_profile, m_settings);

    // The zoom first, then the stored pan, so that the pan wins.
    m_view.ZoomChanged(m_settings.m_Bai);
    m_view.SetPan(m_settings.m_Bai_X, m_settings.m_Bai_Y);

    LoadCalibrationSection(m_profile, m_calibrations);
    LoadCrossLineSections(m_profile, m_crossLines);

    ApplyDefaultFolders(m_settings, m_dataFolder);
    LoadThumbnailsOf(std::filesystem::path(m_settings.savedir));
}

void MeasureDlgState::LoadThumbnailsOf(const std::filesystem::path& folder)
{
    if (m_scanner != nullptr) {
        m_scanner->Cancel();
    }
    m_thumbnails.RemoveAll();
    if (m_scanner != nullptr) {
        m_scanner->Scan(folder);
    } else {
        m_thumbnails.LoadThumbnailIndex(CThumbNail::IndexPathFor(folder));
        m_thumbnails.ScanImageFolder(folder);
    }
}

bool MeasureDlgState::SaveSettings(const WindowPlacementSettings& placement)
{
    m_settings.m_Bai = m_view.zoomIndex();
    m_settings.m_Bai_X = m_view.panX();
    m_settings.m_Bai_Y = m_view.panY();
    m_settings.window = placement;

    SaveOrvaneSection(m_profile, m_settings);
    SaveCalibrationSection(m_profile, m_calibrations);
    SaveCrossLineSections(m_profile, m_crossLines);
    // The index holds complete thumbnails only: a scan still running stops first.
    if (m_scanner != nullptr) {
        m_scanner->Cancel();
    }
    const bool saved = m_profile.Save(m_settingsPath);
    if (!saved) {
        kAppLog.Error("settings file cannot be written: " + m_settingsPath.string());
    }
    if (!m_settings.savedir.empty()) {
        m_thumbnails.SaveThumbnailIndex(CThumbNail::IndexPathFor(std::filesystem::path(m_settings.savedir)));
    }
    return saved;
}

bool MeasureDlgState::BeginLive()
{
    if (m_capture.BeginLive()) {
        m_whitePicture = false;
        m_cameraLost = false;
        return true;
    }
    // The retry asks every 300 ms; the white picture is made once. A camera
    // that went away leaves its last picture (and what is measured on it).
    if (m_cameraLost) {
        return false;
    }
    if (!m_whitePicture || m_whiteWidth != m_settings.width || m_whiteHeight != m_settings.height) {
        ShowWhitePicture(m_settings.width, m_settings.height);
    }
    return false;
}

void MeasureDlgState::EndLive()
{
    m_capture.EndLive();
}

TickResult MeasureDlgState::OnTick(std::uint32_t now)
{
    m_lastTickTime = now;
    // Both flags are taken so that neither is left over for the next tick.
    const bool viewWantsRepaint = m_view.TakeRepaintPending();
    TickResult result;
    result.repaint = m_repaintPending || viewWantsRepaint;
    m_repaintPending = false;
    // Without a live camera there is no rate to show, as when frozen; a camera
    // that went away is named with what became of it.
    if (m_cameraLost && !m_isFrozen && !m_capture.isLive()) {
        result.title = m_capture.deviceCaption();
    } else {
        result.title = WindowTitle(m_isFrozen || !m_capture.isLive(), m_capture.deviceCaption(), m_fps);
    }
    m_capture.OnTick();
    return result;
}

bool MeasureDlgState::TickIsStale(std::uint32_t now) const
{
    return static_cast<std::uint32_t>(now - m_lastTickTime) > kStaleTickMilliseconds;
}

RetryResult MeasureDlgState::OnCameraRetry()
{
    RetryResult result;
    if (!m_isFrozen && m_capture.isLive() && m_capture.StreamFailed()) {
        m_cameraLost = true;
        m_fps = 0.0;
        m_repaintPending = true;
    }
    if (m_isFrozen || m_capture.isLive()) {
        return result;
    }
    if (BeginLive()) {
        result.closeSearchDialog = true;
        m_search.Close();
        m_search.SetShowState(ShowState::Shown);
        m_view.ZoomChanged(m_view.zoomIndex());
        result.showWindow = true;
    }
    switch (m_search.showState()) {
    case ShowState::Requested:
        m_view.ZoomChanged(m_view.zoomIndex());
        result.showWindow = true;
        m_search.SetShowState(ShowState::Shown);
        break;
    case ShowState::Cancelled:
        result.endProgram = true;
        m_search.SetShowState(ShowState::Ended);
        break;
    default: break;
    }
    return result;
}

bool MeasureDlgState::OnLive()
{
    bool showSearch = false;
    if (m_isFrozen) {
        const bool live = BeginLive();
        m_isFrozen = false;
        if (!live) {
            m_search.Restart();
            showSearch = true;
        }
    } else {
        EndLive();
        m_isFrozen = true;
        m_cameraLost = false;
        m_fps = 0.0;
        // Points snap to the picture that stays on the screen.
        if (m_magnet.isOn()) {
            RebuildEdgeImage();
        }
    }
    m_view.ZoomChanged(m_view.zoomIndex());
    m_repaintPending = true;
    m_cursorHint = 0;
    m_cursorHidden = false;
    m_crossHairsOn = false;
    return showSearch;
}

bool MeasureDlgState::OpenPicture(const std::filesystem::path& path, LoadInfo* info)
{
    FrameImage picture;
    if (!LoadPicture(path, picture, info)) {
        kAppLog.Warning("picture cannot be read: " + path.string());
        return false;
    }
    m_isFrozen = false;
    OnLive();
    m_frames.display = std::move(picture);
    m_whitePicture = false;
    DisplayFrameChanged();
    RebuildEdgeImage();
    m_view.ViewLayout();
    // Points placed on the last picture mean nothing on this one.
    MeasureInteraction& interaction = m_measure.interaction();
    interaction.SetTool(interaction.mode());
    m_repaintPending = true;
    return true;
}

void MeasureDlgState::FeedFrameConsumers(std::uint32_t now)
{
    if (m_focus.ComputeFocus(m_frames.display) && m_focusValuesChanged) {
        m_focusValuesChanged();
    }
    m_magnet.OnFrame(m_frames.display, MagnetOptionsOf(m_settings.MagnetData), m_settings.MagnetData.Show != 0, now);
}

const FrameImage& MeasureDlgState::PictureToShow()
{
    if (m_settings.MagnetData.Show != 0) {
        if (const FrameImage* shown = m_magnet.ShownPicture(m_frames.display, MagnetOptionsOf(m_settings.MagnetData))) {
            return *shown;
        }
    }
    return m_frames.display;
}

void MeasureDlgState::RebuildEdgeImage()
{
    m_magnet.Rebuild(m_frames.display, m_settings.MagnetData.Vector);
}

MeasureDlgState::ThumbnailOpen MeasureDlgState::OpenThumbnail(int index)
{
    ThumbnailOpen result;
    if (m_thumbnails.SelectThumbnail(index) == 0) {
        return result;
    }
    result.path = m_thumbnails.Current()->path;
    result.opened = OpenPicture(result.path);
    if (!result.opened) {
        m_thumbnails.RemoveThumbnailsFor(result.path.string());
        if (m_scanner != nullptr) {
            m_scanner->Forget(result.path);
        }
        m_repaintPending = true;
    }
    return result;
}

std::filesystem::path MeasureDlgState::DisposeThumbnail(
    int index, const std::function<bool(const std::filesystem::path&)>& disposeFile)
{
    if (m_thumbnails.SelectThumbnail(index) == 0) {
        return {};
    }
    const std::filesystem::path path(m_thumbnails.Current()->path);
    if (!disposeFile(path)) {
        kAppLog.Warning("the picture could not be removed: " + path.string());
    }
    m_thumbnails.RemoveThumbnailsFor(path.string());
    if (m_scanner != nullptr) {
        m_scanner->Forget(path);
    }
    m_repaintPending = true;
    return path;
}

std::filesystem::path MeasureDlgState::InstantSave(const std::tm& localTime)
{
    const std::filesystem::path path =
        InstantSavePath(std::filesystem::path(m_settings.savedir), localTime, m_settings.m_FilterIndex);
    if (path.empty()) {
        return {};
    }
    const FrameImage picture = PictureToSave();
    if (!WriteImageFile(path, picture, m_settings.m_FilterIndex)) {
        return {};
    }
    return path;
}

void MeasureDlgState::ToggleBurnIn()
{
    m_burnIn = !m_burnIn;
    m_repaintPending = true;
}

FrameImage MeasureDlgState::PictureToSave()
{
    const FrameImage& display = m_frames.display;
    FrameImage picture;
    if (display.isEmpty() || !picture.Create(display.width(), display.height(), 24) ||
        !picture.Blit(display, nullptr, 0, 0)) {
        kAppLog.Warning("the picture to save cannot be copied");
        return {};
    }
    if (m_burnIn) {
        // Image pixels are picture pixels: x1, no pan. The calibration marks
        // belong to the open dialog, not to the picture.
        const ViewTransform atOne{};
        const ViewOverlays& overlays = m_view.overlays();
        for (const ViewOverlays::Step* step :
             {&overlays.measurements, &overlays.scaleBar, &overlays.crossLines, &overlays.focusDisplay, &overlays.grid,
              &overlays.cursorCrossHairs, &overlays.measurementInProgress}) {
            if (*step) {
                (*step)(picture, atOne);
            }
        }
    }
    return picture;
}

bool MeasureDlgState::WriteImageFile(const std::filesystem::path& path, const FrameImage& picture, int saveType)
{
    if (picture.isEmpty() || !SaveImage(path, picture, saveType)) {
        // The file on disk, if any, is the old one: so is its thumbnail.
        kAppLog.Warning("image cannot be saved: " + path.string());
        return false;
    }
    m_thumbnails.RemoveThumbnailsFor(path.string());
    m_thumbnails.AddThumbnail(path.string(), picture);
    m_repaintPending = true;
    return true;
}

std::filesystem::path MeasureDlgState::SaveImageAs(const std::filesystem::path& chosen, int filterIndex,
                                                   const FrameImage& picture)
{
    if (filterIndex >= kSaveTypeBmp && filterIndex <= kSaveTypeJpegLow) {
        m_settings.m_FilterIndex = filterIndex;
    }
    const std::string folder = ChosenFolder(chosen);
    if (folder != m_settings.savedir) {
        ChangeImageFolder(folder);
    }
    const std::filesystem::path path = ImageFilePath(chosen, m_settings.m_FilterIndex);
    if (!WriteImageFile(path, picture, m_settings.m_FilterIndex)) {
        return {};
    }
    return path;
}

void MeasureDlgState::ChangeImageFolder(const std::string& folder)
{
    // The old folder's index gets its complete thumbnails only.
    if (m_scanner != nullptr) {
        m_scanner->Cancel();
    }
    if (!m_settings.savedir.empty()) {
        m_thumbnails.SaveThumbnailIndex(CThumbNail::IndexPathFor(std::filesystem::path(m_settings.savedir)));
    }
    m_settings.savedir = folder;
    LoadThumbnailsOf(std::filesystem::path(folder));
    m_repaintPending = true;
}

void MeasureDlgState::ToggleRightPanel()
{
    m_rightPanelShown = !m_rightPanelShown;
    m_repaintPending = true;
}

void MeasureDlgState::ToggleBottomPanel()
{
    m_bottomPanelShown = !m_bottomPanelShown;
    m_repaintPending = true;
}

bool MeasureDlgState::Shutdown(const WindowPlacementSettings& placement)
{
    EndLive();
    return SaveSettings(placement);
}

void MeasureDlgState::SetReserves(int right, int bottom)
{
    m_rightReserve = right;
    m_bottomReserve = bottom;
}

void MeasureDlgState::ShowWhitePicture(int width, int height)
{
    if (m_capture.isLive()) {
        m_capture.EndLive();
    }
    FrameBuffers white;
    if (!white.capture.Create(width, height, 24) || !white.display.Create(width, height, 24)) {
        kAppLog.Warning("capture size " + std::to_string(width) + " x " + std::to_string(height) +
                        " cannot be had; 640 x 480 used");
        white.capture.Create(kInitialWidth, kInitialHeight, 24);
        white.display.Create(kInitialWidth, kInitialHeight, 24);
    }
    white.capture.Fill(nullptr, RGB(255, 255, 255));
    white.display.Fill(nullptr, RGB(255, 255, 255));
    m_frames.capture = std::move(white.capture);
    m_frames.display = std::move(white.display);
    m_whitePicture = true;
    m_whiteWidth = width;
    m_whiteHeight = height;
    DisplayFrameChanged();
}

bool MeasureDlgState::PrepareLiveFrames(int width, int height, int displayWidth, int displayHeight)
{
    if (m_capture.isLive()) {
        kAppLog.Warning("the frames cannot change while the camera is live");
        return false;
    }
    // The last picture of a camera that went away stays until frames come again.
    if (m_cameraLost && m_frames.capture.width() == width && m_frames.capture.height() == height &&
        m_frames.display.width() == displayWidth && m_frames.display.height() == displayHeight &&
        m_frames.display.bitsPerPixel() == 24) {
        return true;
    }
    FrameBuffers live;
    if (!live.capture.Create(width, height, 24) || !live.display.Create(displayWidth, displayHeight, 24)) {
        kAppLog.Warning("frames of " + std::to_string(width) + " x " + std::to_string(height) + " cannot be had");
        return false;
    }
    live.capture.Fill(nullptr, RGB(255, 255, 255));
    live.display.Fill(nullptr, RGB(255, 255, 255));
    m_frames.capture = std::move(live.capture);
    m_frames.display = std::move(live.display);
    m_whitePicture = false;
    DisplayFrameChanged();
    return true;
}

void MeasureDlgState::DisplayFrameChanged()
{
    const int width = m_frames.display.width();
    const int height = m_frames.display.height();
    m_frames.work1.Create(width, height, 8);
    m_frames.work2.Create(width, height, 8);
    m_view.SetImageSize(width, height);
}

} // namespace orvane
