#pragma once

#include <span>
#include <string>

class CardTableModel;

// The values of the outer templates' #TOTALCARDS#, #TOTALCOPIES#,
// #TOTALPAID#, #TOTALVALUE# and #VALUEDATE#.
struct PageTotals {
    std::string cards;
    std::string copies;
    std::string paid;
    std::string value{};
    std::string valueDate{};
};

// The totals of every row of the table, as the pages show them.
PageTotals PageTotalsOf(const CardTableModel& table);
// The totals of the given rows only, as a page of some of the Cards shows them.
PageTotals PageTotalsOf(const CardTableModel& table, std::span<const int> rows);
