#pragma once

#include "settings/OrvaneSettings.h"
#include "tools/FocusIndicator.h"
#include "tools/MagnetEdge.h"

namespace orvane {

// The magnet's settings ("MagnetData.*") as the snapping takes them.
[[nodiscard]] inline MagnetOptions MagnetOptionsOf(const MagnetDataSettings& data)
{
    return MagnetOptions{.threshold = data.TH, .halfSize = data.Size, .vector = data.Vector};
}

// The focus display's look and line ("color.wave", "color.wavesize", "color.focusflg", "color.focuspos").
[[nodiscard]] inline FocusStyle FocusStyleOf(const ColorSettings& color)
{
    return FocusStyle{
        .wave = color.wave, .waveSize = color.wavesize, .focusFlag = color.focusflg, .focusPosition = color.focuspos};
}

} // namespace orvane
