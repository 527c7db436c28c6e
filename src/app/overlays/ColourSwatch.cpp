#include "app/overlays/ColourSwatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvane {

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF FromQColor(const QColor& colour)
{
    return RGB(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue()));
}

ColourSwatch::ColourSwatch(int controlId, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(controlId));
    setMinimumSize(40, 20);
}

void ColourSwatch::SetColour(COLORREF colour)
{
    m_colour = colour;
    update();
}

void ColourSwatch::SetSample(const QString& text, const QFont& font)
{
    m_sample = text;
    m_font = font;
    setMinimumHeight(QFontMetrics(font).height() + 4);
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_sample.isEmpty()) {
        painter.fillRect(rect(), ToQColor(m_colour));
        return;
    }
    painter.setFont(m_font);
    painter.setPen(ToQColor(m_colour));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_sample);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace orvane
