#include "ReimportBenchmarks.h"

#include "CardGenerator.h"
#include "Measure.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/merge/ChangeText.h"
#include "collection/merge/ReimportDiff.h"

#include <cstdio>
#include <string>

namespace {

// A generated Card as the app exported it: its printing is its position.
Card AppCard(std::uint64_t index)
{
    Card card = GeneratedCard(index);
    AddGeneratedDetails(card, index);
    card[PrintField] = "scryfall:" + std::to_string(index);
    card[SourceField] = "Moxfield";
    return card;
}

} // namespace

bool RunReimportBenchmark(std::uint64_t cards)
{
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    for (std::uint64_t index = 0; index < cards; ++index)
        rows.Append(AppCard(index));
    table.SetRowsBottomFirst(std::move(rows));

    CardTableModel::RowBlock export_;
    export_.Reserve(cards);
    std::uint64_t sold = 0;
    std::uint64_t changed = 0;
    std::uint64_t bought = 0;
    for (std::uint64_t index = 0; index < cards; ++index) {
        Card card = AppCard(index);
        if (index % 100 == 1) {
            ++sold;
            continue;
        }
        if (index % 100 == 2) {
            card[PriceField] += "0";
            ++changed;
        }
        // Another printing in its place: the old one goes, the new one comes.
        if (index % 100 == 3) {
            card = AppCard(cards + index);
            ++bought;
        }
        export_.Append(card);
    }

    ReimportDiff diff;
    Report(cards, "reimport_diff", TimeWithEvents([&] { diff = DiffReimport(table, export_); }));
    QStringList lines;
    Report(cards, "reimport_preview", TimeWithEvents([&] {
               diff = DiffReimport(table, export_);
               lines = ReimportLines(diff, table.Encoding());
           }));
    const bool sound = diff.added.size() == bought && diff.changed.size() == changed
                       && diff.removed.size() == sold + bought
                       && std::uint64_t(lines.size()) == diff.added.size() + diff.changed.size() + diff.removed.size();
    ChoiceListModel series;
    ChoiceListModel conditions;
    Report(cards, "reimport_apply", TimeWithEvents([&] {
               ApplyCollectionChanges(AcceptedChanges(std::move(diff)), table, series, conditions);
           }));
    if (!sound)
        std::fprintf(stderr, "%llu cards: the re-import's diff is not the one made\n",
                     static_cast<unsigned long long>(cards));
    return sound && std::uint64_t(table.rowCount()) == cards - sold;
}
