#include "app/history/ReorderStep.h"

#include "collection/CardTableModel.h"

#include <utility>
#include <vector>

ReorderStep::ReorderStep(CardTableModel& table, ColumnSortResult change, const QString& text)
    : CollectionStep(text)
    , table_(table)
    , change_(std::move(change))
{
}

void ReorderStep::Undo()
{
    if (change_.reversed) {
        table_.ReverseRows();
        return;
    }
    // The row now at i came from order[i]: it goes back there.
    std::vector<int> back(change_.order.size());
    for (std::size_t i = 0; i < change_.order.size(); ++i)
        back[std::size_t(change_.order[i])] = int(i);
    table_.Reorder(back);
}

void ReorderStep::Redo()
{
    if (change_.reversed)
        table_.ReverseRows();
    else
        table_.Reorder(change_.order);
}

std::size_t ReorderStep::Bytes() const
{
    return sizeof(*this) + BookkeepingBytes() + change_.order.capacity() * sizeof(int);
}

void ReorderStep::Forget()
{
    change_.order = std::vector<int>();
}
