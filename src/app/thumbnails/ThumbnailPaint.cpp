#include "app/thumbnails/ThumbnailPaint.h"

#include <filesystem>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "app/qt/FrameImageQt.h"
#include "files/Thumbnail.h"

namespace orvane {

QFont ThumbnailFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(11);
    return font;
}

void PaintThumbnail(QPainter& painter, const THUMBNAIL& thumbnail, const QRect& cell, int nameTop)
{
    const FrameImage& picture = thumbnail.picture;
    DrawFrameImage(painter, QRectF(cell), picture, QRectF(0, 0, picture.width(), picture.height()));

    painter.setFont(ThumbnailFont());
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(painter.font());
    const QString name = QString::fromStdString(std::filesystem::path(thumbnail.path).filename().string());
    const int nameWidth = metrics.horizontalAdvance(name);
    const int nameLeft = std::max(cell.left(), cell.left() + (cell.width() - nameWidth) / 2);
    painter.drawText(nameLeft, nameTop + metrics.ascent(), name);
    painter.drawText(cell.left(), cell.top() + metrics.ascent(), QString::number(thumbnail.no + 1));
}

} // namespace orvane
