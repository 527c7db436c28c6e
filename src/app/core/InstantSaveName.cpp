#include "app/core/InstantSaveName.h"

#include "files/ImageFiles.h"
#include "files/TimeStampFileName.h"

namespace orvane {

std::string InstantSaveFileName(const std::tm& localTime, int saveType)
{
    if (saveType == kSaveTypeBmp) {
        return TimeStampFileName(localTime) + ".bmp";
    }
    if (saveType >= kSaveTypeJpegHigh && saveType <= kSaveTypeJpegLow) {
        return TimeStampFileName(localTime) + ".jpg";
    }
    return {};
}

std::filesystem::path InstantSavePath(const std::filesystem::path& imageFolder, const std::tm& localTime, int saveType)
{
    const std::string name = InstantSaveFileName(localTime, saveType);
    if (name.empty()) {
        return {};
    }
    return imageFolder / name;
}

} // namespace orvane
