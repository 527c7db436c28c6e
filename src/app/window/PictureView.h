#pragma once

#include <QWidget>

#include "image/FrameImage.h"

class QLabel;
class QTimer;

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

    // A short note over the picture's top-left corner for `milliseconds`
    // (a save without a dialog says where the picture went).
    void ShowNote(const QString& text, int milliseconds = kNoteMilliseconds);
    // The note shown now; empty when none is.
    [[nodiscard]] QString noteText() const;

    static constexpr int kNoteMilliseconds = 2000;

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
    QLabel* m_note = nullptr;
    QTimer* m_noteTimer = nullptr;
};

} // namespace orvane
