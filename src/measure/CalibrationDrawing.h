#pragma once

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/ViewMath.h"
#include "measure/Calibration.h"

namespace orvane {

// The calibration marks over the picture while the calibration dialog is
// open, with a solid pen of the measurement colour and width. With L, T, R, B
// the rectangle mapped to back-buffer pixels (truncated) and mx = L + (R -
// L) / 2, my = T + (B - T) / 2 (whole-pixel halving):
//   the lines (L, my)-(R, my) and (mx, T)-(mx, B);
//   20-pixel end marks (mx - 10, T)-(mx + 10, T), (mx - 10, B)-(mx + 10, B),
//   (L, my - 10)-(L, my + 10), (R, my - 10)-(R, my + 10);
//   the frame as a closed outline top-left, top-right, bottom-right,
//   bottom-left.
void DrawCalibrationMarks(DrawingSurface& surface, const ViewTransform& transform, const CALIBRATION& rectangle,
                          const RECT& frame, COLORREF lineColour, int lineWidth);

} // namespace orvane
