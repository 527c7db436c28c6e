#pragma once

#include <span>
#include <string_view>

namespace orvane {

// One tooltip of the main window: string id, the control it explains, and its
// text (UTF-8). The tooltips exist in Japanese only and are shown only when
// the program runs in Japanese.
struct ToolTipEntry {
    int stringId;
    int controlId;
    std::string_view text;
};

// The 21 tooltips, string ids 200 to 220 in order.
[[nodiscard]] std::span<const ToolTipEntry> ToolTipTable();

// A tooltip of the English interface: the control and its text.
struct EnglishToolTip {
    int controlId;
    std::string_view text;
};

// English tooltips for every picture button and the lists, so that the
// English interface explains its buttons too.
[[nodiscard]] std::span<const EnglishToolTip> EnglishToolTipTable();

} // namespace orvane
