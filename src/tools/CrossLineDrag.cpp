#include "tools/CrossLineDrag.h"

#include <cmath>
#include <span>
#include <vector>

#include "image/ViewMath.h"
#include "tools/CrossLineDrawing.h"

namespace orvane {
namespace {

std::optional<std::size_t> HitIn(std::span<const CrossLine> list, PointD image)
{
    if (list.empty() || list.front().Show == 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].Show == 0) {
            continue;
        }
        const IntPoint p = CrossLinePosition(list, i);
        if (std::hypot(p.x - image.x, p.y - image.y) < CrossLineDrag::kGrabDistance) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<CrossLineGrab> CrossLineDrag::OnRButtonDown(const CrossLineSettings& settings, PointD image)
{
    m_grab.reset();
    if (const std::optional<std::size_t> line = HitIn(settings.lines, image)) {
        m_grab = CrossLineGrab{CrossLineGrab::List::Lines, *line};
    } else if (const std::optional<std::size_t> circle = HitIn(settings.circles, image)) {
        m_grab = CrossLineGrab{CrossLineGrab::List::Circles, *circle};
    }
    return m_grab;
}

bool CrossLineDrag::OnMouseMove(CrossLineSettings& settings, PointD image) const
{
    if (!m_grab) {
        return false;
    }
    std::vector<CrossLine>& list = m_grab->list == CrossLineGrab::List::Lines ? settings.lines : settings.circles;
    if (m_grab->index >= list.size()) {
        return false; // the dialog removed the entry meanwhile
    }
    const int x = TruncateToInt(image.x);
    const int y = TruncateToInt(image.y);
    CrossLine& entry = list[m_grab->index];
    if (m_grab->index == 0) {
        entry.Pos_x = x;
        entry.Pos_y = y;
    } else {
        entry.Pos_x = TruncateToInt(double(x) - list.front().Pos_x);
        entry.Pos_y = TruncateToInt(double(y) - list.front().Pos_y);
    }
    return true;
}

} // namespace orvane
