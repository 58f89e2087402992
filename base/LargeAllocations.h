#pragma once

// From now on, memory allocated in large blocks goes back to the system as
// soon as it is freed. Without this the C library raises the size it counts
// as large each time a large block is freed, and the buffers a sort, a
// search or a page holds for a moment then stay resident after it: at a
// million Cards, over 100 MB that the process keeps but never uses again.
// Called first thing by each program.
void ReturnLargeAllocationsWhenFreed();
