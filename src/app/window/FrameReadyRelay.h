#pragma once

#include <atomic>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include "app/core/ICaptureSource.h"
#include "app/core/MeasureDlgState.h"
#include "platform/Clock.h"

namespace orvane {

// Carries "a frame is ready" from the capture's streaming thread to the UI
// thread as a posted event, and there lets the state derive the display
// frame and the picture repaint.
//
// Thread affinity: created and destroyed on the UI thread; only the posting
// lambda (and its atomic pending flag) runs on the streaming thread. The capture is stopped before the
// relay goes, so nothing posts to it afterwards.
class FrameReadyRelay final : public QObject {
public:
    FrameReadyRelay(ICaptureSource& capture, MeasureDlgState& state, QWidget& picture)
        : m_capture(capture), m_state(state), m_picture(picture)
    {
        // One event in flight at a time: when the UI thread falls behind, the
        // frames in between are not queued up only to be copied in vain.
        m_state.ConnectCapture([this] {
            if (!m_eventPending.exchange(true)) {
                QCoreApplication::postEvent(this, new QEvent(EventType()));
            }
        });
    }
    ~FrameReadyRelay() override { m_capture.EndLive(); }
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
        m_eventPending.store(false);
        if (m_state.OnFrameReady(TickCount())) {
            m_picture.update();
        }
    }

private:
    ICaptureSource& m_capture;
    MeasureDlgState& m_state;
    QWidget& m_picture;
    std::atomic<bool> m_eventPending{false};
};

} // namespace orvane
