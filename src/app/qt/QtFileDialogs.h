#pragma once

#include "app/qt/IFileDialogs.h"

namespace orvane {

// The file dialogs shown to the operator (QFileDialog). UI thread only.
class QtFileDialogs final : public IFileDialogs {
public:
    std::optional<FileDialogAnswer> SaveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> OpenFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title, const QString& start) override;
};

} // namespace orvane
