#pragma once

#include "app/history/CollectionStep.h"
#include "collection/CardTableModel.h"

#include <vector>

// Rows whose texts one change replaced in place: an Update's row, or every
// row a market refresh valued. The step holds the texts the rows do not
// have now, and undo and redo exchange them.
class SetRowsStep : public CollectionStep {
public:
    // The rows have just been replaced; replaced holds their former texts,
    // in the order of the rows.
    // A step that shows its Card puts the first row's Card in the fields
    // when undone or redone, as an Update's does.
    SetRowsStep(CardTableModel& table, std::vector<int> rows, CardTableModel::RowBlock replaced,
                const QString& text, bool showsCard = true);

    std::optional<Card> TouchedCard() const override;
    bool FitsWhenRedone() const override { return true; }
    std::size_t Bytes() const override;
    void Forget() override;

protected:
    void Undo() override;
    void Redo() override;

private:
    CardTableModel& table_;
    std::vector<int> rows_;
    CardTableModel::RowBlock other_;
    bool showsCard_;
};
