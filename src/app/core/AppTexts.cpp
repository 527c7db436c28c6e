#include "app/core/AppTexts.h"

#include <cmath>
#include <cstdio>

namespace orvane {

std::string WindowTitle(bool noCameraPicture, std::string_view deviceCaption, double fps)
{
    if (noCameraPicture) {
        return std::string(kVersionTitle);
    }
    // A rate that is not a number (no frames counted yet) shows as 0.0.
    const double shown = std::isfinite(fps) ? fps : 0.0;
    char rate[64];
    std::snprintf(rate, sizeof rate, "%.1ffps", shown);
    std::string title(deviceCaption);
    title += ' ';
    title += rate;
    return title;
}

MessageText QuitQuestion(Language language)
{
    if (language == Language::Japanese) {
        return {"確認", "終了しますか？"};
    }
    return {"confirm", "Do you quit the application ?"};
}

std::string_view CameraNotFoundText(Language language)
{
    return language == Language::Japanese ? "カメラが見つかりません" : "Imageing device not found";
}

} // namespace orvane
