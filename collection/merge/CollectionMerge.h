#pragma once

#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/merge/CollectionChanges.h"

#include <QString>

#include <cstddef>
#include <vector>

// Two copies of a collection merged Card by Card, with no common ancestor
// to tell a removal from an addition: a Card on one side only is kept (a
// Card removed on one side thus comes back), identical Cards are one, and a
// Card of the same identity (CardIdentity) with other texts on each side is
// a conflict for the collector to settle. Cards of one identity are paired
// exact copies first, then in table order.
struct CollectionMerge {
    struct Conflict {
        int row;
        Card mine;
        Card theirs;
        bool takeTheirs = false;
    };

    // Their Cards that this collection lacks, top first.
    std::vector<Card> added;
    // Ascending rows of this collection.
    std::vector<Conflict> conflicts;
    std::size_t same = 0;
    std::size_t onlyMine = 0;

    bool Empty() const { return added.empty() && conflicts.empty(); }
};

CollectionMerge MergeCollections(const CardTableModel& mine, const CardTableModel& theirs);

// The merge as changes: their new Cards at the top, and theirs in place of
// mine where the collector took theirs.
CollectionChanges MergeChanges(CollectionMerge merge);
