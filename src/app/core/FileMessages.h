#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/StringTable.h"

// What the operator is told about files: saves that failed (with the file and
// the system's reason), saves that worked without a dialog, results files that
// could not be loaded, pictures that could not be opened.
namespace orvane {

// Caption of the message boxes about saving.
[[nodiscard]] std::string_view SaveCaption(Language language);
// A save the operator asked for wrote nothing: the file and the reason
// (empty reason: a general one).
[[nodiscard]] std::string SaveFailedText(Language language, const std::filesystem::path& path,
                                         std::string_view reason);
// A results file was asked for while the list is empty.
[[nodiscard]] std::string_view NothingToSaveText(Language language);
// The short note shown over the picture after a save without a dialog.
[[nodiscard]] std::string SavedNoteText(Language language, const std::filesystem::path& path);

// Asked before a results file replaces measurements made or changed since the
// last save or load.
[[nodiscard]] std::string_view DiscardMeasurementsQuestion(Language language);
// A results file that could not be read, or held no measurement: the list stays.
[[nodiscard]] std::string ResultsNotLoadedText(Language language, const std::filesystem::path& path, bool readable);

// Caption of the message boxes about opening pictures.
[[nodiscard]] std::string_view OpenPictureCaption(Language language);
// A picture that cannot be read at all.
[[nodiscard]] std::string PictureUnreadableText(Language language, const std::filesystem::path& path);
// A picture whose data ends early: what was decoded is shown.
[[nodiscard]] std::string PictureIncompleteText(Language language, const std::filesystem::path& path);

} // namespace orvane
