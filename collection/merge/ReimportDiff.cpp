#include "collection/merge/ReimportDiff.h"

#include "collection/merge/CardIdentity.h"

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

// The rows of one identity, in table order, and the first that may still be
// unpaired: they are paired in order, so the earlier ones are taken.
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

    // The apps' Cards in the collection, by identity and by all their texts.
    std::unordered_map<std::string, Candidates> byIdentity;
    std::unordered_map<std::size_t, std::vector<int>> byHash;
    std::vector<char> paired(std::size_t(collection.rowCount()), 0);
    for (int row = 0; row < collection.rowCount(); ++row) {
        const std::string_view source = collection.Cell(row, SourceField);
        if (source.empty() || !sources.contains(source))
            continue;
        diff.known = true;
        byIdentity[SourcedIdentity(source, CardIdentity(collection, row))].rows.push_back(row);
        byHash[CardHash(collection, row)].push_back(row);
    }

    // Exact copies first, so that a Card that only moved among its
    // identity's rows is not paired with its neighbour and shown changed.
    std::vector<Card> cards(std::size_t(imported.size()));
    std::vector<int> pairs(cards.size(), -1);
    for (int index = 0; index < imported.size(); ++index) {
        Card& card = cards[std::size_t(index)];
        card = imported.CardAt(index);
        if (card[SourceField].empty())
            continue;
        const auto found = byHash.find(CardHash(card));
        if (found == byHash.end())
            continue;
        // Exact copies are all alike: which of them pairs does not matter.
        std::vector<int>& rows = found->second;
        for (std::size_t at = 0; at < rows.size(); ++at) {
            if (RowEquals(collection, rows[at], card)) {
                pairs[std::size_t(index)] = rows[at];
                paired[std::size_t(rows[at])] = 1;
                rows[at] = rows.back();
                rows.pop_back();
                ++diff.unchanged;
                break;
            }
        }
    }
    for (std::size_t index = 0; index < cards.size(); ++index) {
        Card& card = cards[index];
        if (pairs[index] >= 0)
            continue;
        int row = -1;
        if (!card[SourceField].empty()) {
            const auto found = byIdentity.find(SourcedIdentity(card[SourceField], CardIdentity(card)));
            if (found != byIdentity.end()) {
                Candidates& candidates = found->second;
                while (candidates.next < candidates.rows.size() && paired[std::size_t(candidates.rows[candidates.next])])
                    ++candidates.next;
                if (candidates.next < candidates.rows.size())
                    row = candidates.rows[candidates.next++];
            }
        }
        if (row < 0) {
            diff.added.push_back({std::move(card)});
            continue;
        }
        paired[std::size_t(row)] = 1;
        diff.changed.push_back({row, collection.RowCard(row), std::move(card)});
    }
    for (const auto& [row, quantity] : quantities) {
        Card after = collection.RowCard(row);
        after[QuantityField] = quantity;
        diff.changed.push_back({row, collection.RowCard(row), std::move(after)});
    }
    std::sort(diff.changed.begin(), diff.changed.end(),
              [](const ReimportDiff::Changed& a, const ReimportDiff::Changed& b) { return a.row < b.row; });
    for (const auto& [identity, candidates] : byIdentity) {
        for (const int row : candidates.rows) {
            if (!paired[std::size_t(row)])
                diff.removed.push_back({row, collection.RowCard(row)});
        }
    }
    std::sort(diff.removed.begin(), diff.removed.end(),
              [](const ReimportDiff::Removed& a, const ReimportDiff::Removed& b) { return a.row < b.row; });
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
