#pragma once

#include <functional>
#include <string_view>

namespace orvane::log {

enum class Level { Debug, Info, Warning, Error };

// Receives every message that passes the level filter. The default sink writes
// "category: message" to stderr; the app installs one that forwards to Qt.
using Sink = std::function<void(Level, std::string_view category, std::string_view message)>;

// Replaces the sink; an empty function restores the default. Not thread-safe:
// call at start-up before a second thread runs.
void SetSink(Sink sink);

// Messages below this level are dropped (default Info; ORVANE_DEBUG=1 in the
// environment lowers it to Debug at start).
void SetMinimumLevel(Level level);

void Write(Level level, std::string_view category, std::string_view message);

// One logger per module, e.g. `inline constexpr log::Logger kLog{"orvane.image"};`.
class Logger {
public:
    explicit constexpr Logger(std::string_view category) : m_category(category) {}

    void Debug(std::string_view message) const { Write(Level::Debug, m_category, message); }
    void Info(std::string_view message) const { Write(Level::Info, m_category, message); }
    void Warning(std::string_view message) const { Write(Level::Warning, m_category, message); }
    void Error(std::string_view message) const { Write(Level::Error, m_category, message); }

private:
    std::string_view m_category;
};

}  // namespace orvane::log
