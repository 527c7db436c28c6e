#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "image/DrawingSurface.h"
#include "image/ViewMath.h"
#include "measure/CMeasureChain.h"
#include "measure/Calibration.h"
#include "measure/CalibrationRectEdit.h"
#include "measure/Measure.h"
#include "image/PointD.h"
#include "measure/ResultsListModel.h"

namespace orvane {

// Cursor shapes the interaction asks of the window's set-cursor handler.
enum CursorHint : std::int32_t {
    kCursorDefault = 0,
    kCursorSnapped = 1, // point snapped to an edge (resource 176)
    kCursorCentre = 2,  // thin cross over a point (resource 177)
    kCursorHand = 3,    // resource 138
    kCursorLabel = 4,   // four-way arrows over a label (resource 174)
    kCursorSizeNeSw = 6,
    kCursorSizeNs = 7,
    kCursorSizeNwSe = 8,
    kCursorSizeWe = 9,
    kCursorSizeAll = 10,
};

// What a right press grabbed.
enum class HitKind : std::int32_t { None = 0, Point = 1, Rim = 2, Label = 3 };

struct HitResult {
    MEASURE* record = nullptr;
    HitKind hit = HitKind::None;
    std::int32_t index = 0; // point, circle or label number
};

// What the interaction reads from the window at each event.
struct InteractionSettings {
    ViewGeometry view;                        // client <-> image mapping, picture frame, display frame size
    const CALIBRATION* calibration = nullptr; // the selected calibration (none: mpp 0, unit cm)
    std::int32_t baseLine = 0;                // "color.anglebaseline"
    std::int32_t snapStep = 45;               // "color.angle", degrees
    bool showCenter = false;                  // "color.CursorCrosshairs.ShowCenter"
    bool showAngle = true;                    // "color.showangle": angle labels are shown
};

// The window's side of the interaction. Only `settings` is required; the other
// hooks default to: no label boxes, no edge snapping, "No" to every question,
// the steady tick clock, no calibration marks, no focus area, no repaint.
struct InteractionContext {
    std::function<InteractionSettings()> settings;
    // Extent of a text in the label font, screen pixels (DrawingSurface::TextSize
    // with the label font set).
    std::function<TextExtent(std::string_view text)> measureText;
    // The magnet: moves an image point onto a nearby edge and says whether it did.
    std::function<PointD(PointD image, bool& snapped)> snapToEdge;
    // A Yes/No question with a question icon; true for Yes.
    std::function<bool(std::string_view text, std::string_view caption)> askYesNo;
    // Milliseconds of a steady clock (wrapping) and the double-click time.
    std::function<std::uint32_t()> clock;
    std::uint32_t doubleClickTime = 500;
    // The calibration marks, tried before the measurements while the
    // calibration dialog is open: a right press (handled = grabbed), every
    // mouse move (handled = the measurement steps are skipped), and every
    // right release.
    std::function<CalibrationMouseResult(PointD image)> calibrationRightPress;
    std::function<CalibrationMouseResult(PointD image, bool insidePicture)> calibrationMouseMove;
    std::function<void()> calibrationRightRelease;
    // Choosing a tool cancels a focus-area selection in progress.
    std::function<void()> cancelFocusArea;
    // Repaint the picture / the whole window.
    std::function<void()> repaintPicture;
    std::function<void()> repaintWindow;
    // The list view is to select these rows (a label was clicked).
    std::function<void(std::span<const int> rows)> showSelection;
};

// The measurement interaction of the main window: the tool buttons, left
// clicks that place points, right drags that edit finished records, hover
// cursors, DELETE and the results list's selection. It owns the measure chain
// and the results list; the window forwards its events (client coordinates
// of the main window, whole pixels) and shows what the accessors say.
//
// A tool stays armed after each finished measurement until its button is
// pressed again or another tool is chosen. Points are placed on left-button
// release; a second release at the same place within the double-click time
// adds no point. A polygon is closed by a double click. Perpendiculars come
// in series from one base line until the right button is released.
//
// UI thread only.
class MeasureInteraction {
public:
    static constexpr double kHitTolerancePixels = 10.0; // screen pixels
    static constexpr std::int32_t kWorkingSlots = 10;

    explicit MeasureInteraction(InteractionContext context);

    // The system's double-click time, once the window system is there to ask.
    void SetDoubleClickTime(std::uint32_t milliseconds) { m_context.doubleClickTime = milliseconds; }

    // Tool buttons LINE (1) ... ANGLE (6): the same tool again turns it off.
    void OnToolButton(std::int32_t mode);
    // Arms `mode` (0 = none) with no points; repaints the window.
    void SetTool(std::int32_t mode);

    void OnLButtonUp(int x, int y, bool shift);
    void OnLButtonDblClk(int x, int y);
    void OnRButtonDown(int x, int y);
    void OnRButtonUp();
    void OnMouseMove(int x, int y, bool shift);

    // Points of a measurement have been placed and it is not finished yet.
    [[nodiscard]] bool placing() const { return m_working.kind != 0 && m_working.pointCount > 0; }
    // Escape: the points placed so far are dropped; the tool stays armed.
    void CancelPlacing();

    // DELETE: removes the records of the selected rows, or after a Yes to
    // "Are all items deleted ?" every record.
    void OnDelete();
    // The list's selection changed: these rows are selected now.
    void OnListItemChanged(std::span<const int> selectedRows);

    // The first record from the chain's start with something within
    // `tolerance` image pixels of (a, b).
    [[nodiscard]] HitResult HitTest(double a, double b, double tolerance);

    // The chain was replaced (a results file was loaded): ends any edit and
    // fills the list anew in the selected calibration's unit.
    void RefillList();
    // The selected calibration changed: every record is recomputed with it and
    // its rows are rewritten in place.
    void OnCalibrationChanged();

    [[nodiscard]] CMeasureChain& chain() { return m_chain; }
    [[nodiscard]] const CMeasureChain& chain() const { return m_chain; }
    [[nodiscard]] ResultsListModel& list() { return m_list; }
    [[nodiscard]] const ResultsListModel& list() const { return m_list; }

    // The measurement being placed: kind = tool mode, pointCount points.
    [[nodiscard]] const MEASURE& working() const { return m_working; }
    [[nodiscard]] std::int32_t mode() const { return m_working.kind; }
    // The pointer in image pixels after edge snapping, while it is over the
    // picture with a tool armed; and whether Shift was held at the last move.
    [[nodiscard]] std::optional<PointD> mousePoint() const { return m_mouse; }
    [[nodiscard]] bool shiftHeld() const { return m_shift; }

    // Cursor: the hint of the set-cursor handler; hideCursor 1 while the
    // pointer is over a grabbable point or places points (the cursor cross
    // hairs stand in for it); systemCursorHidden when the window is to hide
    // the pointer itself (not with "color.CursorCrosshairs.ShowCenter").
    [[nodiscard]] std::int32_t cursorHint() const { return m_cursorHint; }
    [[nodiscard]] std::int32_t hideCursor() const { return m_hideCursor; }
    [[nodiscard]] bool systemCursorHidden() const { return m_systemCursorHidden; }

    // The edit in progress.
    [[nodiscard]] bool dragActive() const { return m_drag.record != nullptr; }
    [[nodiscard]] HitKind dragHit() const { return m_drag.hit; }
    [[nodiscard]] std::int32_t dragIndex() const { return m_drag.index; }
    [[nodiscard]] const MEASURE* dragRecord() const { return m_drag.record; }

private:
    struct Drag {
        MEASURE* record = nullptr;
        HitKind hit = HitKind::None;
        std::int32_t index = 0;
        PointD grab; // labels: grab position minus the label's offset
    };

    [[nodiscard]] InteractionSettings Settings() const;
    [[nodiscard]] const CALIBRATION& CalibrationOf(const InteractionSettings& settings) const;
    [[nodiscard]] double HitToleranceImage(const InteractionSettings& settings) const;
    [[nodiscard]] PointD SnapToEdge(PointD image, bool& snapped) const;
    void RepaintPicture() const;
    void RepaintWindow() const;

    void PlacePoint(PointD p);
    void CompleteIfReady(const InteractionSettings& settings, bool shift);
    void AddWorking(const InteractionSettings& settings);
    void AddPerpendicular(const InteractionSettings& settings);
    void ReArm(std::int32_t mode);

    void StartDrag(const HitResult& hit, PointD image, const InteractionSettings& settings);
    void ApplyDrag(PointD image, bool shift, const InteractionSettings& settings);
    void DragBasePoint(PointD p, bool shift, const InteractionSettings& settings);
    void EndDrag();
    void Hover(PointD image, const InteractionSettings& settings);
    void PointerOverPoint(bool showCenter);
    void ShowDefaultCursor();

    // A left click with no tool armed: a label under it selects its record's rows.
    void SelectByLabel(PointD image, const InteractionSettings& settings);

    [[nodiscard]] bool HitsLabel(const MEASURE& record, std::int32_t label, PointD position,
                                 const InteractionSettings& settings) const;
    bool RemoveRecord(const MEASURE* record);

    InteractionContext m_context;
    CMeasureChain m_chain;
    ResultsListModel m_list;
    MEASURE m_working;

    std::optional<IntPoint> m_lastUpPos;
    std::uint32_t m_lastUpTime = 0;
    Drag m_drag;
    std::optional<PointD> m_mouse;
    bool m_shift = false;
    std::vector<int> m_selectedRows;

    std::int32_t m_cursorHint = kCursorDefault;
    std::int32_t m_hideCursor = 0;
    bool m_systemCursorHidden = false;
};

// The sizing cursor of a circle rim by the direction from the centre to the
// pointer (DirectionAngle with base line 0): [23, 68) and [203, 248)
// north-east/south-west, [68, 113) and [248, 293) north/south, [113, 158) and
// [293, 338) north-west/south-east, otherwise west/east.
[[nodiscard]] std::int32_t RimCursor(PointD centre, PointD pointer);

// The confirmation of deleting every record in the program-wide language:
// "Are all items deleted ?" / "confirm".
[[nodiscard]] std::string_view DeleteAllQuestion();
[[nodiscard]] std::string_view DeleteAllCaption();

} // namespace orvane
