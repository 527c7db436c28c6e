#pragma once

#include <optional>
#include <string>

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/PointD.h"
#include "image/ViewMath.h"

// The scale bar over the picture: its length in image pixels from the
// calibration, its drawing, the grab zones of dragging it, and the anchors of
// the colour dialog's position list. The anchor is the right end of the
// horizontal bar and the lower end of the vertical one, in image pixels.
namespace orvane {

// Bar lengths in image pixels: lenX = sizeX / unitsPerPixelX, lenY = sizeY /
// unitsPerPixelY. nullopt when a units-per-pixel value the bar needs (X always,
// Y for the X-Y bar) is 0, negative or not finite: such a calibration has no
// length to show.
struct ScaleBarLengths {
    double x = 0.0;
    double y = 0.0;
};
[[nodiscard]] std::optional<ScaleBarLengths> ScaleBarPixelLengths(int type, int sizeX, int sizeY, double unitsPerPixelX,
                                                                  double unitsPerPixelY);

// What the bar is drawn with.
struct ScaleBarLook {
    int type = 0;   // 0 "X bar", 1 "X-Y bar"
    IntPoint anchor; // image pixels
    int sizeX = 0;  // calibration units, the label's number
    ScaleBarLengths length;
    std::string unit; // "cm", "mm", "um"
    COLORREF lineColour = 0;
    int lineWidth = 1;
    COLORREF textColour = 0;
    DrawingFont font;
};

// The label under the horizontal bar: "%.2f%s" with sizeX and the unit.
[[nodiscard]] std::string ScaleBarLabel(int sizeX, const std::string& unit);

// With T the view's image -> back-buffer mapping (truncated) and (x, y) the
// anchor: the horizontal bar from T(x, y) to T(x - lenX, y) with a tick of
// +-5 image pixels at its left end (and at its right end for the X bar) in
// the measurement pen; the label at T(x - lenX / 2 - 30, y + 15); for the X-Y
// bar the vertical bar from T(x, y) to T(x, y - lenY) with a tick at its top.
void DrawScaleBar(DrawingSurface& surface, const ViewTransform& transform, const ScaleBarLook& look);

// Which part of the bar an image point grabs (open bounds, 5 image pixels
// either side of the bar): the horizontal bar when anchor.x - trunc(lenX) < x <
// anchor.x and anchor.y - 5 < y < anchor.y + 5; else, for the X-Y bar, the
// vertical one when anchor.x - 5 < x < anchor.x + 5 and anchor.y - trunc(lenY)
// < y < anchor.y.
enum class ScaleBarPart { None, Horizontal, Vertical };
[[nodiscard]] ScaleBarPart ScaleBarHit(int type, IntPoint anchor, ScaleBarLengths length, PointD image);

// Dragging the bar with the left button. The grab keeps the offset between
// the grab point and the anchor along the bar's own direction, so the bar
// does not jump under the pointer.
class ScaleBarDrag {
public:
    // A press on a grab zone starts a drag; true when it did.
    bool Press(int type, IntPoint anchor, ScaleBarLengths length, PointD image);
    // A move while dragging: inside the picture the anchor follows the
    // pointer (true, anchor changed); outside it the drag ends.
    bool Move(PointD image, bool insidePicture, IntPoint& anchor);
    void Release() { m_dragging = false; }
    [[nodiscard]] bool dragging() const { return m_dragging; }

private:
    bool m_dragging = false;
    IntPoint m_grab; // grab point minus anchor, along the grabbed bar
};

// Anchors of the colour dialog's position list for bar lengths X, Y (in
// calibration units) on a frame of width x height:
enum class ScaleBarPlace { UpperLeft = 0, LowerLeft = 1, UpperRight = 2, LowerRight = 3, Center = 4 };
// upper left (trunc(X / uppX) + 50, trunc(Y / uppY) + 50), lower left
// (trunc(X / uppX) + 50, height - 50), upper right (width - 50, trunc(Y /
// uppY) + 50), lower right (width - 50, height - 50), center (width / 2,
// height / 2). nullopt when a place needs a units-per-pixel value that is 0,
// negative or not finite (the bar then stays where it is).
[[nodiscard]] std::optional<IntPoint> ScaleBarAnchor(ScaleBarPlace place, double x, double y, double unitsPerPixelX,
                                                     double unitsPerPixelY, int width, int height);

// A units-per-pixel value the bar and the grid field can divide by.
[[nodiscard]] bool UsableUnitsPerPixel(double unitsPerPixel);

} // namespace orvane
