#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/BitmapTypes.h"
#include "image/FrameImage.h"
#include "image/ViewMath.h"

// The focus meters' arithmetic: the sharpness of a focus area, the bars of a
// meter window, and the focus line's grab and drag.
namespace orvane {

// Full scale of the meter for each entry "1" ... "10" of its scale list ("FocusSelect").
inline constexpr std::array<int, 10> kFocusFullScale{255, 160, 128, 96, 64, 48, 32, 24, 16, 12};

// The full scale of a "FocusSelect" value; values outside the list count as its nearest end.
[[nodiscard]] int FocusFullScale(int scaleIndex);

// The colour with its red and blue components exchanged: the peak bar, and an
// area whose meter window is active.
[[nodiscard]] constexpr COLORREF SwapRedBlue(COLORREF colour)
{
    return RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));
}

// The sharpness of `area` (picture pixels, right and bottom exclusive; W x H)
// in a 24/32-bit, 16-bit or 8-bit frame: the mean Sobel magnitude of the grey
// picture, truncated, over the inner pixels (first and last rows and columns
// left out) inside the circle of radius W / 2: with dy = H / 2 - i for inner
// row i (counted from the area's top) and dx = W / 2 - j for inner column j, a
// pixel counts when sqrtf(dx^2 + dy^2) <= W / 2. Only pixels whose magnitude
// is greater than 0 enter the mean; none gives 0. Pixels whose neighbours are
// not all inside the frame are left out. `grey` is scratch memory kept by the
// caller between frames.
[[nodiscard]] int FocusSharpness(const FrameImage& frame, const RECT& area, std::vector<std::uint16_t>& grey);

// The two bars of a meter window of `clientHeight` pixels whose scale list
// takes the top `comboHeight`: the usable height h lies below the list; each
// bar runs from (F - v) * h / F (truncated, not above the usable area) under
// the list down to its bottom, for v = the peak and the value.
struct MeterBars {
    int top = 0;      // first row of the usable area
    int bottom = 0;   // one past its last row
    int peakTop = 0;  // the peak bar starts here
    int valueTop = 0; // the value bar starts here
    friend constexpr bool operator==(const MeterBars&, const MeterBars&) = default;
};
[[nodiscard]] MeterBars MeterGeometry(int clientHeight, int comboHeight, int scaleIndex, int value, int peak);

// The focus line ("color.focusflg" 0 hidden, 1 shown, 2 dragged; "color.focuspos"
// its image row). The pointer grabs it with the right button within this many
// image rows, and the sizing cursor shows within this many view pixels.
inline constexpr double kFocusLineGrab = 10.0;
inline constexpr int kFocusLineCursorPixels = 10;

// A right press at image row `imageY`: a shown line within reach is grabbed
// (flag 2). True when grabbed.
bool FocusLineRightPress(int& flag, int position, double imageY);
// A move while dragged and inside the picture: the line follows the pointer's
// whole image row. True when it moved.
bool FocusLineMove(int flag, int& position, int imageRow, bool insidePicture);
// The right button released: a shown or dragged line is shown.
void FocusLineRelease(int& flag);
// The pointer at back-buffer row `viewY` is close enough for the sizing cursor.
[[nodiscard]] bool NearFocusLine(int flag, int position, int viewY, const ViewTransform& transform);

} // namespace orvane
