#include "measure/CalibrationRectEdit.h"

#include <cstdlib>

namespace orvane {
namespace {

constexpr double kMarkReach = 10.0;
constexpr std::int64_t kCornerReach = 10;

// lo <= value < lo + kMarkReach
bool WithinMarkBox(double value, double lo)
{
    return lo <= value && value < lo + kMarkReach;
}

// v - 10 <= centre < v + 10
bool NearCentre(double centre, double v)
{
    return v - kMarkReach <= centre && centre < v + kMarkReach;
}

// |a - b| < 10 without overflow at the ends of the int range.
bool NearCorner(int a, int b)
{
    return std::llabs(static_cast<std::int64_t>(a) - b) < kCornerReach;
}

// One edge of a centred resize: the side grows by 2 * step (shrinks for a
// negative step). A shrink needs the side to be longer than the limit.
bool ResizeAllowed(double side, double step)
{
    return step >= 0.0 || side > kCalibrationMinShrinkSide;
}

} // namespace

std::int32_t CalibrationHitMode(const CALIBRATION& rectangle, PointD p)
{
    const double cx = rectangle.left + (rectangle.right - rectangle.left) * 0.5;
    const double cy = rectangle.top + (rectangle.bottom - rectangle.top) * 0.5;
    const bool nearCentreX = NearCentre(cx, p.x);
    const bool nearCentreY = NearCentre(cy, p.y);

    std::int32_t mode = kCalibDragNone;
    if (nearCentreX) {
        if (nearCentreY) {
            mode = kCalibDragMove;
        } else if (WithinMarkBox(rectangle.top, p.y)) {
            mode = kCalibDragTop;
        } else if (WithinMarkBox(rectangle.bottom, p.y)) {
            mode = kCalibDragBottom;
        }
    }
    // The side marks are tested last and win over the centre and the top and
    // bottom marks, as the editing has always behaved.
    if (nearCentreY) {
        if (WithinMarkBox(rectangle.left, p.x)) {
            mode = kCalibDragLeft;
        } else if (WithinMarkBox(rectangle.right, p.x)) {
            mode = kCalibDragRight;
        }
    }
    return mode;
}

int FrameCornerAt(const RECT& frame, IntPoint p)
{
    const bool nearLeft = NearCorner(frame.left, p.x);
    const bool nearRight = NearCorner(frame.right, p.x);
    const bool nearTop = NearCorner(frame.top, p.y);
    const bool nearBottom = NearCorner(frame.bottom, p.y);
    if (nearLeft && nearTop) {
        return kFrameCornerTopLeft;
    }
    if (nearRight && nearTop) {
        return kFrameCornerTopRight;
    }
    if (nearLeft && nearBottom) {
        return kFrameCornerBottomLeft;
    }
    if (nearRight && nearBottom) {
        return kFrameCornerBottomRight;
    }
    return kFrameCornerNone;
}

bool ApplyCalibrationDrag(CALIBRATION& record, PointD p)
{
    const double dx = p.x - record.dragAnchor.x;
    const double dy = p.y - record.dragAnchor.y;
    const double width = record.right - record.left;
    const double height = record.bottom - record.top;
    switch (record.dragMode) {
    case kCalibDragMove:
        record.left += dx;
        record.right += dx;
        record.top += dy;
        record.bottom += dy;
        break;
    case kCalibDragTop:
        if (!ResizeAllowed(height, -dy)) {
            return false;
        }
        record.top += dy;
        record.bottom -= dy;
        break;
    case kCalibDragBottom:
        if (!ResizeAllowed(height, dy)) {
            return false;
        }
        record.top -= dy;
        record.bottom += dy;
        break;
    case kCalibDragLeft:
        if (!ResizeAllowed(width, -dx)) {
            return false;
        }
        record.left += dx;
        record.right -= dx;
        break;
    case kCalibDragRight:
        if (!ResizeAllowed(width, dx)) {
            return false;
        }
        record.right += dx;
        record.left -= dx;
        break;
    default: return false;
    }
    record.dragAnchor = p;
    return true;
}

int CursorHintOfDragMode(std::int32_t mode)
{
    switch (mode) {
    case kCalibDragMove: return kCursorHintMove;
    case kCalibDragTop:
    case kCalibDragBottom: return kCursorHintNorthSouth;
    case kCalibDragLeft:
    case kCalibDragRight: return kCursorHintWestEast;
    default: return 0;
    }
}

void SetFrameCorner(RECT& frame, int corner, IntPoint p)
{
    switch (corner) {
    case kFrameCornerTopLeft:
        frame.left = p.x;
        frame.top = p.y;
        break;
    case kFrameCornerTopRight:
        frame.right = p.x;
        frame.top = p.y;
        break;
    case kFrameCornerBottomLeft:
        frame.left = p.x;
        frame.bottom = p.y;
        break;
    case kFrameCornerBottomRight:
        frame.right = p.x;
        frame.bottom = p.y;
        break;
    default: break;
    }
}

void CalibrationRectEdit::Begin(CALIBRATION& record, RECT& frame)
{
    End();
    m_record = &record;
    m_frame = &frame;
}

void CalibrationRectEdit::End()
{
    OnRButtonUp();
    m_record = nullptr;
    m_frame = nullptr;
}

bool CalibrationRectEdit::dragging() const
{
    return m_cornerDrag != kFrameCornerNone || (m_record != nullptr && m_record->dragMode != kCalibDragNone);
}

CalibrationMouseResult CalibrationRectEdit::OnRButtonDown(PointD p)
{
    if (!isOpen()) {
        return {};
    }
    m_record->dragMode = CalibrationHitMode(*m_record, p);
    m_record->dragAnchor = p;
    if (m_record->dragMode != kCalibDragNone) {
        return {true, false, CursorHintOfDragMode(m_record->dragMode)};
    }
    m_cornerDrag = FrameCornerAt(*m_frame, IntPoint{TruncateToInt(p.x), TruncateToInt(p.y)});
    if (m_cornerDrag != kFrameCornerNone) {
        return {true, false, kCursorHintMove};
    }
    return {};
}

CalibrationMouseResult CalibrationRectEdit::OnMouseMove(PointD p, bool insidePicture)
{
    if (!isOpen()) {
        return {};
    }
    const IntPoint pixel{TruncateToInt(p.x), TruncateToInt(p.y)};
    if (!dragging()) {
        if (insidePicture && FrameCornerAt(*m_frame, pixel) != kFrameCornerNone) {
            return {true, false, kCursorHintMove};
        }
        return {};
    }
    if (!insidePicture) {
        OnRButtonUp();
        return {true, false, -1};
    }
    if (m_cornerDrag != kFrameCornerNone) {
        SetFrameCorner(*m_frame, m_cornerDrag, pixel);
        return {true, true, kCursorHintMove};
    }
    if (!ApplyCalibrationDrag(*m_record, p)) {
        return {true, false, -1};
    }
    if (m_record->dragMode != kCalibDragMove && m_sizeChanged) {
        m_sizeChanged();
    }
    return {true, true, CursorHintOfDragMode(m_record->dragMode)};
}

void CalibrationRectEdit::OnRButtonUp()
{
    if (m_record != nullptr) {
        m_record->dragMode = kCalibDragNone;
    }
    m_cornerDrag = kFrameCornerNone;
}

} // namespace orvane
