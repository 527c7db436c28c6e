#include "settings/ValueForms.h"

#include <string>

#include "platform/ProfileFile.h"
#include "settings/SettingsLog.h"

namespace orvane {

std::int64_t FrameTimeFromFrame(std::int64_t frame, std::int64_t fallback)
{
    return frame > 0 ? kFrameTimeDividend / frame : fallback;
}

std::int64_t FrameFromFrameTime(std::int64_t frameTime, std::int64_t fallback)
{
    return frameTime > 0 ? kFrameTimeDividend / frameTime : fallback;
}

void ReadFrameKey(const ProfileFile& profile, std::string_view section, std::string_view key, std::int64_t& frameTime)
{
    if (!profile.HasKey(section, key)) {
        return;
    }
    const int frame = profile.GetInt(section, key, 0);
    if (frame <= 0) {
        kSettingsLog.Warning("[" + std::string(section) + "] " + std::string(key) + "=" + std::to_string(frame) +
                             " is no frame rate; keeping frame time " + std::to_string(frameTime));
        return;
    }
    frameTime = FrameTimeFromFrame(frame, frameTime);
}

void WriteFrameKey(ProfileFile& profile, std::string_view section, std::string_view key, std::int64_t frameTime,
                   std::int64_t fallbackFrame)
{
    profile.WriteInt(section, key, FrameFromFrameTime(frameTime, fallbackFrame));
}

} // namespace orvane
