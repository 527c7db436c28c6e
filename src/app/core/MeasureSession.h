#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "files/MeasureFile.h"
#include "image/DrawingSurface.h"
#include "image/ImageView.h"
#include "measure/CCalibChain.h"
#include "measure/CalibrationRectEdit.h"
#include "measure/CalibrationSelection.h"
#include "measure/MeasureDrawing.h"
#include "measure/MeasureInteraction.h"
#include "settings/OrvaneSettings.h"
#include "tools/FocusIndicator.h"
#include "tools/MagnetEdge.h"

namespace orvane {

// What measuring asks of the window. Every hook may be empty: no label boxes,
// "No" to every question, no repaint.
struct MeasureHost {
    // Width and height of a text in the font, screen pixels.
    std::function<TextExtent(std::string_view text, const DrawingFont& font)> measureText;
    // A Yes/No question with a question icon; true for Yes.
    std::function<bool(std::string_view text, std::string_view caption)> askYesNo;
    std::function<void()> repaintPicture;
    // The whole window: the tool lamps may have changed too.
    std::function<void()> repaintWindow;
    // The results list is to select these rows.
    std::function<void(std::span<const int> rows)> showSelection;
};

// The overlay tools measuring works with: the magnet snaps placed and
// dragged points, and choosing a tool gives up a focus area being drawn.
// Either may be null (no snapping, no focus areas).
struct MeasureTools {
    MagnetAid* magnet = nullptr;
    FocusIndicator* focus = nullptr;
};

// Measuring in the main window, free of any window system: the measurement
// interaction with its chain and results list, the calibration that scales
// it, the calibration rectangle while the calibration dialog is open, results
// files loaded at start, and what all of them draw over the picture. The
// window forwards mouse events to interaction() in its client coordinates,
// runs the drawing steps from the view's overlays, and shows the list.
//
// The settings, the calibrations and the view are the main window's and must
// outlive the session. UI thread only.
class MeasureSession {
public:
    MeasureSession(OrvaneSettings& settings, CCalibChain& calibrations, const ImageView& view,
                   MeasureTools tools = {});

    MeasureSession(const MeasureSession&) = delete;
    MeasureSession& operator=(const MeasureSession&) = delete;

    void SetHost(MeasureHost host) { m_host = std::move(host); }
    void SetDoubleClickTime(std::uint32_t milliseconds) { m_interaction.SetDoubleClickTime(milliseconds); }

    [[nodiscard]] MeasureInteraction& interaction() { return m_interaction; }
    [[nodiscard]] const MeasureInteraction& interaction() const { return m_interaction; }

    // A choice in the calibration list (also at start and when the
    // calibration dialog closes): its units per pixel and unit scale every
    // measurement from now on, every record is recomputed with them and the
    // results list is rewritten in its unit; the picture is repainted.
    void SelectCalibration(int index);
    [[nodiscard]] int selectedIndex() const { return m_selectedIndex; }
    // The copies kept of the chosen calibration.
    [[nodiscard]] const SelectedCalibration& selection() const { return m_selection; }
    // Told after every choice, once the new calibration is in place (the
    // scale bar, the grid field and the cross lines show its values).
    void SetCalibrationListener(std::function<void()> listener) { m_calibrationListener = std::move(listener); }

    // The calibration dialog opens on calibration `index`: its rectangle and
    // the calibration frame ("m_CalibSet") are drawn and can be dragged with
    // the right button until EndCalibration. The record, or null when the
    // list has no calibrations.
    CALIBRATION* BeginCalibration(int index);
    void EndCalibration();
    [[nodiscard]] bool calibrationOpen() const { return m_calibrationEdit.isOpen(); }
    [[nodiscard]] CalibrationRectEdit& calibrationEdit() { return m_calibrationEdit; }

    // A results file replaces the measurements: loaded, renumbered, listed
    // anew in the selected unit, repainted. A file that cannot be read as a
    // results file, or gives no measurement, leaves the measurements as they
    // are (loaded is then 0).
    MeasureFileLoad LoadResults(const std::filesystem::path& path);

    // Measurements made, changed or deleted since the last load or
    // MarkResultsSaved: loading a results file would lose them.
    [[nodiscard]] bool HasUnsavedMeasurements() const;
    // The measurements as they are now have been written to a file.
    void MarkResultsSaved();

    // Asks the window to repaint the picture.
    void RepaintPicture() const;

    // How measurements look now ("color.*").
    [[nodiscard]] MeasureStyle Style() const;

    // The drawing steps of the picture's overlays, into a back buffer of
    // `picture` pixels. The finished measurements; the measurement being
    // placed with its rubber band to the pointer (nothing without a tool, a
    // point or a pointer position seen over the picture); the calibration
    // rectangle and frame while the dialog is open.
    void DrawMeasurements(DrawingSurface& surface, const ViewTransform& transform, FrameSize picture);
    // Where the finished measurements are drawn for the view, and what a
    // cached layer of them depends on.
    [[nodiscard]] MeasureCanvas Canvas(const ViewTransform& transform, FrameSize picture) const;
    [[nodiscard]] MeasureLayerKey LayerKey(const ViewTransform& transform, FrameSize picture) const;
    void DrawWorking(DrawingSurface& surface, const ViewTransform& transform, FrameSize picture);
    void DrawCalibrationMarks(DrawingSurface& surface, const ViewTransform& transform) const;

private:
    [[nodiscard]] InteractionSettings CurrentSettings() const;

    OrvaneSettings& m_settings;
    CCalibChain& m_calibrations;
    const ImageView& m_view;
    MeasureTools m_tools;
    MeasureHost m_host;
    std::function<void()> m_calibrationListener;
    // What new and recomputed measurements are scaled with: a copy of the
    // chosen calibration, so that edits in the open dialog count only after OK.
    CALIBRATION m_scaling;
    SelectedCalibration m_selection;
    int m_selectedIndex = 0;
    CalibrationRectEdit m_calibrationEdit;
    // The pointer's last image position over the picture while a tool was
    // armed: the rubber band stays there when the pointer leaves the picture.
    std::optional<PointD> m_lastMouse;
    MeasureInteraction m_interaction;
    // The results-file bytes of the measurements at the last load or save.
    std::vector<std::uint8_t> m_savedImage;
};

} // namespace orvane
