#include "app/camera/CFormatPropertyPage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/Guid.h"

namespace orvane {

namespace {

QString RateText(const FrameRate& rate)
{
    const double perSecond = static_cast<double>(rate.numerator) / static_cast<double>(rate.denominator);
    return QString::number(perSecond, 'f', rate.denominator == 1 ? 0 : 2) + QStringLiteral(" fps");
}

} // namespace

CFormatPropertyPage::CFormatPropertyPage(IVideoDevice& device, const FormatChoice& current, QWidget* parent)
    : QDialog(parent), m_available(device.EnumFormats())
{
    setWindowTitle(QString::fromStdString(device.name()));
    m_formats = new QComboBox(this);
    m_sizes = new QComboBox(this);
    m_rates = new QComboBox(this);
    for (std::size_t i = 0; i < m_available.size(); ++i) {
        const VideoPixelFormat& format = m_available[i];
        m_formats->addItem(QString::fromStdString(FourccText(format.fourcc) + " - " + format.description),
                           static_cast<int>(i));
        if (format.fourcc == current.fourcc) {
            m_formats->setCurrentIndex(static_cast<int>(i));
        }
    }
    FillSizes(current.width, current.height);
    FillRates(current.rate);
    m_last = selection().value_or(current);
    // A new format keeps the size and rate chosen last where it has them.
    connect(m_formats, &QComboBox::currentIndexChanged, this, [this] {
        FillSizes(m_last.width, m_last.height);
        FillRates(m_last.rate);
        m_last = selection().value_or(m_last);
    });
    connect(m_sizes, &QComboBox::currentIndexChanged, this, [this] {
        FillRates(m_last.rate);
        m_last = selection().value_or(m_last);
    });
    connect(m_rates, &QComboBox::currentIndexChanged, this, [this] { m_last = selection().value_or(m_last); });

    auto* form = new QFormLayout;
    form->addRow(tr("Format"), m_formats);
    form->addRow(tr("Size"), m_sizes);
    form->addRow(tr("Frame rate"), m_rates);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_available.empty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CFormatPropertyPage::FillSizes(int preferredWidth, int preferredHeight)
{
    const QSignalBlocker block(m_sizes);
    m_sizes->clear();
    const int format = m_formats->currentData().isValid() ? m_formats->currentData().toInt() : -1;
    if (format < 0) {
        return;
    }
    const std::vector<VideoFrameSize>& sizes = m_available[static_cast<std::size_t>(format)].sizes;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        m_sizes->addItem(QStringLiteral("%1 x %2").arg(sizes[i].width).arg(sizes[i].height), static_cast<int>(i));
        if (sizes[i].width == preferredWidth && sizes[i].height == preferredHeight) {
            m_sizes->setCurrentIndex(static_cast<int>(i));
        }
    }
}

void CFormatPropertyPage::FillRates(const FrameRate& preferred)
{
    const QSignalBlocker block(m_rates);
    m_rates->clear();
    const VideoFrameSize* size = selectedSize();
    if (size == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < size->rates.size(); ++i) {
        m_rates->addItem(RateText(size->rates[i]), static_cast<int>(i));
        if (FrameTimeOf(size->rates[i]) == FrameTimeOf(preferred)) {
            m_rates->setCurrentIndex(static_cast<int>(i));
        }
    }
}

const VideoFrameSize* CFormatPropertyPage::selectedSize() const
{
    const int format = m_formats->currentData().isValid() ? m_formats->currentData().toInt() : -1;
    const int size = m_sizes->currentData().isValid() ? m_sizes->currentData().toInt() : -1;
    if (format < 0 || size < 0) {
        return nullptr;
    }
    return &m_available[static_cast<std::size_t>(format)].sizes[static_cast<std::size_t>(size)];
}

std::optional<FormatChoice> CFormatPropertyPage::selection() const
{
    const VideoFrameSize* size = selectedSize();
    if (size == nullptr) {
        return std::nullopt;
    }
    FormatChoice choice;
    choice.fourcc = m_available[static_cast<std::size_t>(m_formats->currentData().toInt())].fourcc;
    choice.width = size->width;
    choice.height = size->height;
    const int rate = m_rates->currentData().isValid() ? m_rates->currentData().toInt() : -1;
    if (rate >= 0) {
        choice.rate = size->rates[static_cast<std::size_t>(rate)];
    }
    return choice;
}

std::optional<FormatChoice> CFormatPropertyPage::Choose(IVideoDevice& device, const FormatChoice& current,
                                                        QWidget* parent)
{
    CFormatPropertyPage page(device, current, parent);
    if (page.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return page.selection();
}

} // namespace orvane
