#include "collection/totals/NumberSort.h"

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/totals/PriceReader.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <cstdint>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

// What a cell says, as it is ordered.
struct NumberKey {
    enum Kind : std::uint8_t { Number, Words, Blank };
    Kind kind = Blank;
    std::string_view currency;
    std::int64_t value = 0;
    // The collator's key of a cell ordered by its words.
    std::optional<QCollatorSortKey> words;
};

bool Less(const NumberKey& a, const NumberKey& b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.kind == NumberKey::Number)
        return std::tie(a.currency, a.value) < std::tie(b.currency, b.value);
    if (a.kind == NumberKey::Words)
        return a.words->compare(*b.words) < 0;
    return false;
}

std::optional<std::int64_t> ReadNumber(int column, std::string_view text, std::string_view& currency)
{
    if (column == PriceField) {
        const std::optional<PriceAmount> price = ReadPrice(text);
        if (!price)
            return std::nullopt;
        currency = price->currency;
        return price->hundredths;
    }
    return ReadQuantity(text);
}

} // namespace

ColumnSortResult SortRowsAsNumbers(CardTableModel& table, int column)
{
    const bool numbers = column == PriceField || column == YearField || column == QuantityField
                         || column == TradeField || column == WantField;
    // The C locale's collator orders by code point, and knows no numbers:
    // there the common order of every language stands in.
    QLocale language;
    if (language.language() == QLocale::C)
        language = QLocale(QLocale::English);
    QCollator collator(language);
    collator.setNumericMode(true);
    std::vector<NumberKey> keys(static_cast<std::size_t>(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::string_view text = table.Cell(row, column);
        NumberKey& key = keys[std::size_t(row)];
        if (IsBlank(text))
            continue;
        if (numbers) {
            if (const std::optional<std::int64_t> value = ReadNumber(column, text, key.currency)) {
                key.kind = NumberKey::Number;
                key.value = *value;
                continue;
            }
        }
        key.kind = NumberKey::Words;
        key.words = collator.sortKey(DecodeText(text, table.Encoding()));
    }
    return SortRowsBy(table, [&keys](int a, int b) { return Less(keys[std::size_t(a)], keys[std::size_t(b)]); });
}
