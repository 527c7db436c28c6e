#include "tools/FocusIndicator.h"

#include <algorithm>
#include <array>

#include "tools/FocusMeter.h"

namespace orvane {

namespace {

IntPoint ToView(const ViewTransform& transform, int x, int y)
{
    const PointD p = transform.ToBackBuffer({static_cast<double>(x), static_cast<double>(y)});
    return {TruncateToInt(p.x), TruncateToInt(p.y)};
}

// The rectangle's four edges as lines, corner to corner.
void Outline(DrawingSurface& surface, const ViewTransform& transform, const RECT& r)
{
    const std::array corners{ToView(transform, r.left, r.top), ToView(transform, r.right, r.top),
                             ToView(transform, r.right, r.bottom), ToView(transform, r.left, r.bottom)};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const IntPoint& from = corners[i];
        const IntPoint& to = corners[(i + 1) % corners.size()];
        surface.Line(from.x, from.y, to.x, to.y);
    }
}

} // namespace

bool FocusIndicator::StartArea()
{
    if (m_drawing.state != FocusArea::kFree) {
        return false;
    }
    m_drawing = {};
    m_drawing.state = FocusArea::kWaiting;
    return true;
}

bool FocusIndicator::OnLButtonDown(IntPoint image)
{
    if (m_drawing.state != FocusArea::kWaiting) {
        return false;
    }
    m_drawing.area = {image.x, image.y, image.x, image.y};
    m_drawing.state = FocusArea::kDragging;
    return true;
}

bool FocusIndicator::OnMouseMove(IntPoint image)
{
    if (m_drawing.state != FocusArea::kDragging) {
        return false;
    }
    m_drawing.area.right = image.x;
    m_drawing.area.bottom = image.y;
    return true;
}

std::optional<int> FocusIndicator::OnLButtonUp(IntPoint image)
{
    if (m_drawing.state != FocusArea::kDragging) {
        return std::nullopt;
    }
    FocusArea placed = m_drawing;
    const RECT corners{placed.area.left, placed.area.top, image.x, image.y};
    placed.area = {std::min(corners.left, corners.right), std::min(corners.top, corners.bottom),
                   std::max(corners.left, corners.right), std::max(corners.top, corners.bottom)};
    placed.state = FocusArea::kPlaced;
    m_areas.push_back(placed);
    m_drawing = {};
    return static_cast<int>(m_areas.size()) - 1;
}

FocusArea* FocusIndicator::At(int index)
{
    if (index < 0 || index >= static_cast<int>(m_areas.size())) {
        return nullptr;
    }
    return &m_areas[static_cast<std::size_t>(index)];
}

void FocusIndicator::Close(int index)
{
    if (FocusArea* area = At(index); area != nullptr && area->state != FocusArea::kFree) {
        area->state = FocusArea::kClosed;
    }
}

void FocusIndicator::SetActive(int index, bool active)
{
    if (FocusArea* area = At(index)) {
        area->active = active;
    }
}

void FocusIndicator::ScaleChanged(int index)
{
    if (FocusArea* area = At(index)) {
        area->peak = area->value;
    }
}

bool FocusIndicator::ComputeFocus(const FrameImage& frame)
{
    bool measured = false;
    for (FocusArea& area : m_areas) {
        if (area.state == FocusArea::kFree) {
            continue;
        }
        area.value = FocusSharpness(frame, area.area, m_grey);
        area.peak = std::max(area.peak, area.value);
        measured = true;
    }
    return measured;
}

void FocusIndicator::DrawFocusOverlay(DrawingSurface& surface, const ViewTransform& transform, const FocusStyle& style,
                                      int imageWidth)
{
    for (FocusArea& area : m_areas) {
        if (area.state == FocusArea::kClosed) {
            area = {};
        }
        if (area.state == FocusArea::kFree) {
            continue;
        }
        surface.SetPen(area.active ? SwapRedBlue(style.wave) : style.wave, style.waveSize);
        Outline(surface, transform, area.area);
    }
    if (m_drawing.state == FocusArea::kDragging) {
        surface.SetPen(style.wave, style.waveSize);
        Outline(surface, transform, m_drawing.area);
    }
    if (style.focusFlag != 0) {
        surface.SetPen(style.wave, style.waveSize);
        const IntPoint from = ToView(transform, 0, style.focusPosition);
        const IntPoint to = ToView(transform, imageWidth, style.focusPosition);
        surface.Line(from.x, from.y, to.x, to.y);
    }
}

} // namespace orvane
