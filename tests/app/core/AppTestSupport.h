#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <system_error>

#include "app/core/ICaptureSource.h"
#include "platform/Paths.h"

namespace orvane::test {

// A fresh folder under the system's temporary folder, removed with its content.
class AppTempFolder {
public:
    AppTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-app-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    AppTempFolder(const AppTempFolder&) = delete;
    AppTempFolder& operator=(const AppTempFolder&) = delete;
    ~AppTempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

    // Home, configuration and program folders inside this folder.
    [[nodiscard]] PathRoots Roots() const
    {
        PathRoots roots;
        roots.home = m_path / "home";
        roots.configHome = m_path / "config";
        roots.programFolder = m_path / "program";
        std::error_code error;
        std::filesystem::create_directories(roots.home, error);
        std::filesystem::create_directories(roots.programFolder, error);
        return roots;
    }

private:
    std::filesystem::path m_path;
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
