#pragma once

#include "platform/StringTable.h"

namespace orvane {

// The keys the main window treats specially, wherever the focus is inside it.
enum class WindowKey { Escape, Enter, F11, F12, Delete, Other };

enum class KeyAction {
    PassOn,      // the control with the focus handles the key
    Swallow,     // nothing happens
    AskQuit,     // the quit question
    Live,        // the LIVE command
    InstantSave, // save the picture at once under a time-stamp name
    CancelMeasurement, // drop the points of the measurement being placed
    DeleteSelection,   // the DELETE command
};

// What a key pressed in the main window does. F11, F12 and Delete act on every
// control. Enter never closes the window. Escape cancels a measurement being
// placed; otherwise it asks the quit question, except in the Japanese
// interface while the window itself (no control) has the focus.
[[nodiscard]] KeyAction ActionForKey(WindowKey key, Language language, bool windowItselfHasFocus,
                                     bool placingMeasurement = false);

} // namespace orvane
