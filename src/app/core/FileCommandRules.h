#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StringTable.h"

// The texts of the file dialogs behind SAVE, CSV and CLEAR, and how a chosen
// path becomes the file written and the folder remembered.
namespace orvane {

// One entry of a dialog's type list: the text shown and its pattern.
struct DialogFilter {
    std::string_view label;
    std::string_view pattern;
};

// What a file dialog shows: title, type list (entry 1 first), the extension
// added to a name typed without one (empty: none) and the initial file name.
struct FileDialogSetup {
    std::string_view title;
    std::vector<DialogFilter> filters;
    std::string_view defaultExtension;
    std::string initialName;
};

// CSV's save dialog; `defaultName` is the time stamp name with ".csv".
[[nodiscard]] FileDialogSetup ResultsSaveSetup(Language language, std::string defaultName);
// CLEAR's open dialog ("MES File").
[[nodiscard]] FileDialogSetup ResultsOpenSetup(Language language);
// SAVE's dialog; `defaultName` is the time stamp name without extension.
[[nodiscard]] FileDialogSetup ImageSaveSetup(Language language, std::string defaultName);

// DIR's folder browser title.
[[nodiscard]] constexpr std::string_view ChooseFolderTitle(Language language)
{
    return language == Language::Japanese ? "フォルダを選択して下さい" : "Select a folder";
}

// The results dialog's type entries.
inline constexpr int kResultsFilterCsv = 1;
inline constexpr int kResultsFilterMes = 2;

// The folder a confirmed dialog leaves behind: the chosen file's folder.
[[nodiscard]] std::string ChosenFolder(const std::filesystem::path& chosen);

// The results file for a name chosen under "Data File(*.mes)": the typed
// extension is replaced, folder/name.mes.
[[nodiscard]] std::filesystem::path ResultsFilePath(const std::filesystem::path& chosen);

// The image file for a name chosen with save type `saveType`: the JPEG types
// 2-4 replace the typed extension with ".jpg"; BMP keeps the name as chosen.
[[nodiscard]] std::filesystem::path ImageFilePath(const std::filesystem::path& chosen, int saveType);

// Told after loading a damaged results file: how many measurements were read
// and how many were lost.
[[nodiscard]] std::string DroppedMeasurementsText(Language language, int loaded, int dropped);
[[nodiscard]] std::string_view ResultsFileCaption(Language language);

} // namespace orvane
