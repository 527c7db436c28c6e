#include "app/measure/MeasureLayer.h"

#include "app/core/MeasureSession.h"

namespace orvane {

void MeasureLayer::Paint(FrameImage& backBuffer, const ViewTransform& transform)
{
    const FrameSize picture{backBuffer.width(), backBuffer.height()};
    const MeasureLayerKey key = m_session.LayerKey(transform, picture);
    if (!m_key || *m_key != key) {
        Rebuild(key, transform, picture);
    }
    m_layer.CompositeOnto(backBuffer);
}

void MeasureLayer::Rebuild(const MeasureLayerKey& key, const ViewTransform& transform, FrameSize picture)
{
    m_text.Trim();
    m_layer.Reset(picture.width, picture.height);
    {
        LayerDrawingSurface surface(m_layer, m_text);
        m_session.DrawVisibleMeasurements(surface, transform, picture);
    }
    m_layer.Finish();
    m_key = key;
    ++m_rebuilds;
}

} // namespace orvane
