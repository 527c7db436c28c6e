#pragma once

#include "app/qt/IMessageBoxes.h"

namespace orvane {

// The message boxes shown to the operator (QMessageBox).
class QtMessageBoxes final : public IMessageBoxes {
public:
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void Inform(QWidget* parent, const QString& caption, const QString& text) override;
    void Warn(QWidget* parent, const QString& caption, const QString& text) override;
};

} // namespace orvane
