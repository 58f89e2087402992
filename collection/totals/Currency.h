#pragma once

#include <optional>
#include <string>
#include <string_view>

// Sums of prices times copies, in hundredths of a currency unit: the
// largest readable Price times the most copies, summed over as many rows as
// a table can hold, still fits.
using Hundredths = __int128;

// The currency a sign or code names, as totals group it: the ISO code when
// the mark names exactly one currency ("€" and "EUR" are both "EUR"), the
// sign itself when several currencies share it ("$", "¥", "kr"), so that
// Canadian dollars written "$" are not counted as US dollars. ASCII letters
// match in either case. Nothing for a mark that is not a known currency.
// The text returned lives as long as the program.
std::optional<std::string_view> CurrencyOfMark(std::string_view mark);

// An amount for people: the currency's sign or code before it, a comma
// between thousands and a point before exactly two decimals, whatever the
// Cards wrote: "$1,234.50", "€12.00", "CHF 7.00", and "4.25" for Prices
// without a currency. Amounts are never negative.
std::string AmountText(std::string_view currency, Hundredths amount);

// A gain or loss as AmountText writes its size, after "+" or "-": "+$1.50",
// "-€0.25"; nothing gained nor lost is "0.00" in the currency.
std::string GainText(std::string_view currency, Hundredths gain);

// A whole number with a comma between thousands: "1,234,567".
std::string CountText(Hundredths count);
