#include "app/overlays/SheetFaceButton.h"

#include <QPainter>

namespace orvane {
namespace {

constexpr int kFaceWidth = 50;
constexpr int kFaceHeight = 53;
constexpr int kGap = 6;

} // namespace

SheetFaceButton::SheetFaceButton(int controlId, const QImage& face, const QString& label, QWidget* parent)
    : QAbstractButton(parent), m_face(face)
{
    setObjectName(QString::number(controlId));
    setText(label);
}

QSize SheetFaceButton::sizeHint() const
{
    return {kFaceWidth + kGap + fontMetrics().horizontalAdvance(text()) + 4, kFaceHeight};
}

void SheetFaceButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_face.isNull()) {
        painter.drawImage(QPoint(0, 0), m_face);
    } else {
        painter.drawRect(0, 0, kFaceWidth - 1, kFaceHeight - 1);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(kFaceWidth + kGap, 0, width() - kFaceWidth - kGap, kFaceHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace orvane
