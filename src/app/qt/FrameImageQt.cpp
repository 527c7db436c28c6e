#include "app/qt/FrameImageQt.h"

#include <algorithm>
#include <cstdint>

#include <QList>
#include <QPainter>

namespace orvane {
namespace {

QList<QRgb> ColourTable(const FrameImage& image)
{
    QList<QRgb> table;
    table.reserve(256);
    for (const RGBQUAD& entry : image.colorTable()) {
        table.append(qRgb(entry.rgbRed, entry.rgbGreen, entry.rgbBlue));
    }
    return table;
}

} // namespace

QImage WrapMemoryRows(FrameImage& image)
{
    if (image.isEmpty()) {
        return {};
    }
    switch (image.bitsPerPixel()) {
    case 8: {
        QImage view(image.bits(), image.width(), image.height(), image.stride(), QImage::Format_Indexed8);
        view.setColorTable(ColourTable(image));
        return view;
    }
    case 24: return QImage(image.bits(), image.width(), image.height(), image.stride(), QImage::Format_BGR888);
    default: return {};
    }
}

QTransform PictureToMemoryRows(int height)
{
    return QTransform(1.0, 0.0, 0.0, -1.0, 0.0, static_cast<double>(height));
}

QImage ToQImage(const FrameImage& image)
{
    if (image.isEmpty()) {
        return {};
    }
    const int width = image.width();
    const int height = image.height();
    switch (image.bitsPerPixel()) {
    case 8: {
        QImage copy(width, height, QImage::Format_Indexed8);
        copy.setColorTable(ColourTable(image));
        for (int y = 0; y < height; ++y) {
            std::copy_n(image.Row(y), width, copy.scanLine(y));
        }
        return copy;
    }
    case 24: {
        QImage copy(width, height, QImage::Format_RGB888);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = image.Row(y);
            std::uint8_t* out = copy.scanLine(y);
            for (int x = 0; x < width; ++x, in += 3, out += 3) {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
            }
        }
        return copy;
    }
    case 32: {
        QImage copy(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* in = image.Row(y);
            auto* out = reinterpret_cast<QRgb*>(copy.scanLine(y));
            for (int x = 0; x < width; ++x, in += 4) {
                out[x] = qRgba(in[2], in[1], in[0], 255 - in[3]);
            }
        }
        return copy;
    }
    default: return {};
    }
}

bool DrawFrameImage(QPainter& painter, const QRectF& target, const FrameImage& image, const QRectF& source)
{
    if (image.isEmpty() || target.isEmpty() || source.isEmpty()) {
        return false;
    }
    if (image.bitsPerPixel() == 32) {
        const QImage copy = ToQImage(image);
        painter.drawImage(target, copy, source);
        return true;
    }
    // Drawing only reads the pixels; the non-const view keeps Qt from copying
    // them when the colour table of an 8-bit view is set.
    const QImage view = WrapMemoryRows(const_cast<FrameImage&>(image));
    if (view.isNull()) {
        return false;
    }
    const QRectF memorySource(source.x(), image.height() - source.y() - source.height(), source.width(),
                              source.height());
    painter.save();
    painter.translate(target.left(), target.top() + target.height());
    painter.scale(1.0, -1.0);
    painter.drawImage(QRectF(0.0, 0.0, target.width(), target.height()), view, memorySource);
    painter.restore();
    return true;
}

bool DrawFrameImage(QPainter& painter, QPointF topLeft, const FrameImage& image)
{
    return DrawFrameImage(painter, QRectF(topLeft, QSizeF(image.width(), image.height())), image,
                          QRectF(0.0, 0.0, image.width(), image.height()));
}

} // namespace orvane
