#pragma once

#include <functional>
#include <optional>

#include "image/BitmapTypes.h"
#include "image/FrameImage.h"
#include "image/ViewMath.h"

namespace orvane {

// The steps that draw over the picture in the back buffer, called in this
// order: finished measurements, scale bar, cross lines with the magnet's cursor
// aids, focus display, grid, cursor cross hairs, the measurement being placed
// (the step itself checks that a tool is active and has points), and last the
// calibration dialog's reference marks while that dialog is open. Each feature
// fills its step; an empty step is skipped. In fit mode the transform carries
// pan 0 whatever the stored pan is.
struct ViewOverlays {
    using Step = std::function<void(FrameImage& backBuffer, const ViewTransform& transform)>;
    Step measurements;
    Step scaleBar;
    Step crossLines;
    Step focusDisplay;
    Step grid;
    Step cursorCrossHairs;
    Step measurementInProgress;
    Step calibrationMarks;
};

// What the view asks of the main window.
struct ViewHost {
    // Move the picture frame, results list, strip box and scroll bar to the
    // result's rectangles and recompute the strip's scroll range.
    std::function<void(const ViewLayoutResult&)> applyLayout;
    // Give the main window the keyboard focus (after a zoom change from the list).
    std::function<void()> takeKeyboardFocus;
};

// The picture area of the main window: zoom index and pan, the picture frame's
// rectangle and the display frame's size; the mapping between client and image
// coordinates, the layout, the zoom by list and wheel, and the painting of the
// picture and its overlays into a back buffer. The window forwards its events
// here, applies layouts through ViewHost, invalidates itself when
// TakeRepaintPending() says so and shows the back buffer at frameRect().
//
// UI thread only.
class ImageView {
public:
    // State as the settings file holds it: "m_Bai", "m_Bai_X", "m_Bai_Y".
    [[nodiscard]] int zoomIndex() const { return m_zoomIndex; }
    [[nodiscard]] double panX() const { return m_panX; }
    [[nodiscard]] double panY() const { return m_panY; }
    // A stored pan (read after the zoom change at start so that it wins); a
    // value that is not a finite number becomes 0.
    void SetPan(double x, double y);

    // The display frame's size (w x h).
    void SetImageSize(int width, int height);
    [[nodiscard]] int imageWidth() const { return m_imageWidth; }
    [[nodiscard]] int imageHeight() const { return m_imageHeight; }

    // The picture frame's rectangle V in client coordinates, as the window first
    // places it; layouts move it from then on.
    void SetFrameRect(const RECT& frame) { m_frame = frame; }
    [[nodiscard]] const RECT& frameRect() const { return m_frame; }

    // The window's part of the layout, current after every resize or panel
    // toggle. Until it is given the picture frame counts as not existing and
    // ViewLayout does nothing.
    void SetWindowLayout(const WindowLayout& window) { m_window = window; }
    void SetHost(ViewHost host) { m_host = std::move(host); }
    ViewOverlays& overlays() { return m_overlays; }

    [[nodiscard]] ViewGeometry geometry() const;
    // The transform of the overlays (fit mode: pan 0); nullopt when not mappable.
    [[nodiscard]] std::optional<ViewTransform> transform() const;

    // Client <-> image mapping (ViewMath.h) through V or the given view
    // rectangle; nullopt with an empty display frame or a picture frame of zero
    // width or height.
    [[nodiscard]] std::optional<PointD> ClientToImage(PointD client, const RECT* view = nullptr) const;
    [[nodiscard]] std::optional<IntPoint> ClientToImageInt(PointD client, const RECT* view = nullptr) const;
    [[nodiscard]] std::optional<PointD> ImageToClient(PointD image, const RECT* view = nullptr) const;

    // Places the picture frame and the controls around it, clamps the pan,
    // hands the result to the host. False (nothing done) before SetWindowLayout.
    bool ViewLayout();

    // A new selection of the zoom list: the image point at the centre of the
    // old view stays at the centre, then layout and repaint. An index outside
    // the list (the list has no selection) selects "x1"; the window then shows
    // zoomIndex() in the list.
    void ZoomChanged(int newIndex);

    // The mouse wheel: forward (delta > 0) one step up, backward one step down,
    // within 0..21. With the cursor (client coordinates) inside V the image
    // point under it stays under it; elsewhere as ZoomChanged. True when the
    // zoom index changed (the window selects zoomIndex() in the list).
    bool OnMouseWheel(int delta, IntPoint cursor);

    // Moves the picture by (dx, dy) screen pixels, as a drag of the picture
    // would, within the pan the layout allows. Fit mode has no pan: nothing
    // changes. True when the pan changed.
    bool PanBy(double dx, double dy);

    // True once after a change that needs the whole window repainted.
    [[nodiscard]] bool TakeRepaintPending();

    // Draws the picture into the back buffer (24 bits, W x H; reused when it
    // already has that form) and then the overlays. Fit: the whole source
    // resampled nearest-neighbour; zoomed: back-buffer pixel (c, r) shows
    // source pixel (floor(c / f - px), floor(r / f - py)), the pixel the
    // view's mapping puts under its top-left corner, so that overlays and
    // clicks meet the picture exactly at any pan. Parts outside the source
    // are black. A 24- or 32-bit source gives its blue, green
    // and red bytes, an 8-bit one (the magnet's edge image) its byte as grey; any
    // other source paints black. False when the picture frame has no area or the
    // back buffer cannot be made.
    bool PaintPicture(const FrameImage& source, FrameImage& backBuffer) const;

private:
    int m_zoomIndex = 1;
    double m_panX = 0.0;
    double m_panY = 0.0;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    RECT m_frame;
    std::optional<WindowLayout> m_window;
    ViewHost m_host;
    ViewOverlays m_overlays;
    bool m_repaintPending = false;
};

} // namespace orvane
