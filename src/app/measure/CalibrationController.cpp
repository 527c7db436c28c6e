#include "app/measure/CalibrationController.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

#include "app/measure/CCalibrationSet.h"
#include "app/core/MeasureSession.h"

namespace orvane {
namespace {

// The dialog's "closed" notice, posted as the window message it stands for.
class CalibrationClosedEvent final : public QEvent {
public:
    static QEvent::Type Type()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    explicit CalibrationClosedEvent(int code) : QEvent(Type()), m_code(code) {}
    [[nodiscard]] int code() const { return m_code; }

private:
    int m_code;
};

} // namespace

CalibrationController::CalibrationController(QWidget& window, MeasureSession& session, QComboBox& list,
                                             QAbstractButton& calibButton)
    : m_window(window), m_session(session), m_list(list)
{
    connect(&list, &QComboBox::activated, this, &CalibrationController::OnCalibrationSelected);
    connect(&calibButton, &QAbstractButton::clicked, this, &CalibrationController::OnCalibButton);
    m_session.calibrationEdit().SetSizeChangedListener([this] {
        if (m_dialog) {
            m_dialog->UpdateInfo();
        }
    });
}

CalibrationController::~CalibrationController()
{
    // The window is going: the dialog goes with it, and nothing is repainted.
    m_session.calibrationEdit().SetSizeChangedListener({});
    m_session.calibrationEdit().End();
}

void CalibrationController::OnCalibrationSelected(int index)
{
    m_session.SelectCalibration(index);
    m_window.setFocus();
}

void CalibrationController::OnCalibButton()
{
    if (m_dialog) {
        return;
    }
    CALIBRATION* record = m_session.BeginCalibration(m_list.currentIndex());
    if (record == nullptr) {
        return;
    }
    m_dialog = new CCalibrationSet(*record, &m_list, &m_window);
    connect(m_dialog, &CCalibrationSet::closed, this,
            [this](int code) { QCoreApplication::postEvent(this, new CalibrationClosedEvent(code)); });
    connect(m_dialog, &CCalibrationSet::repaintRequested, this, [this] { m_session.RepaintPicture(); });
    m_dialog->ShowNear(QCursor::pos());
}

bool CalibrationController::event(QEvent* event)
{
    if (event->type() != CalibrationClosedEvent::Type()) {
        return QObject::event(event);
    }
    m_session.EndCalibration();
    OnCalibrationSelected(m_list.currentIndex());
    return true;
}

} // namespace orvane
