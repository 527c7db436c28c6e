#include "app/overlays/MagnetController.h"

#include <QCheckBox>
#include <QCursor>
#include <QMouseEvent>

#include "app/core/MeasureDlgState.h"
#include "app/look/CPictureButton.h"
#include "app/overlays/CMagnetDlg.h"
#include "app/window/ControlIds.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"

namespace orvane {

MagnetController::MagnetController(QWidget& window, MeasureDlgState& state, MainWindowControls& controls,
                                   Language language)
    : m_window(window), m_state(state), m_controls(controls), m_language(language)
{
    auto* check = qobject_cast<QCheckBox*>(controls.control(ctl::kMagnetCheck));
    if (check != nullptr) {
        connect(check, &QCheckBox::toggled, this, [this](bool on) {
            m_state.magnet().SetOn(on);
            // While frozen no frame comes to rebuild it.
            if (on && !m_state.isLive()) {
                m_state.RebuildEdgeImage();
            }
            m_controls.picture()->update();
        });
    }
    connect(controls.button(ctl::kMagnetButton), &CPictureButton::rightClicked, this,
            &MagnetController::OnMagnetSettings);
    controls.picture()->installEventFilter(this);
}

void MagnetController::OnMagnetSettings()
{
    if (m_dialog == nullptr) {
        m_dialog = new CMagnetDlg(m_state.settings().MagnetData, m_language, &m_window);
        connect(m_dialog, &CMagnetDlg::settingsChanged, this, &MagnetController::SettingsChanged);
        m_dialog->adjustSize();
        m_dialog->move(QCursor::pos() - QPoint(200, 100));
    }
    m_dialog->LoadFromSettings();
    m_dialog->show();
    m_dialog->raise();
}

void MagnetController::SettingsChanged()
{
    // The kind of edge may have changed; Show paints from the edge image.
    m_state.RebuildEdgeImage();
    m_controls.picture()->update();
}

bool MagnetController::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_state.RebuildEdgeImage();
    }
    return false;
}

} // namespace orvane
