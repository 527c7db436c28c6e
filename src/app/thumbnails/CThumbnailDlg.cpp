#include "app/thumbnails/CThumbnailDlg.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <qdrawutil.h>

#include "app/look/WindowLook.h"
#include "app/thumbnails/ThumbnailPaint.h"
#include "files/CThumbNail.h"

namespace orvane {

CThumbnailDlg::CThumbnailDlg(const CThumbNail& thumbnails, const FrameImage& backgroundTile, Language language,
                             Dispose dispose, QWidget* parent)
    : QDialog(parent), m_thumbnails(thumbnails), m_backgroundTile(backgroundTile), m_dispose(std::move(dispose))
{
    setObjectName(QStringLiteral("147"));
    setWindowTitle(language == Language::Japanese ? QStringLiteral("サムネイル") : QStringLiteral("Thumbnail"));
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("1071"));
    m_scrollBar->setSingleStep(kBrowserLineStep);
    m_scrollBar->setPageStep(kBrowserPageStep);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    resize(kInitialWidth, kInitialHeight);
}

BrowserGrid CThumbnailDlg::grid() const
{
    return BrowserGridFor(width(), height(), m_thumbnails.Count());
}

int CThumbnailDlg::ThumbnailAt(QPoint point) const
{
    return BrowserHitTest(point.x(), point.y(), m_thumbnails.Count(), m_scrollBar->value(), grid());
}

void CThumbnailDlg::RecomputeScrollRange()
{
    const BrowserGrid g = grid();
    m_scrollBar->setRange(0, g.scrollMaximum);
    m_scrollBar->setEnabled(g.scrollEnabled);
    update();
}

void CThumbnailDlg::OnCommand(ThumbnailCommand command, int position)
{
    switch (command) {
    case ThumbnailCommand::Open: done(kOpenBase + position); break;
    case ThumbnailCommand::Remove:
    case ThumbnailCommand::TrashBox:
        m_dispose(command, position);
        RecomputeScrollRange();
        break;
    case ThumbnailCommand::None: break;
    }
}

void CThumbnailDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, rect(), m_backgroundTile);
    const BrowserGrid g = grid();
    if (g.visible <= 0) {
        return;
    }
    const int position = m_scrollBar->value();
    const int first = BrowserFirstCell(position, g);
    const THUMBNAIL* record = m_thumbnails.First();
    for (int i = 0; record != nullptr && i < first; ++i) {
        record = record->next;
    }
    const int nameHeight = QFontMetrics(ThumbnailFont()).height();
    for (int i = first; i < first + g.visible; ++i) {
        const CellRect cell = BrowserCell(i, position, g);
        const QRect picture(cell.left, cell.top, cell.width, cell.height);
        qDrawWinPanel(&painter, picture.adjusted(-2, -2, 2, 2), palette(), true);
        if (record != nullptr) {
            PaintThumbnail(painter, *record, picture, cell.top + cell.height - nameHeight);
            record = record->next;
        }
    }
}

void CThumbnailDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scrollBar);
    m_scrollBar->setGeometry(width() - extent, 0, extent, height());
    RecomputeScrollRange();
}

void CThumbnailDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int position = ThumbnailAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && position >= 0) {
        done(kOpenBase + position);
    }
}

void CThumbnailDlg::mouseReleaseEvent(QMouseEvent* event)
{
    const int position = ThumbnailAt(event->position().toPoint());
    if (event->button() == Qt::RightButton && position >= 0) {
        OnCommand(ShowThumbnailMenu(this, event->globalPosition().toPoint()), position);
    }
}

void CThumbnailDlg::wheelEvent(QWheelEvent* event)
{
    const int rows = event->angleDelta().y() / 120;
    m_scrollBar->setValue(m_scrollBar->value() - rows * kBrowserLineStep);
    event->accept();
}

} // namespace orvane
