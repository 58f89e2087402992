#pragma once

#include <string_view>

class CardTableModel;

// Text order of cell texts: unsigned bytes, no case folding, a text before
// every longer text that begins with it.
inline bool TextLess(std::string_view a, std::string_view b)
{
    return a.compare(b) < 0;
}

// A column click: when some row's text in the column is greater than the next
// row's, the rows end in ascending order of the column, equal texts keeping
// their order; otherwise the row order is reversed. A large table is shared
// out over that many threads, by default one per core.
void SortRowsByColumn(CardTableModel& table, int column, int threads = 0);
