#pragma once

#include <cstdint>

// The totals of the Statistics window with market values, of every Card and
// of half of them as a filter shows them, the window's own count as it
// opens, and the sets of Set Completion, over generated Cards of which three
// in four have a market price. False on any error.
bool RunStatisticsBenchmarks(std::uint64_t cards);
