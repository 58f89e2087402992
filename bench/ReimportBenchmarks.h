#pragma once

#include <cstdint>

// The preview of importing a card app's export again: a collection of the
// given number of Cards, all from the app, against an export of as many in
// which one Card in a hundred changed, one was sold and one is new. Reports
// the time of the diff, of the diff with its lines of text, and of applying
// it. False when the diff is not the one made.
bool RunReimportBenchmark(std::uint64_t cards);
