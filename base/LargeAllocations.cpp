#include "base/LargeAllocations.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnLargeAllocationsWhenFreed()
{
#if defined(__GLIBC__)
    // A megabyte: the row blocks and the short-lived texts stay on the heap,
    // every buffer of thousands of rows is mapped on its own.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}
