#include "pages/lists/CardLists.h"

#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/totals/PriceReader.h"

#include <QString>

#include <optional>

bool CountAboveZero(std::string_view count)
{
    // A blank Quantity is one copy; a blank Trade or Want count is none.
    if (count.find_first_not_of(" \t") == std::string_view::npos)
        return false;
    const std::optional<std::int64_t> value = ReadQuantity(count);
    return value && *value > 0;
}

std::vector<int> ListRows(const CardListPage& list, const CardTableModel& table)
{
    std::vector<int> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (CountAboveZero(table.Cell(row, list.count)))
            rows.push_back(row);
    }
    return rows;
}

void PublishCardList(const CardListPage& list, const CardTableModel& table, Preferences& prefs,
                     MessageInterface& messages)
{
    const std::vector<int> rows = ListRows(list, table);
    if (rows.empty()) {
        messages.ShowInformation(QString::fromUtf8(list.noCard), QString::fromUtf8(list.caption));
        return;
    }
    const PageTemplateTexts templates = LoadPageTemplates(list.page, messages);
    PublishPage(list.page, templates, table, rows, prefs, messages);
}
