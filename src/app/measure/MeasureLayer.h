#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/qt/LayerDrawingSurface.h"
#include "app/qt/OverlayLayer.h"
#include "image/FrameImage.h"
#include "image/ViewMath.h"
#include "measure/MeasureDrawing.h"

namespace orvane {

class MeasureSession;

// The finished measurements over the picture, drawn once into an
// OverlayLayer and laid over every frame. The layer is drawn anew when the
// session's layer key changes (a record added, edited, deleted, loaded,
// recomputed or selected, the style, the zoom, the pan, the picture or frame
// size); between changes a paint steps once through every blend the
// measurements left on the picture's pixels, and draws none of them. Only
// records that reach the picture area are drawn. When the view stayed and
// the same records changed in place (a selection, a drag), only the rows
// their old and new boxes cover are drawn anew, with every record that
// reaches them, in chain order. The pixels are those the direct drawing
// gives.
//
// The session must outlive the layer. UI thread only.
class MeasureLayer {
public:
    explicit MeasureLayer(MeasureSession& session) : m_session(session) {}

    // The view's overlay step: the layer for this view over the back buffer.
    void Paint(FrameImage& backBuffer, const ViewTransform& transform);

    // How often the layer has been drawn, wholly or in part (tests and the
    // benchmark), and how often only in part.
    [[nodiscard]] int rebuildCount() const { return m_rebuilds; }
    [[nodiscard]] int partialCount() const { return m_partials; }
    // The layer as drawn last (the benchmark reports how much it covers).
    [[nodiscard]] const OverlayLayer& layer() const { return m_layer; }

private:
    // What was drawn of each record, in chain order.
    struct Drawn {
        MEASURE* record = nullptr;
        std::uint64_t signature = 0;
        std::optional<RECT> box;
    };

    void Rebuild(const MeasureCanvas& canvas, const MeasureStyle& style);
    // False when the change is not one of records in place, or covers much
    // of the picture: then the whole layer is drawn.
    bool RebuildRows(const MeasureCanvas& canvas, const MeasureStyle& style);

    MeasureSession& m_session;
    OverlayLayer m_layer;
    LabelTextCache m_text;
    std::optional<MeasureLayerKey> m_key;
    std::vector<Drawn> m_drawn;
    int m_rebuilds = 0;
    int m_partials = 0;
};

} // namespace orvane
