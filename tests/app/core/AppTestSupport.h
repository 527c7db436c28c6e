#pragma once

#include <filesystem>
#include <string>

#include <system_error>

#include "TempDir.h"
#include "app/core/ICaptureSource.h"
#include "platform/Paths.h"

namespace orvane::test {

// A fresh temporary folder that also lays out home, configuration and program
// folders inside itself for the window's path roots.
class AppTempFolder : public TempDir {
public:
    // Home, configuration and program folders inside this folder.
    [[nodiscard]] PathRoots Roots() const
    {
        PathRoots roots;
        roots.home = path() / "home";
        roots.configHome = path() / "config";
        roots.programFolder = path() / "program";
        std::error_code error;
        std::filesystem::create_directories(roots.home, error);
        std::filesystem::create_directories(roots.programFolder, error);
        return roots;
    }
};

// A camera that goes live when told to, counting the calls it gets.
class FakeCapture final : public ICaptureSource {
public:
    bool BeginLive() override
    {
        ++beginCalls;
        live = cameraPresent;
        return live;
    }
    void EndLive() override
    {
        ++endCalls;
        live = false;
    }
    [[nodiscard]] bool isLive() const override { return live; }
    [[nodiscard]] std::string deviceCaption() const override { return live ? caption : std::string(); }

    bool cameraPresent = false;
    bool live = false;
    std::string caption = "USB Camera";
    int beginCalls = 0;
    int endCalls = 0;
};

} // namespace orvane::test
