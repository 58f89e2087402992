#include "StatisticsBenchmarks.h"

#include "CardGenerator.h"
#include "Measure.h"
#include "QuietMessages.h"

#include "app/statistics/StatisticsWindow.h"
#include "collection/CardTableModel.h"
#include "collection/sets/SetCompletion.h"
#include "collection/totals/CollectionTotals.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 5;

// A market price near what was paid, now above, now below, in the Price's
// currency where it has one; no market price for one Card in four.
void AddMarket(Card& card, std::uint64_t index)
{
    if (index % 4 == 3)
        return;
    const std::string& price = card[PriceField];
    const std::size_t digit = price.find_first_of("0123456789");
    const std::string sign = digit == std::string::npos ? "$" : price.substr(0, digit);
    card[MarketField] = sign + std::to_string(1 + index % 97) + '.' + std::to_string(10 + index % 90);
    card[MarketDateField] = "2026-11-" + std::to_string(10 + index % 20);
}

template <typename Action>
Duration MedianOf(Action&& action)
{
    std::vector<Duration> samples;
    for (int run = 0; run < kRuns; ++run)
        samples.push_back(TimeWithEvents(action));
    return Median(samples);
}

} // namespace

bool RunStatisticsBenchmarks(std::uint64_t cards)
{
    CardTableModel table;
    CardTableModel::RowBlock block;
    block.Reserve(cards);
    for (std::uint64_t index = 0; index < cards; ++index) {
        Card card = GeneratedCard(index);
        AddGeneratedDetails(card, index);
        AddMarket(card, index);
        block.Append(card);
    }
    table.PutRows(0, std::move(block));
    std::vector<int> half;
    for (int row = 0; row < table.rowCount(); row += 2)
        half.push_back(row);

    std::int64_t valued = 0;
    Report(cards, "statistics_totals", MedianOf([&] { valued = TotalsOf(table).value.size(); }));
    Report(cards, "statistics_totals_filtered", MedianOf([&] { TotalsOf(table, half); }));
    QuietMessages messages;
    Report(cards, "statistics_window_open", MedianOf([&] { StatisticsWindow window(table, messages); }));
    Report(cards, "set_completion_sets", MedianOf([&] { SetsOf(table); }));
    return valued > 0;
}
