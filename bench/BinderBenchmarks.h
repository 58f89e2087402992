#pragma once

#include <cstdint>

class MainWindow;

// The binder over the window's collection: opened to its first page of
// nine, a page turned, one grid of every Card shown and scrolled, a smaller
// size, and Add with the binder open. With pictures (at 100,000 Cards only,
// since they do not depend on the collection's size): a binder of local
// pictures scrolled through cold and from the disk cache, and what the
// thumbnails held in memory came to. Each part reports its own peak resident
// memory. False when the binder did not behave.
bool RunBinderBenchmarks(std::uint64_t cards, MainWindow& window);
