#include "app/thumbnails/ThumbnailStrip.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/thumbnails/ThumbnailPaint.h"
#include "files/CThumbNail.h"

namespace orvane {

ThumbnailStrip::ThumbnailStrip(const CThumbNail& thumbnails, QScrollBar& scrollBar, QWidget& box, int dpiX, int dpiY)
    : QWidget(&box), m_thumbnails(thumbnails), m_scrollBar(scrollBar), m_metrics(ScaledStripMetrics(dpiX, dpiY))
{
    setObjectName(QStringLiteral("ThumbnailStrip"));
    setGeometry(box.rect());
    box.installEventFilter(this);
    connect(&m_scrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

void ThumbnailStrip::Refresh(bool shown)
{
    m_shown = shown;
    const StripScroll scroll = StripScrollRange(m_thumbnails.Count(), width(), m_metrics);
    m_scrollBar.setRange(0, scroll.maximum);
    m_scrollBar.setPageStep(scroll.page);
    m_scrollBar.setSingleStep(1);
    m_scrollBar.setVisible(shown && scroll.visible);
    update();
}

void ThumbnailStrip::SetStatus(const QString& text)
{
    if (text != m_status) {
        m_status = text;
        update();
    }
}

int ThumbnailStrip::ThumbnailAt(QPoint point) const
{
    return StripHitTest(point.x(), point.y(), m_thumbnails.Count(), m_scrollBar.value(), width(), m_metrics);
}

void ThumbnailStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setClipRect(QRect(m_metrics.margin, 0, width() - 2 * m_metrics.margin, height()));
    const int position = m_scrollBar.value();
    const int page = StripPageSize(width(), m_metrics);
    int k = 0;
    for (const THUMBNAIL* record = m_thumbnails.First(); record != nullptr; record = record->next, ++k) {
        if (k < position) {
            continue;
        }
        if (k >= position + page) {
            break;
        }
        const CellRect cell = StripCell(k, position, m_metrics);
        PaintThumbnail(painter, *record, QRect(cell.left, cell.top, cell.width, cell.height), m_metrics.nameTop);
    }
    if (!m_status.isEmpty()) {
        QFont font = painter.font();
        font.setPointSize(8);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setBackground(Qt::white);
        painter.setBackgroundMode(Qt::OpaqueMode);
        const QFontMetrics metrics(font);
        painter.drawText(m_metrics.margin, std::max(metrics.ascent(), m_metrics.top - metrics.descent() - 1), m_status);
    }
}

void ThumbnailStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Refresh(m_shown);
}

void ThumbnailStrip::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int position = ThumbnailAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && position >= 0) {
        emit openRequested(position);
    }
}

void ThumbnailStrip::mouseReleaseEvent(QMouseEvent* event)
{
    const int position = ThumbnailAt(event->position().toPoint());
    if (event->button() == Qt::RightButton && position >= 0) {
        emit menuRequested(position, event->globalPosition().toPoint());
    }
}

bool ThumbnailStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
