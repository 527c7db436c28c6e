#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "files/MeasureFile.h"
#include "measure/CMeasureChain.h"

// A results file: whatever it loads must save and load again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::CMeasureChain first;
    (void)orvane::DecodeMeasureFile(std::span(data, size), first);
    const auto saved = orvane::EncodeMeasureFile(first);
    orvane::CMeasureChain second;
    if (!orvane::DecodeMeasureFile(saved, second).ok() || second.Count() != first.Count()) {
        orvane::fuzz::Fail("results file saved from a load does not load in full");
    }
    if (orvane::EncodeMeasureFile(second) != saved) {
        orvane::fuzz::Fail("results file saves differently after a load");
    }
    return 0;
}
