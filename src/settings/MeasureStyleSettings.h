#pragma once

#include "image/DrawingSurface.h"
#include "measure/MeasureDrawing.h"
#include "settings/OrvaneSettings.h"

namespace orvane {

// The "color.font.*" keys -> the font the overlays draw with: height, weight,
// italic, underline, strike-out and face name (the other fields only ever
// steered the reference platform's font matcher).
[[nodiscard]] DrawingFont DrawingFontOf(const LogFontSettings& font);

// The "color.*" keys -> how measurements look: pen from "color.line" and
// "color.linesize" (at least 1), text colour, label font, show-angle flag, angle
// base line and snap step.
[[nodiscard]] MeasureStyle MeasureStyleOf(const ColorSettings& color);

} // namespace orvane
