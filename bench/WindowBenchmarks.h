#pragma once

#include <cstdint>

// Every command that the user meets, through a real MainWindow opened in the
// current folder on its qmk.dat of the given number of Cards: start-up, the
// binder, row click, Clear, Add, Update, Delete, header clicks, keystrokes in
// the filter bar and the commands while it filters, Statistics, Catalogue,
// List, Export to CSV (into cards.csv) and close, with the peak resident
// memory of each phase. False when the window did not behave as the
// collection requires (a box, a wrong row count).
bool RunWindowBenchmarks(std::uint64_t cards);

// Import from CSV of the current folder's cards.csv, as the window run
// exported it, into a new window on the empty folder "import" within it:
// the time until the table is shown, the import dialog's own share, and the
// memory the import takes beside what the table keeps. False unless every
// Card arrives and the closed window saves the current folder's qmk.dat
// byte for byte.
bool RunCsvImportBenchmark(std::uint64_t cards);
