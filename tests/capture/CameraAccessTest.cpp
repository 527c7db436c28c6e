#include "capture/CameraAccess.h"

#include <cerrno>
#include <fstream>
#include <grp.h>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"

namespace orvane {
namespace {

// A device list with the errno each node's open answers and the groups owning the nodes.
VideoNodeProbe FakeNodes(const std::vector<std::pair<std::string, int>>& nodes,
                         std::map<std::string, std::string> groups)
{
    std::vector<std::string> names;
    std::map<std::string, int> errors;
    for (const auto& [name, error] : nodes) {
        names.push_back(name);
        errors[name] = error;
    }
    return VideoNodeProbe{
        [names] { return names; },
        [errors](const std::string& node) { return errors.at(node); },
        [groups](const std::string& node) { return groups.count(node) != 0 ? groups.at(node) : std::string(); },
    };
}

struct AccessCase {
    const char* name;
    std::vector<std::pair<std::string, int>> nodes;
    CameraAccess::State state;
    std::vector<std::string> denied;
    std::string group;
};

TEST(CameraAccessTest, PermissionIsBlamedOnlyWhenNoNodeOpens)
{
    const std::map<std::string, std::string> groups{{"/dev/video0", "video"}, {"/dev/video2", "plugdev"}};
    const std::vector<AccessCase> cases{
        {"no nodes", {}, CameraAccess::State::NoDevices, {}, ""},
        {"one usable", {{"/dev/video0", 0}}, CameraAccess::State::Usable, {}, ""},
        {"denied, then usable", {{"/dev/video0", EACCES}, {"/dev/video1", 0}}, CameraAccess::State::Usable, {}, ""},
        {"all denied",
         {{"/dev/video0", EACCES}, {"/dev/video1", EPERM}},
         CameraAccess::State::PermissionDenied,
         {"/dev/video0", "/dev/video1"},
         "video"},
        {"busy and denied",
         {{"/dev/video1", EBUSY}, {"/dev/video2", EACCES}},
         CameraAccess::State::PermissionDenied,
         {"/dev/video2"},
         "plugdev"},
        {"busy only", {{"/dev/video0", EBUSY}}, CameraAccess::State::Unusable, {}, ""},
        {"gone", {{"/dev/video0", ENODEV}, {"/dev/video1", ENOENT}}, CameraAccess::State::Unusable, {}, ""},
    };
    for (const AccessCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CameraAccess access = CheckCameraAccess(FakeNodes(c.nodes, groups));
        EXPECT_EQ(access.state, c.state);
        EXPECT_EQ(access.deniedNodes, c.denied);
        EXPECT_EQ(access.group, c.group);
    }
}

TEST(CameraAccessTest, MessageNamesTheNodesTheGroupAndTheRemedy)
{
    struct TextCase {
        std::string group;
        Language language;
        std::vector<std::string> parts;
    };
    const std::vector<TextCase> cases{
        {"video",
         Language::English,
         {"/dev/video0, /dev/video1", "group \"video\"", "sudo usermod -aG video $USER", "log in again"}},
        {"plugdev", Language::English, {"sudo usermod -aG plugdev $USER"}},
        // Owner unknown: the usual camera group.
        {"", Language::English, {"sudo usermod -aG video $USER"}},
        {"video",
         Language::Japanese,
         {"/dev/video0, /dev/video1", "グループ \"video\"", "sudo usermod -aG video $USER", "ログイン"}},
    };
    for (const TextCase& c : cases) {
        const CameraAccess access{CameraAccess::State::PermissionDenied, {"/dev/video0", "/dev/video1"}, c.group};
        const std::string text = CameraPermissionText(access, c.language);
        for (const std::string& part : c.parts) {
            EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
        }
    }
    for (const CameraAccess::State state :
         {CameraAccess::State::NoDevices, CameraAccess::State::Usable, CameraAccess::State::Unusable}) {
        EXPECT_EQ(CameraPermissionText(CameraAccess{state, {}, {}}, Language::English), "");
    }
}

// The system probe over a folder standing in for /dev: only video<N> names,
// in number order; plain files open, so a camera counts as usable; the owner
// is the file's group.
TEST(CameraAccessTest, SystemProbeListsVideoNodesInNumberOrder)
{
    const test::TempDir dev;
    for (const char* name : {"video10", "video2", "videoX", "video", "vbi0", "video0", "video1a", "media0"}) {
        std::ofstream(dev / name) << "";
    }
    const VideoNodeProbe probe = SystemVideoNodes(dev.path());
    const std::vector<std::string> expected{(dev / "video0").string(), (dev / "video2").string(),
                                            (dev / "video10").string()};
    EXPECT_EQ(probe.listNodes(), expected);
    EXPECT_EQ(probe.openError(expected[0]), 0);
    EXPECT_EQ(probe.openError((dev / "video7").string()), ENOENT);
    EXPECT_EQ(probe.ownerGroup((dev / "video7").string()), "");
    struct stat info {};
    ASSERT_EQ(::stat(expected[0].c_str(), &info), 0);
    const struct group* owner = ::getgrgid(info.st_gid);
    EXPECT_EQ(probe.ownerGroup(expected[0]),
              owner != nullptr ? std::string(owner->gr_name) : std::to_string(info.st_gid));
    EXPECT_EQ(CheckCameraAccess(probe).state, CameraAccess::State::Usable);
    EXPECT_EQ(CheckCameraAccess(SystemVideoNodes(dev / "missing")).state, CameraAccess::State::NoDevices);
}

} // namespace
} // namespace orvane
