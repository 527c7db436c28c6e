#pragma once

#include <cstdint>
#include <initializer_list>

#include "image/ViewMath.h"
#include "measure/Measure.h"
#include "measure/MeasureInteraction.h"

namespace orvane::test {

// Places the points with tool `mode` as clicks (client = image coordinates at
// x1); a polygon is closed by a double click on its last point, a
// perpendicular series ended by the right button. The tool is put down after.
inline void PlaceMeasurement(MeasureInteraction& interaction, std::int32_t mode,
                             std::initializer_list<IntPoint> points)
{
    interaction.SetTool(mode);
    for (const IntPoint p : points) {
        interaction.OnLButtonUp(p.x, p.y, false);
    }
    if (mode == kModeArea) {
        interaction.OnLButtonDblClk(points.end()[-1].x, points.end()[-1].y);
    }
    if (mode == kModePerpendicular) {
        interaction.OnRButtonUp();
    }
    interaction.SetTool(kModeNone);
}

} // namespace orvane::test
