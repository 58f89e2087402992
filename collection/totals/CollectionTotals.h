#pragma once

#include "collection/Card.h"
#include "collection/totals/Currency.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CardTableModel;

// A Card among the dearest: its row (0 is the top row) and the price of one
// copy in hundredths.
struct CostlyCard {
    int row = 0;
    std::int64_t price = 0;
};

// What was paid in one currency. Paid is price times copies, the Price
// being what one copy cost; Cards whose Quantity cannot be read add nothing.
struct CurrencyPaid {
    std::string_view currency;
    std::int64_t cards = 0;
    Hundredths paid = 0;
    // Up to ten Cards by the price of one copy, dearest first; of equal
    // prices the upper row first.
    std::vector<CostlyCard> mostCostly;
};

struct CurrencyAmount {
    std::string_view currency;
    Hundredths amount = 0;
};

// A Card's gain or loss at its market price: (MARKET - Price) times its
// copies, both in one currency. Negative for a loss.
struct CardGain {
    int row = 0;
    Hundredths gain = 0;
};

// What the Cards are worth at their MARKET price in one currency, copies
// counted as for what was paid.
struct CurrencyValue {
    std::string_view currency;
    std::int64_t cards = 0;
    Hundredths value = 0;
    // Of the Cards whose Price is in the same currency: the sum of their
    // gains, and how many they are.
    std::int64_t compared = 0;
    Hundredths gain = 0;
    // Up to ten of each, the largest first; of equal ones the upper row first.
    std::vector<CardGain> gains;
    std::vector<CardGain> losses;
};

// The Cards whose field holds one text, exactly as written.
struct GroupTotals {
    std::string value;
    std::int64_t cards = 0;
    std::int64_t copies = 0;
    // In the order of CollectionTotals::paid.
    std::vector<CurrencyAmount> paid;
};

// A Price or Quantity that cannot be read.
struct UnreadableValue {
    int row = 0;
    CardField field = PriceField;

    bool operator==(const UnreadableValue&) const = default;
};

struct CollectionTotals {
    // Only the rows a filter shows were counted.
    bool filtered = false;
    std::int64_t cards = 0;
    // The copies of Cards whose Quantity can be read.
    std::int64_t copies = 0;
    // Cards with a blank Price: neither paid for nor unreadable.
    std::int64_t unpriced = 0;
    // The currency of the most Cards first; of as many, in byte order.
    std::vector<CurrencyPaid> paid;
    // In byte order of the text; a blank field is a group of its own.
    std::vector<GroupTotals> bySeries;
    std::vector<GroupTotals> byCondition;
    std::vector<GroupTotals> byYear;
    // Upper row first; a row's Price before its Quantity.
    std::vector<UnreadableValue> unreadable;

    // Cards whose MARKET is not blank; when none are, there is no value to
    // tell and the totals read as they did before Cards had one.
    std::int64_t marketed = 0;
    // Cards without a MARKET that can be read.
    std::int64_t notValued = 0;
    // In the order of most Cards first, as paid.
    std::vector<CurrencyValue> value;
    // The oldest MARKETDATE (YYYY-MM-DD) of the valued Cards, so that no
    // part of the value is older; empty when none has one.
    std::string valueDate;
};

// The totals of every row of the table.
CollectionTotals TotalsOf(const CardTableModel& table);

// The totals of the given rows only, each a row of the table at most once,
// as a filter shows them.
CollectionTotals TotalsOf(const CardTableModel& table, std::span<const int> rows);

// Of every row, only the count of Cards, the copies, what was paid and what
// they are worth, with the date of that: the rest of the totals is left empty.
CollectionTotals SumsOf(const CardTableModel& table);
