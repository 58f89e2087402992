#pragma once

#include "app/history/CollectionStep.h"
#include "collection/CardTableModel.h"

#include <vector>

// An import from CSV: Cards put in at the top, and repeats' quantities added
// into rows below them. Undo takes the Cards out and gives those rows their
// old texts back; whatever the table lacks, the step holds, so an import
// that is done costs the history only the rows whose quantities it changed.
class ImportStep : public CollectionStep {
public:
    // count rows have just been put in at the top, and the listed rows,
    // numbered as they are now, have had their texts replaced; replaced
    // holds their former texts, in the order of the rows.
    ImportStep(CardTableModel& table, int count, std::vector<int> rows, CardTableModel::RowBlock replaced,
               const QString& text);

    std::optional<Card> TouchedCard() const override { return std::nullopt; }
    bool FitsWhenRedone() const override { return true; }
    std::size_t Bytes() const override;
    void Forget() override;

protected:
    void Undo() override;
    void Redo() override;

private:
    CardTableModel& table_;
    int count_;
    std::vector<int> rows_;
    CardTableModel::RowBlock other_;
    CardTableModel::RowBlock held_;
};
