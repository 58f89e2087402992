#include "collection/merge/CollectionMerge.h"

#include "collection/merge/CardIdentity.h"
#include "collection/merge/ExactCopies.h"

#include <algorithm>
#include <string>
#include <unordered_map>

CollectionMerge MergeCollections(const CardTableModel& mine, const CardTableModel& theirs)
{
    CollectionMerge merge;
    ExactCopies copies(mine);
    for (int row = 0; row < mine.rowCount(); ++row)
        copies.Add(row);
    std::vector<char> paired(std::size_t(mine.rowCount()), 0);
    std::vector<int> left;
    for (int index = 0; index < theirs.rowCount(); ++index) {
        const int row = copies.Take(theirs, index);
        if (row < 0) {
            left.push_back(index);
            continue;
        }
        paired[std::size_t(row)] = 1;
        ++merge.same;
    }
    // Their other Cards pair by identity with my unpaired rows, in order.
    std::unordered_map<std::string, std::vector<int>> byIdentity;
    for (int row = 0; row < mine.rowCount(); ++row) {
        if (!paired[std::size_t(row)])
            byIdentity[CardIdentity(mine, row)].push_back(row);
    }
    std::unordered_map<std::string, std::size_t> next;
    for (const int index : left) {
        const std::string identity = CardIdentity(theirs, index);
        int row = -1;
        const auto found = byIdentity.find(identity);
        if (found != byIdentity.end()) {
            std::size_t& at = next[identity];
            if (at < found->second.size())
                row = found->second[at++];
        }
        if (row < 0) {
            merge.added.push_back(theirs.RowCard(index));
            continue;
        }
        paired[std::size_t(row)] = 1;
        merge.conflicts.push_back({row, mine.RowCard(row), theirs.RowCard(index)});
    }
    std::sort(merge.conflicts.begin(), merge.conflicts.end(),
              [](const CollectionMerge::Conflict& a, const CollectionMerge::Conflict& b) { return a.row < b.row; });
    merge.onlyMine = std::size_t(std::count(paired.begin(), paired.end(), 0));
    return merge;
}

CollectionChanges MergeChanges(CollectionMerge merge)
{
    CollectionChanges changes;
    for (CollectionMerge::Conflict& conflict : merge.conflicts) {
        if (conflict.takeTheirs)
            changes.replaced.emplace_back(conflict.row, std::move(conflict.theirs));
    }
    changes.added.Reserve(merge.added.size());
    for (const Card& card : merge.added)
        changes.added.Append(card);
    return changes;
}

