#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/FrameImage.h"
#include "image/ViewMath.h"

namespace orvane {

// One focus area and what its meter shows.
struct FocusArea {
    enum State : std::int32_t {
        kFree = 0,     // slot of a closed area, or no area being drawn
        kWaiting = 1,  // button pressed, waiting for the first corner
        kDragging = 2, // first corner placed, the second follows the pointer
        kPlaced = 3,   // measured on every frame
        kClosed = 5,   // meter closed by the operator; freed at the next overlay drawing
    };
    std::int32_t state = kFree;
    RECT area;           // image pixels; normalised once placed (left <= right, top <= bottom)
    bool active = false; // its meter window is the active window
    std::int32_t value = 0;
    std::int32_t peak = 0;
};

// How the focus display is drawn ("color.wave", "color.wavesize",
// "color.focusflg", "color.focuspos").
struct FocusStyle {
    COLORREF wave = RGB(255, 128, 128);
    int waveSize = 1;
    int focusFlag = 0;
    int focusPosition = 0;
};

// The focus indicator of the main window: the area being drawn with button
// 1122, the placed areas whose meters the window shows, their sharpness on
// every frame, and their outlines with the focus line over the picture.
//
// Areas are only ever appended, and a closed area's slot stays (free), so an
// area's index names its meter for the whole run. UI thread only.
class FocusIndicator {
public:
    // Button 1122: with no area being drawn, one is started (true; the caller
    // has discarded the measurement being entered). Otherwise nothing changes.
    bool StartArea();
    // A measuring tool was chosen: the area being drawn is given up.
    void CancelArea() { m_drawing = {}; }
    // 0 none, 1 waiting for the first corner, 2 dragging (the lamp of 1122 is lit in 1 and 2).
    [[nodiscard]] std::int32_t drawingState() const { return m_drawing.state; }
    [[nodiscard]] const FocusArea& drawing() const { return m_drawing; }

    // The mouse over the picture, image pixels truncated. Each answers true
    // when the event belonged to the area being drawn.
    bool OnLButtonDown(IntPoint image);
    bool OnMouseMove(IntPoint image);
    // Finishes the area: its index in areas(), whose meter is to be made.
    std::optional<int> OnLButtonUp(IntPoint image);

    [[nodiscard]] const std::vector<FocusArea>& areas() const { return m_areas; }
    // Counted from 1 in the meters' titles: every area ever placed.
    [[nodiscard]] int areaCount() const { return static_cast<int>(m_areas.size()); }

    // The meter of area `index` was closed, (de)activated, or its scale changed
    // (its peak restarts from its value).
    void Close(int index);
    void SetActive(int index, bool active);
    void ScaleChanged(int index);

    // Sharpness of every area on the displayed frame; the peak follows. True
    // when there was an area to measure (its meter is to be repainted).
    bool ComputeFocus(const FrameImage& frame);

    // Frees the closed areas, outlines the others and the area being dragged,
    // and draws the focus line across the picture (image width `imageWidth`).
    void DrawFocusOverlay(DrawingSurface& surface, const ViewTransform& transform, const FocusStyle& style,
                          int imageWidth);

private:
    [[nodiscard]] FocusArea* At(int index);

    FocusArea m_drawing;
    std::vector<FocusArea> m_areas;
    std::vector<std::uint16_t> m_grey;
};

} // namespace orvane
