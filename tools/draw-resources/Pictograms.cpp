#include "Pictograms.h"

#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QPolygonF>

namespace orvane::draw {
namespace {

QPen Stroke(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Line(QPainter& p, const QColor& colour, double width, QPointF a, QPointF b)
{
    p.setPen(Stroke(colour, width));
    p.drawLine(a, b);
}

void Dot(QPainter& p, const QColor& colour, QPointF at, double radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(at, radius, radius);
}

void Outline(QPainter& p, const FacePalette& c, double width, bool filled)
{
    p.setPen(Stroke(c.ink, width));
    p.setBrush(filled ? QBrush(c.inkSoft) : QBrush(Qt::NoBrush));
}

void Triangle(QPainter& p, const QColor& colour, QPointF a, QPointF b, QPointF tip)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{{a, b, tip}});
}

QPointF Polar(double radius, double degrees)
{
    const double r = degrees * std::numbers::pi / 180.0;
    return {radius * std::cos(r), radius * std::sin(r)};
}

void DrawGear(QPainter& p, const FacePalette& c, QPointF centre, double size)
{
    QPolygonF outline;
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double a = tooth * 45.0;
        outline << centre + Polar(8.2 * size, a - 15.0) << centre + Polar(11.5 * size, a - 8.5)
                << centre + Polar(11.5 * size, a + 8.5) << centre + Polar(8.2 * size, a + 15.0);
    }
    Outline(p, c, 1.5, true);
    p.drawPolygon(outline);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 3.6 * size, 3.6 * size);
}

void DrawLength(QPainter& p, const FacePalette& c)
{
    Line(p, c.ink, 2.0, {-12, -6}, {-12, 6});
    Line(p, c.ink, 2.0, {12, -6}, {12, 6});
    Line(p, c.ink, 1.5, {-8, 0}, {8, 0});
    Triangle(p, c.ink, {-6, -3.5}, {-6, 3.5}, {-11, 0});
    Triangle(p, c.ink, {6, -3.5}, {6, 3.5}, {11, 0});
    Dot(p, c.accent, {-12, -8}, 1.8);
    Dot(p, c.accent, {12, -8}, 1.8);
}

void DrawArea(QPainter& p, const FacePalette& c)
{
    const QPolygonF polygon{{{-11, 6}, {-6, -8}, {5, -10}, {12, 0}, {4, 10}}};
    Outline(p, c, 1.6, true);
    p.drawPolygon(polygon);
    for (const QPointF& corner : polygon) {
        Dot(p, c.accent, corner, 1.9);
    }
}

void DrawCircle(QPainter& p, const FacePalette& c)
{
    Outline(p, c, 1.6, true);
    p.drawEllipse(QPointF(0, 0), 10.5, 10.5);
    Line(p, c.ink, 1.2, {-7, 0}, {7, 0});
    Triangle(p, c.ink, {-6, -2.6}, {-6, 2.6}, {-10, 0});
    Triangle(p, c.ink, {6, -2.6}, {6, 2.6}, {10, 0});
    for (const double angle : {215.0, 325.0, 90.0}) {
        Dot(p, c.accent, Polar(10.5, angle), 2.0);
    }
}

void DrawDistance(QPainter& p, const FacePalette& c)
{
    Outline(p, c, 1.6, true);
    p.drawEllipse(QPointF(-7.5, 2), 5.5, 5.5);
    p.drawEllipse(QPointF(7.5, -2), 5.5, 5.5);
    QPen dashed = Stroke(c.accent, 1.4);
    dashed.setDashPattern({2.0, 1.5});
    p.setPen(dashed);
    p.drawLine(QPointF(-7.5, 2), QPointF(7.5, -2));
    Dot(p, c.accent, {-7.5, 2}, 1.8);
    Dot(p, c.accent, {7.5, -2}, 1.8);
}

void DrawLive(QPainter& p, const FacePalette& c)
{
    Outline(p, c, 1.6, true);
    p.drawRoundedRect(QRectF(-13, -7, 17, 14), 2.5, 2.5);
    p.drawPolygon(QPolygonF{{{5, -2.5}, {12, -7}, {12, 7}, {5, 2.5}}});
    Dot(p, c.record, {-4.5, 0}, 3.2);
}

void DrawStill(QPainter& p, const FacePalette& c)
{
    Outline(p, c, 1.6, false);
    p.drawRoundedRect(QRectF(-12, -9, 24, 18), 1.5, 1.5);
    p.setPen(Stroke(c.ink, 1.2));
    p.setBrush(c.inkSoft);
    p.drawPolygon(QPolygonF{{{-10, 7}, {-4, -1}, {0, 3}, {4, -3}, {10, 7}}});
    Dot(p, c.accent, {-5.5, -4}, 2.2);
}

void DrawColour(QPainter& p, const FacePalette& c)
{
    p.setPen(Qt::NoPen);
    const std::array<QPointF, 3> centres{QPointF(-4.2, -3), QPointF(4.2, -3), QPointF(0, 4)};
    for (std::size_t i = 0; i < centres.size(); ++i) {
        p.setBrush(c.primaries[i]);
        p.drawEllipse(centres[i], 6.8, 6.8);
    }
}

void DrawCalibrate(QPainter& p, const FacePalette& c)
{
    p.save();
    p.rotate(-24.0);
    Outline(p, c, 1.4, true);
    p.drawRect(QRectF(-13, -4.5, 26, 9));
    for (int i = 0; i <= 8; ++i) {
        const double x = -10.0 + i * 2.5;
        Line(p, c.ink, 1.1, {x, -4.5}, {x, i % 2 == 0 ? 0.5 : -1.5});
    }
    p.restore();
    Dot(p, c.accent, {-11, 9}, 1.8);
    Dot(p, c.accent, {11, 9}, 1.8);
}

void DrawClear(QPainter& p, const FacePalette& c)
{
    p.save();
    p.translate(1, -2);
    p.rotate(-35.0);
    Outline(p, c, 1.5, true);
    p.drawRoundedRect(QRectF(-11, -5, 22, 10), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawRoundedRect(QRectF(-11, -5, 8, 10), 2, 2);
    p.restore();
    Line(p, c.accent, 1.5, {-12, 10}, {0, 10});
}

void DrawDelete(QPainter& p, const FacePalette& c)
{
    Line(p, c.ink, 1.8, {-10, -7.5}, {10, -7.5});
    p.setPen(Stroke(c.ink, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-3, -11, 6, 3.5));
    Outline(p, c, 1.6, true);
    p.drawPolygon(QPolygonF{{{-7.5, -5}, {7.5, -5}, {6, 11}, {-6, 11}}});
    for (const double x : {-3.0, 0.0, 3.0}) {
        Line(p, c.ink, 1.1, {x, -1.5}, {x, 7.5});
    }
}

void DrawSave(QPainter& p, const FacePalette& c)
{
    QPainterPath disk;
    disk.moveTo(-10, -10);
    disk.lineTo(6, -10);
    disk.lineTo(10, -6);
    disk.lineTo(10, 10);
    disk.lineTo(-10, 10);
    disk.closeSubpath();
    Outline(p, c, 1.6, true);
    p.drawPath(disk);
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(c.ink, 1.2));
    p.drawRect(QRectF(-6, -10, 10, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawRect(QRectF(-6, 2, 12, 8));
    Line(p, c.accent, 1.0, {-4, 5}, {4, 5});
}

void DrawSaveDown(QPainter& p, const FacePalette& c)
{
    p.setPen(Stroke(c.ink, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{{-11, 2}, {-11, 10}, {11, 10}, {11, 2}}});
    Line(p, c.accent, 2.4, {0, -11}, {0, 1});
    Triangle(p, c.accent, {-6, -1}, {6, -1}, {0, 6});
}

void DrawFolder(QPainter& p, const FacePalette& c)
{
    QPainterPath folder;
    folder.moveTo(-12, -8);
    folder.lineTo(-4, -8);
    folder.lineTo(-1, -5);
    folder.lineTo(12, -5);
    folder.lineTo(12, 9);
    folder.lineTo(-12, 9);
    folder.closeSubpath();
    Outline(p, c, 1.6, true);
    p.drawPath(folder);
    Line(p, c.ink, 1.2, {-12, -1.5}, {12, -1.5});
    Dot(p, c.accent, {6.5, 4}, 2.0);
}

void DrawSliders(QPainter& p, const FacePalette& c)
{
    const std::array<QPointF, 3> knobs{QPointF(-5, -7), QPointF(6, 0), QPointF(-1, 7)};
    for (const QPointF& knob : knobs) {
        Line(p, c.ink, 1.6, {-12, knob.y()}, {12, knob.y()});
    }
    for (const QPointF& knob : knobs) {
        p.setPen(Stroke(c.ink, 1.2));
        p.setBrush(c.accent);
        p.drawEllipse(knob, 2.8, 2.8);
    }
}

void DrawGearMagnifier(QPainter& p, const FacePalette& c)
{
    DrawGear(p, c, {-3.5, -3}, 0.78);
    const QPointF lens(5, 4.5);
    QColor glass = c.plateTop;
    glass.setAlpha(235);
    p.setPen(Stroke(c.accent, 2.0));
    p.setBrush(glass);
    p.drawEllipse(lens, 5.5, 5.5);
    Line(p, c.accent, 3.0, lens + QPointF(4.2, 4.2), lens + QPointF(8, 8));
}

void DrawThumbnails(QPainter& p, const FacePalette& c)
{
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRectF box(-11.5 + column * 12.5, -9.5 + row * 10.5, 10.5, 8.5);
            p.setPen(Stroke(c.ink, 1.3));
            p.setBrush(row == 0 && column == 0 ? QBrush(c.accent) : QBrush(c.inkSoft));
            p.drawRoundedRect(box, 1.2, 1.2);
        }
    }
}

void DrawPerpendicular(QPainter& p, const FacePalette& c)
{
    Line(p, c.ink, 2.0, {-12, 8}, {12, 8});
    Line(p, c.accent, 1.6, {2, -9}, {2, 8});
    p.setPen(Stroke(c.ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{{2, 3}, {7, 3}, {7, 8}}});
    Dot(p, c.accent, {2, -9.5}, 2.3);
}

void DrawAngle(QPainter& p, const FacePalette& c)
{
    const QPointF vertex(-11, 8);
    Line(p, c.ink, 2.0, vertex, {12, 8});
    Line(p, c.ink, 2.0, vertex, {7, -10});
    p.setPen(Stroke(c.accent, 1.6));
    p.setBrush(Qt::NoBrush);
    const double r = 11.0;
    p.drawArc(QRectF(vertex.x() - r, vertex.y() - r, 2 * r, 2 * r), 0, 45 * 16);
    Dot(p, c.accent, vertex, 2.0);
}

void DrawWhiteBalance(QPainter& p, const FacePalette& c)
{
    for (int ray = 0; ray < 8; ++ray) {
        Line(p, c.ink, 1.5, Polar(7.8, ray * 45.0), Polar(11, ray * 45.0));
    }
    p.setPen(Stroke(c.ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 5.2, 5.2);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawPie(QRectF(-5.2, -5.2, 10.4, 10.4), 90 * 16, 180 * 16);
}

void DrawScaleBar(QPainter& p, const FacePalette& c)
{
    const QRectF bar(-12, 0, 24, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawRect(QRectF(bar.left(), bar.top(), 6, bar.height()));
    p.drawRect(QRectF(bar.left() + 12, bar.top(), 6, bar.height()));
    p.setPen(Stroke(c.ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar);
    for (const double x : {-12.0, 0.0, 12.0}) {
        Line(p, c.ink, 1.2, {x, -6}, {x, 0});
    }
    Dot(p, c.accent, {-12, -8}, 1.8);
    Dot(p, c.accent, {12, -8}, 1.8);
}

void DrawLoad(QPainter& p, const FacePalette& c)
{
    QPainterPath page;
    page.moveTo(-4, -11);
    page.lineTo(7, -11);
    page.lineTo(12, -6);
    page.lineTo(12, 11);
    page.lineTo(-4, 11);
    page.closeSubpath();
    Outline(p, c, 1.5, true);
    p.drawPath(page);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{{7, -11}, {7, -6}, {12, -6}}});
    for (const double y : {-2.0, 2.0, 6.0}) {
        Line(p, c.ink, 1.1, {1, y}, {9, y});
    }
    Line(p, c.accent, 2.2, {-13, 2}, {-5, 2});
    Triangle(p, c.accent, {-6, -2.5}, {-6, 6.5}, {-0.5, 2});
}

void DrawCrossLines(QPainter& p, const FacePalette& c)
{
    p.setPen(Stroke(c.inkSoft, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-12, -12, 24, 24));
    Line(p, c.ink, 1.4, {-12, 0}, {12, 0});
    Line(p, c.ink, 1.4, {0, -12}, {0, 12});
    for (const double t : {-8.0, -4.0, 4.0, 8.0}) {
        Line(p, c.ink, 0.9, {t, -1.6}, {t, 1.6});
        Line(p, c.ink, 0.9, {-1.6, t}, {1.6, t});
    }
    p.setPen(Stroke(c.accent, 1.2));
    p.drawEllipse(QPointF(0, 0), 2.6, 2.6);
}

void DrawFocusRing(QPainter& p, const FacePalette& c)
{
    Outline(p, c, 1.5, true);
    p.drawEllipse(QPointF(0, 0), 11, 11);
    p.setPen(Stroke(c.accent, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 4.5, 4.5);
    for (int tick = 0; tick < 4; ++tick) {
        Line(p, c.ink, 1.3, Polar(6.8, tick * 90.0), Polar(9.2, tick * 90.0));
    }
    Dot(p, c.ink, {0, 0}, 1.1);
}

void DrawGrid(QPainter& p, const FacePalette& c)
{
    p.setPen(Stroke(c.ink, 1.4));
    p.setBrush(c.inkSoft);
    p.drawRect(QRectF(-11, -11, 22, 22));
    for (const double t : {-11.0 + 22.0 / 3.0, 11.0 - 22.0 / 3.0}) {
        Line(p, c.ink, 1.0, {t, -11}, {t, 11});
        Line(p, c.ink, 1.0, {-11, t}, {11, t});
    }
}

void DrawFocusArea(QPainter& p, const FacePalette& c)
{
    p.setPen(Stroke(c.ink, 1.8));
    p.setBrush(Qt::NoBrush);
    const double x = 12, y = 10, arm = 5;
    p.drawPolyline(QPolygonF{{{-x, -y + arm}, {-x, -y}, {-x + arm, -y}}});
    p.drawPolyline(QPolygonF{{{x - arm, -y}, {x, -y}, {x, -y + arm}}});
    p.drawPolyline(QPolygonF{{{x, y - arm}, {x, y}, {x - arm, y}}});
    p.drawPolyline(QPolygonF{{{-x + arm, y}, {-x, y}, {-x, y - arm}}});
    QPen dashed = Stroke(c.accent, 1.2);
    dashed.setCapStyle(Qt::FlatCap);
    dashed.setDashPattern({1.5, 1.5});
    p.setPen(dashed);
    p.drawRect(QRectF(-5.5, -4.5, 11, 9));
    Dot(p, c.accent, {0, 0}, 1.5);
}

} // namespace

void DrawPictogram(QPainter& painter, Pictogram pictogram, QPointF centre, double scale, const FacePalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(centre);
    painter.scale(scale, scale);
    switch (pictogram) {
    case Pictogram::None: break;
    case Pictogram::Length: DrawLength(painter, palette); break;
    case Pictogram::Area: DrawArea(painter, palette); break;
    case Pictogram::Circle: DrawCircle(painter, palette); break;
    case Pictogram::Distance: DrawDistance(painter, palette); break;
    case Pictogram::Live: DrawLive(painter, palette); break;
    case Pictogram::Still: DrawStill(painter, palette); break;
    case Pictogram::Colour: DrawColour(painter, palette); break;
    case Pictogram::Calibrate: DrawCalibrate(painter, palette); break;
    case Pictogram::Clear: DrawClear(painter, palette); break;
    case Pictogram::Delete: DrawDelete(painter, palette); break;
    case Pictogram::Save: DrawSave(painter, palette); break;
    case Pictogram::SaveDown: DrawSaveDown(painter, palette); break;
    case Pictogram::Folder: DrawFolder(painter, palette); break;
    case Pictogram::Sliders: DrawSliders(painter, palette); break;
    case Pictogram::Gear: DrawGear(painter, palette, {0, 0}, 1.0); break;
    case Pictogram::GearMagnifier: DrawGearMagnifier(painter, palette); break;
    case Pictogram::Thumbnails: DrawThumbnails(painter, palette); break;
    case Pictogram::Perpendicular: DrawPerpendicular(painter, palette); break;
    case Pictogram::Angle: DrawAngle(painter, palette); break;
    case Pictogram::WhiteBalance: DrawWhiteBalance(painter, palette); break;
    case Pictogram::ScaleBar: DrawScaleBar(painter, palette); break;
    case Pictogram::Load: DrawLoad(painter, palette); break;
    case Pictogram::CrossLines: DrawCrossLines(painter, palette); break;
    case Pictogram::FocusRing: DrawFocusRing(painter, palette); break;
    case Pictogram::Grid: DrawGrid(painter, palette); break;
    case Pictogram::FocusArea: DrawFocusArea(painter, palette); break;
    }
    painter.restore();
}

} // namespace orvane::draw
