#include "app/window/FileCommands.h"

#include <ctime>
#include <filesystem>
#include <string>

#include <QDir>
#include <QWidget>

#include "app/qt/AppLog.h"
#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/qt/IMessageBoxes.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/qt/QtFileDialogs.h"
#include "app/core/FileCommandRules.h"
#include "app/core/FileMessages.h"
#include "app/core/InstantSaveName.h"
#include "app/core/MeasureDlgState.h"
#include "files/CsvExport.h"
#include "files/MeasureFile.h"
#include "files/TimeStampFileName.h"
#include "platform/FileIo.h"

namespace orvane {
namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path PathOf(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// The request for a dialog set up as `setup`, starting in `folder`.
FileDialogRequest RequestOf(const FileDialogSetup& setup, const std::string& folder, int filterIndex)
{
    FileDialogRequest request;
    request.title = Utf8(setup.title);
    request.initialPath = Utf8((std::filesystem::path(folder) / setup.initialName).string());
    for (const DialogFilter& filter : setup.filters) {
        const QString label = Utf8(filter.label);
        const QString pattern = Utf8(filter.pattern);
        // Qt reads the patterns from the label's last parentheses.
        request.filters << (label.endsWith(QStringLiteral("(") + pattern + QStringLiteral(")"))
                                ? label
                                : label + QStringLiteral(" (") + pattern + QStringLiteral(")"));
    }
    request.filterIndex = filterIndex;
    request.defaultExtension = Utf8(setup.defaultExtension);
    return request;
}

} // namespace

FileCommands::FileCommands(QWidget& window, MeasureDlgState& state, MainWindowControls& controls, IMessageBoxes& boxes,
                           Language language)
    : QObject(&window), m_window(window), m_state(state), m_controls(controls), m_boxes(boxes), m_language(language),
      m_ownDialogs(std::make_unique<QtFileDialogs>()), m_dialogs(m_ownDialogs.get())
{
    ConnectControls();
}

FileCommands::~FileCommands() = default;

void FileCommands::ConnectControls()
{
    connect(m_controls.button(ctl::kCsv), &QAbstractButton::clicked, this, &FileCommands::OnSaveResults);
    connect(m_controls.button(ctl::kClear), &QAbstractButton::clicked, this, &FileCommands::OnLoadResults);
    CPictureButton* save = m_controls.button(ctl::kSave);
    connect(save, &QAbstractButton::clicked, this, &FileCommands::OnSaveImage);
    connect(save, &CPictureButton::rightClicked, this, &FileCommands::QuickSaveImage);
    connect(m_controls.button(ctl::kDir), &QAbstractButton::clicked, this, &FileCommands::OnChooseImageFolder);
    connect(m_controls.button(ctl::kType), &QAbstractButton::clicked, this, &FileCommands::OnToggleBurnIn);
}

void FileCommands::OnSaveResults()
{
    OrvaneSettings& settings = m_state.settings();
    const FileDialogSetup setup = ResultsSaveSetup(m_language, TimeStampFileName(LocalNow()) + ".csv");
    const std::optional<FileDialogAnswer> answer =
        m_dialogs->SaveFile(&m_window, RequestOf(setup, settings.savedir2, kResultsFilterCsv));
    if (!answer) {
        return;
    }
    const std::filesystem::path chosen = PathOf(answer->path);
    settings.savedir2 = ChosenFolder(chosen);

    MeasureSession& session = m_state.measure();
    MeasureInteraction& interaction = session.interaction();
    ClearLastFileError();
    if (answer->filterIndex == kResultsFilterCsv) {
        if (AppendCsvFile(chosen, interaction.list().rows(), m_language) == 0) {
            TellSaveFailed(chosen);
            return;
        }
    } else if (answer->filterIndex == kResultsFilterMes) {
        const std::filesystem::path path = ResultsFilePath(chosen);
        if (interaction.chain().Count() == 0) {
            m_boxes.Inform(&m_window, Utf8(SaveCaption(m_language)), Utf8(NothingToSaveText(m_language)));
            return;
        }
        if (SaveMeasureFile(interaction.chain(), path) == 0) {
            TellSaveFailed(path);
            return;
        }
    } else {
        return;
    }
    session.MarkResultsSaved();
}

void FileCommands::OnLoadResults()
{
    // Asked before the dialog, so that "No" costs the operator nothing.
    if (m_state.measure().HasUnsavedMeasurements() &&
        !m_boxes.AskYesNo(&m_window, Utf8(ResultsFileCaption(m_language)),
                          Utf8(DiscardMeasurementsQuestion(m_language)))) {
        return;
    }
    OrvaneSettings& settings = m_state.settings();
    const std::optional<FileDialogAnswer> answer =
        m_dialogs->OpenFile(&m_window, RequestOf(ResultsOpenSetup(m_language), settings.savedir2, 1));
    if (!answer) {
        return;
    }
    const std::filesystem::path chosen = PathOf(answer->path);
    settings.savedir2 = ChosenFolder(chosen);
    LoadResultsFile(chosen);
}

bool FileCommands::LoadResultsFile(const std::filesystem::path& path)
{
    const MeasureFileLoad load = m_state.measure().LoadResults(path);
    if (!load.ok() || load.loaded == 0) {
        m_boxes.Warn(&m_window, Utf8(ResultsFileCaption(m_language)),
                     Utf8(ResultsNotLoadedText(m_language, path, load.status != MeasureFileStatus::Unreadable)));
        return false;
    }
    if (load.damaged) {
        // Measurements lost on the way in must not go unnoticed.
        m_boxes.Inform(&m_window, Utf8(ResultsFileCaption(m_language)),
                       Utf8(DroppedMeasurementsText(m_language, load.loaded, load.dropped)));
    }
    return true;
}

void FileCommands::OnSaveImage()
{
    OrvaneSettings& settings = m_state.settings();
    // What is on screen now is what the file gets, however long the dialog stays.
    const FrameImage picture = m_state.PictureToSave();
    const FileDialogSetup setup = ImageSaveSetup(m_language, TimeStampFileName(LocalNow()));
    const std::optional<FileDialogAnswer> answer =
        m_dialogs->SaveFile(&m_window, RequestOf(setup, settings.savedir, settings.m_FilterIndex));
    if (!answer) {
        return;
    }
    ClearLastFileError();
    const std::filesystem::path chosen = PathOf(answer->path);
    if (m_state.SaveImageAs(chosen, answer->filterIndex, picture).empty()) {
        TellSaveFailed(ImageFilePath(chosen, answer->filterIndex));
    }
    ThumbnailsChanged();
}

void FileCommands::QuickSaveImage()
{
    InstantSaveImage();
}

void FileCommands::InstantSaveImage()
{
    ClearLastFileError();
    const std::tm now = LocalNow();
    const std::filesystem::path saved = m_state.InstantSave(now);
    if (saved.empty()) {
        TellSaveFailed(InstantSavePath(std::filesystem::path(m_state.settings().savedir), now,
                                       m_state.settings().m_FilterIndex));
    } else {
        // No dialog was seen: a short note says where the picture went.
        m_controls.picture()->ShowNote(Utf8(SavedNoteText(m_language, saved)));
    }
    ThumbnailsChanged();
}

void FileCommands::TellSaveFailed(const std::filesystem::path& path)
{
    const std::string reason = LastFileError();
    qCWarning(lcApp) << "not saved:" << Utf8(path.string()) << Utf8(reason);
    m_boxes.Warn(&m_window, Utf8(SaveCaption(m_language)), Utf8(SaveFailedText(m_language, path, reason)));
}

void FileCommands::OnChooseImageFolder()
{
    const std::optional<QString> folder =
        m_dialogs->ChooseFolder(&m_window, Utf8(ChooseFolderTitle(m_language)), QDir::currentPath());
    if (!folder) {
        return;
    }
    m_state.ChangeImageFolder(PathOf(*folder).string());
    ThumbnailsChanged();
}

void FileCommands::OnToggleBurnIn()
{
    m_state.ToggleBurnIn();
    emit buttonsChanged();
    m_window.update();
}

void FileCommands::ThumbnailsChanged()
{
    emit thumbnailsChanged();
    m_window.update();
}

} // namespace orvane
