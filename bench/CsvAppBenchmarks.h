#pragma once

#include <cstdint>

// Times the import of a card app's export of CARDS rows, a Deckbox inventory
// written in the folder as deckbox.csv: detection of the app and the reading
// of every row into Cards, as the window and quillmark-cli both do it.
bool RunCsvAppImportBenchmark(std::uint64_t cards);
