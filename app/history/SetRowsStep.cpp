#include "app/history/SetRowsStep.h"

#include <utility>

SetRowsStep::SetRowsStep(CardTableModel& table, std::vector<int> rows, CardTableModel::RowBlock replaced,
                         const QString& text, bool showsCard)
    : CollectionStep(text)
    , table_(table)
    , rows_(std::move(rows))
    , other_(std::move(replaced))
    , showsCard_(showsCard)
{
}

void SetRowsStep::Undo()
{
    table_.ExchangeRows(rows_, other_);
}

void SetRowsStep::Redo()
{
    table_.ExchangeRows(rows_, other_);
}

std::optional<Card> SetRowsStep::TouchedCard() const
{
    if (!showsCard_ || rows_.empty())
        return std::nullopt;
    return table_.RowCard(rows_.front());
}

std::size_t SetRowsStep::Bytes() const
{
    return sizeof(*this) + BookkeepingBytes() + rows_.capacity() * sizeof(int)
         + other_.Bytes();
}

void SetRowsStep::Forget()
{
    other_ = CardTableModel::RowBlock();
}
