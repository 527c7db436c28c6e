#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "TempDir.h"

namespace orvane::test {

struct ToolOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built orvane-tool with `args` as a user would: C locale (UTF-8
// text, '.' decimals), Qt's offscreen platform for `render`, stdout and stderr
// to files in `folder`; gives the exit status and both outputs.
inline ToolOutcome RunTool(const TempDir& folder, const std::vector<std::string>& args)
{
    const std::string outPath = (folder / "stdout").string();
    const std::string errPath = (folder / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argvStrings{ORVANE_TOOL_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::string locale = "LC_ALL=C";
    std::string path = "PATH=/usr/bin:/bin";
    std::string platform = "QT_QPA_PLATFORM=offscreen";
    std::string runtime = "XDG_RUNTIME_DIR=" + folder.path().string();
    char* envp[] = {locale.data(), path.data(), platform.data(), runtime.data(), nullptr};

    ToolOutcome outcome;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, ORVANE_TOOL_PATH, &actions, nullptr, argv.data(), envp);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << ORVANE_TOOL_PATH;
        return outcome;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadBytes(outPath);
    outcome.err = ReadBytes(errPath);
    return outcome;
}

} // namespace orvane::test
