#pragma once

#include <QFont>
#include <QRect>

class QPainter;

namespace orvane {

struct THUMBNAIL;

// One thumbnail as the strip and the browser draw it: the picture stretched
// to `cell`, its file name centred on the cell (never left of it) with the
// text's top at `nameTop`, and its 1-based number at the cell's top-left
// corner, both black on white in the window's thumbnail font.
void PaintThumbnail(QPainter& painter, const THUMBNAIL& thumbnail, const QRect& cell, int nameTop);

// The face of string 1010 at 11 points.
[[nodiscard]] QFont ThumbnailFont();

} // namespace orvane
