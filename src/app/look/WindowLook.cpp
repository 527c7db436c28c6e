#include "app/look/WindowLook.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "app/qt/FrameImageQt.h"
#include "image/FrameImage.h"

namespace orvane {

QColor StaticTextColour()
{
    return QColor(GetRValue(kStaticTextColour), GetGValue(kStaticTextColour), GetBValue(kStaticTextColour));
}

void ApplyStaticTextLook(QWidget& widget)
{
    QPalette palette = widget.palette();
    // Disabled texts keep the greyed look, as a disabled static control does.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, StaticTextColour());
        palette.setColor(group, QPalette::Text, StaticTextColour());
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(false);
}

TileGrid BackgroundTileGrid(int clientWidth, int clientHeight, int tileWidth, int tileHeight)
{
    if (tileWidth <= 0 || tileHeight <= 0) {
        return {};
    }
    return {clientWidth / tileWidth + 1, clientHeight / tileHeight + 1};
}

void TileBackground(QPainter& painter, const QRect& client, const FrameImage& tile)
{
    const TileGrid grid = BackgroundTileGrid(client.width(), client.height(), tile.width(), tile.height());
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            DrawFrameImage(painter, QPointF(client.left() + column * tile.width(), client.top() + row * tile.height()),
                           tile);
        }
    }
}

} // namespace orvane
