#pragma once

#include <filesystem>
#include <memory>

#include "app/core/CommandLine.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "platform/StringTable.h"

namespace orvane {

class CMeasureDlg;
class ICaptureSource;
class IMessageBoxes;

// What the start-up takes from the world outside; tests give their own.
struct AppEnvironment {
    PathRoots roots;
    std::filesystem::path lockFile; // the single-instance lock
    Language language = Language::English;
    IMessageBoxes* boxes = nullptr;
};

// The application: the single-instance guard, then the main window run until
// it closes. Needs a QApplication.
class CMeasureApp {
public:
    explicit CMeasureApp(AppEnvironment environment);

    // True when this is the only instance; the lock is then held for the life
    // of this object. Otherwise "It has already startup" is shown and false.
    bool InitInstance();

    // Creates the main window for the command line's request and runs the
    // event loop until the window closes (also on SIGTERM, SIGINT, SIGHUP,
    // saving the settings as a confirmed quit does). The exit code.
    int Run(const CommandLine& commandLine);

private:
    AppEnvironment m_environment;
    FileLock m_instanceLock;
};

// Starts the main window with the command line's files: the picture frozen,
// then the results file loaded as the load button loads one, so a picture and
// its measurements can be opened together.
void StartWindow(CMeasureDlg& window, const CommandLine& commandLine);

// The camera the window starts with: the capture graph over the video
// inputs, with the built-in demo camera listed first under `commandLine.demo`.
[[nodiscard]] std::unique_ptr<ICaptureSource> MakeCaptureSource(const CommandLine& commandLine);

} // namespace orvane
