#include "app/history/RowBlockStep.h"

#include <utility>

RowBlockStep::RowBlockStep(CardTableModel& table, int position, int count, bool inserted, const QString& text)
    : CollectionStep(text)
    , table_(table)
    , position_(position)
    , count_(count)
    , inserted_(inserted)
    , inTable_(inserted)
{
}

RowBlockStep* RowBlockStep::Inserted(CardTableModel& table, int position, int count, const QString& text)
{
    return new RowBlockStep(table, position, count, true, text);
}

RowBlockStep* RowBlockStep::Removed(CardTableModel& table, int position, CardTableModel::RowBlock taken,
                                    const QString& text)
{
    auto* step = new RowBlockStep(table, position, taken.size(), false, text);
    step->held_ = std::move(taken);
    return step;
}

void RowBlockStep::Move()
{
    if (inTable_)
        held_ = table_.TakeRows(position_, count_);
    else
        table_.PutRows(position_, std::move(held_));
    inTable_ = !inTable_;
}

std::optional<Card> RowBlockStep::TouchedCard() const
{
    return inTable_ ? table_.RowCard(position_) : held_.CardAt(0);
}

std::size_t RowBlockStep::Bytes() const
{
    return sizeof(*this) + BookkeepingBytes() + held_.Bytes();
}

void RowBlockStep::Forget()
{
    held_ = CardTableModel::RowBlock();
}
