#pragma once

#include <functional>

#include <QObject>
#include <QPointF>

namespace orvane {

class ImageView;

// Moving a zoomed picture without zooming: a drag with the middle button, the
// wheel with Shift held, the horizontal wheel and the arrow keys. Installed
// on the picture area as an event filter after the measuring's, so that it
// sees a middle-button drag first and the measuring never sees its moves.
//
// The view must outlive this object. UI thread only.
class PicturePanning : public QObject {
    Q_OBJECT

public:
    // Screen pixels moved by one wheel notch (120 units).
    static constexpr double kWheelNotchPixels = 48.0;

    PicturePanning(ImageView& view, std::function<void()> repaint, QObject* parent = nullptr);

    // An arrow key: the picture moves an eighth of the picture frame the
    // other way, so that more of that side shows. True when it was an arrow.
    bool OnArrowKey(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PanBy(double dx, double dy);

    ImageView& m_view;
    std::function<void()> m_repaint;
    bool m_dragging = false;
    QPointF m_lastPosition;
};

} // namespace orvane
