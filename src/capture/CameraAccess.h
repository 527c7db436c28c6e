#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/StringTable.h"

namespace orvane {

// How the camera search looks at the video device nodes. The system's answers
// come from SystemVideoNodes(); tests give their own (they run as root, where
// an open never fails for lack of permission).
struct VideoNodeProbe {
    // The device nodes present, e.g. {"/dev/video0", "/dev/video1"}.
    std::function<std::vector<std::string>()> listNodes;
    // 0 when the node opens for reading and writing, else the open's errno.
    std::function<int(const std::string& node)> openError;
    // The name of the group that owns the node (its number when it has no
    // name, "" when the node cannot be looked at).
    std::function<std::string(const std::string& node)> ownerGroup;
};

// Whether a camera could be used at all by this user.
struct CameraAccess {
    enum class State {
        NoDevices,        // no video device node: nothing plugged in (or no driver)
        Usable,           // at least one node opens
        PermissionDenied, // none opens, and at least one for lack of permission
        Unusable,         // none opens, for other reasons (busy, gone)
    };
    State state = State::NoDevices;
    std::vector<std::string> deniedNodes; // the nodes refused for lack of permission, in list order
    std::string group;                    // the group owning the first of them
};

// Opens each node once (and closes it at once) and sums up the answers.
[[nodiscard]] CameraAccess CheckCameraAccess(const VideoNodeProbe& probe);

// The nodes video<N> of `devFolder` in number order, opened as a capture
// source opens them (read-write, non-blocking), and their group from the
// file's owner.
[[nodiscard]] VideoNodeProbe SystemVideoNodes(const std::filesystem::path& devFolder = "/dev");

// The operator's message for PermissionDenied: which nodes, the owning group,
// and the remedy (join the group, log in again). Empty for any other state.
[[nodiscard]] std::string CameraPermissionText(const CameraAccess& access, Language language);

} // namespace orvane
