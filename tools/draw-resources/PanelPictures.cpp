#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "Pictures.h"
#include "Style.h"

namespace orvane::draw {
namespace {

// A fixed hash, so the pictures come out the same on every run.
double Hash(int x, int y, int seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFu) / 65535.0;
}

// Value noise on a lattice that wraps around, so the tile repeats without seams.
double PeriodicNoise(double x, double y, int cellsX, int cellsY, int size, int seed)
{
    const double fx = x * cellsX / size;
    const double fy = y * cellsY / size;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0;
    const double ty = fy - y0;
    const auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
    const auto at = [&](int ix, int iy) {
        return Hash(((ix % cellsX) + cellsX) % cellsX, ((iy % cellsY) + cellsY) % cellsY, seed);
    };
    const double top = std::lerp(at(x0, y0), at(x0 + 1, y0), smooth(tx));
    const double bottom = std::lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), smooth(tx));
    return std::lerp(top, bottom, smooth(ty));
}

std::uint8_t Clamp(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

QPointF ArrowPoint(double along, double across, int direction)
{
    // direction 0 right, 1 left, 2 down, 3 up; the arrow is drawn pointing right.
    switch (direction) {
    case 1: return {-along, across};
    case 2: return {across, along};
    case 3: return {across, -along};
    default: return {along, across};
    }
}

} // namespace

QImage DrawBackgroundTile()
{
    const int size = sheet::kBackgroundTileSize;
    QImage tile(size, size, QImage::Format_RGB888);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = tile.scanLine(y);
        for (int x = 0; x < size; ++x) {
            // Long horizontal grain, a slow cloud and a fine grit, all faint.
            const double grain = PeriodicNoise(x, y, 8, 100, size, 1) - 0.5;
            const double cloud = PeriodicNoise(x, y, 4, 4, size, 2) - 0.5;
            const double grit = Hash(x, y, 3) - 0.5;
            double shade = 7.0 * grain + 6.0 * cloud + 3.0 * grit;
            // An embossed dot every 10 px: a lighter pixel over a darker one.
            if (x % 10 == 5 && y % 10 == 5) {
                shade += 9.0;
            } else if (x % 10 == 5 && y % 10 == 6) {
                shade -= 7.0;
            }
            row[3 * x + 0] = Clamp(kPanelBase.red() + 0.45 * shade);
            row[3 * x + 1] = Clamp(kPanelBase.green() + shade);
            row[3 * x + 2] = Clamp(kPanelBase.blue() + shade);
        }
    }
    return tile;
}

QImage DrawArrowStrip()
{
    const FacePalette& c = EnabledPalette();
    QImage strip(sheet::kArrowStripWidth, sheet::kArrowSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(kPanelBase);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int direction = 0; direction < 4; ++direction) {
        p.save();
        p.translate(direction * sheet::kArrowSize, 0);
        QLinearGradient gradient(0, 0, 0, sheet::kArrowSize);
        gradient.setColorAt(0.0, c.plateTop);
        gradient.setColorAt(1.0, c.plateBottom);
        p.setPen(QPen(c.outline, 1.0));
        p.setBrush(gradient);
        p.drawRoundedRect(QRectF(0.5, 0.5, sheet::kArrowSize - 1, sheet::kArrowSize - 1), 2.5, 2.5);
        p.translate(6.5, 6.5);
        p.setPen(Qt::NoPen);
        p.setBrush(c.ink);
        p.drawPolygon(QPolygonF{
            {ArrowPoint(3.2, 0, direction), ArrowPoint(-2.2, -3.8, direction), ArrowPoint(-2.2, 3.8, direction)}});
        p.restore();
    }
    p.end();
    return strip.convertToFormat(QImage::Format_RGB888);
}

QImage DrawMagnetIcon()
{
    const int size = sheet::kMagnetIconSize;
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A horseshoe magnet opening downwards: red body, steel tips.
    const QPointF centre(8, 7);
    const double outer = 6.6;
    const double inner = 2.6;
    QPainterPath body;
    body.moveTo(centre.x() - outer, 14.5);
    body.lineTo(centre.x() - outer, centre.y());
    body.arcTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), 180, -180);
    body.lineTo(centre.x() + outer, 14.5);
    body.lineTo(centre.x() + inner, 14.5);
    body.lineTo(centre.x() + inner, centre.y());
    body.arcTo(QRectF(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner), 0, 180);
    body.lineTo(centre.x() - inner, 14.5);
    body.closeSubpath();
    QLinearGradient red(0, 0, size, 0);
    red.setColorAt(0.0, QColor(255, 96, 84));
    red.setColorAt(1.0, QColor(190, 24, 30));
    p.setPen(QPen(QColor(40, 6, 8), 1.0));
    p.setBrush(red);
    p.drawPath(body);
    p.setClipRect(QRectF(0, 11, size, size - 11));
    p.setBrush(QColor(222, 232, 236));
    p.drawPath(body);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

QImage DrawProgramIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 48.0, size / 48.0);
    const FacePalette& c = EnabledPalette();

    QLinearGradient plate(0, 0, 0, 48);
    plate.setColorAt(0.0, c.plateTop);
    plate.setColorAt(1.0, QColor(8, 34, 40));
    p.setPen(QPen(c.outline, 1.0));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(1.5, 1.5, 45, 45), 9, 9);

    // The lens: a glass disc with a reticle.
    const QPointF centre(24, 22);
    QRadialGradient glass(centre + QPointF(-4, -5), 17);
    glass.setColorAt(0.0, QColor(120, 230, 242));
    glass.setColorAt(0.6, QColor(0, 150, 170));
    glass.setColorAt(1.0, QColor(0, 80, 96));
    p.setPen(QPen(c.ink, 2.6));
    p.setBrush(glass);
    p.drawEllipse(centre, 14, 14);
    p.setPen(QPen(QColor(230, 252, 255, 200), 1.1));
    p.drawLine(QPointF(centre.x() - 10, centre.y()), QPointF(centre.x() + 10, centre.y()));
    p.drawLine(QPointF(centre.x(), centre.y() - 10), QPointF(centre.x(), centre.y() + 10));

    // A measured length across the lens, with its two points.
    QPen measure(c.accent, 2.2);
    measure.setCapStyle(Qt::RoundCap);
    p.setPen(measure);
    p.drawLine(QPointF(15, 30), QPointF(33, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(c.accent);
    p.drawEllipse(QPointF(15, 30), 2.6, 2.6);
    p.drawEllipse(QPointF(33, 15), 2.6, 2.6);

    // A ruler along the bottom edge.
    p.setPen(QPen(c.label, 1.2));
    p.drawLine(QPointF(9, 41), QPointF(39, 41));
    for (int i = 0; i <= 6; ++i) {
        const double x = 9 + i * 5.0;
        p.drawLine(QPointF(x, 41), QPointF(x, i % 2 == 0 ? 37.5 : 39));
    }
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace orvane::draw
