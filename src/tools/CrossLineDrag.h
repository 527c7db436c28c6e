#pragma once

#include <cstddef>
#include <optional>

#include "image/PointD.h"
#include "settings/CrossLineSettings.h"

namespace orvane {

// Which entry a right press grabbed.
struct CrossLineGrab {
    enum class List { Lines, Circles };
    List list = List::Lines;
    std::size_t index = 0;
    friend bool operator==(const CrossLineGrab&, const CrossLineGrab&) = default;
};

// Dragging cross lines and circles on the picture with the right button, in
// image pixels. The lists are the window's; the drag only remembers which
// entry it holds.
//
// UI thread only.
class CrossLineDrag {
public:
    // Grab distance: a crossing point less than this many image pixels away.
    static constexpr double kGrabDistance = 10.0;

    // The first shown entry (lines before circles, master first, the others at
    // their absolute positions) whose crossing point is less than 10 image
    // pixels from `image` is grabbed. Nothing is grabbed while the list's
    // master is hidden, since then none of its entries is drawn.
    std::optional<CrossLineGrab> OnRButtonDown(const CrossLineSettings& settings, PointD image);

    // While an entry is grabbed: the master moves to the pointer (truncated to
    // whole pixels), any other entry's offset becomes pointer - master. True
    // when something moved.
    bool OnMouseMove(CrossLineSettings& settings, PointD image) const;

    void OnRButtonUp() { m_grab.reset(); }

    [[nodiscard]] const std::optional<CrossLineGrab>& grab() const { return m_grab; }

private:
    std::optional<CrossLineGrab> m_grab;
};

} // namespace orvane
