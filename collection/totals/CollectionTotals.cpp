#include "collection/totals/CollectionTotals.h"

#include "collection/CardTableModel.h"
#include "collection/totals/PriceReader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

constexpr std::size_t kMostCostlyCount = 10;

// Currencies are numbered in the order the rows bring them.
struct Spent {
    bool priced = false;
    Hundredths paid = 0;
};

struct Tally {
    std::int64_t cards = 0;
    std::int64_t copies = 0;
    std::vector<Spent> spent;
};

class Groups {
public:
    Tally& At(std::string_view value)
    {
        const auto [at, added] = index_.try_emplace(value, tallies_.size());
        if (added)
            tallies_.emplace_back(value, Tally{});
        return tallies_[at->second].second;
    }

    // order lists the currency numbers as the totals show them.
    std::vector<GroupTotals> Finish(const std::vector<std::size_t>& order,
                                    const std::vector<std::string_view>& currencies)
    {
        std::sort(tallies_.begin(), tallies_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<GroupTotals> groups;
        groups.reserve(tallies_.size());
        for (const auto& [value, tally] : tallies_) {
            GroupTotals group{std::string(value), tally.cards, tally.copies, {}};
            for (const std::size_t currency : order) {
                if (currency < tally.spent.size() && tally.spent[currency].priced)
                    group.paid.push_back({currencies[currency], tally.spent[currency].paid});
            }
            groups.push_back(std::move(group));
        }
        return groups;
    }

private:
    std::unordered_map<std::string_view, std::size_t> index_;
    std::vector<std::pair<std::string_view, Tally>> tallies_;
};

bool Dearer(const CostlyCard& a, const CostlyCard& b)
{
    return a.price > b.price || (a.price == b.price && a.row < b.row);
}

bool LargerGain(const CardGain& a, const CardGain& b)
{
    return a.gain > b.gain || (a.gain == b.gain && a.row < b.row);
}

bool LargerLoss(const CardGain& a, const CardGain& b)
{
    return a.gain < b.gain || (a.gain == b.gain && a.row < b.row);
}

// Keeps the kMostCostlyCount first of a list in the order before says.
template <typename Item, typename Before>
void AddRanked(std::vector<Item>& list, Item item, Before before)
{
    if (list.size() == kMostCostlyCount && !before(item, list.back()))
        return;
    list.insert(std::upper_bound(list.begin(), list.end(), item, before), item);
    if (list.size() > kMostCostlyCount)
        list.pop_back();
}

// YYYY-MM-DD, which sorts as text in the order of the days.
bool IsDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t at : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[at] < '0' || text[at] > '9')
            return false;
    }
    return true;
}

class Counter {
public:
    // Without groups, only the counts, the copies and what was paid, by
    // currency, are kept: no groups, dearest Cards or unreadable values.
    Counter(const CardTableModel& table, bool groups)
        : table_(table)
        , groups_(groups)
    {
    }

    void Add(int row)
    {
        ++totals_.cards;
        const std::optional<std::int64_t> copies = ReadQuantity(table_.Cell(row, QuantityField));
        const std::string_view priceText = table_.Cell(row, PriceField);
        const std::optional<PriceAmount> price = ReadPrice(priceText);
        std::size_t currency = 0;
        Hundredths spent = 0;
        if (price) {
            currency = CurrencyNumber(price->currency);
            CurrencyPaid& paid = totals_.paid[currency];
            ++paid.cards;
            spent = copies ? Hundredths(price->hundredths) * *copies : 0;
            paid.paid += spent;
        }
        totals_.copies += copies.value_or(0);
        AddValue(row, price, copies);
        if (!groups_)
            return;

        if (price)
            AddRanked(totals_.paid[currency].mostCostly, CostlyCard{row, price->hundredths}, Dearer);
        else if (IsBlank(priceText))
            ++totals_.unpriced;
        else
            totals_.unreadable.push_back({row, PriceField});
        if (!copies)
            totals_.unreadable.push_back({row, QuantityField});
        Tally* tallies[] = {&series_.At(table_.Cell(row, SeriesField)),
                            &conditions_.At(table_.Cell(row, ConditionField)),
                            &years_.At(table_.Cell(row, YearField))};
        for (Tally* tally : tallies) {
            ++tally->cards;
            tally->copies += copies.value_or(0);
            if (!price)
                continue;
            if (tally->spent.size() <= currency)
                tally->spent.resize(currency + 1);
            tally->spent[currency].priced = true;
            tally->spent[currency].paid += spent;
        }
    }

    CollectionTotals Finish(bool filtered)
    {
        totals_.filtered = filtered;
        std::vector<std::size_t> order(totals_.paid.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const CurrencyPaid& first = totals_.paid[a];
            const CurrencyPaid& second = totals_.paid[b];
            return first.cards > second.cards || (first.cards == second.cards && first.currency < second.currency);
        });
        std::vector<std::string_view> currencies;
        std::vector<CurrencyPaid> paid;
        for (const CurrencyPaid& each : totals_.paid)
            currencies.push_back(each.currency);
        for (const std::size_t currency : order)
            paid.push_back(std::move(totals_.paid[currency]));
        totals_.paid = std::move(paid);

        totals_.bySeries = series_.Finish(order, currencies);
        totals_.byCondition = conditions_.Finish(order, currencies);
        totals_.byYear = years_.Finish(order, currencies);
        std::sort(totals_.value.begin(), totals_.value.end(), [](const CurrencyValue& a, const CurrencyValue& b) {
            return a.cards > b.cards || (a.cards == b.cards && a.currency < b.currency);
        });
        totals_.valueDate = valueDate_;
        std::sort(totals_.unreadable.begin(), totals_.unreadable.end(),
                  [](const UnreadableValue& a, const UnreadableValue& b) {
                      return a.row < b.row || (a.row == b.row && a.field < b.field);
                  });
        return std::move(totals_);
    }

private:
    std::size_t CurrencyNumber(std::string_view currency)
    {
        // Most collections use one currency, most of the rest two.
        for (std::size_t i = 0; i < totals_.paid.size(); ++i) {
            if (totals_.paid[i].currency == currency)
                return i;
        }
        totals_.paid.push_back({currency, 0, 0, {}});
        return totals_.paid.size() - 1;
    }

    void AddValue(int row, const std::optional<PriceAmount>& price, const std::optional<std::int64_t>& copies)
    {
        const std::string_view marketText = table_.Cell(row, MarketField);
        const bool blank = IsBlank(marketText);
        if (!blank)
            ++totals_.marketed;
        const std::optional<PriceAmount> market = blank ? std::nullopt : ReadPrice(marketText);
        if (!market) {
            ++totals_.notValued;
            return;
        }
        CurrencyValue& value = ValueOf(market->currency);
        ++value.cards;
        const std::int64_t counted = copies.value_or(0);
        value.value += Hundredths(market->hundredths) * counted;
        const std::string_view date = table_.Cell(row, MarketDateField);
        if (IsDate(date) && (valueDate_.empty() || date < valueDate_))
            valueDate_ = date;
        if (!price || price->currency != market->currency || !copies)
            return;
        const Hundredths gain = (Hundredths(market->hundredths) - price->hundredths) * counted;
        ++value.compared;
        value.gain += gain;
        if (!groups_ || gain == 0)
            return;
        if (gain > 0)
            AddRanked(value.gains, CardGain{row, gain}, LargerGain);
        else
            AddRanked(value.losses, CardGain{row, gain}, LargerLoss);
    }

    CurrencyValue& ValueOf(std::string_view currency)
    {
        for (CurrencyValue& value : totals_.value) {
            if (value.currency == currency)
                return value;
        }
        totals_.value.push_back({});
        totals_.value.back().currency = currency;
        return totals_.value.back();
    }

    const CardTableModel& table_;
    bool groups_;
    CollectionTotals totals_;
    Groups series_;
    Groups conditions_;
    Groups years_;
    std::string_view valueDate_;
};

CollectionTotals CountEveryRow(const CardTableModel& table, bool groups)
{
    Counter counter(table, groups);
    for (int row = 0; row < table.rowCount(); ++row)
        counter.Add(row);
    return counter.Finish(false);
}

} // namespace

CollectionTotals TotalsOf(const CardTableModel& table)
{
    return CountEveryRow(table, true);
}

CollectionTotals TotalsOf(const CardTableModel& table, std::span<const int> rows)
{
    Counter counter(table, true);
    for (const int row : rows)
        counter.Add(row);
    return counter.Finish(true);
}

CollectionTotals SumsOf(const CardTableModel& table)
{
    return CountEveryRow(table, false);
}
