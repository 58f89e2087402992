#include "collection/ColumnSort.h"

#include "collection/CardTableModel.h"

#include <algorithm>
#include <numeric>
#include <vector>

void SortRowsByColumn(CardTableModel& table, int column)
{
    const int rows = table.rowCount();
    bool ascending = true;
    for (int row = 0; row + 1 < rows && ascending; ++row)
        ascending = !TextLess(table.Cell(row + 1, column), table.Cell(row, column));
    if (ascending) {
        table.ReverseRows();
        return;
    }
    std::vector<int> order(std::size_t(rows), 0);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return TextLess(table.Cell(a, column), table.Cell(b, column)); });
    table.Reorder(order);
}
