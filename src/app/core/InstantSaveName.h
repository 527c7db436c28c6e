#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace orvane {

// F12's file name: the time stamp "%4d%02d%02d%02d%02d%02d" with ".bmp" for
// save type 1 and ".jpg" for the JPEG types 2 to 4; empty for any other type.
// Two saves within one second give the same name (the second replaces the first).
[[nodiscard]] std::string InstantSaveFileName(const std::tm& localTime, int saveType);

// The name joined to the image folder; empty when the save type has no name.
[[nodiscard]] std::filesystem::path InstantSavePath(const std::filesystem::path& imageFolder, const std::tm& localTime,
                                                    int saveType);

} // namespace orvane
