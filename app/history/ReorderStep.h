#pragma once

#include "app/history/CollectionStep.h"
#include "collection/ColumnSort.h"

class CardTableModel;

// A new order of the rows: a column click. A reversal keeps nothing; a sort
// keeps its permutation, four bytes a row, and no row texts.
class ReorderStep : public CollectionStep {
public:
    ReorderStep(CardTableModel& table, ColumnSortResult change, const QString& text);

    std::optional<Card> TouchedCard() const override { return std::nullopt; }
    // A column click leaves the widths as they are.
    bool FitsWhenRedone() const override { return false; }
    std::size_t Bytes() const override;
    void Forget() override;

protected:
    void Undo() override;
    void Redo() override;

private:
    CardTableModel& table_;
    ColumnSortResult change_;
};
