#pragma once

#include <memory>

#include <QObject>

#include "image/FrameImage.h"

class QMouseEvent;
class QWidget;

namespace orvane {

class IMessageBoxes;
class MainWindowControls;
class MeasureDlgState;
class MeasureLayer;
class MeasureSession;
class QtDrawingSurface;
class ResultListMirror;
class UiCursors;

// Measuring in the main window: the mouse on the picture and on the window,
// the six tool buttons, DELETE, the results list and its selection, the
// measurement overlays of the picture and the cursor. Everything is handed
// to the window state's MeasureSession in the window's client coordinates;
// this class only maps Qt's events and shows what the session says.
//
// The window, its state and its controls must outlive the controller. UI
// thread only.
class MeasureController : public QObject {
    Q_OBJECT

public:
    MeasureController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls, IMessageBoxes& boxes,
                      const UiCursors& cursors);
    ~MeasureController() override;

    // The picture's cursor from the state's hint and hidden flag.
    void UpdateCursor();

signals:
    // The armed tool may have changed: the lamps are to follow.
    void toolsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InstallHost(IMessageBoxes& boxes);
    void InstallOverlays();
    void ConnectControls();
    // Forwards a mouse event at `client` (window client coordinates); true
    // when it was one the measuring takes.
    bool Forward(const QMouseEvent& event, QPoint client);
    // After every forwarded event: the cursor and the lamps follow.
    void AfterEvent();

    QWidget& m_window;
    MeasureDlgState& m_state;
    MeasureSession& m_session;
    MainWindowControls& m_controls;
    const UiCursors& m_cursors;
    std::unique_ptr<ResultListMirror> m_list;
    std::unique_ptr<MeasureLayer> m_layer;
    // Measures label texts in the label font for the hit test of labels.
    FrameImage m_textImage;
    std::unique_ptr<QtDrawingSurface> m_textSurface;
    int m_shownMode = 0; // the tool the lamps show
};

} // namespace orvane
