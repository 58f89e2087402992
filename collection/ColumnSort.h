#pragma once

#include <functional>
#include <string_view>
#include <vector>

class CardTableModel;

// Text order of cell texts: unsigned bytes, no case folding, a text before
// every longer text that begins with it.
inline bool TextLess(std::string_view a, std::string_view b)
{
    return a.compare(b) < 0;
}

// How a column click orders a column: by the cells' bytes, the collection's
// own order rules, or by what they say, as "Sort as numbers" has it.
enum class ColumnOrder {
    Text,
    Numbers,
};

// What a column click did to the row order.
struct ColumnSortResult {
    // The rows were reversed: undoing that needs nothing more.
    bool reversed = false;
    // Otherwise the new row i is the old row order[i].
    std::vector<int> order;
};

// A column click: when some row's text in the column is greater than the next
// row's, the rows end in ascending order of the column, equal texts keeping
// their order; otherwise the row order is reversed. A large table is shared
// out over that many threads, by default one per core.
ColumnSortResult SortRowsByColumn(CardTableModel& table, int column, int threads = 0);

// A column click by another order than the text's, given as less(a, b) over
// the table's row numbers: as SortRowsByColumn, the rows end in that order,
// equal ones keeping theirs, unless they are in it already, and then they are
// reversed. The table keeps no column as ascending in text order.
ColumnSortResult SortRowsBy(CardTableModel& table, const std::function<bool(int, int)>& less);
