#include "LargestAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Kept in a file of its own so that no caller sees the replaced operators
// inline. The aligned forms are left to the library.
namespace {

std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

void* Allocate(std::size_t size)
{
    if (g_watching.load(std::memory_order_relaxed) && size > g_largest.load(std::memory_order_relaxed)) {
        g_largest.store(size, std::memory_order_relaxed);
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size)
{
    if (void* p = Allocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

namespace orvane::test {

LargestAllocation::LargestAllocation()
{
    g_largest = 0;
    g_watching = true;
}

LargestAllocation::~LargestAllocation()
{
    g_watching = false;
}

std::size_t LargestAllocation::Stop()
{
    g_watching = false;
    return g_largest.load();
}

} // namespace orvane::test
