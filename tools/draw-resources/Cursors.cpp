#include <QPainter>
#include <QPainterPath>

#include "Pictures.h"

// Cursors are black on a white halo, so they stay visible on any picture.
namespace orvane::draw {
namespace {

const QColor kInk(0, 0, 0);
const QColor kHalo(255, 255, 255);

// A one-pixel black bar with a one-pixel white border, on whole pixels.
void HaloBar(QPainter& p, int x, int y, int width, int height)
{
    p.fillRect(QRect(x - 1, y - 1, width + 2, height + 2), kHalo);
}

void InkBar(QPainter& p, int x, int y, int width, int height)
{
    p.fillRect(QRect(x, y, width, height), kInk);
}

void DrawCross(QPainter& p, int reach)
{
    const int c = 15;
    HaloBar(p, c - reach, c, 2 * reach + 1, 1);
    HaloBar(p, c, c - reach, 1, 2 * reach + 1);
    InkBar(p, c - reach, c, 2 * reach + 1, 1);
    InkBar(p, c, c - reach, 1, 2 * reach + 1);
}

void DrawCornerCross(QPainter& p)
{
    const int c = 15;
    const int corner = 11;
    const int arm = 4;
    // Each corner mark is an L whose arms point back along the picture's edges.
    for (const int sx : {-1, 1}) {
        for (const int sy : {-1, 1}) {
            const int x = c + sx * corner;
            const int y = c + sy * corner;
            const int armX = sx < 0 ? x : x - arm + 1;
            const int armY = sy < 0 ? y : y - arm + 1;
            HaloBar(p, armX, y, arm, 1);
            HaloBar(p, x, armY, 1, arm);
        }
    }
    for (const int sx : {-1, 1}) {
        for (const int sy : {-1, 1}) {
            const int x = c + sx * corner;
            const int y = c + sy * corner;
            InkBar(p, sx < 0 ? x : x - arm + 1, y, arm, 1);
            InkBar(p, x, sy < 0 ? y : y - arm + 1, 1, arm);
        }
    }
    DrawCross(p, 6);
}

void DrawCircle(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(15.5, 15.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kHalo, 3.0));
    p.drawEllipse(centre, 8, 8);
    p.setPen(QPen(kInk, 1.2));
    p.drawEllipse(centre, 8, 8);
    p.setRenderHint(QPainter::Antialiasing, false);
    HaloBar(p, 15, 15, 1, 1);
    InkBar(p, 15, 15, 1, 1);
}

void DrawFilled(QPainter& p, const QPainterPath& shape)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kHalo);
    p.drawPath(shape);
}

void DrawMove(QPainter& p)
{
    // Four arrows joined at the hot spot, traced as one outline.
    const double w = 2.0;  // half the shaft
    const double a = 8.0;  // where the heads begin
    const double h = 5.0;  // half a head
    const double t = 13.0; // the tips
    QPolygonF outline{{{w, -w},  {a, -w},  {a, -h},  {t, 0},   {a, h},   {a, w},  {w, w},  {w, a},
                       {h, a},   {0, t},   {-h, a},  {-w, a},  {-w, w},  {-a, w}, {-a, h}, {-t, 0},
                       {-a, -h}, {-a, -w}, {-w, -w}, {-w, -a}, {-h, -a}, {0, -t}, {h, -a}, {w, -a}}};
    outline.translate(15.5, 15.5);
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();
    DrawFilled(p, shape);
}

void DrawGrab(QPainter& p)
{
    // A closed hand seen from its back: four knuckles over the palm, thumb
    // folded in on the left.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8.5, 12.5, 16, 13), 4.5, 4.5);
    for (int finger = 0; finger < 4; ++finger) {
        QPainterPath knuckle;
        knuckle.addRoundedRect(QRectF(9.0 + finger * 3.8, 8.5, 4.2, 7), 2.1, 2.1);
        hand = hand.united(knuckle);
    }
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(5.0, 13.5, 7, 4.4), 2.2, 2.2);
    hand = hand.united(thumb);
    DrawFilled(p, hand.simplified());
    p.setPen(QPen(kInk, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int finger = 1; finger < 4; ++finger) {
        const double x = 9.0 + finger * 3.8;
        p.drawLine(QPointF(x, 10.5), QPointF(x, 14.0));
    }
    p.drawLine(QPointF(11.0, 16.5), QPointF(14.0, 16.5));
}

void DrawPen(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(2.5, 29.5);
    p.rotate(-45.0);
    // Tip at the origin, the pencil running up and to the right.
    QPainterPath pencil;
    pencil.moveTo(0, 0);
    pencil.lineTo(8, -3.5);
    pencil.lineTo(31, -3.5);
    pencil.lineTo(31, 3.5);
    pencil.lineTo(8, 3.5);
    pencil.closeSubpath();
    p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kHalo);
    p.drawPath(pencil);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{{{0, 0}, {3, -1.4}, {3, 1.4}}});
    p.drawRect(QRectF(27, -3.5, 4, 7));
    p.drawLine(QPointF(8, -3.5), QPointF(8, 3.5));
}

} // namespace

QImage DrawCursor(sheet::CursorPicture cursor)
{
    QImage image(sheet::kCursorSize, sheet::kCursorSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (cursor) {
    case sheet::CursorPicture::Grab: DrawGrab(p); break;
    case sheet::CursorPicture::Pen: DrawPen(p); break;
    case sheet::CursorPicture::Move: DrawMove(p); break;
    case sheet::CursorPicture::CornerCross: DrawCornerCross(p); break;
    case sheet::CursorPicture::Circle: DrawCircle(p); break;
    case sheet::CursorPicture::Cross: DrawCross(p, 11); break;
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace orvane::draw
