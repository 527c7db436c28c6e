#include "app/measure/MeasureLayer.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "app/core/MeasureSession.h"

namespace orvane {
namespace {

// Rows drawn anew in part only while they are at most this share of the
// picture; more, and the whole layer is quicker.
constexpr int kPartialShareDivisor = 2;
// Blends left behind by partial drawings before the layer is drawn whole.
constexpr std::size_t kMaxSteps = std::size_t{1} << 24;

// FNV-1a over the bytes of what a record's drawing depends on.
class Signature {
public:
    template <typename T> void Add(const T& value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (const unsigned char b : bytes) {
            m_hash = (m_hash ^ b) * 1099511628211ull;
        }
    }
    [[nodiscard]] std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 14695981039346656037ull;
};

std::uint64_t SignatureOf(const MEASURE& record)
{
    Signature s;
    s.Add(record.kind);
    s.Add(record.selected);
    s.Add(record.pointCount);
    s.Add(record.unit);
    for (const PointD& p : record.points.Slots()) {
        s.Add(p.x);
        s.Add(p.y);
    }
    for (const double v : record.value) {
        s.Add(v);
    }
    for (const PointD& c : record.centre) {
        s.Add(c.x);
        s.Add(c.y);
    }
    for (const double r : record.radius) {
        s.Add(r);
    }
    for (const LabelOffset& o : record.labelOffset) {
        s.Add(o.dx);
        s.Add(o.dy);
    }
    return s.value();
}

// Marks the rows of the box that lie on the picture.
void MarkRows(std::vector<std::uint8_t>& rows, const std::optional<RECT>& box)
{
    if (!box) {
        return;
    }
    const auto height = static_cast<int>(rows.size());
    for (int y = std::max(box->top, 0); y < std::min(box->bottom, height); ++y) {
        rows[static_cast<std::size_t>(y)] = 1;
    }
}

bool MeetsRows(const std::vector<std::uint8_t>& rows, const RECT& box)
{
    const auto height = static_cast<int>(rows.size());
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, height); ++y) {
        if (rows[static_cast<std::size_t>(y)] != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void MeasureLayer::Paint(FrameImage& backBuffer, const ViewTransform& transform)
{
    const FrameSize picture{backBuffer.width(), backBuffer.height()};
    const MeasureLayerKey key = m_session.LayerKey(transform, picture);
    if (!m_key || *m_key != key) {
        const MeasureCanvas canvas = m_session.Canvas(transform, picture);
        MeasureLayerKey sameView = key;
        sameView.revision = m_key ? m_key->revision : 0;
        const bool inPlace = m_key && *m_key == sameView && m_layer.stepCount() < kMaxSteps;
        if (!inPlace || !RebuildRows(canvas, key.style)) {
            Rebuild(canvas, key.style);
        }
        m_key = key;
        ++m_rebuilds;
    }
    m_layer.CompositeOnto(backBuffer);
}

void MeasureLayer::Rebuild(const MeasureCanvas& canvas, const MeasureStyle& style)
{
    m_text.Trim();
    m_layer.Reset(canvas.picture.width, canvas.picture.height);
    m_drawn.clear();
    {
        LayerDrawingSurface surface(m_layer, m_text);
        for (MEASURE* record = m_session.interaction().chain().First(); record != nullptr; record = record->next) {
            const std::optional<RECT> box = RecordScreenBox(surface, *record, style, canvas);
            if (box && BoxMeets(*box, canvas.picture)) {
                DrawRecord(surface, *record, style, canvas);
            }
            m_drawn.push_back({record, SignatureOf(*record), box});
        }
    }
    m_layer.Finish();
}

bool MeasureLayer::RebuildRows(const MeasureCanvas& canvas, const MeasureStyle& style)
{
    CMeasureChain& chain = m_session.interaction().chain();
    if (chain.Count() != static_cast<std::int32_t>(m_drawn.size())) {
        return false;
    }
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(std::max(canvas.picture.height, 0)), 0);
    std::vector<Drawn> now;
    now.reserve(m_drawn.size());
    LayerDrawingSurface surface(m_layer, m_text);
    std::size_t index = 0;
    for (MEASURE* record = chain.First(); record != nullptr; record = record->next, ++index) {
        const Drawn& before = m_drawn[index];
        if (before.record != record) {
            return false; // records added, removed or moved: drawn whole
        }
        const std::uint64_t signature = SignatureOf(*record);
        if (signature == before.signature) {
            now.push_back(before);
            continue;
        }
        const std::optional<RECT> box = RecordScreenBox(surface, *record, style, canvas);
        MarkRows(rows, before.box);
        MarkRows(rows, box);
        now.push_back({record, signature, box});
    }
    const auto marked = static_cast<int>(std::count(rows.begin(), rows.end(), std::uint8_t{1}));
    if (marked * kPartialShareDivisor > canvas.picture.height) {
        return false;
    }
    m_layer.ClearRows(rows);
    m_layer.LimitToRows(rows);
    for (std::size_t i = 0; i < now.size(); ++i) {
        const Drawn& drawn = now[i];
        if (drawn.box && BoxMeets(*drawn.box, canvas.picture) && MeetsRows(rows, *drawn.box)) {
            DrawRecord(surface, *drawn.record, style, canvas);
        }
    }
    m_layer.LimitToRows({});
    m_layer.Finish();
    m_drawn = std::move(now);
    ++m_partials;
    return true;
}

} // namespace orvane
