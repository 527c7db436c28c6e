#include "app/camera/CImageSetQX4Dlg.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace orvane {
namespace {

QString Id(int id)
{
    return QString::number(id);
}

// Dialog units to pixels as Windows maps them: the average width of the
// Latin letters and the height of the dialog's font.
QSize DialogUnitsToPixels(const QFont& font, QSize units)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    return {units.width() * baseX / 4, units.height() * baseY / 8};
}

struct RowSpec {
    ImageValue which;
    int sliderId;
    int editId;
    const char* label;
};

constexpr std::array kWhiteBalanceRows{RowSpec{ImageValue::Red, 1003, 1006, "R"},
                                       RowSpec{ImageValue::Green, 1004, 1007, "G"},
                                       RowSpec{ImageValue::Blue, 1005, 1008, "B"}};
constexpr RowSpec kExposureRow{ImageValue::Exposure, 1016, 1017, ""};
constexpr std::array kSettingRows{RowSpec{ImageValue::Brightness, 1024, 1029, "Brightness"},
                                  RowSpec{ImageValue::Saturation, 1036, 1037, "Saturation"},
                                  RowSpec{ImageValue::Sharpness, 1038, 1039, "Sharpness"},
                                  RowSpec{ImageValue::Gamma, 1040, 1041, "Gamma"}};

} // namespace

CImageSetQX4Dlg::CImageSetQX4Dlg(ICameraControl& control, WhiteBalanceRequest& request, QWidget* parent)
    : QDialog(parent), m_logic(control, request)
{
    setObjectName(Id(165));
    setWindowTitle(QStringLiteral("Image setting"));

    const auto addRows = [this](QGridLayout& grid, auto rows) {
        for (const RowSpec& row : rows) {
            BuildRow(row.which, row.sliderId, row.editId);
            const int line = grid.rowCount();
            grid.addWidget(new QLabel(QString::fromLatin1(row.label), this), line, 0);
            grid.addWidget(slider(row.which), line, 1);
            grid.addWidget(edit(row.which), line, 2);
        }
    };

    auto* whiteBalance = new QGroupBox(QStringLiteral("Whitebalance"), this);
    auto* whiteBalanceGrid = new QGridLayout(whiteBalance);
    addRows(*whiteBalanceGrid, kWhiteBalanceRows);
    m_auto = new QCheckBox(QStringLiteral("Auto"), whiteBalance);
    m_auto->setObjectName(Id(1002));
    m_awb = new QPushButton(QStringLiteral("Awb"), whiteBalance);
    m_awb->setObjectName(Id(1246));
    m_awb->setAutoDefault(false);
    m_whiteBalanceDefault = new QPushButton(QStringLiteral("Default"), whiteBalance);
    m_whiteBalanceDefault->setObjectName(Id(1090));
    m_whiteBalanceDefault->setAutoDefault(false);
    auto* whiteBalanceButtons = new QHBoxLayout;
    whiteBalanceButtons->addWidget(m_auto);
    whiteBalanceButtons->addStretch();
    whiteBalanceButtons->addWidget(m_awb);
    whiteBalanceButtons->addWidget(m_whiteBalanceDefault);
    whiteBalanceGrid->addLayout(whiteBalanceButtons, whiteBalanceGrid->rowCount(), 0, 1, 3);

    auto* exposure = new QGroupBox(QStringLiteral("Exposure"), this);
    auto* exposureGrid = new QGridLayout(exposure);
    addRows(*exposureGrid, std::array{kExposureRow});

    auto* setting = new QGroupBox(QStringLiteral("setting"), this);
    auto* settingGrid = new QGridLayout(setting);
    addRows(*settingGrid, kSettingRows);
    m_processingDefault = new QPushButton(QStringLiteral("Default"), setting);
    m_processingDefault->setObjectName(Id(1084));
    m_processingDefault->setAutoDefault(false);
    settingGrid->addWidget(m_processingDefault, settingGrid->rowCount(), 2);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(Id(1)); // IDOK
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(Id(1248));
    cancel->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(whiteBalance);
    left->addWidget(exposure);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(setting);
    right->addStretch();
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(ok);
    closing->addWidget(cancel);
    right->addLayout(closing);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    m_whiteBalanceTimer = new QTimer(this);
    m_whiteBalanceTimer->setObjectName(Id(ImageSetLogic::kWhiteBalanceTimerId));
    m_whiteBalanceTimer->setInterval(ImageSetLogic::kTimerMilliseconds);
    m_autoTimer = new QTimer(this);
    m_autoTimer->setObjectName(Id(ImageSetLogic::kAutoTimerId));
    m_autoTimer->setInterval(ImageSetLogic::kTimerMilliseconds);

    resize(DialogUnitsToPixels(font(), kDialogUnits).expandedTo(minimumSizeHint()));

    m_logic.Open();
    ShowLogic();

    connect(m_auto, &QCheckBox::toggled, this, [this](bool on) {
        m_logic.SetAuto(on);
        ShowLogic();
    });
    // A held "Awb" repeats measure-and-apply on its timer; a click measures at once.
    connect(m_awb, &QPushButton::pressed, this, [this] {
        m_logic.AwbPressed();
        ShowLogic();
    });
    connect(m_awb, &QPushButton::released, this, [this] { m_logic.AwbReleased(); });
    connect(m_awb, &QPushButton::clicked, this, [this] {
        m_logic.AwbClicked();
        ShowLogic();
    });
    connect(m_whiteBalanceDefault, &QPushButton::clicked, this, [this] {
        m_logic.WhiteBalanceDefaults();
        ShowLogic();
    });
    connect(m_processingDefault, &QPushButton::clicked, this, [this] {
        m_logic.ProcessingDefaults();
        ShowLogic();
    });
    connect(m_whiteBalanceTimer, &QTimer::timeout, this, [this] {
        m_logic.OnWhiteBalanceTimer();
        ShowLogic();
    });
    connect(m_autoTimer, &QTimer::timeout, this, [this] {
        m_logic.OnAutoTimer();
        ShowLogic();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CImageSetQX4Dlg::Cancel);
}

void CImageSetQX4Dlg::BuildRow(ImageValue which, int sliderId, int editId)
{
    Row& row = m_rows[Slot(which)];
    row.slider = new QSlider(Qt::Horizontal, this);
    row.slider->setObjectName(Id(sliderId));
    row.edit = new QLineEdit(this);
    row.edit->setObjectName(Id(editId));
    row.edit->setMaximumWidth(QFontMetrics(row.edit->font()).horizontalAdvance(QStringLiteral("-000000")) + 12);
    connect(row.slider, &QSlider::valueChanged, this, [this, which](int position) {
        // The slider writes its position into the edit, and the edit's value is written.
        edit(which)->setText(QString::number(position));
        EditChanged(which, edit(which)->text());
    });
    connect(row.edit, &QLineEdit::textEdited, this,
            [this, which](const QString& text) { EditChanged(which, text); });
}

void CImageSetQX4Dlg::EditChanged(ImageValue which, const QString& text)
{
    bool isNumber = false;
    const int wanted = text.trimmed().toInt(&isNumber);
    // Half-typed text ("", "-") is not a value: nothing is written until it is one.
    if (!isNumber) {
        return;
    }
    m_logic.ValueEdited(which, wanted);
    ShowLogic();
}

void CImageSetQX4Dlg::ShowLogic()
{
    for (const ImageValue which : kAllImageValues) {
        const ImageSetLogic::Value& value = m_logic.value(which);
        Row& row = m_rows[Slot(which)];
        const QSignalBlocker blockSlider(row.slider);
        if (value.readable) {
            row.slider->setRange(value.minimum, value.maximum);
            row.slider->setValue(value.shown);
            bool isNumber = false;
            // An edit that already says the value keeps its text and cursor.
            if (row.edit->text().trimmed().toInt(&isNumber) != value.shown || !isNumber) {
                row.edit->setText(QString::number(value.shown));
            }
        }
        row.slider->setEnabled(m_logic.valueEnabled(which));
        row.edit->setEnabled(m_logic.valueEnabled(which));
    }
    {
        const QSignalBlocker blockAuto(m_auto);
        m_auto->setChecked(m_logic.autoChecked());
    }
    m_auto->setEnabled(m_logic.autoEnabled());
    m_awb->setEnabled(m_logic.awbEnabled());
    m_whiteBalanceDefault->setEnabled(m_logic.whiteBalanceDefaultEnabled());
    m_processingDefault->setEnabled(m_logic.processingDefaultEnabled());

    if (m_logic.whiteBalanceTimerRunning() != m_whiteBalanceTimer->isActive()) {
        m_logic.whiteBalanceTimerRunning() ? m_whiteBalanceTimer->start() : m_whiteBalanceTimer->stop();
    }
    if (m_logic.autoTimerRunning() != m_autoTimer->isActive()) {
        m_logic.autoTimerRunning() ? m_autoTimer->start() : m_autoTimer->stop();
    }
}

void CImageSetQX4Dlg::Cancel()
{
    m_logic.Cancel();
    ShowLogic();
    QDialog::reject();
}

void CImageSetQX4Dlg::reject()
{
    m_logic.Escape();
    ShowLogic();
    QDialog::reject();
}

void CImageSetQX4Dlg::done(int result)
{
    m_whiteBalanceTimer->stop();
    m_autoTimer->stop();
    QDialog::done(result);
}

} // namespace orvane
