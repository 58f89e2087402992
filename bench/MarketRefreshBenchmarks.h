#pragma once

#include <cstdint>

// A market refresh of that many Magic Cards against a server on this machine
// that answers Scryfall's collection at once: the time the pace alone needs.
bool RunMarketRefreshBenchmark(std::uint64_t cards);
