#include "base/LargeAllocations.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;

} // namespace

void ReturnLargeAllocationsWhenFreed()
{
#if defined(__GLIBC__)
    // A megabyte: the row blocks and the short-lived texts stay on the heap,
    // every buffer of thousands of rows is mapped on its own.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

void* MapAligned(std::size_t bytes, std::size_t alignment)
{
    // Mapped with room to spare, which is then given back on either side.
    const std::size_t mapped = bytes + alignment;
    void* at = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t aligned = (start + alignment - 1) & ~std::uintptr_t(alignment - 1);
    if (aligned > start)
        ::munmap(at, aligned - start);
    const std::uintptr_t end = start + mapped;
    if (end > aligned + bytes)
        ::munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
    AdviseLargePages(reinterpret_cast<void*>(aligned), bytes);
    return reinterpret_cast<void*>(aligned);
}

void AdviseLargePages(void* at, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    const auto start = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t first = (start + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
    const std::uintptr_t last = (start + bytes) & ~std::uintptr_t(kLargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)at;
    (void)bytes;
#endif
}
