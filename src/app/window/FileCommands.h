#pragma once

#include <filesystem>
#include <memory>

#include <QObject>

#include "platform/StringTable.h"

class QWidget;

namespace orvane {

class IFileDialogs;
class IMessageBoxes;
class MainWindowControls;
class MeasureDlgState;

// The main window's commands that keep results and pictures: CSV (1127)
// saves the results list as CSV or the measurements as a results file, CLEAR
// (1116) loads a results file, SAVE (1087) saves the picture through a
// dialog and, on a right click, at once under the time-stamp name, F12 saves
// at once too, DIR (1088) chooses the image folder and TYPE (1131) switches
// burning the overlays into saved pictures.
//
// Every save writes a copy of the picture taken when the command starts, so
// the live picture runs on while a dialog is open and the file still holds
// what was on screen when the button was pressed.
//
// The window, its state and its controls must outlive the controller. UI
// thread only.
class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(QWidget& window, MeasureDlgState& state, MainWindowControls& controls, IMessageBoxes& boxes,
                 Language language);
    ~FileCommands() override;

    // The dialogs to ask from now on (tests answer them); by default QFileDialog.
    void SetDialogs(IFileDialogs& dialogs) { m_dialogs = &dialogs; }

    void OnSaveResults();
    void OnLoadResults();
    // Loads a results file (CLEAR's choice, or one given at start); a file
    // that gives no measurement leaves the list as it is and says so, a
    // damaged one says how many measurements were lost. True when loaded.
    bool LoadResultsFile(const std::filesystem::path& path);
    void OnSaveImage();
    void QuickSaveImage();
    void InstantSaveImage();
    void OnChooseImageFolder();
    void OnToggleBurnIn();

signals:
    // TYPE's face is to follow the burn-in flag.
    void buttonsChanged();
    // A save or a folder change changed the thumbnails.
    void thumbnailsChanged();

private:
    void ConnectControls();
    // A save the operator asked for wrote nothing: a message box names the
    // file and the system's reason.
    void TellSaveFailed(const std::filesystem::path& path);
    // After a save or a folder change: the thumbnail strip shows the chain.
    void ThumbnailsChanged();

    QWidget& m_window;
    MeasureDlgState& m_state;
    MainWindowControls& m_controls;
    IMessageBoxes& m_boxes;
    Language m_language;
    std::unique_ptr<IFileDialogs> m_ownDialogs;
    IFileDialogs* m_dialogs = nullptr;
};

} // namespace orvane
