#include "app/window/PictureView.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include "app/window/ControlIds.h"
#include "app/qt/FrameImageQt.h"
#include "app/core/MeasureDlgState.h"

namespace orvane {

PictureView::PictureView(MeasureDlgState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QString::number(ctl::kPicture));
    // Every pixel comes from the back buffer: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 4px 8px; }"));
    m_note->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_note->hide();
    m_noteTimer = new QTimer(this);
    m_noteTimer->setSingleShot(true);
    connect(m_noteTimer, &QTimer::timeout, m_note, &QWidget::hide);
}

void PictureView::ShowNote(const QString& text, int milliseconds)
{
    m_note->setText(text);
    m_note->adjustSize();
    m_note->move(8, 8);
    m_note->show();
    m_note->raise();
    m_noteTimer->start(milliseconds);
}

QString PictureView::noteText() const
{
    return m_note->isHidden() ? QString() : m_note->text();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_state.view().PaintPicture(m_state.PictureToShow(), m_backBuffer)) {
        DrawFrameImage(painter, QPointF(0, 0), m_backBuffer);
    } else {
        painter.fillRect(rect(), Qt::black);
    }
}

void PictureView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    emit wheelTurned(delta, mapToParent(event->position().toPoint()));
    event->accept();
}

} // namespace orvane
