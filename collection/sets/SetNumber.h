#pragma once

#include <optional>
#include <string>
#include <string_view>

// A collector number as a set's numbering counts it, so that the ways one
// number is written meet: letters in small case, the leading zeros of its
// digits dropped ("012" and "12" are one number, "TG05" is "tg5"), and for
// Yu-Gi-Oh! the region before the digits dropped too ("EN014" is "14").
// Letters after the digits make a number of its own ("136a"). Empty for a
// number with no digits.
std::string SetNumberKey(std::string_view game, std::string_view number);

// The place in the set's numbering of a key that is digits alone.
std::optional<int> NumberPlace(std::string_view key);
