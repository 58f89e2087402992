#include "collection/merge/ReimportDiff.h"

#include "collection/merge/CardIdentity.h"
#include "collection/merge/ExactCopies.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// The app's name and the identity: one app's Card never pairs with another's.
std::string SourcedIdentity(std::string_view source, std::string identity)
{
    return std::to_string(source.size()) + ':' + std::string(source) + identity;
}

// The unpaired rows of one identity, in table order, and the first not yet
// paired: they are paired in order.
struct Candidates {
    std::vector<int> rows;
    std::size_t next = 0;
};

} // namespace

bool IsAppImport(const CardTableModel::RowBlock& imported)
{
    for (int index = 0; index < imported.size(); ++index) {
        if (!imported.Cell(index, SourceField).empty())
            return true;
    }
    return false;
}

ReimportDiff DiffReimport(const CardTableModel& collection, const CardTableModel::RowBlock& imported,
                          const std::map<int, std::string>& quantities)
{
    ReimportDiff diff;
    std::unordered_set<std::string_view> sources;
    for (int index = 0; index < imported.size(); ++index) {
        if (!imported.Cell(index, SourceField).empty())
            sources.insert(imported.Cell(index, SourceField));
    }

    // Exact copies first, so that a Card that only moved among its
    // identity's rows is not paired with its neighbour and shown changed.
    ExactCopies copies(collection);
    std::vector<int> appRows;
    for (int row = 0; row < collection.rowCount(); ++row) {
        const std::string_view source = collection.Cell(row, SourceField);
        if (!source.empty() && sources.contains(source)) {
            copies.Add(row);
            appRows.push_back(row);
        }
    }
    diff.known = !appRows.empty();
    std::vector<char> paired(std::size_t(collection.rowCount()), 0);
    std::vector<int> left;
    for (int index = 0; index < imported.size(); ++index) {
        const int row = imported.Cell(index, SourceField).empty() ? -1 : copies.Take(imported, index);
        if (row < 0) {
            left.push_back(index);
            continue;
        }
        paired[std::size_t(row)] = 1;
        ++diff.unchanged;
    }

    // The rest by identity, in order; an app's Card never pairs with another's.
    std::unordered_map<std::string, Candidates> byIdentity;
    for (const int row : appRows) {
        if (!paired[std::size_t(row)]) {
            const std::string_view source = collection.Cell(row, SourceField);
            byIdentity[SourcedIdentity(source, CardIdentity(collection, row))].rows.push_back(row);
        }
    }
    for (const int index : left) {
        int row = -1;
        const std::string_view source = imported.Cell(index, SourceField);
        if (!source.empty()) {
            const auto found = byIdentity.find(SourcedIdentity(source, CardIdentity(imported, index)));
            if (found != byIdentity.end() && found->second.next < found->second.rows.size())
                row = found->second.rows[found->second.next++];
        }
        if (row < 0) {
            diff.added.push_back({imported.CardAt(index)});
            continue;
        }
        paired[std::size_t(row)] = 1;
        diff.changed.push_back({row, collection.RowCard(row), imported.CardAt(index)});
    }
    for (const auto& [row, quantity] : quantities) {
        Card after = collection.RowCard(row);
        after[QuantityField] = quantity;
        diff.changed.push_back({row, collection.RowCard(row), std::move(after)});
    }
    std::sort(diff.changed.begin(), diff.changed.end(),
              [](const ReimportDiff::Changed& a, const ReimportDiff::Changed& b) { return a.row < b.row; });
    for (const int row : appRows) {
        if (!paired[std::size_t(row)])
            diff.removed.push_back({row, collection.RowCard(row)});
    }
    return diff;
}

CollectionChanges AcceptedChanges(ReimportDiff diff)
{
    CollectionChanges changes;
    for (ReimportDiff::Changed& changed : diff.changed) {
        if (changed.accepted)
            changes.replaced.emplace_back(changed.row, std::move(changed.after));
    }
    for (const ReimportDiff::Removed& removed : diff.removed) {
        if (removed.accepted)
            changes.removed.push_back(removed.row);
    }
    changes.added.Reserve(diff.added.size());
    for (const ReimportDiff::Added& added : diff.added) {
        if (added.accepted)
            changes.added.Append(added.card);
    }
    return changes;
}
