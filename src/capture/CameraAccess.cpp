#include "capture/CameraAccess.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <string_view>
#include <unistd.h>
#include <utility>

#include <sys/stat.h>
#include <system_error>

namespace orvane {
namespace {

bool IsPermissionError(int error)
{
    return error == EACCES || error == EPERM;
}

// The N of "videoN", or -1 for any other name.
int VideoNumber(const std::string& name)
{
    constexpr std::string_view kPrefix = "video";
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0) {
        return -1;
    }
    int number = -1;
    const char* first = name.data() + kPrefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last ? number : -1;
}

std::vector<std::string> ListVideoNodes(const std::filesystem::path& folder)
{
    std::vector<std::pair<int, std::string>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const int number = VideoNumber(it->path().filename().string());
        if (number >= 0) {
            found.emplace_back(number, it->path().string());
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> nodes;
    for (auto& [number, path] : found) {
        nodes.push_back(std::move(path));
    }
    return nodes;
}

int OpenError(const std::string& node)
{
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    return 0;
}

std::string OwnerGroup(const std::string& node)
{
    struct stat info {};
    if (::stat(node.c_str(), &info) != 0) {
        return {};
    }
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* result = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr) {
        return result->gr_name;
    }
    return std::to_string(info.st_gid);
}

std::string JoinNodes(const std::vector<std::string>& nodes)
{
    std::string joined;
    for (const std::string& node : nodes) {
        joined += (joined.empty() ? "" : ", ") + node;
    }
    return joined;
}

} // namespace

CameraAccess CheckCameraAccess(const VideoNodeProbe& probe)
{
    CameraAccess access;
    const std::vector<std::string> nodes = probe.listNodes();
    if (nodes.empty()) {
        return access;
    }
    for (const std::string& node : nodes) {
        const int error = probe.openError(node);
        if (error == 0) {
            return CameraAccess{CameraAccess::State::Usable, {}, {}};
        }
        if (IsPermissionError(error)) {
            access.deniedNodes.push_back(node);
        }
    }
    if (access.deniedNodes.empty()) {
        access.state = CameraAccess::State::Unusable;
        return access;
    }
    access.state = CameraAccess::State::PermissionDenied;
    access.group = probe.ownerGroup(access.deniedNodes.front());
    return access;
}

VideoNodeProbe SystemVideoNodes(const std::filesystem::path& devFolder)
{
    return VideoNodeProbe{[devFolder] { return ListVideoNodes(devFolder); }, OpenError, OwnerGroup};
}

std::string CameraPermissionText(const CameraAccess& access, Language language)
{
    if (access.state != CameraAccess::State::PermissionDenied) {
        return {};
    }
    // Without a known owner the usual camera group is the best advice.
    const std::string group = access.group.empty() ? "video" : access.group;
    const std::string nodes = JoinNodes(access.deniedNodes);
    const std::string command = "sudo usermod -aG " + group + " $USER";
    if (language == Language::Japanese) {
        return "カメラ " + nodes + " を開く権限がありません。\n\n" + "デバイスを所有するグループ \"" + group +
               "\" にユーザーを追加して:\n\n    " + command + "\n\nログアウトし、もう一度ログインしてください。";
    }
    return "No permission to open the camera " + nodes + ".\n\n" + "Add your user to the group \"" + group +
           "\" that owns it:\n\n    " + command + "\n\nthen log out and log in again.";
}

} // namespace orvane
