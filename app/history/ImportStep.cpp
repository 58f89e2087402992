#include "app/history/ImportStep.h"

#include <utility>

ImportStep::ImportStep(CardTableModel& table, int count, std::vector<int> rows, CardTableModel::RowBlock replaced,
                       const QString& text)
    : CollectionStep(text)
    , table_(table)
    , count_(count)
    , rows_(std::move(rows))
    , other_(std::move(replaced))
{
}

// The rows are numbered with the imported Cards in the table, so they are
// exchanged while those are there.
void ImportStep::Undo()
{
    table_.ExchangeRows(rows_, other_);
    held_ = table_.TakeRows(0, count_);
}

void ImportStep::Redo()
{
    table_.PutRows(0, std::move(held_));
    table_.ExchangeRows(rows_, other_);
}

std::size_t ImportStep::Bytes() const
{
    return sizeof(*this) + BookkeepingBytes() + rows_.capacity() * sizeof(int) + other_.Bytes() + held_.Bytes();
}

void ImportStep::Forget()
{
    other_ = CardTableModel::RowBlock();
    held_ = CardTableModel::RowBlock();
}
