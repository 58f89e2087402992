#pragma once

#include <cstdint>

// The steps of the start-up one by one, each with the program's own
// function, on the current folder's qmk.dat: read, split into lines and
// keys, read into rows, measure every cell, and the first paint of a window
// with no Cards; and a floor for each step that none of its kind can beat.
// Each figure is the median of a few runs.
bool RunStartupSteps(std::uint64_t cards);
