#include "app/camera/CSourcePropertyPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvane {

CSourcePropertyPage::CSourcePropertyPage(IVideoDevice& device, QWidget* parent)
    : QDialog(parent), m_device(device), m_opened(device.QueryControls())
{
    setWindowTitle(QString::fromStdString(device.name()));
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    int line = 0;
    for (const VideoControl& control : m_opened) {
        AddRow(control, *grid, line++);
    }
    if (m_opened.empty()) {
        grid->addWidget(new QLabel(tr("This device has no settings.")), 0, 0);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(420, std::min(60 + 34 * line, 520));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_default = buttons->addButton(tr("Default"), QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSourcePropertyPage::reject);
    connect(m_default, &QPushButton::clicked, this, &CSourcePropertyPage::RestoreDefaults);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    Refresh();
}

void CSourcePropertyPage::AddRow(const VideoControl& control, QGridLayout& grid, int line)
{
    const std::uint32_t id = control.id;
    Row row;
    row.type = control.type;
    grid.addWidget(new QLabel(QString::fromStdString(control.name)), line, 0);
    switch (control.type) {
    case VideoControl::Type::Integer: {
        row.slider = new QSlider(Qt::Horizontal);
        row.number = new QSpinBox;
        row.slider->setRange(control.minimum, control.maximum);
        row.slider->setSingleStep(control.step);
        row.number->setRange(control.minimum, control.maximum);
        row.number->setSingleStep(control.step);
        connect(row.slider, &QSlider::valueChanged, this, [this, id](int value) { Apply(id, value); });
        connect(row.number, &QSpinBox::valueChanged, this, [this, id](int value) { Apply(id, value); });
        grid.addWidget(row.slider, line, 1);
        grid.addWidget(row.number, line, 2);
        break;
    }
    case VideoControl::Type::Boolean:
        row.check = new QCheckBox;
        connect(row.check, &QCheckBox::toggled, this, [this, id](bool on) { Apply(id, on ? 1 : 0); });
        grid.addWidget(row.check, line, 1);
        break;
    case VideoControl::Type::Menu:
        row.menu = new QComboBox;
        for (const auto& [value, text] : control.menu) {
            row.menu->addItem(QString::fromStdString(text), value);
        }
        connect(row.menu, &QComboBox::activated, this,
                [this, id, menu = row.menu](int index) { Apply(id, menu->itemData(index).toInt()); });
        grid.addWidget(row.menu, line, 1, 1, 2);
        break;
    case VideoControl::Type::Button:
        row.button = new QPushButton(QString::fromStdString(control.name));
        connect(row.button, &QPushButton::clicked, this, [this, id] { Apply(id, 1); });
        grid.addWidget(row.button, line, 1);
        break;
    }
    m_rows.emplace(id, row);
}

QWidget* CSourcePropertyPage::editor(std::uint32_t id) const
{
    const auto found = m_rows.find(id);
    if (found == m_rows.end()) {
        return nullptr;
    }
    const Row& row = found->second;
    if (row.number != nullptr) {
        return row.number;
    }
    if (row.check != nullptr) {
        return row.check;
    }
    if (row.menu != nullptr) {
        return row.menu;
    }
    return row.button;
}

void CSourcePropertyPage::Apply(std::uint32_t id, int value)
{
    if (m_refreshing) {
        return;
    }
    m_device.SetControl(id, value);
    // An automatic mode switched on or off changes which others may be set.
    Refresh();
}

void CSourcePropertyPage::Refresh()
{
    m_refreshing = true;
    for (const VideoControl& control : m_device.QueryControls()) {
        const auto found = m_rows.find(control.id);
        if (found == m_rows.end()) {
            continue;
        }
        const Row& row = found->second;
        const bool editable = !control.inactive && !control.readOnly;
        if (row.slider != nullptr) {
            const QSignalBlocker blockSlider(row.slider);
            const QSignalBlocker blockNumber(row.number);
            row.slider->setValue(control.value);
            row.number->setValue(control.value);
            row.slider->setEnabled(editable);
            row.number->setEnabled(editable);
        } else if (row.check != nullptr) {
            const QSignalBlocker block(row.check);
            row.check->setChecked(control.value != 0);
            row.check->setEnabled(editable);
        } else if (row.menu != nullptr) {
            const QSignalBlocker block(row.menu);
            row.menu->setCurrentIndex(row.menu->findData(control.value));
            row.menu->setEnabled(editable);
        } else if (row.button != nullptr) {
            row.button->setEnabled(editable);
        }
    }
    m_refreshing = false;
}

void CSourcePropertyPage::RestoreDefaults()
{
    // Twice: a value ruled by an automatic mode takes only once the mode has changed.
    for (int pass = 0; pass < 2; ++pass) {
        for (const VideoControl& control : m_device.QueryControls()) {
            if (control.type != VideoControl::Type::Button && !control.readOnly &&
                control.value != control.defaultValue) {
                m_device.SetControl(control.id, control.defaultValue);
            }
        }
    }
    Refresh();
}

void CSourcePropertyPage::reject()
{
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<VideoControl> now = m_device.QueryControls();
        for (const VideoControl& opened : m_opened) {
            if (opened.type == VideoControl::Type::Button || opened.readOnly) {
                continue;
            }
            for (const VideoControl& current : now) {
                if (current.id == opened.id && current.value != opened.value) {
                    m_device.SetControl(opened.id, opened.value);
                }
            }
        }
    }
    QDialog::reject();
}

} // namespace orvane
