#pragma once

#include "collection/Card.h"
#include "collection/CardTableModel.h"

#include <utility>
#include <vector>

class ChoiceListModel;

// Changes to many rows made as one: Cards replaced in place, rows taken
// out, and new Cards put in at the top, as an import puts them.
struct CollectionChanges {
    // Rows of the table as it is, ascending, each with the Card it becomes.
    std::vector<std::pair<int, Card>> replaced;
    // Rows of the table as it is that go, ascending; none of them replaced.
    std::vector<int> removed;
    // The new Cards, top first.
    CardTableModel::RowBlock added;

    bool Empty() const { return replaced.empty() && removed.empty() && added.size() == 0; }
};

// What ApplyCollectionChanges took out of the table, enough to put it back.
struct TakenRows {
    // The replaced rows, and what they held, in the same order.
    std::vector<int> replacedRows;
    CardTableModel::RowBlock replaced;
    // The removed rows in runs of neighbours, each with the position of its
    // first row in the table as it was; top run first.
    std::vector<std::pair<int, CardTableModel::RowBlock>> removed;
    int added = 0;
};

// Makes the changes: the replacements, then the removals, then the new
// Cards at the top; the new Series and Conditions go into the choice lists.
TakenRows ApplyCollectionChanges(CollectionChanges changes, CardTableModel& table, ChoiceListModel& series,
                                 ChoiceListModel& conditions);
