#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The I/O floor: the current folder's qmk.dat read whole with std::fread and
// the same bytes written with std::fwrite, with and without a sync to disk.
bool RunIoFloor(std::uint64_t cards);

// The plain steps, each beside the program's own command in the same process
// and checked to give the same result. Steps: "sort", "load", "catalogue".
bool RunLiteralBaselines(std::uint64_t cards, const std::vector<std::string>& steps);
