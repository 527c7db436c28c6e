#include "app/overlays/CMagnetDlg.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

namespace orvane {

namespace {

constexpr std::array kTypesEnglish{"Edge", "Edge white only", "Edge black only", "Binary"};
constexpr std::array kTypesJapanese{"エッヂ検出", "エッヂ検出　白のみ", "エッヂ検出　黒のみ", "２値化"};

} // namespace

CMagnetDlg::CMagnetDlg(MagnetDataSettings& settings, Language language, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_settings(settings)
{
    setObjectName(QStringLiteral("164"));
    setWindowTitle(QStringLiteral("Magnet setting"));
    setModal(false);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("1238"));
    m_slider->setRange(0, 255);
    m_slider->setTickInterval(32);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_threshold = new QSpinBox(this);
    m_threshold->setObjectName(QStringLiteral("1239"));
    m_threshold->setRange(0, 255);
    m_area = new QSpinBox(this);
    m_area->setObjectName(QStringLiteral("1123"));
    m_area->setRange(1, 10);
    m_binary = new QCheckBox(QStringLiteral("Binary"), this);
    m_binary->setObjectName(QStringLiteral("1227"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("1124"));
    for (const char* text : language == Language::Japanese ? kTypesJapanese : kTypesEnglish) {
        m_type->addItem(QString::fromUtf8(text));
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Threshold"), this), 0, 0);
    layout->addWidget(m_slider, 0, 1);
    layout->addWidget(m_threshold, 0, 2);
    layout->addWidget(new QLabel(QStringLiteral("Area"), this), 1, 0);
    layout->addWidget(m_area, 1, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Type"), this), 2, 0);
    layout->addWidget(m_type, 2, 1, 1, 2);
    layout->addWidget(m_binary, 3, 0, 1, 2);
    layout->addWidget(ok, 3, 2);

    LoadFromSettings();
    connect(m_slider, &QSlider::valueChanged, this, &CMagnetDlg::SetThreshold);
    connect(m_threshold, &QSpinBox::valueChanged, this, &CMagnetDlg::SetThreshold);
    connect(m_area, &QSpinBox::valueChanged, this, [this](int value) {
        m_settings.Size = value;
        emit settingsChanged();
    });
    connect(m_binary, &QCheckBox::toggled, this, [this](bool checked) {
        m_settings.Show = checked ? 1 : 0;
        emit settingsChanged();
    });
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            m_settings.Vector = index;
            emit settingsChanged();
        }
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

void CMagnetDlg::LoadFromSettings()
{
    const QSignalBlocker blockSlider(m_slider);
    const QSignalBlocker blockThreshold(m_threshold);
    const QSignalBlocker blockArea(m_area);
    const QSignalBlocker blockBinary(m_binary);
    const QSignalBlocker blockType(m_type);
    m_slider->setValue(m_settings.TH);
    m_threshold->setValue(m_settings.TH);
    m_area->setValue(m_settings.Size);
    m_binary->setChecked(m_settings.Show != 0);
    m_type->setCurrentIndex(std::clamp(m_settings.Vector, 0, m_type->count() - 1));
}

void CMagnetDlg::SetThreshold(int value)
{
    // The other control follows without answering back.
    const QSignalBlocker blockSlider(m_slider);
    const QSignalBlocker blockThreshold(m_threshold);
    m_slider->setValue(value);
    m_threshold->setValue(value);
    m_settings.TH = value;
    emit settingsChanged();
}

} // namespace orvane
