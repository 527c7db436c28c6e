#include "app/measure/MeasureController.h"

#include <array>
#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QItemSelectionModel>
#include <QTableView>

#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/qt/IMessageBoxes.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/qt/QtDrawingSurface.h"
#include "app/measure/MeasureLayer.h"
#include "app/measure/ResultListMirror.h"
#include "app/look/UiCursors.h"
#include "app/core/MeasureDlgState.h"

namespace orvane {
namespace {

struct ToolButton {
    int controlId;
    std::int32_t mode;
};

constexpr std::array kToolButtons{ToolButton{ctl::kLine, kModeLength},       ToolButton{ctl::kAria, kModeArea},
                                  ToolButton{ctl::kCircle, kModeCircle},     ToolButton{ctl::kCircle2, kModeTwoCircles},
                                  ToolButton{ctl::kSui, kModePerpendicular}, ToolButton{ctl::kAngle, kModeAngle}};

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

FrameSize SizeOf(const FrameImage& image)
{
    return {image.width(), image.height()};
}

} // namespace

MeasureController::MeasureController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                                     IMessageBoxes& boxes, const UiCursors& cursors)
    : m_window(window), m_state(state), m_session(state.measure()), m_controls(controls), m_cursors(cursors)
{
    m_list = std::make_unique<ResultListMirror>(m_session.interaction().list(), *controls.resultList());
    m_layer = std::make_unique<MeasureLayer>(m_session);
    if (m_textImage.Create(1, 1, 24)) {
        m_textSurface = std::make_unique<QtDrawingSurface>(m_textImage);
    }
    InstallHost(boxes);
    InstallOverlays();
    ConnectControls();

    // Moves over the window's background count too: leaving the picture
    // ends a calibration drag and hides the rubber band's pointer.
    m_window.setMouseTracking(true);
    controls.picture()->installEventFilter(this);
    m_window.installEventFilter(this);
}

MeasureController::~MeasureController()
{
    m_session.SetHost({});
}

void MeasureController::InstallHost(IMessageBoxes& boxes)
{
    m_session.SetDoubleClickTime(static_cast<std::uint32_t>(QApplication::doubleClickInterval()));
    m_session.SetHost(MeasureHost{
        .measureText =
            [this](std::string_view text, const DrawingFont& font) {
                if (!m_textSurface) {
                    return TextExtent{};
                }
                m_textSurface->SetFont(font);
                return m_textSurface->TextSize(text);
            },
        .askYesNo = [this,
                     &boxes](std::string_view text,
                             std::string_view caption) { return boxes.AskYesNo(&m_window, Utf8(caption), Utf8(text)); },
        .repaintPicture = [this] { m_controls.picture()->update(); },
        .repaintWindow =
            [this] {
                m_window.update();
                m_controls.picture()->update();
            },
        .showSelection = [this](std::span<const int> rows) { m_list->SelectRows(rows); },
    });
}

void MeasureController::InstallOverlays()
{
    ViewOverlays& overlays = m_state.view().overlays();
    overlays.measurements = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        // The picture area keeps a layer; a picture to save is drawn straight.
        if (&backBuffer == &m_controls.picture()->backBuffer()) {
            m_layer->Paint(backBuffer, transform);
            return;
        }
        QtDrawingSurface surface(backBuffer);
        m_session.DrawMeasurements(surface, transform, SizeOf(backBuffer));
    };
    overlays.measurementInProgress = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        QtDrawingSurface surface(backBuffer);
        m_session.DrawWorking(surface, transform, SizeOf(backBuffer));
    };
    overlays.calibrationMarks = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        if (m_session.calibrationOpen()) {
            QtDrawingSurface surface(backBuffer);
            m_session.DrawCalibrationMarks(surface, transform);
        }
    };
}

void MeasureController::ConnectControls()
{
    MeasureInteraction& interaction = m_session.interaction();
    for (const ToolButton& tool : kToolButtons) {
        connect(m_controls.button(tool.controlId), &QAbstractButton::clicked, this, [this, &interaction, tool] {
            interaction.OnToolButton(tool.mode);
            AfterEvent();
        });
    }
    connect(m_controls.button(ctl::kDelete), &QAbstractButton::clicked, this, [this, &interaction] {
        interaction.OnDelete();
        AfterEvent();
    });
    connect(m_controls.resultList()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, &interaction] { interaction.OnListItemChanged(m_list->SelectedRows()); });
}

bool MeasureController::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: break;
    default: return false;
    }
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    QWidget* picture = m_controls.picture();
    if (watched == picture) {
        // Taken here so that the window does not see it a second time.
        return Forward(mouse, picture->mapToParent(mouse.position().toPoint()));
    }
    if (watched == &m_window) {
        Forward(mouse, mouse.position().toPoint());
    }
    return false;
}

bool MeasureController::Forward(const QMouseEvent& event, QPoint client)
{
    MeasureInteraction& interaction = m_session.interaction();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    const int x = client.x();
    const int y = client.y();
    switch (event.type()) {
    case QEvent::MouseMove: interaction.OnMouseMove(x, y, shift); break;
    case QEvent::MouseButtonRelease:
        if (event.button() == Qt::LeftButton) {
            interaction.OnLButtonUp(x, y, shift);
        } else if (event.button() == Qt::RightButton) {
            interaction.OnRButtonUp();
        } else {
            return false;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (event.button() == Qt::LeftButton) {
            interaction.OnLButtonDblClk(x, y);
        } else if (event.button() == Qt::RightButton) {
            // The second press of a quick pair still starts an edit.
            interaction.OnRButtonDown(x, y);
        } else {
            return false;
        }
        break;
    case QEvent::MouseButtonPress:
        if (event.button() != Qt::RightButton) {
            return false;
        }
        interaction.OnRButtonDown(x, y);
        break;
    default: return false;
    }
    AfterEvent();
    return true;
}

void MeasureController::AfterEvent()
{
    const MeasureInteraction& interaction = m_session.interaction();
    m_state.SetCursorHint(interaction.cursorHint());
    m_state.SetCursorHidden(interaction.systemCursorHidden());
    m_state.SetCrossHairsOn(interaction.hideCursor() != 0);
    UpdateCursor();
    if (interaction.mode() != m_shownMode) {
        m_shownMode = interaction.mode();
        emit toolsChanged();
    }
}

void MeasureController::UpdateCursor()
{
    PictureView* picture = m_controls.picture();
    // Hidden only while the cross hairs stand in for the pointer: the
    // operator always sees one or the other.
    if (m_state.cursorHidden() && m_state.crossHairsOn()) {
        picture->setCursor(Qt::BlankCursor);
    } else if (const std::optional<QCursor> cursor = m_cursors.CursorForHint(m_state.cursorHint())) {
        picture->setCursor(*cursor);
    } else {
        picture->unsetCursor();
    }
}

} // namespace orvane
