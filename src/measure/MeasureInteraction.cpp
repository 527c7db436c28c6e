#include "measure/MeasureInteraction.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_set>

#include "measure/Geometry.h"
#include "measure/MeasureDrawing.h"
#include "measure/MeasureLog.h"
#include "measure/MeasureResults.h"
#include "platform/Clock.h"

namespace orvane {
namespace {

// Stands in when no calibration is selected: results of 0 in cm.
const CALIBRATION kNoCalibration{};

constexpr std::int32_t kPointsOfMode[] = {0, 2, 0, 3, 6, 3, 3};

[[nodiscard]] bool IsToolMode(std::int32_t mode)
{
    return mode >= kModeLength && mode <= kModeAngle;
}

// Points of a record that really hold meaning: pointCount within the array.
[[nodiscard]] std::int32_t MeaningfulPoints(const MEASURE& record)
{
    return std::clamp(record.pointCount, 0, record.points.Capacity());
}

[[nodiscard]] PointD ToPointD(PointD p)
{
    return {p.x, p.y};
}

// a - d <= x < a + d on both axes.
[[nodiscard]] bool WithinSquare(PointD point, PointD position, double d)
{
    return position.x - d <= point.x && point.x < position.x + d && position.y - d <= point.y &&
           point.y < position.y + d;
}

// Labels drawn only with "color.showangle": the direction of a length and of two circles.
[[nodiscard]] bool IsAngleLabel(std::int32_t kind, std::int32_t label)
{
    return (kind == FinishedKind(kModeLength) && label == 1) || (kind == FinishedKind(kModeTwoCircles) && label == 3);
}

[[nodiscard]] std::int32_t LabelCountOfKind(std::int32_t kind)
{
    switch (kind) {
    case FinishedKind(kModeLength): return 2;
    case FinishedKind(kModeTwoCircles): return 4;
    case FinishedKind(kModeArea):
    case FinishedKind(kModeCircle):
    case FinishedKind(kModePerpendicular):
    case FinishedKind(kModeAngle): return 1;
    default: return 0;
    }
}

[[nodiscard]] std::string_view Text(Language language, std::string_view english, std::string_view japanese)
{
    return language == Language::Japanese ? japanese : english;
}

} // namespace

std::int32_t RimCursor(PointD centre, PointD pointer)
{
    const double a = DirectionAngle(pointer.x, pointer.y, centre.x, centre.y, 0);
    const auto inSector = [a](double from, double to) {
        return (a >= from && a < to) || (a >= from + 180.0 && a < to + 180.0);
    };
    if (inSector(23.0, 68.0)) {
        return kCursorSizeNeSw;
    }
    if (inSector(68.0, 113.0)) {
        return kCursorSizeNs;
    }
    if (inSector(113.0, 158.0)) {
        return kCursorSizeNwSe;
    }
    return kCursorSizeWe;
}

std::string_view DeleteAllQuestion()
{
    return Text(CurrentLanguage(), "Are all items deleted ?", "全てのアイテムを削除しますか？");
}

std::string_view DeleteAllCaption()
{
    return Text(CurrentLanguage(), "confirm", "確認");
}

MeasureInteraction::MeasureInteraction(InteractionContext context) : m_context(std::move(context))
{
}

// ---- context ----------------------------------------------------------------

InteractionSettings MeasureInteraction::Settings() const
{
    return m_context.settings ? m_context.settings() : InteractionSettings{};
}

const CALIBRATION& MeasureInteraction::CalibrationOf(const InteractionSettings& settings) const
{
    return settings.calibration != nullptr ? *settings.calibration : kNoCalibration;
}

double MeasureInteraction::HitToleranceImage(const InteractionSettings& settings) const
{
    const std::optional<ViewTransform> transform = TransformOf(settings.view);
    const double zoom = transform && transform->scaleX > 0.0 ? transform->scaleX : 1.0;
    return kHitTolerancePixels / zoom;
}

PointD MeasureInteraction::SnapToEdge(PointD image, bool& snapped) const
{
    snapped = false;
    return m_context.snapToEdge ? m_context.snapToEdge(image, snapped) : image;
}

void MeasureInteraction::RepaintPicture() const
{
    if (m_context.repaintPicture) {
        m_context.repaintPicture();
    }
}

void MeasureInteraction::RepaintWindow() const
{
    if (m_context.repaintWindow) {
        m_context.repaintWindow();
    }
}

// ---- tools ------------------------------------------------------------------

void MeasureInteraction::OnToolButton(std::int32_t mode)
{
    SetTool(m_working.kind == mode ? kModeNone : mode);
}

void MeasureInteraction::SetTool(std::int32_t mode)
{
    if (m_context.cancelFocusArea) {
        m_context.cancelFocusArea();
    }
    m_working.kind = IsToolMode(mode) ? mode : kModeNone;
    m_working.pointCount = 0;
    m_working.unit = kUnitCm;
    m_working.points.Clear();
    if (m_working.kind != kModeNone) {
        m_working.points.Grow(0, kWorkingSlots);
    }
    m_working.value = {};
    m_working.centre = {};
    m_working.radius = {};
    m_working.labelOffset = {};
    RepaintWindow();
}

void MeasureInteraction::ReArm(std::int32_t mode)
{
    SetTool(kModeNone);
    OnToolButton(mode);
}

// ---- placing points ---------------------------------------------------------

void MeasureInteraction::OnLButtonUp(int x, int y, bool shift)
{
    const IntPoint position{x, y};
    const std::uint32_t now = m_context.clock ? m_context.clock() : TickCount();
    const bool isDouble = m_lastUpPos && *m_lastUpPos == position &&
                          static_cast<std::uint32_t>(now - m_lastUpTime) <= m_context.doubleClickTime;
    m_lastUpTime = now;
    m_lastUpPos = position;

    const InteractionSettings settings = Settings();
    if (!Contains(settings.view.frame, position) || isDouble) {
        return;
    }
    const std::optional<PointD> image = ClientToImage(settings.view, {double(x), double(y)});
    if (!image) {
        return;
    }
    if (m_working.kind == kModeNone) {
        SelectByLabel(ToPointD(*image), settings);
        return;
    }
    bool snapped = false;
    PlacePoint(SnapToEdge(ToPointD(*image), snapped));
    CompleteIfReady(settings, shift);
    RepaintPicture();
}

void MeasureInteraction::SelectByLabel(PointD image, const InteractionSettings& settings)
{
    const HitResult hit = HitTest(image.x, image.y, HitToleranceImage(settings));
    if (hit.hit != HitKind::Label || hit.record == nullptr) {
        return;
    }
    std::vector<int> rows;
    for (int row = 0; row < m_list.RowCount(); ++row) {
        if (m_list.rows()[static_cast<std::size_t>(row)].record == hit.record) {
            rows.push_back(row);
        }
    }
    OnListItemChanged(rows);
    if (m_context.showSelection) {
        m_context.showSelection(rows);
    }
}

void MeasureInteraction::CancelPlacing()
{
    if (placing()) {
        SetTool(m_working.kind);
    }
}

void MeasureInteraction::PlacePoint(PointD p)
{
    const std::int32_t index = m_working.pointCount;
    if (index >= m_working.points.Capacity()) {
        m_working.points.Grow(m_working.points.Capacity(), index + m_working.points.Capacity());
    }
    if (m_working.points.SetAt(index, p.x, p.y) != 0) {
        ++m_working.pointCount;
    }
}

void MeasureInteraction::CompleteIfReady(const InteractionSettings& settings, bool shift)
{
    const std::int32_t mode = m_working.kind;
    const std::int32_t count = m_working.pointCount;
    const std::span<PointD> points = m_working.points.Slots();
    switch (mode) {
    case kModeLength:
        if (count >= kPointsOfMode[mode]) {
            if (shift) {
                points[1] = SnapSecondPoint(points[0], points[1], settings.snapStep, SnapRange::FullTurn);
            }
            AddWorking(settings);
        }
        break;
    case kModeCircle:
    case kModeTwoCircles:
    case kModeAngle:
        if (count >= kPointsOfMode[mode]) {
            AddWorking(settings);
        }
        break;
    case kModePerpendicular:
        if (count == 2 && shift) {
            points[1] = SnapSecondPoint(points[0], points[1], settings.snapStep, SnapRange::HalfTurn);
        } else if (count >= 3) {
            AddPerpendicular(settings);
        }
        break;
    default: break; // a polygon is closed by a double click
    }
}

// Computes the working record, adds a copy with its rows and arms the same tool again.
void MeasureInteraction::AddWorking(const InteractionSettings& settings)
{
    const std::int32_t mode = m_working.kind;
    const CALIBRATION& calibration = CalibrationOf(settings);
    const FrameSize frame{settings.view.imageWidth, settings.view.imageHeight};
    if (!ComputeResults(m_working, calibration, settings.baseLine, frame)) {
        kMeasureLog.Warning("measurement of mode " + std::to_string(mode) + " could not be computed");
    }
    m_working.kind = FinishedKind(static_cast<MeasureMode>(mode));
    m_working.unit = calibration.unit;
    if (m_chain.AddTailCopy(&m_working) != 0) {
        m_list.SetListUnit(calibration.unit);
        m_list.AddRecordRows(*m_chain.Current());
    }
    ReArm(mode);
}

// One perpendicular of a series: a record of its own from the base line (the
// first two working points) to the point just placed. The tool stays as it is.
void MeasureInteraction::AddPerpendicular(const InteractionSettings& settings)
{
    const std::span<const PointD> points = m_working.points.Slots();
    const PointD measured = points[static_cast<std::size_t>(m_working.pointCount - 1)];
    MEASURE record;
    record.kind = FinishedKind(kModePerpendicular);
    record.pointCount = 3;
    if (record.points.Grow(0, 4) == 0) {
        return;
    }
    record.points.SetAt(0, points[0].x, points[0].y);
    record.points.SetAt(1, points[1].x, points[1].y);
    record.points.SetAt(2, measured.x, measured.y);
    const CALIBRATION& calibration = CalibrationOf(settings);
    const FrameSize frame{settings.view.imageWidth, settings.view.imageHeight};
    if (!ComputeResults(record, calibration, settings.baseLine, frame)) {
        return;
    }
    if (m_chain.AddTailCopy(&record) != 0) {
        m_list.SetListUnit(calibration.unit);
        m_list.AddRecordRows(*m_chain.Current());
    }
}

void MeasureInteraction::OnLButtonDblClk(int /*x*/, int /*y*/)
{
    if (m_working.kind != kModeArea) {
        return;
    }
    const InteractionSettings settings = Settings();
    const CALIBRATION& calibration = CalibrationOf(settings);
    const FrameSize frame{settings.view.imageWidth, settings.view.imageHeight};
    // Fewer than two vertices are not counted: the area stays 0.
    static_cast<void>(ComputeResults(m_working, calibration, settings.baseLine, frame));
    m_working.kind = FinishedKind(kModeArea);
    m_working.unit = calibration.unit;
    if (m_chain.AddTailCopy(&m_working) != 0) {
        m_list.SetListUnit(calibration.unit);
        m_list.AddRecordRows(*m_chain.Current());
    }
    SetTool(kModeNone);
    RepaintPicture();
    OnToolButton(kModeArea);
}

// ---- hit test ---------------------------------------------------------------

bool MeasureInteraction::HitsLabel(const MEASURE& record, std::int32_t label, PointD position,
                                   const InteractionSettings& settings) const
{
    if (!m_context.measureText || (IsAngleLabel(record.kind, label) && !settings.showAngle)) {
        return false;
    }
    const std::string& text = record.labelText[static_cast<std::size_t>(label)];
    const std::optional<PointD> anchor = LabelAnchor(record, label);
    const std::optional<ViewTransform> transform = TransformOf(settings.view);
    if (text.empty() || !anchor || !transform || transform->scaleX <= 0.0 || transform->scaleY <= 0.0) {
        return false;
    }
    const LabelOffset offset = record.labelOffset[static_cast<std::size_t>(label)];
    double left = anchor->x + offset.dx;
    double top = anchor->y + offset.dy;
    if (record.kind == FinishedKind(kModeArea) || record.kind == FinishedKind(kModePerpendicular)) {
        // Drawn that many screen pixels lower, whatever the zoom.
        top += kLabelDropPixels / transform->scaleY;
    }
    const TextExtent extent = m_context.measureText(text);
    const double right = left + extent.cx / transform->scaleX;
    const double bottom = top + extent.cy / transform->scaleY;
    return position.x >= left && position.x <= right && position.y >= top && position.y <= bottom;
}

HitResult MeasureInteraction::HitTest(double a, double b, double tolerance)
{
    const InteractionSettings settings = Settings();
    const PointD position{a, b};
    for (MEASURE* record = m_chain.First(); record != nullptr; record = record->next) {
        const std::span<const PointD> points = record->points.Slots();
        const std::int32_t count = MeaningfulPoints(*record);
        switch (record->kind) {
        case FinishedKind(kModeLength):
        case FinishedKind(kModeArea):
        case FinishedKind(kModePerpendicular):
        case FinishedKind(kModeAngle):
            for (std::int32_t i = 0; i < count; ++i) {
                if (WithinSquare(points[static_cast<std::size_t>(i)], position, tolerance)) {
                    return {record, HitKind::Point, i};
                }
            }
            break;
        case FinishedKind(kModeCircle):
        case FinishedKind(kModeTwoCircles): {
            const std::int32_t circles = std::min(record->pointCount / 3, 2);
            for (std::int32_t i = 0; i < circles; ++i) {
                const PointD centre = record->centre[static_cast<std::size_t>(i)];
                const double radius = record->radius[static_cast<std::size_t>(i)];
                const double distance = std::hypot(a - centre.x, b - centre.y);
                if (radius >= distance - tolerance && radius < distance + tolerance) {
                    return {record, HitKind::Rim, i};
                }
                if (WithinSquare(centre, position, tolerance)) {
                    return {record, HitKind::Point, i};
                }
            }
            break;
        }
        default: continue;
        }
        for (std::int32_t label = 0; label < LabelCountOfKind(record->kind); ++label) {
            if (HitsLabel(*record, label, position, settings)) {
                return {record, HitKind::Label, label};
            }
        }
    }
    return {};
}

// ---- editing ----------------------------------------------------------------

void MeasureInteraction::OnRButtonDown(int x, int y)
{
    const InteractionSettings settings = Settings();
    if (!Contains(settings.view.frame, {x, y})) {
        return;
    }
    const std::optional<PointD> image = ClientToImage(settings.view, {double(x), double(y)});
    if (!image) {
        return;
    }
    if (m_context.calibrationRightPress) {
        const CalibrationMouseResult result = m_context.calibrationRightPress(ToPointD(*image));
        if (result.cursorHint >= 0) {
            m_cursorHint = result.cursorHint;
        }
        if (result.repaint) {
            RepaintPicture();
        }
        if (result.handled) {
            return;
        }
    }
    const HitResult hit = HitTest(image->x, image->y, HitToleranceImage(settings));
    if (hit.record != nullptr) {
        StartDrag(hit, ToPointD(*image), settings);
    }
}

void MeasureInteraction::StartDrag(const HitResult& hit, PointD image, const InteractionSettings& settings)
{
    m_drag.record = hit.record;
    m_drag.hit = hit.hit;
    m_drag.index = hit.index;
    switch (hit.hit) {
    case HitKind::Label: {
        const LabelOffset offset = hit.record->labelOffset[static_cast<std::size_t>(hit.index)];
        m_drag.grab = {image.x - offset.dx, image.y - offset.dy};
        m_cursorHint = kCursorLabel;
        break;
    }
    case HitKind::Rim: m_cursorHint = RimCursor(hit.record->centre[static_cast<std::size_t>(hit.index)], image); break;
    case HitKind::Point: PointerOverPoint(settings.showCenter); break;
    case HitKind::None: break;
    }
}

void MeasureInteraction::PointerOverPoint(bool showCenter)
{
    m_hideCursor = 1;
    m_systemCursorHidden = !showCenter;
    m_cursorHint = showCenter ? kCursorCentre : kCursorDefault;
}

void MeasureInteraction::ShowDefaultCursor()
{
    m_cursorHint = kCursorDefault;
    m_hideCursor = 0;
    m_systemCursorHidden = false;
}

void MeasureInteraction::ApplyDrag(PointD image, bool shift, const InteractionSettings& settings)
{
    MEASURE& record = *m_drag.record;
    const auto index = static_cast<std::size_t>(m_drag.index);
    const CALIBRATION& calibration = CalibrationOf(settings);
    const FrameSize frame{settings.view.imageWidth, settings.view.imageHeight};
    m_chain.Touch();

    if (m_drag.hit == HitKind::Label) {
        record.labelOffset[index] = {TruncateToInt(image.x - m_drag.grab.x), TruncateToInt(image.y - m_drag.grab.y)};
        RepaintPicture();
        return;
    }
    if (m_drag.hit == HitKind::Rim) {
        record.radius[index] = std::hypot(image.x - record.centre[index].x, image.y - record.centre[index].y);
        record.value[index] = record.radius[index] * (calibration.mpp.x + calibration.mpp.y);
        record.unit = calibration.unit;
        m_list.SetListUnit(calibration.unit);
        m_list.RewriteRecordRow(record, m_drag.index);
        RepaintPicture();
        return;
    }

    bool snapped = false;
    PointD p = SnapToEdge(image, snapped);
    const std::span<PointD> points = record.points.Slots();
    const bool circles = record.kind == FinishedKind(kModeCircle) || record.kind == FinishedKind(kModeTwoCircles);
    if (!circles && index >= points.size()) {
        return;
    }
    m_list.SetListUnit(calibration.unit);
    switch (record.kind) {
    case FinishedKind(kModeLength):
        if (shift && points.size() >= 2) {
            p = SnapSecondPoint(points[1 - index], p, settings.snapStep, SnapRange::FullTurn);
        }
        points[index] = p;
        static_cast<void>(ComputeResults(record, calibration, settings.baseLine, frame));
        m_list.RewriteRecordRows(record);
        break;
    case FinishedKind(kModeArea):
        // The area is counted again when the button is released.
        points[index] = p;
        break;
    case FinishedKind(kModeCircle): record.centre[index] = p; break;
    case FinishedKind(kModeTwoCircles):
        if (shift) {
            p = SnapSecondPoint(record.centre[1 - index], p, settings.snapStep, SnapRange::FullTurn);
        }
        record.centre[index] = p;
        record.value[2] = ScaledDistance(record.centre[0], record.centre[1], calibration.mpp);
        record.value[3] = DirectionAngle(record.centre[1].x, record.centre[1].y, record.centre[0].x, record.centre[0].y,
                                         settings.baseLine);
        record.unit = calibration.unit;
        m_list.RewriteRecordRow(record, 2);
        m_list.RewriteRecordRow(record, 3);
        break;
    case FinishedKind(kModePerpendicular):
        if (index < 2) {
            DragBasePoint(p, shift, settings);
        } else {
            points[index] = p;
            static_cast<void>(ComputeResults(record, calibration, settings.baseLine, frame));
            m_list.RewriteRecordRows(record);
        }
        break;
    case FinishedKind(kModeAngle):
        points[index] = p;
        static_cast<void>(ComputeResults(record, calibration, settings.baseLine, frame));
        m_list.RewriteRecordRows(record);
        break;
    default: break;
    }
    RepaintPicture();
}

// A base point belongs to the whole series measured from that base line: it
// moves in every perpendicular whose two base points equal the dragged one's.
void MeasureInteraction::DragBasePoint(PointD p, bool shift, const InteractionSettings& settings)
{
    MEASURE& dragged = *m_drag.record;
    const auto index = static_cast<std::size_t>(m_drag.index);
    const std::span<const PointD> base = dragged.points.Slots();
    if (base.size() < 2) {
        return;
    }
    const PointD base0 = base[0];
    const PointD base1 = base[1];
    if (shift) {
        p = SnapSecondPoint(index == 0 ? base1 : base0, p, settings.snapStep, SnapRange::HalfTurn);
        p = {static_cast<double>(static_cast<std::int64_t>(p.x + 0.5)),
             static_cast<double>(static_cast<std::int64_t>(p.y + 0.5))};
    }
    const CALIBRATION& calibration = CalibrationOf(settings);
    const FrameSize frame{settings.view.imageWidth, settings.view.imageHeight};
    for (MEASURE* record = m_chain.First(); record != nullptr; record = record->next) {
        const std::span<PointD> points = record->points.Slots();
        if (record->kind != FinishedKind(kModePerpendicular) || points.size() < 2 || points[0] != base0 ||
            points[1] != base1) {
            continue;
        }
        points[index] = p;
        static_cast<void>(ComputeResults(*record, calibration, settings.baseLine, frame));
        m_list.RewriteRecordRows(*record);
    }
}

void MeasureInteraction::OnRButtonUp()
{
    if (m_context.calibrationRightRelease) {
        m_context.calibrationRightRelease();
    }
    if (m_working.kind == kModePerpendicular) {
        // Ends the series: the next click starts a new base line.
        EndDrag();
        ReArm(kModePerpendicular);
        return;
    }
    if (m_drag.record == nullptr) {
        return;
    }
    MEASURE& record = *m_drag.record;
    if (record.kind == FinishedKind(kModeArea)) {
        const InteractionSettings settings = Settings();
        const CALIBRATION& calibration = CalibrationOf(settings);
        static_cast<void>(ComputeResults(record, calibration, settings.baseLine,
                                         {settings.view.imageWidth, settings.view.imageHeight}));
        m_chain.Touch();
        record.unit = calibration.unit;
        m_list.SetListUnit(calibration.unit);
        m_list.RewriteRecordRows(record);
        RepaintPicture();
    }
    EndDrag();
}

void MeasureInteraction::EndDrag()
{
    m_drag = {};
}

// ---- moving -----------------------------------------------------------------

void MeasureInteraction::OnMouseMove(int x, int y, bool shift)
{
    m_shift = shift;
    const InteractionSettings settings = Settings();
    const bool inside = Contains(settings.view.frame, {x, y});
    const std::optional<PointD> mapped = ClientToImage(settings.view, {double(x), double(y)});
    if (!mapped) {
        return;
    }
    const PointD image = ToPointD(*mapped);

    if (m_context.calibrationMouseMove) {
        const CalibrationMouseResult result = m_context.calibrationMouseMove(image, inside);
        if (result.repaint) {
            RepaintPicture();
        }
        if (result.handled) {
            if (result.cursorHint >= 0) {
                m_cursorHint = result.cursorHint;
            }
            m_hideCursor = 0;
            m_systemCursorHidden = false;
            return;
        }
    }

    // An edit follows the pointer only while no tool is armed.
    if (m_drag.record != nullptr && m_working.kind == kModeNone) {
        ApplyDrag(image, shift, settings);
        return;
    }

    if (m_working.kind != kModeNone) {
        if (!inside) {
            m_mouse.reset();
            ShowDefaultCursor();
            return;
        }
        bool snapped = false;
        m_mouse = SnapToEdge(image, snapped);
        m_hideCursor = 1;
        m_systemCursorHidden = !settings.showCenter;
        m_cursorHint = snapped ? kCursorSnapped : (settings.showCenter ? kCursorCentre : kCursorDefault);
        RepaintPicture();
        return;
    }

    m_mouse.reset();
    if (!inside) {
        ShowDefaultCursor();
        return;
    }
    Hover(image, settings);
}

void MeasureInteraction::Hover(PointD image, const InteractionSettings& settings)
{
    const bool crossHairsBefore = m_hideCursor != 0;
    const HitResult hit = HitTest(image.x, image.y, HitToleranceImage(settings));
    switch (hit.hit) {
    case HitKind::None: ShowDefaultCursor(); break;
    case HitKind::Rim:
        ShowDefaultCursor();
        m_cursorHint = RimCursor(hit.record->centre[static_cast<std::size_t>(hit.index)], image);
        break;
    case HitKind::Label:
        ShowDefaultCursor();
        m_cursorHint = kCursorLabel;
        break;
    case HitKind::Point: PointerOverPoint(settings.showCenter); break;
    }
    // The cursor cross hairs follow the pointer while they stand in for it.
    if (crossHairsBefore || m_hideCursor != 0) {
        RepaintPicture();
    }
}

// ---- list -------------------------------------------------------------------

// Removes this very record (ids are random and may repeat, so not by id).
bool MeasureInteraction::RemoveRecord(const MEASURE* record)
{
    if (m_chain.MoveFirst() == 0) {
        return false;
    }
    do {
        if (m_chain.Current() == record) {
            return m_chain.RemoveCurrent() != 0;
        }
    } while (m_chain.MoveNext() != 0);
    return false;
}

void MeasureInteraction::OnDelete()
{
    if (m_list.RowCount() == 0) {
        return;
    }
    std::vector<const MEASURE*> owners;
    for (const int row : m_selectedRows) {
        if (row < 0 || row >= m_list.RowCount()) {
            continue;
        }
        const MEASURE* record = m_list.rows()[static_cast<std::size_t>(row)].record;
        if (record != nullptr && std::find(owners.begin(), owners.end(), record) == owners.end()) {
            owners.push_back(record);
        }
    }

    if (!owners.empty()) {
        EndDrag();
        for (const MEASURE* record : owners) {
            RemoveRecord(record);
        }
        m_chain.Renumber();
        m_selectedRows.clear();
        m_list.SetListUnit(CalibrationOf(Settings()).unit);
        m_list.RefillList(m_chain);
    } else {
        const bool yes = m_context.askYesNo && m_context.askYesNo(DeleteAllQuestion(), DeleteAllCaption());
        if (!yes) {
            return;
        }
        EndDrag();
        SetTool(kModeNone);
        m_chain.RemoveAll();
        m_selectedRows.clear();
        m_list.Clear();
    }
    RepaintPicture();
}

void MeasureInteraction::OnListItemChanged(std::span<const int> selectedRows)
{
    // Rows name records by address; only records of the chain are marked, and
    // with one pass over the chain, so that long lists stay quick.
    const std::vector<ResultListRow>& rows = m_list.rows();
    std::unordered_set<const MEASURE*> chosen;
    m_selectedRows.clear();
    for (const int row : selectedRows) {
        if (row < 0 || row >= m_list.RowCount()) {
            continue;
        }
        m_selectedRows.push_back(row);
        chosen.insert(rows[static_cast<std::size_t>(row)].record);
    }
    std::unordered_set<const MEASURE*> listed;
    for (const ResultListRow& row : rows) {
        listed.insert(row.record);
    }
    for (MEASURE* record = m_chain.First(); record != nullptr; record = record->next) {
        if (chosen.contains(record)) {
            record->selected = 1;
        } else if (listed.contains(record)) {
            record->selected = 0;
        }
    }
    m_chain.Touch();
    RepaintPicture();
}

void MeasureInteraction::RefillList()
{
    EndDrag();
    m_selectedRows.clear();
    m_list.SetListUnit(CalibrationOf(Settings()).unit);
    m_list.RefillList(m_chain);
}

void MeasureInteraction::OnCalibrationChanged()
{
    const InteractionSettings settings = Settings();
    const CALIBRATION& calibration = CalibrationOf(settings);
    RecomputeForCalibration(m_chain, calibration, {settings.view.imageWidth, settings.view.imageHeight});
    m_list.SetListUnit(calibration.unit);
    m_list.RewriteAllRows();
    RepaintPicture();
}

} // namespace orvane
