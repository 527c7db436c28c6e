#include "platform/Log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvane::log {
namespace {

Level InitialLevel()
{
    const char* debug = std::getenv("ORVANE_DEBUG");
    return (debug != nullptr && debug[0] != '\0' && debug[0] != '0') ? Level::Debug : Level::Info;
}

std::atomic<Level>& MinimumLevel()
{
    static std::atomic<Level> level{InitialLevel()};
    return level;
}

Sink& CurrentSink()
{
    static Sink sink;
    return sink;
}

const char* LevelName(Level level)
{
    switch (level) {
    case Level::Debug: return "debug";
    case Level::Info: return "info";
    case Level::Warning: return "warning";
    case Level::Error: return "error";
    }
    return "";
}

}  // namespace

void SetSink(Sink sink) { CurrentSink() = std::move(sink); }

void SetMinimumLevel(Level level) { MinimumLevel().store(level); }

void Write(Level level, std::string_view category, std::string_view message)
{
    if (level < MinimumLevel().load()) {
        return;
    }
    if (const Sink& sink = CurrentSink()) {
        sink(level, category, message);
        return;
    }
    // One fprintf per message so lines from two threads do not interleave.
    std::string line;
    line.reserve(category.size() + message.size() + 16);
    line.append(category).append(" ").append(LevelName(level)).append(": ").append(message).append("\n");
    std::fputs(line.c_str(), stderr);
}

}  // namespace orvane::log
