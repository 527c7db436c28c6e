#include "app/core/MeasureSession.h"

#include <string>

#include "app/core/AppLog.h"
#include "app/core/OverlayToolSettings.h"
#include "measure/CalibrationDrawing.h"
#include "settings/MeasureStyleSettings.h"

namespace orvane {

MeasureSession::MeasureSession(OrvaneSettings& settings, CCalibChain& calibrations, const ImageView& view,
                               MeasureTools tools)
    : m_settings(settings), m_calibrations(calibrations), m_view(view), m_tools(tools),
      m_interaction(InteractionContext{
          .settings = [this] { return CurrentSettings(); },
          .measureText =
              [this](std::string_view text) {
                  return m_host.measureText ? m_host.measureText(text, Style().font) : TextExtent{};
              },
          .snapToEdge =
              [this](PointD image, bool& snapped) {
                  snapped = m_tools.magnet != nullptr &&
                            m_tools.magnet->Snap(MagnetOptionsOf(m_settings.MagnetData), image);
                  return image;
              },
          .askYesNo = [this](std::string_view text,
                             std::string_view caption) { return m_host.askYesNo && m_host.askYesNo(text, caption); },
          .clock = {},
          .doubleClickTime = 500,
          .calibrationRightPress = [this](PointD image) { return m_calibrationEdit.OnRButtonDown(image); },
          .calibrationMouseMove =
              [this](PointD image, bool insidePicture) { return m_calibrationEdit.OnMouseMove(image, insidePicture); },
          .calibrationRightRelease = [this] { m_calibrationEdit.OnRButtonUp(); },
          .cancelFocusArea =
              [this] {
                  if (m_tools.focus != nullptr) {
                      m_tools.focus->CancelArea();
                  }
              },
          .repaintPicture = [this] { RepaintPicture(); },
          .repaintWindow =
              [this] {
                  if (m_host.repaintWindow) {
                      m_host.repaintWindow();
                  }
              },
          .showSelection =
              [this](std::span<const int> rows) {
                  if (m_host.showSelection) {
                      m_host.showSelection(rows);
                  }
              },
      })
{
    MarkResultsSaved();
}

InteractionSettings MeasureSession::CurrentSettings() const
{
    InteractionSettings settings;
    settings.view = m_view.geometry();
    settings.calibration = m_selection.record != nullptr ? &m_scaling : nullptr;
    settings.baseLine = m_settings.color.anglebaseline;
    settings.snapStep = m_settings.color.angle;
    settings.showCenter = m_settings.color.CursorCrosshairs.ShowCenter != 0;
    settings.showAngle = m_settings.color.showangle != 0;
    return settings;
}

void MeasureSession::RepaintPicture() const
{
    if (m_host.repaintPicture) {
        m_host.repaintPicture();
    }
}

void MeasureSession::SelectCalibration(int index)
{
    m_selectedIndex = index;
    const FrameSize frame{m_view.imageWidth(), m_view.imageHeight()};
    ResultsListModel& list = m_interaction.list();
    m_selection =
        ApplyCalibrationChoice(m_calibrations, index, m_interaction.chain(), frame, [&list](const CALIBRATION& chosen) {
            list.SetListUnit(chosen.unit);
            list.RewriteAllRows();
        });
    if (m_selection.record != nullptr) {
        m_scaling = *m_selection.record;
        m_scaling.prev = nullptr;
        m_scaling.next = nullptr;
    }
    if (m_calibrationListener) {
        m_calibrationListener();
    }
    RepaintPicture();
}

CALIBRATION* MeasureSession::BeginCalibration(int index)
{
    m_calibrations.MoveTo(index);
    CALIBRATION* record = m_calibrations.Current();
    if (record == nullptr) {
        return nullptr;
    }
    m_calibrationEdit.Begin(*record, m_settings.m_CalibSet);
    RepaintPicture();
    return record;
}

void MeasureSession::EndCalibration()
{
    m_calibrationEdit.End();
    RepaintPicture();
}

MeasureFileLoad MeasureSession::LoadResults(const std::filesystem::path& path)
{
    // Read aside first: a file that gives nothing must not empty the list.
    CMeasureChain loaded;
    const MeasureFileLoad load = LoadMeasureFile(loaded, path);
    if (!load.ok() || load.loaded == 0) {
        kAppLog.Warning("results file not loaded: " + path.string());
        return load;
    }
    if (load.damaged) {
        kAppLog.Warning("results file is damaged, " + std::to_string(load.dropped) +
                        " measurements dropped: " + path.string());
    }
    m_interaction.chain() = std::move(loaded);
    m_interaction.chain().Renumber();
    m_interaction.RefillList();
    MarkResultsSaved();
    RepaintPicture();
    return load;
}

bool MeasureSession::HasUnsavedMeasurements() const
{
    return EncodeMeasureFile(m_interaction.chain()) != m_savedImage;
}

void MeasureSession::MarkResultsSaved()
{
    m_savedImage = EncodeMeasureFile(m_interaction.chain());
}

MeasureStyle MeasureSession::Style() const
{
    return MeasureStyleOf(m_settings.color);
}

MeasureCanvas MeasureSession::Canvas(const ViewTransform& transform, FrameSize picture) const
{
    return MeasureCanvas{transform, {m_view.imageWidth(), m_view.imageHeight()}, picture};
}

void MeasureSession::DrawMeasurements(DrawingSurface& surface, const ViewTransform& transform, FrameSize picture)
{
    ::orvane::DrawMeasurements(surface, m_interaction.chain(), Style(), Canvas(transform, picture));
}

MeasureLayerKey MeasureSession::LayerKey(const ViewTransform& transform, FrameSize picture) const
{
    return MeasureLayerKey{.revision = m_interaction.chain().revision(),
                           .style = Style(),
                           .transform = transform,
                           .image = {m_view.imageWidth(), m_view.imageHeight()},
                           .picture = picture};
}

void MeasureSession::DrawWorking(DrawingSurface& surface, const ViewTransform& transform, FrameSize picture)
{
    const MEASURE& working = m_interaction.working();
    if (working.kind == kModeNone) {
        m_lastMouse.reset();
        return;
    }
    if (const std::optional<PointD> mouse = m_interaction.mousePoint()) {
        m_lastMouse = mouse;
    }
    if (working.pointCount <= 0 || !m_lastMouse) {
        return;
    }
    ::orvane::DrawWorking(surface, working, working.kind, *m_lastMouse, m_interaction.shiftHeld(), Style(),
                          Canvas(transform, picture));
}

void MeasureSession::DrawCalibrationMarks(DrawingSurface& surface, const ViewTransform& transform) const
{
    const CALIBRATION* record = m_calibrationEdit.record();
    const RECT* frame = m_calibrationEdit.frame();
    if (record == nullptr || frame == nullptr) {
        return;
    }
    ::orvane::DrawCalibrationMarks(surface, transform, *record, *frame, m_settings.color.line,
                                   m_settings.color.linesize);
}

} // namespace orvane
