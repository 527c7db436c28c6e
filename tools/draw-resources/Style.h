#pragma once

#include <array>

#include <QColor>

// The colours of the window's pictures: a dark-teal instrument panel whose
// static texts are RGB(0, 168, 185).
namespace orvane::draw {

// Average colour of the background tile; faces fill their corners with it so
// that a stretched face shows no hard square.
inline const QColor kPanelBase{15, 40, 46};

struct FacePalette {
    QColor plateTop;
    QColor plateBottom;
    QColor outline;
    QColor highlight;
    QColor ink;     // pictogram strokes
    QColor inkSoft; // pictogram fills
    QColor accent;  // measured points, arcs
    QColor label;
    QColor socket; // the unlit lamp
    QColor socketRim;
    QColor record; // the red dot of the live camera
    std::array<QColor, 3> primaries;
};

[[nodiscard]] const FacePalette& EnabledPalette();
[[nodiscard]] const FacePalette& DisabledPalette();

} // namespace orvane::draw
