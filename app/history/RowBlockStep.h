#pragma once

#include "app/history/CollectionStep.h"
#include "collection/CardTableModel.h"

// Rows that one change put into the table or took out of it, as one block
// at one position: an Add's Card at the top, a deleted Card. Undo and redo
// move the rows in and out; whatever the table lacks, the step holds, so an
// insert that is done costs the history nothing.
class RowBlockStep : public CollectionStep {
public:
    // The count rows from position on have just been put in. A redo leaves
    // the widths as they are, as Add does.
    static RowBlockStep* Inserted(CardTableModel& table, int position, int count, const QString& text);
    // The block's rows have just been taken out from position on.
    static RowBlockStep* Removed(CardTableModel& table, int position, CardTableModel::RowBlock taken,
                                 const QString& text);

    std::optional<Card> TouchedCard() const override;
    bool FitsWhenRedone() const override { return !inserted_; }
    std::size_t Bytes() const override;
    void Forget() override;

protected:
    void Undo() override { Move(); }
    void Redo() override { Move(); }

private:
    RowBlockStep(CardTableModel& table, int position, int count, bool inserted, const QString& text);
    void Move();

    CardTableModel& table_;
    int position_;
    int count_;
    bool inserted_;
    bool inTable_;
    CardTableModel::RowBlock held_;
};
