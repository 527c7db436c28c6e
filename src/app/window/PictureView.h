#pragma once

#include <QWidget>

#include "image/FrameImage.h"

namespace orvane {

class MeasureDlgState;

// The picture area (control 1072). Its geometry is the view rectangle the
// image view lays out; it paints the view's back buffer, which is kept
// between paints and shown without a copy. Wheel turns are handed to the main
// window, which zooms.
class PictureView : public QWidget {
    Q_OBJECT

public:
    PictureView(MeasureDlgState& state, QWidget* parent);

    // The last back buffer painted (tests look at its size and pixels).
    [[nodiscard]] const FrameImage& backBuffer() const { return m_backBuffer; }

signals:
    // The wheel turned by `delta` (120 a notch, forward positive) with the
    // cursor at `clientPosition` in the main window's client coordinates.
    void wheelTurned(int delta, QPoint clientPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    MeasureDlgState& m_state;
    FrameImage m_backBuffer;
};

} // namespace orvane
