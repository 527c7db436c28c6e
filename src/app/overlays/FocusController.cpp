#include "app/overlays/FocusController.h"

#include <array>

#include <QAbstractButton>
#include <QMouseEvent>

#include "app/core/MeasureDlgState.h"
#include "app/core/OverlayToolSettings.h"
#include "app/look/CPictureButton.h"
#include "app/overlays/CFocusDlg.h"
#include "app/qt/QtDrawingSurface.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "tools/FocusMeter.h"

namespace orvane {

namespace {

constexpr std::array kToolButtons{ctl::kLine, ctl::kAria, ctl::kCircle, ctl::kCircle2, ctl::kSui, ctl::kAngle};

} // namespace

FocusController::FocusController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls)
    : m_window(window), m_state(state), m_controls(controls)
{
    connect(controls.button(ctl::kWhiteBalance), &QAbstractButton::clicked, this, &FocusController::OnStartFocusArea);
    // Choosing a tool gives up an area being drawn: its lamp goes out.
    for (const int id : kToolButtons) {
        connect(controls.button(id), &QAbstractButton::clicked, this, &FocusController::focusStateChanged);
    }
    m_state.SetFocusValuesChanged([this] { ShowValues(); });
    m_state.view().overlays().focusDisplay = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        QtDrawingSurface surface(backBuffer);
        m_state.focus().DrawFocusOverlay(surface, transform, FocusStyleOf(m_state.settings().color),
                                         m_state.view().imageWidth());
    };
    // Installed after the measuring's filters, so these run first.
    controls.picture()->installEventFilter(this);
    window.installEventFilter(this);
}

void FocusController::OnStartFocusArea()
{
    FocusIndicator& focus = m_state.focus();
    if (focus.drawingState() == FocusArea::kFree) {
        m_state.measure().interaction().SetTool(kModeNone);
        focus.StartArea();
    }
    emit focusStateChanged();
    Repaint();
}

bool FocusController::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: break;
    default: return false;
    }
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    QWidget* picture = m_controls.picture();
    if (watched == picture) {
        return OnMouse(mouse, picture->mapToParent(mouse.position().toPoint()), true);
    }
    if (watched == &m_window) {
        return OnMouse(mouse, mouse.position().toPoint(), false);
    }
    return false;
}

bool FocusController::OnMouse(const QMouseEvent& event, QPoint client, bool overPicture)
{
    ImageView& view = m_state.view();
    FocusIndicator& focus = m_state.focus();
    ColorSettings& color = m_state.settings().color;
    const PointD clientPoint{static_cast<double>(client.x()), static_cast<double>(client.y())};
    const std::optional<PointD> image = view.ClientToImage(clientPoint);
    const std::optional<IntPoint> pixel = view.ClientToImageInt(clientPoint);
    if (!image || !pixel) {
        return false;
    }
    const bool inside = Contains(view.frameRect(), {client.x(), client.y()});
    PictureView* picture = m_controls.picture();

    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (event.button() == Qt::LeftButton && inside && focus.OnLButtonDown(*pixel)) {
            Repaint();
            return true;
        }
        if (event.button() == Qt::RightButton && inside &&
            FocusLineRightPress(color.focusflg, color.focuspos, image->y)) {
            picture->setCursor(Qt::SizeVerCursor);
            return true;
        }
        return false;
    case QEvent::MouseMove:
        if (focus.OnMouseMove(*pixel)) {
            Repaint();
            return true;
        }
        if (color.focusflg == 2) {
            if (FocusLineMove(color.focusflg, color.focuspos, pixel->y, inside)) {
                Repaint();
            }
            picture->setCursor(Qt::SizeVerCursor);
            return true;
        }
        if (overPicture && m_state.activeMode() == kModeNone) {
            const std::optional<ViewTransform> transform = view.transform();
            if (transform &&
                NearFocusLine(color.focusflg, color.focuspos, client.y() - view.frameRect().top, *transform)) {
                picture->setCursor(Qt::SizeVerCursor);
                return true;
            }
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (event.button() == Qt::LeftButton) {
            if (const std::optional<int> index = focus.OnLButtonUp(*pixel)) {
                CreateMeter(*index);
                emit focusStateChanged();
                Repaint();
                return true;
            }
        } else if (event.button() == Qt::RightButton && color.focusflg == 2) {
            FocusLineRelease(color.focusflg);
            picture->unsetCursor();
            return true;
        }
        return false;
    default: return false;
    }
}

void FocusController::CreateMeter(int index)
{
    const FocusArea& area = m_state.focus().areas()[static_cast<std::size_t>(index)];
    auto* meter = new CFocusDlg(index, m_state.settings().FocusSelect, &m_window);
    connect(meter, &CFocusDlg::scaleChanged, this, &FocusController::OnScaleChanged);
    connect(meter, &CFocusDlg::activationChanged, this, [this](int areaIndex, bool active) {
        m_state.focus().SetActive(areaIndex, active);
        Repaint();
    });
    connect(meter, &CFocusDlg::closed, this, [this](int areaIndex) {
        m_state.focus().Close(areaIndex);
        m_meters.erase(areaIndex);
        Repaint();
    });
    // Beside the area: 10 pixels right of its right edge, level with its middle.
    const PointD anchor{static_cast<double>(area.area.right),
                        (static_cast<double>(area.area.top) + static_cast<double>(area.area.bottom)) / 2.0};
    if (const std::optional<PointD> client = m_state.view().ImageToClient(anchor)) {
        const QPoint global = m_window.mapToGlobal(QPoint(TruncateToInt(client->x), TruncateToInt(client->y)));
        meter->move(global + QPoint(10, 0));
    }
    meter->ShowValues(area.value, area.peak, m_state.settings().color.wave);
    meter->show();
    m_meters[index] = meter;
}

void FocusController::ShowValues()
{
    const std::vector<FocusArea>& areas = m_state.focus().areas();
    for (const auto& [index, meter] : m_meters) {
        if (meter != nullptr) {
            const FocusArea& area = areas[static_cast<std::size_t>(index)];
            meter->ShowValues(area.value, area.peak, m_state.settings().color.wave);
        }
    }
}

void FocusController::OnScaleChanged(int index, int scaleIndex)
{
    m_state.settings().FocusSelect = scaleIndex;
    m_state.focus().ScaleChanged(index);
    // One scale for every meter.
    for (const auto& [other, meter] : m_meters) {
        if (meter != nullptr) {
            meter->ShowScale(scaleIndex);
        }
    }
    ShowValues();
}

void FocusController::Repaint()
{
    m_controls.picture()->update();
}

} // namespace orvane
