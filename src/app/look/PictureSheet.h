#pragma once

#include <array>
#include <optional>
#include <string_view>

// Geometry of the window's own pictures, shared by the program and by the
// tool that draws them (tools/draw-resources). Qt-free on purpose: the drawing
// tool and the tests read the same numbers the buttons use.
namespace orvane::sheet {

// ButtonSheet: 8 columns of 50 px; the left four hold the normal faces, the
// right four the same faces disabled, 200 px further right.
inline constexpr int kSheetWidth = 400;
inline constexpr int kSheetHeight = 371;
inline constexpr int kCellWidth = 50;
inline constexpr int kCellHeight = 53;
inline constexpr int kDisabledOffset = 200;
inline constexpr int kFaceColumns = 4;
// Row starts are not a plain multiple of 53: the fifth row begins one pixel
// early and the seventh one late, and every face is read 53 rows from its start.
inline constexpr std::array<int, 7> kRowTops{0, 53, 106, 159, 211, 264, 318};

// The lamp on a face: an ellipse filling this rectangle (right and bottom
// exclusive), in 96-dpi face pixels.
inline constexpr int kLampLeft = 1;
inline constexpr int kLampTop = 41;
inline constexpr int kLampRight = 12;
inline constexpr int kLampBottom = 51;

// ArrowStrip: four 13 × 13 arrows side by side.
inline constexpr int kArrowStripWidth = 52;
inline constexpr int kArrowSize = 13;
inline constexpr int kArrowHideRight = 0;   // right panel shown: points right, hides it
inline constexpr int kArrowShowRight = 13;  // right panel hidden: points left, brings it back
inline constexpr int kArrowHideBottom = 26; // bottom strip shown: points down
inline constexpr int kArrowShowBottom = 39; // bottom strip hidden: points up

inline constexpr int kBackgroundTileSize = 200;
inline constexpr int kMagnetIconSize = 16;

// Cursors: 32 × 32 pictures with their hot spots.
inline constexpr int kCursorSize = 32;

enum class CursorPicture { Grab = 138, Pen = 145, Move = 174, CornerCross = 175, Circle = 176, Cross = 177 };

struct CursorSpec {
    CursorPicture id;
    std::string_view file; // file name in the resources, without ".png"
    int hotX;
    int hotY;
};

inline constexpr std::array<CursorSpec, 6> kCursors{{
    {CursorPicture::Grab, "CursorGrab", 15, 15},
    {CursorPicture::Pen, "CursorPen", 2, 29},
    {CursorPicture::Move, "CursorMove", 15, 15},
    {CursorPicture::CornerCross, "CursorCornerCross", 15, 15},
    {CursorPicture::Circle, "CursorCircle", 15, 15},
    {CursorPicture::Cross, "CursorCross", 15, 15},
}};

[[nodiscard]] constexpr std::optional<CursorSpec> FindCursor(CursorPicture id)
{
    for (const CursorSpec& entry : kCursors) {
        if (entry.id == id) {
            return entry;
        }
    }
    return std::nullopt;
}

} // namespace orvane::sheet
