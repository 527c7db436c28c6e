#pragma once

#include <QImage>
#include <QRectF>
#include <QTransform>

#include "image/FrameImage.h"

class QPainter;

// FrameImage pixels for QPainter.
//
// A FrameImage keeps its rows bottom-up, and a QImage cannot step backwards
// through memory, so the no-copy view shows the rows in memory order: line 0
// of the view is the picture's bottom row. Drawing from it and painting onto
// it go through a vertical flip (PictureToMemoryRows); DrawFrameImage does
// that for the common case of showing a picture the right way up.
//
// 32-bit images store alpha inverted (255 − alpha, as the PNG reader leaves
// it), which no QImage format means; they are read through a converting copy
// and never wrapped.
namespace orvane {

// No-copy view of an 8-bit (Indexed8 with the image's colour table) or 24-bit
// (BGR888) image, rows in memory order. Null for an empty, 16- or 32-bit image.
// The view borrows the pixels: it must not outlive the image or a re-create.
[[nodiscard]] QImage WrapMemoryRows(FrameImage& image);

// Picture coordinates (y down from the top row) to the memory-row view:
// (x, y) → (x, height − y). Text painted through it comes out mirrored; a
// canvas drawing text flips back around the text's own origin.
[[nodiscard]] QTransform PictureToMemoryRows(int height);

// An independent, top-row-first copy: 8-bit → Indexed8, 24-bit → RGB888,
// 32-bit → ARGB32 with alpha = 255 − stored byte. Null for empty and 16-bit.
[[nodiscard]] QImage ToQImage(const FrameImage& image);

// Draws `source` (picture coordinates) of the image stretched onto `target`,
// the right way up. 8- and 24-bit images are drawn straight from their pixels;
// 32-bit ones through ToQImage. False when there is nothing it can draw.
bool DrawFrameImage(QPainter& painter, const QRectF& target, const FrameImage& image, const QRectF& source);

// The whole image, unscaled, with its top-left corner at `topLeft`.
bool DrawFrameImage(QPainter& painter, QPointF topLeft, const FrameImage& image);

} // namespace orvane
