#include <string>
#include <vector>

#include <QString>
#include <gtest/gtest.h>

#include "FakeMessageBoxes.h"
#include "app/camera/CInitCameraDlg.h"
#include "app/core/InitCameraSearch.h"

namespace orvane {
namespace {

using test::FakeMessageBoxes;

struct PermissionCase {
    const char* name;
    CameraAccess access;
    int notices; // message boxes over three steps, a restart and three more
};

// The search dialog tells a user without access to the video devices why no
// camera comes, once per run, and says nothing when access is not the problem.
TEST(CameraPermissionTest, SearchTellsOnceWhenNoNodeMayBeOpened)
{
    const std::vector<PermissionCase> cases{
        {"denied", {CameraAccess::State::PermissionDenied, {"/dev/video0"}, "video"}, 1},
        {"no devices", {CameraAccess::State::NoDevices, {}, {}}, 0},
        {"usable", {CameraAccess::State::Usable, {}, {}}, 0},
        {"busy", {CameraAccess::State::Unusable, {}, {}}, 0},
    };
    for (const PermissionCase& c : cases) {
        SCOPED_TRACE(c.name);
        InitCameraSearch search;
        FakeMessageBoxes boxes;
        CInitCameraDlg dialog(search, Language::English, boxes, nullptr);
        int checks = 0;
        dialog.SetCameraAccessCheck([&checks, access = c.access] {
            ++checks;
            return access;
        });
        dialog.Restart();
        for (int step = 0; step < 3; ++step) {
            dialog.OnStepTimer();
        }
        dialog.Restart();
        for (int step = 0; step < 3; ++step) {
            dialog.OnStepTimer();
        }
        ASSERT_EQ(boxes.notices.size(), c.notices);
        if (c.notices > 0) {
            EXPECT_TRUE(boxes.notices[0].contains("/dev/video0"));
            EXPECT_TRUE(boxes.notices[0].contains("sudo usermod -aG video $USER"));
            EXPECT_EQ(checks, 1) << "devices are not opened again once the operator was told";
        } else {
            EXPECT_EQ(checks, 6);
        }
        // The search itself goes on.
        EXPECT_EQ(search.position(), 3);
        EXPECT_TRUE(search.running());
        dialog.CloseForCamera();
    }
}

} // namespace
} // namespace orvane
