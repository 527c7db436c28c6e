#pragma once

#include <optional>
#include <span>

namespace orvane {

class DpiScale;

// What the right-hand layout depends on, in screen pixels.
struct RightColumnInput {
    int clientWidth = 0;
    int liveButtonWidth = 0;      // w: the width of the LIVE button
    int calibrationListWidth = 0; // the width of list 1125, for its label
};

// How far the right edge of a right-hand control stays from the client's
// right edge (96-dpi offsets scaled by dpi): group boxes 11, the third column
// 18, the second w + 29, the first 2w + 40, the magnet button 46, its check box
// 28, the calibration label 18 + the list's width, the corner button 1134 0.
// nullopt for controls that are not placed from the right.
[[nodiscard]] std::optional<int> RightEdgeDistance(int controlId, const RightColumnInput& input, const DpiScale& dpi);

// The new x of that control's right edge: client width − distance. The
// control keeps its size and its vertical position.
[[nodiscard]] std::optional<int> RightEdgeX(int controlId, const RightColumnInput& input, const DpiScale& dpi);

// The new top of the bottom-left corner button 1123, which keeps its left
// edge: its bottom edge sits on the client's bottom edge.
[[nodiscard]] int BottomCornerTop(int clientHeight, int buttonHeight);

// The controls placed from the right, in no particular order.
[[nodiscard]] std::span<const int> RightColumnControls();

// Shown and hidden together by corner button 1134 (the right panel,
// including the result list) and by 1123 (the thumbnail strip).
[[nodiscard]] std::span<const int> RightPanelControls();
[[nodiscard]] std::span<const int> BottomPanelControls();

} // namespace orvane
