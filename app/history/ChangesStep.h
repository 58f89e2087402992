#pragma once

#include "app/history/CollectionStep.h"
#include "collection/CardTableModel.h"
#include "collection/merge/CollectionChanges.h"

// Changes to many rows at once: Cards replaced in place, rows taken out and
// new Cards at the top, as a re-import or a merge makes them. Undo takes
// the new Cards out, puts the removed rows back where they were and gives
// the replaced rows their old texts; whatever the table lacks, the step
// holds.
class ChangesStep : public CollectionStep {
public:
    // The changes have just been made; taken is what they took out.
    ChangesStep(CardTableModel& table, TakenRows taken, const QString& text);

    std::optional<Card> TouchedCard() const override { return std::nullopt; }
    bool FitsWhenRedone() const override { return true; }
    std::size_t Bytes() const override;
    void Forget() override;

protected:
    void Undo() override;
    void Redo() override;

private:
    CardTableModel& table_;
    TakenRows taken_;
    // The size of each removed run, whose block is in the table while the
    // step is done.
    std::vector<int> runSizes_;
    CardTableModel::RowBlock added_;
};
