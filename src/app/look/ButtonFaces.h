#pragma once

#include <optional>

namespace orvane {

// Top-left corner of a 50 × 53 face in ButtonSheet.
struct SheetCell {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const SheetCell&, const SheetCell&) = default;
};

// A picture button's face, and the face it shows in its second state (LIVE
// while frozen, TYPE while images are saved with the measurements).
struct FaceCells {
    SheetCell normal;
    std::optional<SheetCell> alternative;
};

// The faces of the picture buttons by control id; nullopt for controls that
// are not drawn from ButtonSheet (the corner and magnet buttons among them).
[[nodiscard]] std::optional<FaceCells> FaceCellsFor(int controlId);

// The disabled look of a face: the cell 200 px to the right.
[[nodiscard]] SheetCell DisabledCell(SheetCell cell);

// Left edge in ArrowStrip of a corner button's arrow: 1134 at 0 while the
// right panel is shown and 13 while hidden, 1123 at 26 while the bottom strip
// is shown and 39 while hidden; nullopt for other controls.
[[nodiscard]] std::optional<int> ArrowCellX(int controlId, bool panelShown);

// The measurement button that carries the green lamp for a tool mode (1 LINE
// … 6 ANGLE); nullopt for mode 0 and unknown modes.
[[nodiscard]] std::optional<int> ModeLampControl(int activeMode);

// Whether a control's green lamp is lit: the active measurement mode's button,
// and button 1122 while a focus area is waited for or dragged (states 1, 2).
[[nodiscard]] bool GreenLampLit(int controlId, int activeMode, int focusAreaState);

} // namespace orvane
