#include "measure/CMeasureChain.h"

#include <cstdlib>
#include <utility>

#include "platform/Clock.h"

namespace orvane {

std::int32_t MakeRecordId(std::uint32_t tickCount, int randomValue)
{
    const std::uint32_t product = tickCount * static_cast<std::uint32_t>(randomValue);
    return static_cast<std::int32_t>(product);
}

int CMeasureChain::AddTail(std::unique_ptr<MEASURE> record)
{
    if (!record) {
        return 0;
    }
    record->id = MakeRecordId(TickCount(), std::rand());
    record->no = 0;
    record->selected = 0;
    for (std::string& text : record->labelText) {
        text.clear();
    }
    return CTChain<MEASURE>::AddTail(std::move(record));
}

int CMeasureChain::AddTailCopy(const MEASURE* source)
{
    if (source == nullptr) {
        return 0;
    }
    std::unique_ptr<MEASURE> record = CopyRecord(*source);
    if (!record) {
        return 0;
    }
    return AddTail(std::move(record));
}

int CMeasureChain::FindById(std::int32_t id)
{
    if (MoveFirst() == 0) {
        return 0;
    }
    do {
        if (Current()->id == id) {
            return 1;
        }
    } while (MoveNext() != 0);
    return 0;
}

int CMeasureChain::RemoveById(std::int32_t id)
{
    if (FindById(id) == 0) {
        return 0;
    }
    return RemoveCurrent();
}

} // namespace orvane
