#include "app/camera/CDeviceSetDlg.h"

#include <utility>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/camera/CCrossbarPropertyPage.h"
#include "app/camera/CFormatPropertyPage.h"

namespace orvane {

CDeviceSetDlg::CDeviceSetDlg(CCapture& capture, ProfileFile& profile, std::string& profileName, int& smartTee,
                             int& makerDialog, int& deviceIndex, ProfileAsker ask, QWidget* parent)
    : QDialog(parent), m_logic(capture, profile, profileName, smartTee, makerDialog, deviceIndex, std::move(ask))
{
    setObjectName(QStringLiteral("156"));
    setWindowTitle(QStringLiteral("Device setting"));
    m_formatPage = [this](IVideoDevice& device, const FormatChoice& current) {
        return CFormatPropertyPage::Choose(device, current, this);
    };
    m_portPage = [this](IVideoDevice& device) { CCrossbarPropertyPage::Show(device, this); };

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("1118"));
    m_cameraSetting = new QPushButton(QStringLiteral("Camera Setting"), this);
    m_cameraSetting->setObjectName(QStringLiteral("1132"));
    m_portSetting = new QPushButton(QStringLiteral("Port Setting"), this);
    m_portSetting->setObjectName(QStringLiteral("1133"));
    m_smartTee = new QCheckBox(QStringLiteral("Use Smart Tee"), this);
    m_smartTee->setObjectName(QStringLiteral("1135"));
    m_maker = new QCheckBox(QStringLiteral("Use dialog for 210QX4"), this);
    m_maker->setObjectName(QStringLiteral("1245"));
    m_maker->hide();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("CANCEL"), QDialogButtonBox::RejectRole);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 5, 1);
    layout->addWidget(m_cameraSetting, 0, 1);
    layout->addWidget(m_portSetting, 1, 1);
    layout->addWidget(m_smartTee, 2, 1);
    layout->addWidget(m_maker, 3, 1);
    layout->addWidget(buttons, 5, 0, 1, 2);

    m_logic.Open();
    for (const std::string& name : m_logic.names()) {
        m_list->addItem(QString::fromStdString(name));
    }
    m_list->setCurrentRow(m_logic.selection());
    ShowCheckBoxes();

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_logic.Select(row);
        ShowCheckBoxes();
    });
    connect(m_cameraSetting, &QPushButton::clicked, this, [this] { m_logic.CameraSetting(m_formatPage); });
    connect(m_portSetting, &QPushButton::clicked, this, [this] { m_logic.PortSetting(m_portPage); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CDeviceSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDeviceSetDlg::reject);
}

void CDeviceSetDlg::SetPages(FormatPage formatPage, PortPage portPage)
{
    m_formatPage = std::move(formatPage);
    m_portPage = std::move(portPage);
}

void CDeviceSetDlg::ShowCheckBoxes()
{
    const QSignalBlocker blockTee(m_smartTee);
    const QSignalBlocker blockMaker(m_maker);
    m_smartTee->setChecked(m_logic.smartTeeBox().checked);
    m_smartTee->setEnabled(m_logic.smartTeeBox().enabled);
    m_maker->setChecked(m_logic.makerBox().checked);
    m_maker->setEnabled(m_logic.makerBox().enabled);
}

void CDeviceSetDlg::accept()
{
    m_logic.Ok(m_smartTee->isChecked(), m_maker->isChecked());
    QDialog::accept();
}

void CDeviceSetDlg::reject()
{
    m_logic.Cancel();
    QDialog::reject();
}

} // namespace orvane
