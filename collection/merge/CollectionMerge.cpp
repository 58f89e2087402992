#include "collection/merge/CollectionMerge.h"

#include "collection/merge/CardIdentity.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <string>
#include <unordered_map>

CollectionMerge MergeCollections(const CardTableModel& mine, const CardTableModel& theirs)
{
    CollectionMerge merge;
    std::unordered_map<std::size_t, std::vector<int>> byHash;
    std::unordered_map<std::string, std::vector<int>> byIdentity;
    for (int row = 0; row < mine.rowCount(); ++row) {
        byHash[CardHash(mine, row)].push_back(row);
        byIdentity[CardIdentity(mine, row)].push_back(row);
    }
    std::vector<char> paired(std::size_t(mine.rowCount()), 0);
    std::vector<char> theirsPaired(std::size_t(theirs.rowCount()), 0);
    for (int index = 0; index < theirs.rowCount(); ++index) {
        const Card card = theirs.RowCard(index);
        const auto found = byHash.find(CardHash(card));
        if (found == byHash.end())
            continue;
        std::vector<int>& rows = found->second;
        for (std::size_t at = 0; at < rows.size(); ++at) {
            if (RowEquals(mine, rows[at], card)) {
                paired[std::size_t(rows[at])] = 1;
                theirsPaired[std::size_t(index)] = 1;
                rows[at] = rows.back();
                rows.pop_back();
                ++merge.same;
                break;
            }
        }
    }
    std::unordered_map<std::string, std::size_t> next;
    for (int index = 0; index < theirs.rowCount(); ++index) {
        if (theirsPaired[std::size_t(index)])
            continue;
        Card card = theirs.RowCard(index);
        const std::string identity = CardIdentity(card);
        int row = -1;
        const auto found = byIdentity.find(identity);
        if (found != byIdentity.end()) {
            std::size_t& at = next[identity];
            while (at < found->second.size() && paired[std::size_t(found->second[at])])
                ++at;
            if (at < found->second.size())
                row = found->second[at++];
        }
        if (row < 0) {
            merge.added.push_back(std::move(card));
            continue;
        }
        paired[std::size_t(row)] = 1;
        merge.conflicts.push_back({row, mine.RowCard(row), std::move(card)});
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

bool TakeEncoding(CardTableModel& table, TextEncoding encoding, const QString& path, QString& reason)
{
    if (table.Encoding() == encoding)
        return true;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            std::string bytes;
            char32_t unstorable = 0;
            if (!EncodeText(DecodeText(table.Cell(row, field), table.Encoding()), encoding, bytes, &unstorable)) {
                reason = QString::fromUtf8(Text::MergeUnstorable).arg(path, QString::fromUcs4(&unstorable, 1));
                return false;
            }
            if (bytes != table.Cell(row, field))
                table.SetCell(row, field, bytes);
        }
    }
    table.SetEncoding(encoding);
    return true;
}
