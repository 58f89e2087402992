#pragma once

#include <string_view>

// A spreadsheet that opens a CSV file runs a cell beginning with "=", "+",
// "-" or "@" as a formula (and some take a leading tab or CR for one), so
// that a Card's text could make it fetch an address or start a program.
// Such a value is exported behind an apostrophe, the guard spreadsheet
// makers advise, which they show as text and do not run; our own import
// takes exactly that guard off again.
//
// The guard is one apostrophe before a value that begins with any number of
// apostrophes and then one of those characters: "=1" goes out as "'=1", and
// "'=1" as "''=1", so that taking off one apostrophe from any value that
// begins with apostrophes and such a character gives every value back as it
// was, byte for byte.

// Whether the value goes out behind the guard.
bool NeedsFormulaGuard(std::string_view value);

// The value read from a CSV file without its guard: the first apostrophe
// dropped from a value that NeedsFormulaGuard would have guarded after it.
std::string_view WithoutFormulaGuard(std::string_view value);
