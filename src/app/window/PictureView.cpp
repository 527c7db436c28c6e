#include "app/window/PictureView.h"

#include <QPainter>
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
