#pragma once

#include <optional>

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
// measurements left on the picture's pixels, and draws none of them. The
// pixels are those the direct drawing gives.
//
// The session must outlive the layer. UI thread only.
class MeasureLayer {
public:
    explicit MeasureLayer(MeasureSession& session) : m_session(session) {}

    // The view's overlay step: the layer for this view over the back buffer.
    void Paint(FrameImage& backBuffer, const ViewTransform& transform);

    // How often the layer has been drawn (tests and the benchmark).
    [[nodiscard]] int rebuildCount() const { return m_rebuilds; }
    // The layer as drawn last (the benchmark reports how much it covers).
    [[nodiscard]] const OverlayLayer& layer() const { return m_layer; }

private:
    void Rebuild(const MeasureLayerKey& key, const ViewTransform& transform, FrameSize picture);

    MeasureSession& m_session;
    OverlayLayer m_layer;
    LabelTextCache m_text;
    std::optional<MeasureLayerKey> m_key;
    int m_rebuilds = 0;
};

} // namespace orvane
