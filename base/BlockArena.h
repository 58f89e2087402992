#pragma once

#include <cstddef>

// Memory for many small blocks, such as the rows of a table of a million
// Cards: carved one after another out of chunks of a few megabytes that the
// system maps in large pages where it has them. A million rows then cost the
// system a few hundred page faults instead of the heap's tens of thousands,
// each of which costs many microseconds on a virtual machine; and nothing has
// to walk the heap's lists when they all go. Any thread may take blocks and
// give them back; a chunk goes back to the system once every block carved
// from it has. The room of a block given back is not used again before then,
// which suits blocks that mostly live as long as each other.
namespace BlockArena {

// A block of the given size, aligned to 8 bytes.
void* Allocate(std::size_t bytes);

// Gives back a block that Allocate gave, of the size it was asked for.
void Free(void* block, std::size_t bytes);

} // namespace BlockArena
