#include "app/qt/QtMessageBoxes.h"

#include <QMessageBox>

namespace orvane {

bool QtMessageBoxes::AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtMessageBoxes::Inform(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text);
}

void QtMessageBoxes::Warn(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::warning(parent, caption, text);
}

} // namespace orvane
