#include "collection/merge/CollectionChanges.h"

#include "collection/ChoiceListModel.h"

#include <string_view>
#include <unordered_set>

namespace {

void AddChoices(const CardTableModel::RowBlock& block, int field, std::unordered_set<std::string_view>& seen,
                std::vector<std::string>& texts)
{
    for (int index = 0; index < block.size(); ++index) {
        if (seen.insert(block.Cell(index, field)).second)
            texts.emplace_back(block.Cell(index, field));
    }
}

std::vector<std::string> NewChoices(const CardTableModel::RowBlock& replacing, const CardTableModel::RowBlock& added,
                                    int field)
{
    std::unordered_set<std::string_view> seen;
    std::vector<std::string> texts;
    AddChoices(replacing, field, seen, texts);
    AddChoices(added, field, seen, texts);
    return texts;
}

} // namespace

TakenRows ApplyCollectionChanges(CollectionChanges changes, CardTableModel& table, ChoiceListModel& series,
                                 ChoiceListModel& conditions)
{
    TakenRows taken;
    for (const auto& [row, card] : changes.replaced) {
        taken.replacedRows.push_back(row);
        taken.replaced.Append(card);
    }
    const std::vector<std::string> seriesTexts = NewChoices(taken.replaced, changes.added, SeriesField);
    const std::vector<std::string> conditionTexts = NewChoices(taken.replaced, changes.added, ConditionField);
    table.ExchangeRows(taken.replacedRows, taken.replaced);

    // Runs are taken out bottom first, so that the rows above keep their numbers.
    std::vector<std::pair<int, int>> runs;
    for (const int row : changes.removed) {
        if (!runs.empty() && runs.back().first + runs.back().second == row)
            ++runs.back().second;
        else
            runs.emplace_back(row, 1);
    }
    taken.removed.resize(runs.size());
    for (std::size_t i = runs.size(); i-- > 0;)
        taken.removed[i] = {runs[i].first, table.TakeRows(runs[i].first, runs[i].second)};

    taken.added = changes.added.size();
    table.PutRows(0, std::move(changes.added));
    series.AddAll(seriesTexts);
    conditions.AddAll(conditionTexts);
    return taken;
}
