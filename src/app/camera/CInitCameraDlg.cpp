#include "app/camera/CInitCameraDlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/qt/AppLog.h"
#include "app/qt/IMessageBoxes.h"
#include "app/core/AppTexts.h"
#include "app/core/InitCameraSearch.h"

namespace orvane {
namespace {

constexpr int kProgressBarId = 1222;

} // namespace

CInitCameraDlg::CInitCameraDlg(InitCameraSearch& search, Language language, IMessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), m_search(search), m_language(language), m_boxes(boxes)
{
    setObjectName(QStringLiteral("159"));
    setWindowTitle(QString::fromUtf8(kSearchCameraCaption.data(), static_cast<qsizetype>(kSearchCameraCaption.size())));
    setModal(false);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QString::number(kProgressBarId));
    m_progress->setRange(0, InitCameraSearch::kSteps);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(300);

    m_start = new QPushButton(
        QString::fromUtf8(kSearchCameraStart.data(), static_cast<qsizetype>(kSearchCameraStart.size())), this);
    m_start->setDefault(true); // Return presses "Start", as in every dialog
    connect(m_start, &QPushButton::clicked, this, &CInitCameraDlg::OnStart);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(InitCameraSearch::kStepMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &CInitCameraDlg::OnStepTimer);
}

void CInitCameraDlg::Restart()
{
    m_search.Restart();
    m_progress->setValue(m_search.position());
    m_timer->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - 190, area.y() + area.height() / 2 - 40);
    }
    show();
    raise();
    activateWindow();
}

void CInitCameraDlg::CloseForCamera()
{
    m_timer->stop();
    m_search.Close();
    hide();
}

void CInitCameraDlg::OnStepTimer()
{
    TellPermissionOnce();
    const bool ended = m_search.Step();
    m_progress->setValue(m_search.position());
    if (!ended) {
        return;
    }
    m_timer->stop();
    const std::string_view text = CameraNotFoundText(m_language);
    m_boxes.Inform(this, QStringLiteral("Orvane"), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    hide();
}

void CInitCameraDlg::TellPermissionOnce()
{
    if (m_permissionTold) {
        return;
    }
    const CameraAccess access = m_checkAccess();
    if (access.state != CameraAccess::State::PermissionDenied) {
        return;
    }
    // Set first: the step timer keeps running while the message box is open.
    m_permissionTold = true;
    const std::string text = CameraPermissionText(access, m_language);
    qCWarning(lcApp) << "no permission to open" << access.deniedNodes.front().c_str() << "(group"
                     << access.group.c_str() << ")";
    m_boxes.Inform(this, QStringLiteral("Orvane"), QString::fromStdString(text));
}

void CInitCameraDlg::OnStart()
{
    m_timer->stop();
    m_search.Start();
    hide();
}

void CInitCameraDlg::reject()
{
    m_timer->stop();
    m_search.Cancel();
    QDialog::reject();
}

} // namespace orvane
