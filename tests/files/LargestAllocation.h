#pragma once

#include <cstddef>

namespace orvane::test {

// Watches the size of the largest single allocation through operator new
// (all plain forms are replaced in this test program) from construction until
// Stop(). One at a time.
class LargestAllocation {
public:
    LargestAllocation();
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;
    ~LargestAllocation();

    // Ends the watch; the largest request seen, in bytes.
    std::size_t Stop();
};

} // namespace orvane::test
