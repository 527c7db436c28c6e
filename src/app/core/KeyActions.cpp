#include "app/core/KeyActions.h"

namespace orvane {

KeyAction ActionForKey(WindowKey key, Language language, bool windowItselfHasFocus, bool placingMeasurement)
{
    switch (key) {
    case WindowKey::F11: return KeyAction::Live;
    case WindowKey::F12: return KeyAction::InstantSave;
    case WindowKey::Enter: return KeyAction::Swallow;
    case WindowKey::Delete: return KeyAction::DeleteSelection;
    case WindowKey::Escape:
        if (placingMeasurement) {
            return KeyAction::CancelMeasurement;
        }
        if (language == Language::Japanese && windowItselfHasFocus) {
            return KeyAction::Swallow;
        }
        return KeyAction::AskQuit;
    case WindowKey::Other: break;
    }
    return KeyAction::PassOn;
}

} // namespace orvane
