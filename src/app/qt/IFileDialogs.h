#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace orvane {

// What an open or save dialog is asked to show. Filters are the entries of
// its type list as "label(pattern)" texts, entry 1 first.
struct FileDialogRequest {
    QString title;
    QString initialPath; // folder and file name the dialog starts with
    QStringList filters;
    int filterIndex = 1;      // 1-based entry selected at the start
    QString defaultExtension; // added to a name typed without one; empty: none
};

// The operator's answer: the chosen path and the 1-based entry of the type list.
struct FileDialogAnswer {
    QString path;
    int filterIndex = 1;
};

// The file dialogs of the main window, behind an interface so that tests
// answer them without a person. Every call answers nullopt on cancel.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;

    // A save dialog that asks before a file is replaced.
    virtual std::optional<FileDialogAnswer> SaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // An open dialog for an existing file.
    virtual std::optional<FileDialogAnswer> OpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A folder browser starting in `start`; the chosen folder.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
};

} // namespace orvane
