#pragma once

#include <cstdint>

#include "image/FrameImage.h"
#include "image/PointD.h"

// The magnet's pixel work: the edge image of the displayed picture, the
// search for the nearest strong edge around a point, and the thresholded
// picture the view shows instead of the frame while "Show" is on.
//
// Grey value of a 24/32-bit pixel: (11 * red + 30 * green + 59 * blue) / 100
// in integers. Edge value: the Sobel magnitude sqrt(gx^2 + gy^2) of the grey
// picture in single precision, truncated and clamped to 0..255.
namespace orvane {

// The edge kinds of "MagnetData.Vector".
enum MagnetVector : int {
    kMagnetEdge = 0,
    kMagnetEdgeWhite = 1, // edges only on their bright side (centre grey >= 128)
    kMagnetEdgeBlack = 2, // edges only on their dark side (centre grey <= 128)
    kMagnetBinary = 3,    // the view shows the thresholded picture itself
};

// What the magnet's settings say ("MagnetData.*"), as the snapping uses them.
struct MagnetOptions {
    int threshold = 128; // a pixel qualifies when its value is greater
    int halfSize = 10;   // half side of the search window, image pixels (1..10)
    int vector = kMagnetEdge;
};

// Frame (24 or 32 bits) -> 8-bit edge image of its size: every pixel with all
// eight neighbours inside the picture gets its edge value, zeroed by the
// polarity of `vector`; the outermost rows and columns get 0. The edge image
// is (re)made when its size or depth differs. Frames of other depths leave it
// untouched and give false.
bool UpdateEdgeImage(const FrameImage& frame, int vector, FrameImage& edge);

// The nearest edge pixel above the threshold in the window of half side
// options.halfSize around `point` (image pixels):
// - the window covers columns trunc(x - s) .. trunc(x + s) - 1 and rows
//   trunc(y - s) .. trunc(y + s) - 1, clipped to the picture (w x h);
// - its rows are scanned in the image's memory order (bottom row first), each
//   from left to right; distance to the window's centre (w / 2, h / 2) in
//   single precision; a later pixel wins only when strictly nearer;
// The result is the found pixel itself, as whole numbers. True, with `point`
// moved, when that differs from `point` truncated; false (point unchanged) when
// it does not, when no pixel qualifies, when the window lies outside the
// picture or the edge image is empty.
bool SnapPoint(const FrameImage& edge, const MagnetOptions& options, PointD& point);

// The picture "Show" displays, into the 8-bit `display` (made at the frame's
// size when needed): with kMagnetBinary the frame itself, 255 where an 8-bit
// value exceeds the threshold or 11 * red + 30 * green + 59 * blue exceeds 100
// times it; otherwise the edge image, 255 where it exceeds the threshold; 0
// elsewhere. False, with `display` untouched, when the source is empty, of
// another size than the frame or of a depth not handled.
bool ThresholdForDisplay(const FrameImage& frame, const FrameImage& edge, const MagnetOptions& options,
                         FrameImage& display);

// The magnet of the main window: its switch, its edge image and when that is
// rebuilt. Without "Show" the full-frame pass runs at most once a second while
// the switch is on; with it, for every frame.
//
// The edge image and the shown picture are the window's two 8-bit work
// images; they must outlive the aid. UI thread only.
class MagnetAid {
public:
    MagnetAid(FrameImage& edgeImage, FrameImage& shownImage) : m_edge(edgeImage), m_shown(shownImage) {}

    static constexpr std::uint32_t kRebuildMilliseconds = 1000;

    // Check box 1233. Turning it on asks for a rebuild with the next frame (or
    // at once through Rebuild when no frame is coming).
    void SetOn(bool on);
    [[nodiscard]] bool isOn() const { return m_on; }

    // The next frame rebuilds the edge image whatever the clock says.
    void RequestRebuild() { m_rebuildRequested = true; }
    // Rebuilds now from `frame` (a picture opened, a double click, a freeze).
    void Rebuild(const FrameImage& frame, int vector);

    // A new camera frame at `now` (milliseconds, wrapping): rebuilds the edge
    // image when Show is on, when a rebuild was asked for, or when the switch
    // is on and the last rebuild is more than a second old. True when rebuilt.
    bool OnFrame(const FrameImage& frame, const MagnetOptions& options, bool show, std::uint32_t now);

    // SnapPoint on the edge image while the switch is on; false when it is off.
    bool Snap(const MagnetOptions& options, PointD& point) const;

    [[nodiscard]] const FrameImage& edgeImage() const { return m_edge; }
    // The 8-bit picture Show displays, refreshed from `frame`; null when it
    // cannot be made.
    const FrameImage* ShownPicture(const FrameImage& frame, const MagnetOptions& options);

private:
    FrameImage& m_edge;
    FrameImage& m_shown;
    bool m_on = false;
    bool m_rebuildRequested = false;
    bool m_clockStarted = false;
    std::uint32_t m_lastRebuild = 0;
};

} // namespace orvane
