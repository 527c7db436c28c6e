#include "app/thumbnails/ThumbnailController.h"

#include <filesystem>

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWidget>
#include <system_error>

#include "app/core/MeasureDlgState.h"
#include "app/look/CPictureButton.h"
#include "app/look/UiPictures.h"
#include "app/qt/AppLog.h"
#include "app/thumbnails/CThumbnailDlg.h"
#include "app/thumbnails/ThumbnailScanner.h"
#include "app/thumbnails/ThumbnailStrip.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"

namespace orvane {
namespace {

QString FileName(const std::filesystem::path& path)
{
    return QString::fromStdString(path.filename().string());
}

QString ProgressText(Language language, int done, int total)
{
    return (language == Language::Japanese ? QStringLiteral("サムネイルを読み込み中 %1 / %2")
                                           : QStringLiteral("Reading thumbnails %1 / %2"))
        .arg(done)
        .arg(total);
}

QString CannotOpenText(Language language, const std::filesystem::path& path)
{
    return (language == Language::Japanese ? QStringLiteral("%1 を開けません") : QStringLiteral("Cannot open %1"))
        .arg(FileName(path));
}

bool DeleteFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::remove(path, error);
}

// Qt cannot make the trash in a data folder that does not exist yet, and then
// moves the file into a relative "files" folder of the working directory.
bool MoveToTrash(const std::filesystem::path& path)
{
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder)) {
        qCWarning(lcApp) << "no data folder for the trash:" << dataFolder;
        return false;
    }
    QString trashed;
    return QFile::moveToTrash(QString::fromStdString(path.string()), &trashed) && QDir::isAbsolutePath(trashed);
}

} // namespace

ThumbnailController::ThumbnailController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                                         const UiPictures& pictures, Language language, const DpiScale& dpi)
    : QObject(&window), m_window(window), m_state(state), m_pictures(pictures), m_language(language),
      m_scanner(std::make_unique<ThumbnailScanner>(state.thumbnails()))
{
    m_strip = new ThumbnailStrip(state.thumbnails(), *controls.stripScroll(), *controls.control(ctl::kStripGroup),
                                 dpi.dpiX(), dpi.dpiY());
    m_state.SetThumbnailScanner(m_scanner.get());
    connect(m_scanner.get(), &ThumbnailScanner::changed, this, &ThumbnailController::ShowProgress);
    connect(m_strip, &ThumbnailStrip::openRequested, this, &ThumbnailController::OnOpen);
    connect(m_strip, &ThumbnailStrip::menuRequested, this, [this](int position, QPoint globalPosition) {
        OnCommand(ShowThumbnailMenu(&m_window, globalPosition), position);
    });
    connect(controls.button(ctl::kThumb), &QAbstractButton::clicked, this, &ThumbnailController::OnThumb);
}

ThumbnailController::~ThumbnailController()
{
    m_state.SetThumbnailScanner(nullptr);
    m_scanner->Cancel();
}

void ThumbnailController::Refresh()
{
    m_strip->Refresh(m_state.bottomPanelShown());
}

void ThumbnailController::ShowProgress()
{
    m_strip->SetStatus(m_scanner->running() ? ProgressText(m_language, m_scanner->done(), m_scanner->total())
                                            : QString());
    Refresh();
}

void ThumbnailController::OnOpen(int position)
{
    const MeasureDlgState::ThumbnailOpen open = m_state.OpenThumbnail(position);
    if (open.path.empty()) {
        return;
    }
    if (open.opened) {
        m_strip->SetStatus(QString());
        emit pictureOpened();
    } else {
        m_strip->SetStatus(CannotOpenText(m_language, open.path));
    }
    Refresh();
}

void ThumbnailController::OnRemove(int position)
{
    m_state.DisposeThumbnail(position, DeleteFile);
    Refresh();
}

void ThumbnailController::OnTrash(int position)
{
    m_state.DisposeThumbnail(position, MoveToTrash);
    Refresh();
}

void ThumbnailController::OnCommand(ThumbnailCommand command, int position)
{
    switch (command) {
    case ThumbnailCommand::Open: OnOpen(position); break;
    case ThumbnailCommand::Remove: OnRemove(position); break;
    case ThumbnailCommand::TrashBox: OnTrash(position); break;
    case ThumbnailCommand::None: break;
    }
}

void ThumbnailController::OnThumb()
{
    CThumbnailDlg dialog(
        m_state.thumbnails(), m_pictures.backgroundTile(), m_language,
        [this](ThumbnailCommand command, int position) { OnCommand(command, position); }, &m_window);
    // Thumbnails the scan adds meanwhile show up in the open browser too.
    connect(m_scanner.get(), &ThumbnailScanner::changed, &dialog, &CThumbnailDlg::RecomputeScrollRange);
    const int result = dialog.exec();
    if (result >= CThumbnailDlg::kOpenBase) {
        OnOpen(result - CThumbnailDlg::kOpenBase);
    }
}

} // namespace orvane
