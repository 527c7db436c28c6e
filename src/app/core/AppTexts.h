#pragma once

#include <string>
#include <string_view>

#include "platform/StringTable.h"

// Texts of the main window and its start-up that are not in the string table.
namespace orvane {

inline constexpr std::string_view kVersionTitle = "Orvane Version 1.658";

// Title of the main window: while live "<device> <fps with one decimal>fps"
// ("%s %.1ffps"); frozen or without a camera, the version title.
[[nodiscard]] std::string WindowTitle(bool noCameraPicture, std::string_view deviceCaption, double fps);

struct MessageText {
    std::string_view caption;
    std::string_view text;
};

// The question asked before the program quits.
[[nodiscard]] MessageText QuitQuestion(Language language);

// Told when the camera search gives up after 30 seconds.
[[nodiscard]] std::string_view CameraNotFoundText(Language language);

// Caption of the camera search dialog and of its button.
inline constexpr std::string_view kSearchCameraCaption = "Search camera ...";
inline constexpr std::string_view kSearchCameraStart = "Start";

} // namespace orvane
