#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "image/BitmapTypes.h"
#include "image/ViewMath.h"
#include "measure/Calibration.h"
#include "image/PointD.h"

namespace orvane {

// Parts of the calibration rectangle a right-button drag can hold
// (CALIBRATION::dragMode). The edge marks resize about the centre.
enum CalibrationDragMode : std::int32_t {
    kCalibDragNone = 0,
    kCalibDragMove = 1,
    kCalibDragTop = 2,
    kCalibDragBottom = 3,
    kCalibDragLeft = 4,
    kCalibDragRight = 5,
};

// Corners of the calibration frame a right-button drag can hold.
enum CalibrationFrameCorner : int {
    kFrameCornerNone = 0,
    kFrameCornerTopLeft = 1,
    kFrameCornerTopRight = 2,
    kFrameCornerBottomLeft = 3,
    kFrameCornerBottomRight = 4,
};

// Cursor hints of the main window's set-cursor handler used here.
inline constexpr int kCursorHintNorthSouth = 7;
inline constexpr int kCursorHintWestEast = 9;
inline constexpr int kCursorHintMove = 10;

// A drag shrinks a side only while it is longer than this, in image pixels.
inline constexpr double kCalibrationMinShrinkSide = 40.0;

// The part of the rectangle under the image point p (reach 10 image pixels;
// c the rectangle's centre, "near" meaning c.x in [p.x - 10, p.x + 10)):
//   1. p.x near c.x: the centre (move) when p.y is near c.y too, else the top
//      mark when top is in [p.y, p.y + 10), else the bottom mark when bottom is;
//   2. then, p.y near c.y: the left mark when left is in [p.x, p.x + 10), else
//      the right mark when right is. A hit here replaces one of step 1.
[[nodiscard]] std::int32_t CalibrationHitMode(const CALIBRATION& rectangle, PointD p);

// The first frame corner (top-left, top-right, bottom-left, bottom-right)
// with |corner - p| < 10 on both axes, whole pixels; kFrameCornerNone if none.
[[nodiscard]] int FrameCornerAt(const RECT& frame, IntPoint p);

// One drag step of the record's dragMode to the image point p, d = p -
// dragAnchor: move shifts all sides by d; an edge mark moves its side by d and
// the opposite side by -d. A step that would shrink a side no longer than 40
// pixels is refused (false, nothing changes); otherwise dragAnchor = p (true).
bool ApplyCalibrationDrag(CALIBRATION& record, PointD p);

// The cursor hint of a drag mode: 10 move, 7 top/bottom, 9 left/right, 0 none.
[[nodiscard]] int CursorHintOfDragMode(std::int32_t mode);

// The frame corner moved to the whole-pixel point p.
void SetFrameCorner(RECT& frame, int corner, IntPoint p);

// What a mouse event did to the calibration marks.
struct CalibrationMouseResult {
    bool handled = false; // the event belonged to the calibration marks
    bool repaint = false; // the picture must be repainted
    int cursorHint = -1;  // the cursor hint to show, -1 to leave it
};

// The right-button editing of the calibration rectangle and frame while the
// calibration dialog is open. The main window's mouse handlers call these
// before their own steps; the record and the frame are the main window's.
//
// UI thread only.
class CalibrationRectEdit {
public:
    // The dialog opened on `record`, with the frame to draw and edit; both
    // must outlive the session or be detached by End.
    void Begin(CALIBRATION& record, RECT& frame);
    // The dialog closed: drags end, the record and frame are forgotten.
    void End();
    [[nodiscard]] bool isOpen() const { return m_record != nullptr; }
    [[nodiscard]] CALIBRATION* record() const { return m_record; }
    [[nodiscard]] RECT* frame() const { return m_frame; }
    [[nodiscard]] int cornerDrag() const { return m_cornerDrag; }
    [[nodiscard]] bool dragging() const;

    // Called after every applied edge-mark step: the dialog shows the new
    // per-pixel values.
    void SetSizeChangedListener(std::function<void()> listener) { m_sizeChanged = std::move(listener); }

    // Right press at the image point p inside the picture: grabs a part of
    // the rectangle, else a frame corner. handled = something was grabbed.
    CalibrationMouseResult OnRButtonDown(PointD p);

    // Mouse move to p. During a drag: outside the picture the drag ends;
    // inside, the grabbed part follows. Without a drag, near a frame corner,
    // the move cursor is asked for. handled = the main window's own mouse-move
    // steps are to be skipped.
    CalibrationMouseResult OnMouseMove(PointD p, bool insidePicture);

    // Right release: every drag ends.
    void OnRButtonUp();

private:
    CALIBRATION* m_record = nullptr;
    RECT* m_frame = nullptr;
    int m_cornerDrag = kFrameCornerNone;
    std::function<void()> m_sizeChanged;
};

} // namespace orvane
