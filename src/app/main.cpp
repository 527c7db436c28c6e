#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QLocale>

#include "app/window/CMeasureApp.h"
#include "app/qt/FontFaces.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/core/CommandLine.h"
#include "platform/Charset.h"

int main(int argc, char** argv)
{
    using namespace orvane;
    InitLocale();

    // Help and version need no display.
    const CommandLine commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.action) {
    case CommandLine::Action::Help: std::fputs(HelpText().c_str(), stdout); return 0;
    case CommandLine::Action::Version: std::fputs(VersionText().c_str(), stdout); return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "orvane: %s\n%s", commandLine.error.c_str(), HelpText().c_str());
        return 2;
    case CommandLine::Action::Run: break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // Ties the window to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvane.Orvane"));
    InstallFontSubstitutes();

    QtMessageBoxes boxes;
    AppEnvironment environment;
    environment.roots = PathRoots::FromEnvironment();
    environment.lockFile = SingleInstanceLockPath();
    environment.language = QLocale::system().language() == QLocale::Japanese ? Language::Japanese : Language::English;
    environment.boxes = &boxes;
    SetCurrentLanguage(environment.language);

    CMeasureApp app(environment);
    if (!app.InitInstance()) {
        return 0;
    }
    return app.Run(commandLine);
}
