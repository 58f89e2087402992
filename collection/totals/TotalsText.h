#pragma once

#include "collection/totals/CollectionTotals.h"

#include <string>

class CardTableModel;

// The totals as lines for people, UTF-8 with LF line ends: Cards, copies,
// paid, what the Cards are worth (only when some Card has a MARKET), the
// dearest Cards, the break-downs and the unreadable values, rows
// numbered from 1 at the top. The table is the one the totals came from.
std::string TotalsText(const CollectionTotals& totals, const CardTableModel& table);

// The totals as an indented JSON object:
//   cards, copies, unpriced: numbers; filtered: true or false;
//   paid: [{currency, amount, cards}], the currency of the most Cards first;
//   value: [{currency, amount, cards}] at the Cards' MARKET prices, as paid;
//   notValued: the Cards without a MARKET that can be read;
//   mostCostly: [{row, name, currency, price}], up to ten per currency;
//   bySeries, byCondition, byYear: [{value, cards, copies, paid: [{currency, amount}]}];
//   unreadable: [{row, field: "Price" or "Quantity", value}].
// A currency is an ISO code, a sign shared by several currencies ("$", "¥",
// "kr"), or "" for Prices written without one. Amounts are numbers in
// currency units with at most two decimals, written exactly below 10^13;
// rows count from 1 at the top of the table.
std::string TotalsJson(const CollectionTotals& totals, const CardTableModel& table);

// The values of #TOTALCARDS#, #TOTALCOPIES# and #TOTALPAID#: counts with a
// comma between thousands ("1,234"); the paid totals as AmountText writes
// them, joined by ", " ("$1,234.50, €12.00"), or "0.00" when no Card has a
// readable Price.
std::string TotalCardsText(const CollectionTotals& totals);
std::string TotalCopiesText(const CollectionTotals& totals);
std::string TotalPaidText(const CollectionTotals& totals);
// The values of #TOTALVALUE# and #VALUEDATE#: the market value as
// #TOTALPAID# writes what was paid, and the oldest market date among the
// Cards, empty when none has one.
std::string TotalValueText(const CollectionTotals& totals);
std::string ValueDateText(const CollectionTotals& totals);
