#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include "app/core/MeasureDlgState.h"
#include "platform/Clock.h"

namespace orvane {

// Carries "a frame is ready" from the capture's streaming thread to the UI
// thread as a posted event, and there lets the state derive the display
// frame and the picture repaint. The capture keeps one such event in flight.
//
// Thread affinity: created and destroyed on the UI thread; only the posting
// lambda runs on the streaming thread. The destructor disconnects it, and the
// capture promises that a disconnected call is never made again, so nothing
// posts to a relay that has gone.
class FrameReadyRelay final : public QObject {
public:
    FrameReadyRelay(MeasureDlgState& state, QWidget& picture) : m_state(state), m_picture(picture)
    {
        m_state.ConnectCapture([this] { QCoreApplication::postEvent(this, new QEvent(EventType())); });
    }
    ~FrameReadyRelay() override { m_state.ConnectCapture({}); }
    FrameReadyRelay(const FrameReadyRelay&) = delete;
    FrameReadyRelay& operator=(const FrameReadyRelay&) = delete;

    static QEvent::Type EventType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() != EventType()) {
            return;
        }
        if (m_state.OnFrameReady(TickCount())) {
            m_picture.update();
        }
    }

private:
    MeasureDlgState& m_state;
    QWidget& m_picture;
};

} // namespace orvane
