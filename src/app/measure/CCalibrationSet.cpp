#include "app/measure/CCalibrationSet.h"

#include <string>
#include <string_view>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "measure/CalibrationEdit.h"

namespace orvane {
namespace {

constexpr int kDialogId = 139;
constexpr int kNameId = 1119;
constexpr int kXId = 1121;
constexpr int kYId = 1122;
constexpr int kUnitId = 1123;
constexpr int kInfoId = 1140;
constexpr int kAutoId = 1230;
constexpr int kResetId = 1231;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

constexpr int kOffsetLeft = 300;
constexpr int kOffsetUp = 150;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}

template <class Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CCalibrationSet::CCalibrationSet(CALIBRATION& record, QComboBox* calibrationList, QWidget* parent)
    : QDialog(parent), m_record(&record), m_calibrationList(calibrationList)
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle(QStringLiteral("Calibration value"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    m_name = Named(new QLineEdit(FromUtf8(record.name), this), kNameId);
    m_x = Named(new QLineEdit(FromUtf8(FormatLengthForEdit(record.length.x)), this), kXId);
    m_y = Named(new QLineEdit(FromUtf8(FormatLengthForEdit(record.length.y)), this), kYId);
    m_unit = Named(new QComboBox(this), kUnitId);
    for (const std::string_view unit : kCalibrationUnitTexts) {
        m_unit->addItem(FromUtf8(unit));
    }
    // A unit code outside the list leaves the choice empty, as the list has always shown it.
    m_unit->setCurrentIndex(record.unit >= 0 && record.unit < m_unit->count() ? record.unit : -1);
    m_info = Named(new QLineEdit(this), kInfoId);
    m_info->setReadOnly(true);

    m_auto = Named(new QPushButton(QStringLiteral("Auto"), this), kAutoId);
    m_auto->setEnabled(false);
    m_reset = Named(new QPushButton(QStringLiteral("Reset"), this), kResetId);
    m_ok = Named(new QPushButton(QStringLiteral("OK"), this), kOkId);
    m_ok->setDefault(true);
    m_cancel = Named(new QPushButton(QStringLiteral("CANCEL"), this), kCancelId);
    for (QPushButton* button : {m_auto, m_reset, m_cancel}) {
        button->setAutoDefault(false);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("CAL name"), this), 0, 0);
    fields->addWidget(m_name, 0, 1, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("X"), this), 1, 0);
    fields->addWidget(m_x, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Y"), this), 1, 2);
    fields->addWidget(m_y, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("Unit"), this), 2, 0);
    fields->addWidget(m_unit, 2, 1);
    fields->addWidget(m_auto, 2, 3);
    fields->addWidget(m_info, 3, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_reset);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    UpdateInfo();
    connect(m_x, &QLineEdit::textChanged, this, &CCalibrationSet::UpdateInfo);
    connect(m_y, &QLineEdit::textChanged, this, &CCalibrationSet::UpdateInfo);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &CCalibrationSet::UpdateInfo);
    connect(m_reset, &QPushButton::clicked, this, &CCalibrationSet::OnReset);
    connect(m_ok, &QPushButton::clicked, this, &CCalibrationSet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CCalibrationSet::reject);
}

void CCalibrationSet::ShowNear(QPoint pointer)
{
    move(pointer.x() - kOffsetLeft, pointer.y() - kOffsetUp);
    show();
}

void CCalibrationSet::UpdateInfo()
{
    if (m_record == nullptr) {
        return;
    }
    const double x = ParseLengthEdit(ToUtf8(m_x->text()));
    const double y = ParseLengthEdit(ToUtf8(m_y->text()));
    m_info->setText(FromUtf8(CalibrationInfoText(x, y, *m_record, ToUtf8(m_unit->currentText()))));
}

void CCalibrationSet::OnReset()
{
    if (m_record == nullptr) {
        return;
    }
    ResetCalibration(*m_record);
    m_unit->setCurrentIndex(m_record->unit);
    const QString ten = FromUtf8(FormatLengthForEdit(m_record->length.x));
    m_x->setText(ten);
    m_y->setText(ten);
    UpdateInfo();
    emit repaintRequested();
}

void CCalibrationSet::accept()
{
    if (m_finished) {
        return;
    }
    // No unit chosen (the record held a code outside the list): the record keeps its own.
    const int unit = m_unit->currentIndex() >= 0 ? m_unit->currentIndex() : m_record->unit;
    StoreCalibration(*m_record, ToUtf8(m_name->text()), ParseLengthEdit(ToUtf8(m_x->text())),
                     ParseLengthEdit(ToUtf8(m_y->text())), unit);
    if (m_calibrationList != nullptr && m_record->index >= 0 && m_record->index < m_calibrationList->count()) {
        // The main window learns of the choice through closed(); the list's
        // own change signals would recompute with a passing entry.
        const QSignalBlocker quiet(m_calibrationList);
        m_calibrationList->removeItem(m_record->index);
        m_calibrationList->insertItem(m_record->index, FromUtf8(m_record->name));
        m_calibrationList->setCurrentIndex(m_record->index);
    }
    Finish(kCodeOk);
}

void CCalibrationSet::reject()
{
    if (m_finished) {
        return;
    }
    Finish(kCodeCancel);
}

void CCalibrationSet::Finish(int code)
{
    m_finished = true;
    emit closed(code);
    m_record = nullptr;
    done(code);
}

} // namespace orvane
