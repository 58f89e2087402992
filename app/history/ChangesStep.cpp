#include "app/history/ChangesStep.h"

#include <utility>

ChangesStep::ChangesStep(CardTableModel& table, TakenRows taken, const QString& text)
    : CollectionStep(text)
    , table_(table)
    , taken_(std::move(taken))
{
    for (const auto& [position, block] : taken_.removed)
        runSizes_.push_back(block.size());
}

// The reverse of the change, step by step: the rows above a run are back
// in place before the run is put back.
void ChangesStep::Undo()
{
    added_ = table_.TakeRows(0, taken_.added);
    for (auto& [position, block] : taken_.removed)
        table_.PutRows(position, std::move(block));
    table_.ExchangeRows(taken_.replacedRows, taken_.replaced);
}

void ChangesStep::Redo()
{
    table_.ExchangeRows(taken_.replacedRows, taken_.replaced);
    for (std::size_t i = taken_.removed.size(); i-- > 0;)
        taken_.removed[i].second = table_.TakeRows(taken_.removed[i].first, runSizes_[i]);
    table_.PutRows(0, std::move(added_));
}

std::size_t ChangesStep::Bytes() const
{
    std::size_t bytes = sizeof(*this) + BookkeepingBytes() + taken_.replacedRows.capacity() * sizeof(int)
                        + taken_.replaced.Bytes() + added_.Bytes() + runSizes_.capacity() * sizeof(int);
    for (const auto& [position, block] : taken_.removed)
        bytes += sizeof(position) + block.Bytes();
    return bytes;
}

void ChangesStep::Forget()
{
    taken_.replaced = CardTableModel::RowBlock();
    taken_.removed.clear();
    added_ = CardTableModel::RowBlock();
}
