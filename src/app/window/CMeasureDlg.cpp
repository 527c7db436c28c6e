#include "app/window/CMeasureDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "app/qt/AppLog.h"
#include "app/look/ButtonFaces.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/camera/CameraController.h"
#include "app/look/CPictureButton.h"
#include "app/measure/CalibrationController.h"
#include "app/window/ControlIds.h"
#include "app/window/FileCommands.h"
#include "app/qt/IMessageBoxes.h"
#include "app/window/MainWindowControls.h"
#include "app/measure/MeasureController.h"
#include "app/thumbnails/ThumbnailController.h"
#include "app/overlays/DisplayAidsController.h"
#include "app/overlays/FocusController.h"
#include "app/overlays/MagnetController.h"
#include "app/window/PictureView.h"
#include "app/window/PicturePanning.h"
#include "app/window/RightColumnLayout.h"
#include "app/window/ScreenFit.h"
#include "app/look/WindowLook.h"
#include "app/core/AppTexts.h"
#include "app/core/FileMessages.h"
#include "app/core/KeyActions.h"
#include "platform/Clock.h"

namespace orvane {
namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

WindowKey KeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Escape: return WindowKey::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return WindowKey::Enter;
    case Qt::Key_F11: return WindowKey::F11;
    case Qt::Key_F12: return WindowKey::F12;
    case Qt::Key_Delete: return WindowKey::Delete;
    default: return WindowKey::Other;
    }
}

// The title bar and borders a window manager adds, until the window is shown
// and its frame can be measured.
constexpr QMargins kAssumedFrame{4, 30, 4, 4};

// A stored placement smaller than this is not a window anyone left behind.
constexpr int kMinimumRestoredWidth = 200;
constexpr int kMinimumRestoredHeight = 150;

} // namespace

CMeasureDlg::CMeasureDlg(ICaptureSource& capture, const PathRoots& roots, Language language, IMessageBoxes& boxes,
                         QWidget* parent)
    : QWidget(parent), m_language(language), m_boxes(boxes), m_state(capture, roots)
{
    setWindowTitle(Utf8(kVersionTitle));
    setFocusPolicy(Qt::StrongFocus);
    if (!m_pictures.Load()) {
        qCWarning(lcApp) << "some of the window's pictures could not be decoded";
    }
    m_cursors.Load();
    m_dpi = DpiScale::ForWidget(*this);
    m_controls = std::make_unique<MainWindowControls>(*this, m_state, m_pictures, m_dpi);
    m_measure = std::make_unique<MeasureController>(*this, m_state, *m_controls, m_boxes, m_cursors);
    m_calibration = std::make_unique<CalibrationController>(*this, m_state.measure(), *m_controls->calibrationList(),
                                                            *m_controls->button(ctl::kCalib));
    m_files = std::make_unique<FileCommands>(*this, m_state, *m_controls, m_boxes, m_language);
    m_camera = new CameraController(*this, m_state, capture, *m_controls->button(ctl::kSet));
    // Before Initialise: the settings load starts the thumbnail scan through it.
    m_thumbnails = std::make_unique<ThumbnailController>(*this, m_state, *m_controls, m_pictures, m_language, m_dpi);
    m_displayAids = std::make_unique<DisplayAidsController>(*this, m_state, *m_controls, m_pictures, m_language);
    // Installed after the measuring's filter, so it sees the middle button first.
    m_panning = new PicturePanning(m_state.view(), [this] { RepaintPicture(); }, this);
    m_controls->picture()->installEventFilter(m_panning);
    // After the measuring, so that their mouse filters see events first.
    m_magnet = std::make_unique<MagnetController>(*this, m_state, *m_controls, m_language);
    m_focus = std::make_unique<FocusController>(*this, m_state, *m_controls);

    const QSize client(m_dpi.DpiScaleX(MainWindowControls::kInitialClientSize.width()),
                       m_dpi.DpiScaleY(MainWindowControls::kInitialClientSize.height()));
    QRect placed(QPoint(0, 0), client);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        placed.moveTo(area.x() + std::max(0, (area.width() - client.width()) / 2),
                      area.y() + std::max(0, (area.height() - client.height()) / 2));
        // A small screen gets a smaller first window rather than one whose
        // bottom is out of reach.
        placed = FitIntoArea(placed, area, kAssumedFrame);
    }
    setGeometry(placed);
    m_initialGeometry = geometry();

    ImageView& view = m_state.view();
    view.SetHost(ViewHost{[this](const ViewLayoutResult& layout) { m_controls->ApplyViewLayout(layout); },
                          [this] { setFocus(); }});
    const QRect frame = m_controls->picture()->geometry();
    view.SetFrameRect(RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()});

    m_search = new CInitCameraDlg(m_state.search(), m_language, m_boxes, this);
    m_tickTimer = new QTimer(this);
    m_tickTimer->setInterval(kTickMilliseconds);
    connect(m_tickTimer, &QTimer::timeout, this, &CMeasureDlg::OnTickTimer);
    m_retryTimer = new QTimer(this);
    m_retryTimer->setInterval(kCameraRetryMilliseconds);
    connect(m_retryTimer, &QTimer::timeout, this, &CMeasureDlg::OnCameraRetryTimer);

    ConnectControls();
    // F11, F12, Escape and Enter act wherever the focus is inside the window.
    qApp->installEventFilter(this);
}

CMeasureDlg::~CMeasureDlg()
{
    qApp->removeEventFilter(this);
}

void CMeasureDlg::Initialise(const std::filesystem::path& picture)
{
    setWindowIcon(LoadProgramIcon());
    const bool live = m_state.Initialise();
    m_displayAids->Initialise();
    const OrvaneSettings& settings = m_state.settings();

    m_controls->FillZoomList(m_language, m_state.view().zoomIndex());
    m_controls->ApplyToolAvailability(settings.EnableAllTools == 1);
    setWindowTitle(Utf8(kVersionTitle));
    m_controls->SetUpResultList(m_language);
    m_controls->FillCalibrationList(m_state.calibrations());
    m_state.SelectCalibration(0);
    m_controls->InstallToolTips(m_language);
    m_state.SetReserves(m_controls->RightReserve(), m_controls->BottomReserve());
    Relayout();
    m_thumbnails->Refresh();

    m_tickTimer->start();
    m_retryTimer->start();

    bool opened = false;
    LoadInfo info;
    if (!picture.empty()) {
        opened = m_state.OpenPicture(picture, &info);
        if (!opened) {
            m_boxes.Warn(this, Utf8(OpenPictureCaption(m_language)), Utf8(PictureUnreadableText(m_language, picture)));
        }
    }
    if (opened) {
        ShowMainWindow();
        // Told over the picture it concerns, so the operator sees what is missing.
        if (info.truncated) {
            m_boxes.Warn(this, Utf8(OpenPictureCaption(m_language)), Utf8(PictureIncompleteText(m_language, picture)));
        }
    } else if (live) {
        ShowMainWindow();
    } else {
        m_search->Restart();
    }
    UpdateButtonStates();
}

void CMeasureDlg::ConnectControls()
{
    connect(m_controls->button(ctl::kLive), &QAbstractButton::clicked, this, &CMeasureDlg::OnLive);
    connect(m_controls->button(ctl::kRightCorner), &QAbstractButton::clicked, this, &CMeasureDlg::OnRightCorner);
    connect(m_controls->button(ctl::kBottomCorner), &QAbstractButton::clicked, this, &CMeasureDlg::OnBottomCorner);
    connect(m_controls->picture(), &PictureView::wheelTurned, this, &CMeasureDlg::OnMouseWheel);
    connect(m_controls->zoomList(), &QComboBox::activated, this, [this](int index) {
        m_state.view().ZoomChanged(index);
        SyncZoomList();
        RepaintPicture();
    });
    connect(m_measure.get(), &MeasureController::toolsChanged, this, &CMeasureDlg::UpdateButtonStates);
    connect(m_files.get(), &FileCommands::buttonsChanged, this, &CMeasureDlg::UpdateButtonStates);
    connect(m_files.get(), &FileCommands::thumbnailsChanged, m_thumbnails.get(), &ThumbnailController::Refresh);
    connect(m_thumbnails.get(), &ThumbnailController::pictureOpened, this, [this] {
        UpdateButtonStates();
        SyncZoomList();
        m_measure->UpdateCursor();
        update();
    });
    connect(m_displayAids.get(), &DisplayAidsController::cursorReleased, m_measure.get(),
            &MeasureController::UpdateCursor);
    connect(m_focus.get(), &FocusController::focusStateChanged, this, &CMeasureDlg::UpdateButtonStates);
}

void CMeasureDlg::OnTickTimer()
{
    const TickResult tick = m_state.OnTick(TickCount());
    m_camera->RefreshSetButton();
    if (tick.repaint) {
        UpdateButtonStates();
        update();
        RepaintPicture();
    }
    const QString title = Utf8(tick.title);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void CMeasureDlg::OnCameraRetryTimer()
{
    const RetryResult retry = m_state.OnCameraRetry();
    if (retry.closeSearchDialog) {
        m_search->CloseForCamera();
    }
    if (retry.showWindow) {
        ShowMainWindow();
    }
    if (retry.endProgram) {
        QuitConfirmed();
    }
}

void CMeasureDlg::OnLive()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool showSearch = m_state.OnLive();
    QGuiApplication::restoreOverrideCursor();
    if (showSearch) {
        m_search->Restart();
    }
    UpdateButtonStates();
    SyncZoomList();
    m_measure->UpdateCursor();
    update();
}

void CMeasureDlg::OnInstantSave()
{
    m_files->InstantSaveImage();
}

void CMeasureDlg::OnRightCorner()
{
    m_state.ToggleRightPanel();
    m_controls->SetControlsVisible(RightPanelControls(), m_state.rightPanelShown());
    m_controls->button(ctl::kRightCorner)->setAlternative(!m_state.rightPanelShown());
    Relayout();
}

void CMeasureDlg::OnBottomCorner()
{
    m_state.ToggleBottomPanel();
    m_controls->SetControlsVisible(BottomPanelControls(), m_state.bottomPanelShown());
    m_controls->button(ctl::kBottomCorner)->setAlternative(!m_state.bottomPanelShown());
    Relayout();
    m_thumbnails->Refresh();
}

void CMeasureDlg::OnMouseWheel(int delta, QPoint cursor)
{
    m_state.view().OnMouseWheel(delta, IntPoint{cursor.x(), cursor.y()});
    SyncZoomList();
    RepaintPicture();
}

void CMeasureDlg::RepaintPicture()
{
    // The picture area is a child that paints only its own back buffer: a
    // change of zoom or pan must reach it at once, or clicks are mapped with
    // a view the screen does not show yet.
    m_controls->picture()->update();
}

void CMeasureDlg::QuitConfirmed()
{
    m_quitConfirmed = true;
    close();
}

void CMeasureDlg::Relayout()
{
    m_controls->PlaceForClientSize(size());
    m_state.view().SetWindowLayout(m_controls->CurrentWindowLayout(size(), m_state));
    m_state.view().ViewLayout();
    update();
    RepaintPicture();
}

void CMeasureDlg::ShowMainWindow()
{
    m_state.search().SetShowState(ShowState::Shown);
    show();
    update();
}

void CMeasureDlg::SyncZoomList()
{
    m_controls->zoomList()->setCurrentIndex(m_state.view().zoomIndex());
}

void CMeasureDlg::UpdateButtonStates()
{
    m_controls->button(ctl::kLive)->setAlternative(m_state.isFrozen());
    m_controls->button(ctl::kType)->setAlternative(m_state.burnIn());
    m_camera->RefreshSetButton();
    for (const int id : RightColumnControls()) {
        if (CPictureButton* face = m_controls->button(id);
            face != nullptr && face->kind() == CPictureButton::Kind::Face) {
            face->setModeLamp(GreenLampLit(id, m_state.activeMode(), m_state.focusAreaState()));
        }
    }
}

bool CMeasureDlg::AskQuit()
{
    const MessageText question = QuitQuestion(m_language);
    return m_boxes.AskYesNo(this, Utf8(question.caption), Utf8(question.text));
}

void CMeasureDlg::Shutdown()
{
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_tickTimer->stop();
    m_retryTimer->stop();
    m_search->CloseForCamera();
    m_state.Shutdown(CurrentPlacement());
}

WindowPlacementSettings CMeasureDlg::CurrentPlacement() const
{
    WindowPlacementSettings placement;
    QRect normal = m_initialGeometry;
    if (m_everShown) {
        normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    }
    placement.Window_Left = normal.left();
    placement.Window_Top = normal.top();
    placement.Window_Right = normal.left() + normal.width();
    placement.Window_Bottom = normal.top() + normal.height();
    placement.Window_Max = m_everShown && isMaximized() ? 1 : 0;
    if (!m_everShown) {
        // Never shown: the placement the operator left last time stays.
        LoadWindowPlacement(m_state.profile(), placement);
    }
    return placement;
}

QMargins CMeasureDlg::FrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins measured(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                            frame.bottom() - client.bottom());
    // Without a window manager (or before it framed the window) there is no frame.
    return measured.isNull() ? kAssumedFrame : measured;
}

void CMeasureDlg::RestorePlacement()
{
    WindowPlacementSettings placement = CurrentPlacement();
    LoadWindowPlacement(m_state.profile(), placement);
    const int width = placement.Window_Right - placement.Window_Left;
    const int height = placement.Window_Bottom - placement.Window_Top;
    if (width >= kMinimumRestoredWidth && height >= kMinimumRestoredHeight) {
        QRect restored(placement.Window_Left, placement.Window_Top, width, height);
        // A placement left on a larger or a since-removed screen comes back
        // onto the screen the window is on now.
        const QScreen* screen = QGuiApplication::screenAt(restored.center());
        if (screen == nullptr) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen != nullptr) {
            restored = FitIntoArea(restored, screen->availableGeometry(), FrameMargins());
        }
        setGeometry(restored);
    }
    if (placement.Window_Max != 0) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    Relayout();
}

void CMeasureDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TileBackground(painter, rect(), m_pictures.backgroundTile());
}

void CMeasureDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void CMeasureDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_everShown) {
        m_everShown = true;
        RestorePlacement();
    }
}

void CMeasureDlg::closeEvent(QCloseEvent* event)
{
    if (!m_quitConfirmed && !AskQuit()) {
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
    emit finished();
}

void CMeasureDlg::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    OnMouseWheel(delta, event->position().toPoint());
    event->accept();
}

bool CMeasureDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    // The arrows move the picture while it (or the window itself) has the
    // focus; in the lists and the zoom box they keep their own meaning.
    if ((widget == this || widget == m_controls->picture()) && m_panning->OnArrowKey(key->key())) {
        return true;
    }
    MeasureInteraction& interaction = m_state.measure().interaction();
    switch (ActionForKey(KeyOf(key->key()), m_language, widget == this, interaction.placing())) {
    case KeyAction::PassOn: return false;
    case KeyAction::Swallow: return true;
    case KeyAction::AskQuit:
        if (AskQuit()) {
            QuitConfirmed();
        }
        return true;
    case KeyAction::Live: OnLive(); return true;
    case KeyAction::InstantSave: OnInstantSave(); return true;
    case KeyAction::CancelMeasurement: interaction.CancelPlacing(); return true;
    case KeyAction::DeleteSelection: m_controls->button(ctl::kDelete)->click(); return true;
    }
    return false;
}

} // namespace orvane
