#pragma once

#include <cstdint>
#include <optional>

#include "image/BitmapTypes.h"
#include "image/DrawingSurface.h"
#include "image/ViewMath.h"
#include "measure/CMeasureChain.h"
#include "measure/Measure.h"
#include "measure/MeasureResults.h"
#include "image/PointD.h"

// Drawing of the measurements over the picture: the finished records of the
// measure chain and the measurement being placed with its rubber band to the
// mouse pointer. The same calls draw the view's back buffer and the overlay
// burnt into a saved picture (there at zoom 1 without pan).
namespace orvane {

// How measurements look; the defaults are those of the settings keys.
struct MeasureStyle {
    COLORREF lineColour = RGB(0, 255, 0);            // "color.line"
    int lineWidth = 1;                               // "color.linesize"
    COLORREF textColour = RGB(0, 255, 255);          // "color.text"
    DrawingFont font{.faceName = "ＭＳ Ｐゴシック"}; // "color.font.*"
    bool showAngle = true;                           // "color.showangle"
    std::int32_t angleBaseLine = 0;                  // "color.anglebaseline", 0-3
    std::int32_t snapStep = 45;                      // "color.angle", degrees

    friend bool operator==(const MeasureStyle&, const MeasureStyle&) = default;
};

// Where they are drawn.
struct MeasureCanvas {
    ViewTransform transform; // image -> back buffer; fit mode carries pan 0
    FrameSize image;         // the display frame (w x h)
    FrameSize picture;       // the picture area, the back buffer (W x H)
};

// Everything the finished measurements' pixels depend on: the chain's
// revision (records added, edited, deleted, loaded, recomputed, selected),
// the style and the canvas. Equal keys draw equal pixels.
struct MeasureLayerKey {
    std::uint64_t revision = 0;
    MeasureStyle style;
    ViewTransform transform;
    FrameSize image;
    FrameSize picture;
    friend bool operator==(const MeasureLayerKey&, const MeasureLayerKey&) = default;
};

// Labels of kinds -2 and -5 sit this many screen pixels below their anchor.
inline constexpr int kLabelDropPixels = 20;

// Image point -> back-buffer pixel: (trunc((x + panX) * scaleX), trunc((y + panY) * scaleY)).
[[nodiscard]] IntPoint ToScreen(const ViewTransform& transform, PointD image);

// Anchor of label `index` of a finished record, image pixels, before the
// label's offset (and before the screen drop of kinds -2 and -5):
//   -1: 0 midpoint of the two points, 1 the first point
//   -2: 0 mean of the vertices
//   -3: 0 centre
//   -4: 0, 1 the centres, 2 midpoint of the centres, 3 (centre[0].x, centre[0].y + 20)
//   -5: 0 midpoint of the measured point and the foot
//   -6: 0 mean of the three points
// nullopt for a label the kind does not have, or a polygon without vertices.
[[nodiscard]] std::optional<PointD> LabelAnchor(const MEASURE& record, int index);

// Draws one finished record: its lines with the measurement pen (inverted
// colour when selected), then its labels. Before drawing, the labels are
// formatted into record.labelText (a unit code outside 0-2 keeps the old
// text) and a perpendicular's foot is computed anew from its base line and
// measured point and stored as point 3, so that the record always shows, and
// later hands on, what its points say. Records of kind 0 or without points
// draw nothing.
void DrawRecord(DrawingSurface& surface, MEASURE& record, const MeasureStyle& style, const MeasureCanvas& canvas);

// Every record of the chain from the first, as DrawRecord. The cursor stays.
void DrawMeasurements(DrawingSurface& surface, CMeasureChain& chain, const MeasureStyle& style,
                      const MeasureCanvas& canvas);

// The box (back-buffer pixels, right and bottom exclusive) of everything
// DrawRecord draws for the record: lines and marks widened by the pen, label
// texts by half their height on every side for glyphs that reach past their
// advance; nullopt when it draws nothing. The record is made ready as
// DrawRecord makes it (label texts, a perpendicular's foot); text sizes come
// from `measuring`.
[[nodiscard]] std::optional<RECT> RecordScreenBox(DrawingSurface& measuring, MEASURE& record,
                                                  const MeasureStyle& style, const MeasureCanvas& canvas);

// Whether the box reaches into [0, width) x [0, height).
[[nodiscard]] bool BoxMeets(const RECT& box, FrameSize area);

// The measurement being placed in tool mode `mode` (1-6) with its rubber band
// to `mouse` (image pixels, after edge snapping), with the normal pen:
//   1, 2, 6: the placed points and the mouse point as one open line; in mode 1
//            with `shift` the mouse point snaps around the first point, and
//            with showAngle the live direction angle is written at the first point
//   3, 4:    a cross on every placed point; each complete group of three as its
//            circle with a centre cross, a group of two through the mouse point
//   5:       one point: the line through it and the mouse point (snapped
//            modulo 180 with `shift`) across the image; two or more: the base
//            line across the image
// Nothing is drawn in mode 0 or before the first point.
void DrawWorking(DrawingSurface& surface, const MEASURE& working, std::int32_t mode, PointD mouse, bool shift,
                 const MeasureStyle& style, const MeasureCanvas& canvas);

} // namespace orvane
