#pragma once

#include <QPainter>
#include <QPointF>

#include "Style.h"

namespace orvane::draw {

enum class Pictogram {
    None,
    Length,
    Area,
    Circle,
    Distance,
    Live,
    Still,
    Colour,
    Calibrate,
    Clear,
    Delete,
    Save,
    SaveDown,
    Folder,
    Sliders,
    Gear,
    GearMagnifier,
    Thumbnails,
    Perpendicular,
    Angle,
    WhiteBalance,
    ScaleBar,
    Load,
    CrossLines,
    FocusRing,
    Grid,
    FocusArea,
};

// Draws a pictogram designed in a box of about 26 × 24 px around `centre`,
// enlarged by `scale`.
void DrawPictogram(QPainter& painter, Pictogram pictogram, QPointF centre, double scale, const FacePalette& palette);

} // namespace orvane::draw
