#pragma once

#include <cstddef>

// From now on, memory allocated in large blocks goes back to the system as
// soon as it is freed. Without this the C library raises the size it counts
// as large each time a large block is freed, and the buffers a sort, a
// search or a page holds for a moment then stay resident after it: at a
// million Cards, over 100 MB that the process keeps but never uses again.
// Called first thing by each program.
void ReturnLargeAllocationsWhenFreed();

// Memory of its own from the system, bytes long (a multiple of the page
// size), starting at a multiple of alignment (a power of two, at least a
// page), zero-filled, and asked to be kept in large pages (2 MiB on x86-64)
// where the system has them: the first touch of each small page of fresh
// memory costs a page fault, which on a virtual machine takes many
// microseconds; a large page takes one fault for 512 of them. Given back with
// munmap(). Null when the system has no such memory.
void* MapAligned(std::size_t bytes, std::size_t alignment);

// Asks the system to keep the memory from at on, bytes long, in large pages
// where whole ones fit; any memory, such as a large vector's just reserved.
// Best done before the memory is first touched.
void AdviseLargePages(void* at, std::size_t bytes);
