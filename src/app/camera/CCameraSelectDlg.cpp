#include "app/camera/CCameraSelectDlg.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "capture/CameraChoice.h"

namespace orvane {

CCameraSelectDlg::CCameraSelectDlg(const std::vector<std::string>& profileNames, const std::string& current,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("163"));
    setWindowTitle(QStringLiteral("Select camera"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("1235"));
    m_combo->setMinimumWidth(260);
    std::vector<std::string> sorted = profileNames;
    // A sorted combo box, as the profiles are listed by name.
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
    for (const std::string& name : sorted) {
        m_combo->addItem(QString::fromStdString(name));
    }
    m_combo->setCurrentIndex(PreselectedProfile(sorted, current));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCameraSelectDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_combo);
    layout->addWidget(buttons);
}

std::string CCameraSelectDlg::chosenName() const
{
    return m_combo->currentText().toStdString();
}

void CCameraSelectDlg::reject()
{
    // Cancel chooses as OK does: the camera needs a profile either way.
    accept();
}

std::string CCameraSelectDlg::Ask(const std::vector<std::string>& profileNames, const std::string& current,
                                  QWidget* parent)
{
    CCameraSelectDlg dialog(profileNames, current, parent);
    dialog.exec();
    return dialog.chosenName();
}

} // namespace orvane
