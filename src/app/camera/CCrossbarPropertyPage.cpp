#include "app/camera/CCrossbarPropertyPage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvane {

CCrossbarPropertyPage::CCrossbarPropertyPage(IVideoDevice& device, QWidget* parent)
    : QDialog(parent), m_device(device), m_inputs(device.EnumInputs())
{
    setWindowTitle(QString::fromStdString(device.name()));
    auto* layout = new QVBoxLayout(this);
    if (m_inputs.size() <= 1) {
        const QString text = m_inputs.empty()
                                 ? tr("This device has no inputs to choose from.")
                                 : tr("This device has one input: %1").arg(QString::fromStdString(m_inputs[0].name));
        layout->addWidget(new QLabel(text, this));
    }
    m_list = new QListWidget(this);
    const int current = device.CurrentInput();
    for (const VideoInput& input : m_inputs) {
        auto* item = new QListWidgetItem(QString::fromStdString(input.name), m_list);
        item->setData(Qt::UserRole, input.index);
        if (input.index == current) {
            m_list->setCurrentItem(item);
        }
    }
    m_list->setEnabled(m_inputs.size() > 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCrossbarPropertyPage::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void CCrossbarPropertyPage::accept()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (item != nullptr && m_inputs.size() > 1) {
        const int index = item->data(Qt::UserRole).toInt();
        if (index != m_device.CurrentInput()) {
            m_device.SetInput(index);
        }
    }
    QDialog::accept();
}

void CCrossbarPropertyPage::Show(IVideoDevice& device, QWidget* parent)
{
    CCrossbarPropertyPage page(device, parent);
    page.exec();
}

} // namespace orvane
