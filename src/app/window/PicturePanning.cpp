#include "app/window/PicturePanning.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "image/ImageView.h"

namespace orvane {

PicturePanning::PicturePanning(ImageView& view, std::function<void()> repaint, QObject* parent)
    : QObject(parent), m_view(view), m_repaint(std::move(repaint))
{
}

void PicturePanning::PanBy(double dx, double dy)
{
    if (m_view.PanBy(dx, dy) && m_repaint) {
        m_repaint();
    }
}

bool PicturePanning::OnArrowKey(int qtKey)
{
    const RECT& frame = m_view.frameRect();
    const double stepX = frame.Width() / 8.0;
    const double stepY = frame.Height() / 8.0;
    switch (qtKey) {
    case Qt::Key_Left: PanBy(stepX, 0.0); return true;
    case Qt::Key_Right: PanBy(-stepX, 0.0); return true;
    case Qt::Key_Up: PanBy(0.0, stepY); return true;
    case Qt::Key_Down: PanBy(0.0, -stepY); return true;
    default: return false;
    }
}

bool PicturePanning::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton) {
            return false;
        }
        m_dragging = true;
        m_lastPosition = mouse->globalPosition();
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_dragging) {
            return false;
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF step = mouse->globalPosition() - m_lastPosition;
        m_lastPosition = mouse->globalPosition();
        // The picture follows the pointer.
        PanBy(step.x(), step.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton || !m_dragging) {
            return false;
        }
        m_dragging = false;
        return true;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        int units = delta.x();
        if (units == 0 && wheel->modifiers().testFlag(Qt::ShiftModifier)) {
            units = delta.y();
        }
        if (units == 0) {
            return false; // the plain wheel zooms
        }
        PanBy(units / 120.0 * kWheelNotchPixels, 0.0);
        return true;
    }
    default: return false;
    }
}

} // namespace orvane
