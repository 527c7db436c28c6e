#pragma once

#include <QColor>
#include <QRect>

#include "image/BitmapTypes.h"

class QPainter;
class QWidget;

namespace orvane {

class FrameImage;

// Text colour of the window's static texts (labels, group box titles, the
// magnet check box); their background stays see-through so the tiled
// background shows behind them.
inline constexpr COLORREF kStaticTextColour = RGB(0, 168, 185);

[[nodiscard]] QColor StaticTextColour();

// Gives a static control the window's text colour and a see-through background.
void ApplyStaticTextLook(QWidget& widget);

struct TileGrid {
    int columns = 0;
    int rows = 0;
    friend constexpr bool operator==(const TileGrid&, const TileGrid&) = default;
};

// Copies of a tile that cover a client area from its top-left corner:
// (width / tile width + 1) × (height / tile height + 1); none for an empty tile.
[[nodiscard]] TileGrid BackgroundTileGrid(int clientWidth, int clientHeight, int tileWidth, int tileHeight);

// Paints the tile over `client` in that grid, starting at client's top-left.
// Nothing when the tile is empty.
void TileBackground(QPainter& painter, const QRect& client, const FrameImage& tile);

} // namespace orvane
