#include "app/qt/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace orvane {
namespace {

std::optional<FileDialogAnswer> Run(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
        dialog.selectNameFilter(request.filters.at(request.filterIndex - 1));
    }
    if (!request.defaultExtension.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultExtension);
    }
    const QFileInfo initial(request.initialPath);
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const qsizetype entry = request.filters.indexOf(dialog.selectedNameFilter());
    return FileDialogAnswer{dialog.selectedFiles().constFirst(), entry >= 0 ? static_cast<int>(entry) + 1 : 1};
}

} // namespace

std::optional<FileDialogAnswer> QtFileDialogs::SaveFile(QWidget* parent, const FileDialogRequest& request)
{
    return Run(parent, request, QFileDialog::AcceptSave);
}

std::optional<FileDialogAnswer> QtFileDialogs::OpenFile(QWidget* parent, const FileDialogRequest& request)
{
    return Run(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtFileDialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

} // namespace orvane
