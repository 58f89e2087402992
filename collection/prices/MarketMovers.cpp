#include "collection/prices/MarketMovers.h"

#include "collection/CardTableModel.h"
#include "collection/prices/PrintingKey.h"

#include <QHash>

#include <algorithm>

MarketMovers FindMarketMovers(PriceHistory& history, QDate since, const CardTableModel& table, int count)
{
    MarketMovers movers;
    std::vector<PriceChange> changes = history.ChangesSince(since);
    if (changes.empty())
        return movers;
    QHash<QString, int> rows;
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        const QString key = PrintingKey(table.RowCard(row), table.Encoding());
        if (!key.isEmpty())
            rows.insert(key, row);
    }
    std::sort(changes.begin(), changes.end(),
              [](const PriceChange& a, const PriceChange& b) { return a.change > b.change; });
    for (const PriceChange& change : changes) {
        const auto row = rows.constFind(change.key);
        if (change.change > 0 && row != rows.constEnd() && int(movers.risers.size()) < count)
            movers.risers.push_back({*row, change});
    }
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        const auto row = rows.constFind(change->key);
        if (change->change < 0 && row != rows.constEnd() && int(movers.fallers.size()) < count)
            movers.fallers.push_back({*row, *change});
    }
    return movers;
}
