#pragma once

#include "collection/Card.h"
#include "collection/ColumnSort.h"

#include <QObject>
#include <QUndoStack>

#include <cstddef>
#include <vector>

class CardEntry;
class CardTableModel;
class CardTableView;
class ChoiceListModel;
class CollectionStep;
class QAction;
struct CollectionChanges;
struct CsvImportResult;

// The session's history of changes to the collection, on Qt's undo stack.
// Add, Update, Delete and the column click run through it and are kept as
// one step each; undo and redo put back the table's rows, the selection mark
// and the fitted widths. It stays within a memory budget by forgetting its
// oldest steps, and is not written anywhere.
class CollectionHistory : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t kDefaultBudget = std::size_t(32) << 20;

    CollectionHistory(CardEntry& entry, CardTableModel& table, CardTableView& view,
                      std::size_t budgetBytes = kDefaultBudget);
    ~CollectionHistory() override;

    // The commands, as CardEntry and the column sort run them; a command
    // that changes no row keeps no step.
    bool Add(const Card& card);
    bool Update(int row, const Card& card);
    bool Delete(int row);
    // A column click, by the column's bytes or as numbers; true when it
    // reversed the rows, which were in that order already.
    bool SortByColumn(int column, ColumnOrder order = ColumnOrder::Text);
    // Replaces the rows' Cards in place, as one step named text; the fields
    // are left alone when it is undone. Rows outside the table are skipped.
    void ReplaceRows(const std::vector<int>& rows, const std::vector<Card>& cards, const QString& text);
    // Applies an import, as ApplyCsvImport does, as one step.
    void Import(CsvImportResult result, ChoiceListModel& series, ChoiceListModel& conditions);
    // Makes changes to many rows, as ApplyCollectionChanges does, as one
    // step of that name; changes that change nothing keep no step.
    void ApplyChanges(CollectionChanges changes, ChoiceListModel& series, ChoiceListModel& conditions,
                      const QString& text);

    bool CanUndo() const;
    bool CanRedo() const;
    // Forgets every step: the table now holds another collection.
    void Clear();
    // Undoes or redoes the last step; fields gets the Card the step touched,
    // if it touched one. False when there was nothing to undo or redo.
    bool Undo(Card& fields);
    bool Redo(Card& fields);

    // Gives the actions their keys, and keeps their texts and states with
    // the history's.
    void BindActions(QAction& undo, QAction& redo);

    // The memory all the steps take, forgotten ones too.
    std::size_t Bytes() const;

signals:
    // A step was recorded, undone or redone.
    void Changed();

private:
    void Record(CollectionStep* step, int markBefore);
    void KeepWithinBudget();
    void Show(const CollectionStep& step, int mark, bool fit, Card& fields);

    CardEntry& entry_;
    CardTableModel& table_;
    CardTableView& view_;
    std::size_t budget_;
    QUndoStack stack_;
    // The stack's steps, which it owns, in its order.
    std::vector<CollectionStep*> steps_;
    // Steps below this one were forgotten and cannot be undone.
    std::size_t floor_ = 0;
};
