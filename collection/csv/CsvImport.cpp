#include "collection/csv/CsvImport.h"

#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/csv/CsvFormulaGuard.h"
#include "collection/csv/CsvReader.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

// The names a column may have for each Card field and detail, best first.
constexpr std::array<std::array<std::string_view, 5>, kAllCardFieldCount> kColumnNames = {{
    {"Name", "Card Name", "Title"},
    {"Series", "Set", "Expansion", "Edition"},
    {"Condition", "Grade"},
    {"Year"},
    {"Price", "Cost", "Paid", "Purchase Price"},
    {"Quantity", "Qty", "Count", "Copies"},
    {"URL", "Image", "Picture", "Image URL", "Picture URL"},
    {"Description", "Notes", "Comment"},
    {"Game"},
    {"Set Code", "SetCode", "Edition Code", "Expansion Code"},
    {"Number", "Collector Number", "Card Number"},
    {"Finish", "Printing"},
    {"Language"},
    {"Location", "Binder", "Folder"},
    {"Tags"},
    {"Trade", "Tradelist Count", "Trade Quantity"},
    {"Want"},
    {"Print", "Scryfall ID"},
    {"Market Price", "Market"},
    {"Market Date"},
    {"Source"},
}};

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// The cell without the guard our export puts before a value that begins
// like a formula. A line break in it is one space, whichever line ends the
// file uses.
void TakeValue(std::string& value, std::string_view cell)
{
    value.assign(WithoutFormulaGuard(cell));
    if (value.find("\r\n") == std::string::npos)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!(value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n'))
            value[kept++] = value[i];
    }
    value.resize(kept);
}

bool IsWholeNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Decimal digits added as text, so that no quantity is too large.
std::string AddWholeNumbers(std::string_view a, std::string_view b)
{
    std::string sum;
    int carry = 0;
    for (std::size_t i = 0; i < a.size() || i < b.size() || carry > 0; ++i) {
        int digit = carry;
        if (i < a.size())
            digit += a[a.size() - 1 - i] - '0';
        if (i < b.size())
            digit += b[b.size() - 1 - i] - '0';
        sum.push_back(char('0' + digit % 10));
        carry = digit / 10;
    }
    while (sum.size() > 1 && sum.back() == '0')
        sum.pop_back();
    std::reverse(sum.begin(), sum.end());
    return sum;
}

// A Name and Series pair. It views the text of a Card that stays in place
// for the whole import: a collection row, or an imported Card (their vector
// is reserved for every row of the file, so it never moves them, and their
// texts change only once the import is done).
struct NameSeries {
    std::string_view name;
    std::string_view series;

    bool operator==(const NameSeries&) const = default;
};

struct NameSeriesHash {
    std::size_t operator()(const NameSeries& key) const
    {
        const std::hash<std::string_view> hash;
        return hash(key.name) * 0x9E3779B97F4A7C15ull ^ hash(key.series);
    }
};

// The Card a repeat's quantity is added to: one of the imported Cards, or a
// row of the collection.
struct MergeTarget {
    bool imported;
    std::size_t index;
};

// Each text of a field of the Cards once.
std::vector<std::string> DistinctTexts(const CardTableModel::RowBlock& cards, int field)
{
    std::unordered_set<std::string_view> seen;
    std::vector<std::string> texts;
    for (int index = 0; index < cards.size(); ++index) {
        if (seen.insert(cards.Cell(index, field)).second)
            texts.emplace_back(cards.Cell(index, field));
    }
    return texts;
}

QString GroupedThousands(std::size_t n)
{
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString Counted(std::size_t n, const char* one, const char* many)
{
    return GroupedThousands(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

CsvColumns MapCsvColumns(const CsvRows& rows)
{
    CsvColumns columns = kNoCsvColumns;
    if (rows.RowCount() == 0)
        return columns;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        std::size_t bestRank = SIZE_MAX;
        for (int column = 0; column < rows.FieldCount(0); ++column) {
            const std::string_view heading = Trimmed(rows.Field(0, column));
            const auto& names = kColumnNames[field];
            for (std::size_t rank = 0; rank < std::min(bestRank, names.size()) && !names[rank].empty(); ++rank) {
                if (EqualIgnoringCase(heading, names[rank])) {
                    columns[field] = column;
                    bestRank = rank;
                }
            }
        }
    }
    return columns;
}

AppHeader RecogniseCsvApp(const CsvRows& rows)
{
    std::vector<std::string_view> headings;
    if (rows.RowCount() > 0) {
        for (int column = 0; column < rows.FieldCount(0); ++column)
            headings.push_back(rows.Field(0, column));
    }
    return RecogniseCardApp(headings);
}

CsvImportResult ImportCsv(const CsvRows& rows, const CsvImportOptions& options, const CardTableModel& collection)
{
    CsvImportResult result;
    // Every Name and Series seen so far, with the first Card of that pair,
    // in table order, whose Quantity is a whole number. The imported Cards
    // will stand above the collection.
    std::unordered_map<NameSeries, std::optional<MergeTarget>, NameSeriesHash> seen;
    seen.reserve(std::size_t(collection.rowCount()) + rows.RowCount());
    for (int row = 0; row < collection.rowCount(); ++row) {
        std::optional<MergeTarget>& target = seen[{collection.Cell(row, NameField), collection.Cell(row, SeriesField)}];
        // The Cards an app exported take no quantities from other imports.
        if (!target && IsWholeNumber(collection.Cell(row, QuantityField))
            && collection.Cell(row, SourceField).empty())
            target = MergeTarget{false, std::size_t(row)};
    }

    // Quantities merged into imported Cards, set once nothing views them.
    std::map<std::size_t, std::string> importedQuantities;
    result.cards.Reserve(rows.RowCount());
    Card card;
    for (std::size_t row = options.firstRowIsHeader ? 1 : 0; row < rows.RowCount(); ++row) {
        for (int field = 0; field < kAllCardFieldCount; ++field)
            TakeValue(card[std::size_t(field)], rows.Field(row, options.columns[std::size_t(field)]));
        PrepareForStorage(card);
        bool hasText = false;
        for (const std::string& value : card)
            hasText = hasText || !value.empty();
        if (!hasText)
            continue;
        if (options.app.app != nullptr) {
            const AppCells cells = {Trimmed(WithoutFormulaGuard(rows.Field(row, options.app.currencyColumn))),
                                    Trimmed(WithoutFormulaGuard(rows.Field(row, options.app.wishColumn))),
                                    Trimmed(WithoutFormulaGuard(rows.Field(row, options.app.gradeColumn)))};
            AdaptAppCard(options.app, cells, collection.Encoding(), card);
        }
        if (card[NameField].empty()) {
            ++result.withoutName;
            continue;
        }
        // An app's Cards are matched with those it exported before by their
        // identity when the import is applied (ReimportDiff), not here.
        if (!card[SourceField].empty()) {
            result.cards.Append(card);
            continue;
        }
        const bool whole = IsWholeNumber(card[QuantityField]);
        const auto repeated = seen.find({card[NameField], card[SeriesField]});
        if (repeated != seen.end()) {
            std::optional<MergeTarget>& target = repeated->second;
            if (options.repeats == CsvRepeats::Skip) {
                ++result.repeatsSkipped;
                continue;
            }
            if (options.repeats == CsvRepeats::MergeQuantities && whole && target) {
                std::string& into =
                    target->imported
                        ? importedQuantities.try_emplace(target->index, result.cards.Cell(int(target->index), QuantityField))
                              .first->second
                        : result.quantities.try_emplace(int(target->index), collection.Cell(int(target->index), QuantityField))
                              .first->second;
                into = AddWholeNumbers(into, card[QuantityField]);
                ++result.repeatsMerged;
                continue;
            }
            ++result.repeatsAdded;
            if (whole && !target)
                target = MergeTarget{true, std::size_t(result.cards.size())};
        }
        const auto index = std::size_t(result.cards.size());
        result.cards.Append(card);
        if (repeated == seen.end()) {
            seen.emplace(NameSeries{result.cards.Cell(int(index), NameField), result.cards.Cell(int(index), SeriesField)},
                         whole ? std::optional(MergeTarget{true, index}) : std::nullopt);
        }
    }
    for (const auto& [index, quantity] : importedQuantities)
        result.cards.SetCell(int(index), QuantityField, quantity);
    return result;
}

void ApplyCsvImport(CsvImportResult result, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions)
{
    const std::vector<std::string> seriesTexts = DistinctTexts(result.cards, SeriesField);
    const std::vector<std::string> conditionTexts = DistinctTexts(result.cards, ConditionField);
    for (const auto& [row, quantity] : result.quantities)
        table.SetCell(row, QuantityField, quantity);
    table.PutRows(0, std::move(result.cards));
    series.AddAll(seriesTexts);
    conditions.AddAll(conditionTexts);
}

QString CsvImportSummary(const CsvImportResult& result)
{
    QStringList parts = {Counted(result.cards.size(), "Card imported", "Cards imported")};
    if (result.withoutName > 0)
        parts << Counted(result.withoutName, "row without a name skipped", "rows without a name skipped");
    if (result.repeatsSkipped > 0)
        parts << Counted(result.repeatsSkipped, "repeat skipped", "repeats skipped");
    if (result.repeatsMerged > 0)
        parts << Counted(result.repeatsMerged, "repeat added to a quantity", "repeats added to quantities");
    if (result.repeatsAdded > 0)
        parts << Counted(result.repeatsAdded, "repeat added as a row", "repeats added as rows");
    return parts.join(QStringLiteral("; "));
}
