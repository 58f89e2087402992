#pragma once

#include <cstdint>

// Undo and redo through a real MainWindow opened in the current folder on its
// qmk.dat of the given number of Cards: the time of undoing and redoing each
// command, and the memory of the history after 1,000 mixed steps and after
// header clicks alone. The window is not closed, so the files stay as they
// were. False when a table did not come back as it was.
bool RunHistoryBenchmarks(std::uint64_t cards);
