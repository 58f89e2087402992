#pragma once

#include "app/history/CollectionStep.h"
#include "collection/CardTableModel.h"

#include <vector>

// Rows whose texts one change replaced in place: an Update's row. The step
// holds the texts the rows do not have now, and undo and redo exchange them.
class SetRowsStep : public CollectionStep {
public:
    // The rows have just been replaced; replaced holds their former texts,
    // in the order of the rows.
    SetRowsStep(CardTableModel& table, std::vector<int> rows, CardTableModel::RowBlock replaced,
                const QString& text);

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
};
