#include "Style.h"

namespace orvane::draw {

const FacePalette& EnabledPalette()
{
    static const FacePalette palette{
        .plateTop = QColor(34, 98, 108),
        .plateBottom = QColor(14, 55, 63),
        .outline = QColor(4, 20, 24),
        .highlight = QColor(92, 170, 180),
        .ink = QColor(222, 251, 255),
        .inkSoft = QColor(0, 200, 220, 90),
        .accent = QColor(255, 186, 73),
        .label = QColor(150, 238, 248),
        .socket = QColor(5, 26, 30),
        .socketRim = QColor(60, 118, 126),
        .record = QColor(255, 72, 64),
        .primaries = {QColor(255, 70, 70, 190), QColor(70, 230, 90, 190), QColor(70, 130, 255, 190)},
    };
    return palette;
}

const FacePalette& DisabledPalette()
{
    static const FacePalette palette{
        .plateTop = QColor(72, 82, 84),
        .plateBottom = QColor(48, 55, 57),
        .outline = QColor(20, 24, 25),
        .highlight = QColor(104, 114, 116),
        .ink = QColor(140, 150, 152),
        .inkSoft = QColor(140, 150, 152, 60),
        .accent = QColor(150, 158, 160),
        .label = QColor(128, 138, 140),
        .socket = QColor(34, 39, 40),
        .socketRim = QColor(88, 97, 99),
        .record = QColor(130, 138, 140),
        .primaries = {QColor(150, 150, 150, 170), QColor(120, 120, 120, 170), QColor(100, 100, 100, 170)},
    };
    return palette;
}

} // namespace orvane::draw
