#include "settings/MeasureStyleSettings.h"

#include <algorithm>

namespace orvane {

DrawingFont DrawingFontOf(const LogFontSettings& font)
{
    return DrawingFont{
        .height = font.lfHeight,
        .weight = font.lfWeight,
        .italic = font.lfItalic != 0,
        .underline = font.lfUnderline != 0,
        .strikeOut = font.lfStrikeOut != 0,
        .faceName = font.lfFaceName,
    };
}

MeasureStyle MeasureStyleOf(const ColorSettings& color)
{
    return MeasureStyle{
        .lineColour = color.line & 0xFFFFFFu,
        .lineWidth = std::max(color.linesize, 1),
        .textColour = color.text & 0xFFFFFFu,
        .font = DrawingFontOf(color.font),
        .showAngle = color.showangle != 0,
        .angleBaseLine = color.anglebaseline,
        .snapStep = color.angle,
    };
}

} // namespace orvane
