#pragma once

#include <QImage>

#include "app/look/PictureSheet.h"

// The window's pictures, drawn from scratch. Opaque pictures come back as
// RGB888 (saved as 24-bit PNGs), pictures with transparency as ARGB32.
namespace orvane::draw {

[[nodiscard]] QImage DrawButtonSheet();
[[nodiscard]] QImage DrawBackgroundTile();
[[nodiscard]] QImage DrawArrowStrip();
[[nodiscard]] QImage DrawMagnetIcon();
[[nodiscard]] QImage DrawCursor(sheet::CursorPicture cursor);
[[nodiscard]] QImage DrawProgramIcon(int size);

} // namespace orvane::draw
