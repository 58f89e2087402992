#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The published pages' own search in headless Chromium: a Catalogue and a
// List of generated Cards with details, each opened once, reporting how long
// the page took to be ready to search, the engine's own part of that, and
// the time of each keystroke of a typed search (the engine's work, then with
// the browser's restyling and layout of the rows). False when Chromium is
// missing or the page never became searchable. Pages names "catalogue",
// "list" or both; none means both.
bool RunPageSearchBenchmarks(std::uint64_t cards, const std::vector<std::string>& pages);
