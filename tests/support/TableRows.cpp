#include "support/TableRows.h"

#include "collection/CardTableModel.h"

void SetTableRows(CardTableModel& table, const std::vector<Card>& rows)
{
    CardTableModel::RowBuilder built;
    for (auto card = rows.rbegin(); card != rows.rend(); ++card)
        built.Append(*card);
    table.SetRowsBottomFirst(std::move(built));
}
