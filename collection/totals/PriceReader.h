#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Price and Quantity stay text everywhere else; totals read them as numbers.
// A value that cannot be read is refused, never guessed at.

// The purchase price of one Card: a currency as CurrencyOfMark names it
// ("" when the Price has none) and a whole number of hundredths.
struct PriceAmount {
    std::string_view currency;
    std::int64_t hundredths = 0;
};

// Reads a Price such as "$4.25", "4,25 €", "1,234.50", "1.234,50",
// "4.25 USD", "1 234,50 €", "5,-":
// - at most one currency sign or code, before or after, spaces between
//   allowed;
// - a point or a comma as the decimal mark, with one or two decimals;
// - a comma, point, space, no-break space or apostrophe between groups of
//   three digits. Where a single point or comma is followed by exactly three
//   digits it separates thousands ("1,000" and "1.000" are a thousand; a
//   Price is never written to a tenth of a cent); "0.500" is refused.
// Refused: no digits ("$"), words ("about 5"), ranges ("5-10"), negative
// amounts, a third decimal beside a decimal mark ("1,234.567"), groups that
// are not of three ("1.2.3"), and amounts of 10^15 units or more. A blank
// Price is not an amount either; totals count it as no price.
std::optional<PriceAmount> ReadPrice(std::string_view text);

// Reads a Quantity: a whole number below 10^9, its thousands separated as in
// a Price or not, spaces around allowed. A blank Quantity is one copy.
std::optional<std::int64_t> ReadQuantity(std::string_view text);

// Empty, or nothing but spaces, tabs, carriage returns and no-break spaces.
bool IsBlank(std::string_view text);
