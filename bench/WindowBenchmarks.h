#pragma once

#include <cstdint>

// Every command that the user meets, through a real MainWindow opened in the
// current folder on its qmk.dat of the given number of Cards: start-up, the
// binder, row click, Clear, Add, Update, Delete, header clicks, Statistics,
// Catalogue, List and close, with the peak resident memory of each phase.
// False when the window did not behave as the collection requires (a box, a
// wrong row count).
bool RunWindowBenchmarks(std::uint64_t cards);
