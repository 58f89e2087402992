#pragma once

#include <cstdint>

// The Magic name index: building it from a file of that many oracle cards,
// and the completions of each keystroke of names typed into the lookup.
bool RunCardIndexBenchmarks(std::uint64_t names);
