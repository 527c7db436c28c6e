#include "app/overlays/DisplayAidsController.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "app/core/MeasureDlgState.h"
#include "app/look/CPictureButton.h"
#include "app/look/UiPictures.h"
#include "app/qt/FrameImageQt.h"
#include "app/qt/QtDrawingSurface.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "image/GridDrawing.h"
#include "measure/CalibrationEdit.h"
#include "settings/MeasureStyleSettings.h"
#include "tools/CrossLineDrawing.h"

namespace orvane {
namespace {

std::string UnitText(std::int32_t unit)
{
    return unit >= 0 && unit < static_cast<std::int32_t>(kCalibrationUnitTexts.size())
               ? std::string(kCalibrationUnitTexts[static_cast<std::size_t>(unit)])
               : std::string();
}

bool HasCompleteCircle(const std::vector<CrossLine>& circles)
{
    if (circles.empty() || circles.front().Show == 0) {
        return false;
    }
    for (const CrossLine& circle : circles) {
        if (circle.Show != 0 && circle.Mode >= 3) {
            return true;
        }
    }
    return false;
}

} // namespace

DisplayAidsController::DisplayAidsController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                                             const UiPictures& pictures, Language language)
    : m_window(window), m_state(state), m_controls(controls), m_pictures(pictures), m_language(language)
{
    InstallOverlays();
    connect(controls.button(ctl::kColor), &QAbstractButton::clicked, this, &DisplayAidsController::OnColor);
    connect(controls.button(ctl::kCrossLine), &QAbstractButton::clicked, this, &DisplayAidsController::OnCrossLine);
    m_state.measure().SetCalibrationListener([this] { OnCalibrationChanged(); });

    // Installed after the measuring's filters, so these run first.
    controls.picture()->installEventFilter(this);
    window.installEventFilter(this);
}

DisplayAidsController::~DisplayAidsController()
{
    m_state.measure().SetCalibrationListener({});
    ViewOverlays& overlays = m_state.view().overlays();
    overlays.scaleBar = {};
    overlays.crossLines = {};
    overlays.grid = {};
    overlays.cursorCrossHairs = {};
}

void DisplayAidsController::SetChoosers(std::function<std::optional<COLORREF>(COLORREF, QWidget*)> colour,
                                        std::function<std::optional<QFont>(const QFont&, QWidget*)> font)
{
    m_chooseColour = std::move(colour);
    m_chooseFont = std::move(font);
    if (m_crossLines != nullptr) {
        MakeCrossLineDialog();
    }
}

void DisplayAidsController::Initialise()
{
    MakeCrossLineDialog();
}

void DisplayAidsController::MakeCrossLineDialog()
{
    delete m_crossLines;
    m_crossLines = new CCrossLineSetDlg(
        CrossLineDialogBinding{&m_state.crossLines(), [this] { return UnitsPerPixel(); }, m_chooseColour}, m_language,
        &m_window);
    connect(m_crossLines, &CCrossLineSetDlg::repaintRequested, this, &DisplayAidsController::Repaint);
}

PointD DisplayAidsController::UnitsPerPixel() const
{
    return m_state.measure().selection().mpp;
}

std::optional<ScaleBarLengths> DisplayAidsController::BarLengths() const
{
    const ScaleDataSettings& scale = m_state.settings().m_ScaleData;
    const PointD mpp = UnitsPerPixel();
    return ScaleBarPixelLengths(scale.Type, scale.Size.cx, scale.Size.cy, mpp.x, mpp.y);
}

void DisplayAidsController::InstallOverlays()
{
    ViewOverlays& overlays = m_state.view().overlays();
    overlays.scaleBar = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        const ScaleDataSettings& scale = m_state.settings().m_ScaleData;
        const std::optional<ScaleBarLengths> length = BarLengths();
        if (scale.Visible == 0 || !length) {
            return;
        }
        const ColorSettings& color = m_state.settings().color;
        const ScaleBarLook look{.type = scale.Type,
                                .anchor = {scale.Pos.x, scale.Pos.y},
                                .sizeX = scale.Size.cx,
                                .length = *length,
                                .unit = UnitText(m_state.measure().selection().unit),
                                .lineColour = color.line,
                                .lineWidth = std::max(1, color.linesize),
                                .textColour = color.text,
                                .font = DrawingFontOf(color.font)};
        QtDrawingSurface surface(backBuffer);
        DrawScaleBar(surface, transform, look);
    };
    overlays.crossLines = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        const CrossLineSettings& lists = m_state.crossLines();
        BlendCrossLines(backBuffer, transform, lists.lines);
        BlendCrossCircleCentres(backBuffer, transform, lists.circles);
        if (HasCompleteCircle(lists.circles)) {
            QtDrawingSurface surface(backBuffer);
            DrawCrossCircleOutlines(surface, transform, lists.circles);
        }
    };
    overlays.grid = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        const ColorSettings& color = m_state.settings().color;
        if (color.gridflg == 0) {
            return;
        }
        QtDrawingSurface surface(backBuffer);
        DrawGrid(surface, transform, m_state.view().imageWidth(), m_state.view().imageHeight(), color.gridsize,
                 color.grid);
    };
    overlays.cursorCrossHairs = [this](FrameImage& backBuffer, const ViewTransform& transform) {
        if (!m_state.crossHairsOn() || !m_pointer) {
            return;
        }
        const ImageView& view = m_state.view();
        if (!Contains(view.frameRect(), {m_pointer->x(), m_pointer->y()})) {
            return;
        }
        const std::optional<PointD> image = view.ClientToImage({double(m_pointer->x()), double(m_pointer->y())});
        if (!image) {
            return;
        }
        QtDrawingSurface surface(backBuffer);
        DrawCrossHairs(surface, transform, view.imageWidth(), view.imageHeight(), *image,
                       m_state.settings().color.CursorCrosshairs.Color);
    };
}

void DisplayAidsController::OnColor()
{
    if (m_colours) {
        m_colours->show();
        m_colours->raise();
        return;
    }
    ColourDialogBinding binding;
    binding.color = &m_state.settings().color;
    binding.scale = &m_state.settings().m_ScaleData;
    binding.profile = &m_state.profile();
    binding.unitsPerPixel = [this] { return UnitsPerPixel(); };
    binding.frameWidth = m_state.frames().display.width();
    binding.frameHeight = m_state.frames().display.height();
    binding.chooseColour = m_chooseColour;
    binding.chooseFont = m_chooseFont;
    m_colours = new CCColorSet(std::move(binding), ToQImage(m_pictures.buttonSheet()), m_language, &m_window);
    connect(m_colours, &CCColorSet::repaintRequested, this, &DisplayAidsController::Repaint);
    m_colours->ShowNear(QCursor::pos());
    Repaint();
}

void DisplayAidsController::OnCrossLine()
{
    if (m_crossLines == nullptr) {
        MakeCrossLineDialog();
    }
    m_crossLines->ShowNear(QCursor::pos());
}

void DisplayAidsController::OnCalibrationChanged()
{
    if (m_colours) {
        m_colours->RefreshGridField();
    }
    if (m_crossLines != nullptr) {
        m_crossLines->RefreshFields();
    }
}

void DisplayAidsController::Repaint()
{
    m_controls.picture()->update();
}

bool DisplayAidsController::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: break;
    case QEvent::Leave:
        // The pointer went to another window: the cross hairs no longer mark it.
        if (watched == m_controls.picture() && m_pointer) {
            m_pointer.reset();
            Repaint();
        }
        return false;
    default: return false;
    }
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    QWidget* picture = m_controls.picture();
    if (watched == picture) {
        return OnPictureMouse(mouse);
    }
    if (watched == &m_window && event->type() == QEvent::MouseMove) {
        m_pointer = mouse.position().toPoint();
    }
    return false;
}

bool DisplayAidsController::OnPictureMouse(const QMouseEvent& event)
{
    QWidget* picture = m_controls.picture();
    const QPoint client = picture->mapToParent(event.position().toPoint());
    if (event.type() == QEvent::MouseMove) {
        m_pointer = client;
    }
    const ImageView& view = m_state.view();
    const std::optional<PointD> image = view.ClientToImage({double(client.x()), double(client.y())});
    if (!image) {
        return false;
    }
    const bool inside = Contains(view.frameRect(), {client.x(), client.y()});
    ScaleDataSettings& scale = m_state.settings().m_ScaleData;
    const std::optional<ScaleBarLengths> length = BarLengths();
    const bool barShown = scale.Visible != 0 && length.has_value();
    const IntPoint anchor{scale.Pos.x, scale.Pos.y};

    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (event.button() == Qt::LeftButton && barShown && inside &&
            m_barDrag.Press(scale.Type, anchor, *length, *image)) {
            picture->setCursor(Qt::SizeAllCursor);
            return true;
        }
        [[fallthrough]];
    case QEvent::MouseButtonDblClick:
        if (event.button() == Qt::RightButton && inside) {
            if (const std::optional<CrossLineGrab> grab = m_crossDrag.OnRButtonDown(m_state.crossLines(), *image)) {
                picture->setCursor(Qt::SizeAllCursor);
                if (grab->list == CrossLineGrab::List::Lines && m_crossLines != nullptr && m_crossLines->isVisible()) {
                    m_crossLines->SelectLine(static_cast<int>(grab->index));
                }
                return true;
            }
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (event.button() == Qt::LeftButton && m_barDrag.dragging()) {
            m_barDrag.Release();
            emit cursorReleased();
            return true;
        }
        if (event.button() == Qt::RightButton && m_crossDrag.grab()) {
            m_crossDrag.OnRButtonUp();
            emit cursorReleased();
            return true;
        }
        return false;
    case QEvent::MouseMove: {
        if (m_barDrag.dragging()) {
            IntPoint moved = anchor;
            if (m_barDrag.Move(*image, inside, moved)) {
                scale.Pos = {moved.x, moved.y};
                picture->setCursor(Qt::SizeAllCursor);
                Repaint();
            } else {
                emit cursorReleased();
            }
            return true;
        }
        if (m_crossDrag.grab()) {
            if (m_crossDrag.OnMouseMove(m_state.crossLines(), *image)) {
                if (m_crossDrag.grab()->list == CrossLineGrab::List::Lines && m_crossLines != nullptr && m_crossLines->isVisible()) {
                    m_crossLines->SelectLine(static_cast<int>(m_crossDrag.grab()->index));
                }
                Repaint();
            }
            return true;
        }
        // Hovering the bar shows that it can be moved, unless a tool or an
        // edit of the measuring has the pointer.
        const MeasureInteraction& interaction = m_state.measure().interaction();
        const bool overBar = barShown && inside && interaction.mode() == 0 && !interaction.dragActive() &&
                             ScaleBarHit(scale.Type, anchor, *length, *image) != ScaleBarPart::None;
        if (overBar) {
            m_hovering = true;
            picture->setCursor(Qt::SizeAllCursor);
            return true;
        }
        if (m_hovering) {
            m_hovering = false;
            emit cursorReleased();
        }
        return false;
    }
    default: return false;
    }
}

} // namespace orvane
