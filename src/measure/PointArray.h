#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "image/PointD.h"

namespace orvane {

// The growable point store of a measurement. Slots beyond the meaningful
// points are zero; a record's pointCount says how many are meaningful, and
// copies carry every slot. No data means capacity 0.
//
// Operations answer 1 on success and 0 on failure (bad argument, or no memory
// for the new block, in which case the array is unchanged).
class PointArray {
public:
    // Larger requests are refused: no measurement comes near it, and a damaged
    // results file must not make the program allocate gigabytes.
    static constexpr std::int32_t kMaxCapacity = 1 << 22;

    PointArray() = default;
    // Deep copy of all slots; throws std::bad_alloc when memory runs out.
    PointArray(const PointArray& other);
    PointArray& operator=(const PointArray& other);
    PointArray(PointArray&& other) noexcept;
    PointArray& operator=(PointArray&& other) noexcept;
    ~PointArray() = default;

    // A new block of capacity + extra zeroed slots (just `extra` when there is
    // no data yet) holding the first `keep` points; 0 when keep < 0,
    // keep > capacity or extra < 0.
    int Grow(std::int32_t keep, std::int32_t extra);
    // Stores a point, first growing by index + capacity slots when the index
    // lies beyond the array (at least to index + 1 slots); 0 for a negative
    // index.
    int SetAt(std::int32_t index, double x, double y);
    // Copies the points to the slots from `start` on, growing by
    // start + n - capacity slots when they do not fit.
    int CopyFrom(std::int32_t start, std::span<const PointD> source);
    // Frees the data; capacity 0.
    void Clear();

    [[nodiscard]] std::int32_t Capacity() const { return m_capacity; }
    // All slots, meaningful or not.
    [[nodiscard]] std::span<const PointD> Slots() const { return {m_data.get(), static_cast<std::size_t>(m_capacity)}; }
    [[nodiscard]] std::span<PointD> Slots() { return {m_data.get(), static_cast<std::size_t>(m_capacity)}; }

private:
    std::unique_ptr<PointD[]> m_data;
    std::int32_t m_capacity = 0;
};

} // namespace orvane
