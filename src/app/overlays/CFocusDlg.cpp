#include "app/overlays/CFocusDlg.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QPainter>

#include "tools/FocusMeter.h"

namespace orvane {

namespace {

QColor ColourOf(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace

CFocusDlg::CFocusDlg(int areaIndex, int scaleIndex, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowStaysOnTopHint), m_areaIndex(areaIndex)
{
    setObjectName(QStringLiteral("162"));
    setModal(false);
    setWindowTitle(QString::number(areaIndex + 1));
    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("1234"));
    for (int entry = 1; entry <= static_cast<int>(kFocusFullScale.size()); ++entry) {
        m_scale->addItem(QString::number(entry));
    }
    ShowScale(scaleIndex);
    connect(m_scale, &QComboBox::activated, this, [this](int index) { emit scaleChanged(m_areaIndex, index); });
    resize(kWidth, kHeight);
}

void CFocusDlg::ShowValues(int value, int peak, COLORREF barColour)
{
    m_value = value;
    m_peak = peak;
    m_barColour = barColour;
    update();
}

void CFocusDlg::ShowScale(int scaleIndex)
{
    m_scale->setCurrentIndex(std::clamp(scaleIndex, 0, m_scale->count() - 1));
}

void CFocusDlg::reject()
{
    emit closed(m_areaIndex);
    hide();
    deleteLater();
}

void CFocusDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const MeterBars bars = MeterGeometry(height(), m_scale->height(), m_scale->currentIndex(), m_value, m_peak);
    painter.fillRect(QRect(0, bars.top, width(), bars.bottom - bars.top), palette().window());
    painter.fillRect(QRect(0, bars.peakTop, width(), bars.bottom - bars.peakTop), ColourOf(SwapRedBlue(m_barColour)));
    painter.fillRect(QRect(0, bars.valueTop, width(), bars.bottom - bars.valueTop), ColourOf(m_barColour));
}

void CFocusDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_scale->setGeometry(0, 0, width(), m_scale->sizeHint().height());
}

void CFocusDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        emit activationChanged(m_areaIndex, isActiveWindow());
    }
}

} // namespace orvane
