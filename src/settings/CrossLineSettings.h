#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "image/BitmapTypes.h"

namespace orvane {

class ProfileFile;

inline constexpr std::string_view kCrossLineSection = "CROSSLINE";
inline constexpr std::string_view kCrossCircleSection = "CROSSLINE2";

// One cross line or cross circle. The first entry of a list (the master) has
// an absolute position; the others hold offsets from the master.
struct CrossLine {
    std::int32_t Show = 0;  // 1 shown, 0 hidden
    std::int32_t Pos_x = 0; // image pixels
    std::int32_t Pos_y = 0;
    std::int32_t Type = 0; // 0 solid, 1 dashed
    COLORREF Color = 0;
    std::int32_t Size = 0;     // band width in screen pixels, 1..10
    std::int32_t Draw = 0;     // opacity in percent, 0..100
    float Radius = 0.0F;       // circles only, image pixels
    std::int32_t Mode = 0;     // circles only: rim points given so far, 3 or more when complete
    std::int32_t resizing = 0; // transient: a drag changes the radius

    friend bool operator==(const CrossLine&, const CrossLine&) = default;
};

// The master made when "CROSSLINE" holds no lines: hidden, at (640, 480),
// solid, green, 1 pixel wide, opaque.
[[nodiscard]] constexpr CrossLine DefaultMasterLine()
{
    CrossLine line;
    line.Pos_x = 640;
    line.Pos_y = 480;
    line.Color = 0x00FF00;
    line.Size = 1;
    line.Draw = 100;
    return line;
}

// Both lists of the cross line dialog.
struct CrossLineSettings {
    std::vector<CrossLine> lines;   // section "CROSSLINE"; never empty after loading
    std::vector<CrossLine> circles; // section "CROSSLINE2"

    friend bool operator==(const CrossLineSettings&, const CrossLineSettings&) = default;
};

// Counts beyond this are read as this many entries.
inline constexpr int kMaxCrossLines = 1000;

// Reads both sections into emptied lists. Missing keys of an entry read as 0;
// "CROSSLINE" without a "Count" of at least 1 gives the default master alone,
// "CROSSLINE2" without one gives no circles.
void LoadCrossLineSections(const ProfileFile& profile, CrossLineSettings& settings);

// Writes both sections: "Count", then the keys of every entry in list order.
void SaveCrossLineSections(ProfileFile& profile, const CrossLineSettings& settings);

} // namespace orvane
