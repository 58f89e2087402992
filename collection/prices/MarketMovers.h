#pragma once

#include "collection/prices/PriceHistory.h"

#include <vector>

class CardTableModel;

// A Card of the table whose printing's price moved, and how.
struct MarketMover {
    int row;
    PriceChange change;
};

struct MarketMovers {
    // Biggest rise first; biggest fall first.
    std::vector<MarketMover> risers;
    std::vector<MarketMover> fallers;
};

// The count printings of the table's Cards whose price rose most, and fell
// most, since the date, by the amount of the change; each stands for the
// first row of its printing.
MarketMovers FindMarketMovers(PriceHistory& history, QDate since, const CardTableModel& table, int count = 10);
