#include "app/window/CMeasureApp.h"

#include <memory>
#include <utility>

#include <QApplication>

#include "app/qt/AppLog.h"
#include "app/window/CMeasureDlg.h"
#include "app/window/FileCommands.h"
#include "app/window/FrameReadyRelay.h"
#include "app/qt/IMessageBoxes.h"
#include "app/window/MainWindowControls.h"
#include "app/window/PictureView.h"
#include "app/window/QuitSignals.h"
#include "app/core/LiveCamera.h"

namespace orvane {

CMeasureApp::CMeasureApp(AppEnvironment environment) : m_environment(std::move(environment))
{
}

bool CMeasureApp::InitInstance()
{
    m_instanceLock = TryLockSingleInstance(m_environment.lockFile);
    if (m_instanceLock.locked()) {
        return true;
    }
    const std::string_view notice = StringText(StringId::AlreadyStarted, m_environment.language);
    const QString text = QString::fromUtf8(notice.data(), static_cast<qsizetype>(notice.size()));
    qCInfo(lcApp) << text;
    m_environment.boxes->Inform(nullptr, QStringLiteral("Orvane"), text);
    return false;
}

int CMeasureApp::Run(const CommandLine& commandLine)
{
    const std::unique_ptr<ICaptureSource> capture = MakeCaptureSource(commandLine);
    CMeasureDlg window(*capture, m_environment.roots, m_environment.language, *m_environment.boxes);
    const FrameReadyRelay frameRelay(*capture, window.state(), *window.controls().picture());

    // The window decides when the program ends (it may be hidden while the
    // search dialog closes), never the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &CMeasureDlg::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, [&window](int signalNumber) {
        qCInfo(lcApp) << "signal" << signalNumber << "- quitting";
        window.QuitConfirmed();
    });

    window.Initialise(commandLine.imageFile);
    if (!commandLine.resultsFile.empty()) {
        window.files().LoadResultsFile(commandLine.resultsFile);
    }
    return QApplication::exec();
}

std::unique_ptr<ICaptureSource> MakeCaptureSource(const CommandLine& commandLine)
{
    return std::make_unique<LiveCamera>(commandLine.demo);
}

} // namespace orvane
