#include "measure/PointArray.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace orvane {
namespace {

// Zeroed slots, or null for a zero count or when memory runs out.
std::unique_ptr<PointD[]> AllocateSlots(std::int64_t count)
{
    if (count <= 0) {
        return nullptr;
    }
    return std::unique_ptr<PointD[]>(new (std::nothrow) PointD[static_cast<std::size_t>(count)]);
}

} // namespace

PointArray::PointArray(const PointArray& other)
    : m_data(other.m_capacity > 0 ? std::make_unique<PointD[]>(static_cast<std::size_t>(other.m_capacity)) : nullptr),
      m_capacity(other.m_capacity)
{
    std::copy_n(other.m_data.get(), m_capacity, m_data.get());
}

PointArray& PointArray::operator=(const PointArray& other)
{
    if (this != &other) {
        PointArray copy(other);
        *this = std::move(copy);
    }
    return *this;
}

PointArray::PointArray(PointArray&& other) noexcept
    : m_data(std::move(other.m_data)), m_capacity(std::exchange(other.m_capacity, 0))
{
}

PointArray& PointArray::operator=(PointArray&& other) noexcept
{
    if (this != &other) {
        m_data = std::move(other.m_data);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

int PointArray::Grow(std::int32_t keep, std::int32_t extra)
{
    if (keep < 0 || keep > m_capacity || extra < 0) {
        return 0;
    }
    const std::int64_t total = static_cast<std::int64_t>(m_capacity) + extra;
    if (total > kMaxCapacity) {
        return 0;
    }
    std::unique_ptr<PointD[]> block = AllocateSlots(total);
    if (!block && total > 0) {
        return 0;
    }
    std::copy_n(m_data.get(), keep, block.get());
    m_data = std::move(block);
    m_capacity = static_cast<std::int32_t>(total);
    return 1;
}

int PointArray::SetAt(std::int32_t index, double x, double y)
{
    if (index < 0) {
        return 0;
    }
    if (index >= m_capacity) {
        // Growing an empty array by `index` slots alone would leave the slot
        // itself outside the block.
        const std::int64_t extra =
            std::max<std::int64_t>(static_cast<std::int64_t>(index) + m_capacity, static_cast<std::int64_t>(index) + 1);
        if (extra > kMaxCapacity || Grow(m_capacity, static_cast<std::int32_t>(extra)) == 0) {
            return 0;
        }
    }
    m_data[static_cast<std::size_t>(index)] = PointD{x, y};
    return 1;
}

int PointArray::CopyFrom(std::int32_t start, std::span<const PointD> source)
{
    if (start < 0 || source.size() > static_cast<std::size_t>(kMaxCapacity)) {
        return 0;
    }
    const auto n = static_cast<std::int64_t>(source.size());
    if (n == 0) {
        return 1;
    }
    std::vector<PointD> ownCopy;
    if (m_capacity - start < n) {
        const std::int64_t extra = start + n - m_capacity;
        if (extra > kMaxCapacity) {
            return 0;
        }
        // Growing frees the old block, which the source may lie in.
        const PointD* begin = m_data.get();
        if (begin != nullptr && source.data() < begin + m_capacity && source.data() + n > begin) {
            ownCopy.assign(source.begin(), source.end());
            source = ownCopy;
        }
        if (Grow(m_capacity, static_cast<std::int32_t>(extra)) == 0) {
            return 0;
        }
    }
    std::memmove(m_data.get() + start, source.data(), static_cast<std::size_t>(n) * sizeof(PointD));
    return 1;
}

void PointArray::Clear()
{
    m_data.reset();
    m_capacity = 0;
}

} // namespace orvane
