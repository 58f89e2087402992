#include "collection/merge/CardIdentity.h"

#include <functional>
#include <string_view>

namespace {

constexpr int kPrintingFields[] = {GameField, SetCodeField, NumberField, FinishField, LanguageField};

// Each part with its length before it, so that no two lists of parts make
// one key whatever bytes they hold.
void AppendPart(std::string& key, std::string_view part)
{
    key += std::to_string(part.size());
    key += ':';
    key += part;
}

template <typename Cell>
std::string IdentityOf(const Cell& cell)
{
    std::string key;
    if (!cell(PrintField).empty()) {
        key = "P";
        AppendPart(key, cell(PrintField));
    } else {
        bool printed = false;
        for (const int field : kPrintingFields)
            printed = printed || !cell(field).empty();
        if (printed) {
            key = "D";
            for (const int field : kPrintingFields)
                AppendPart(key, cell(field));
        } else {
            key = "N";
            AppendPart(key, cell(NameField));
            AppendPart(key, cell(SeriesField));
        }
    }
    AppendPart(key, cell(ConditionField));
    return key;
}

template <typename Cell>
std::size_t HashOf(const Cell& cell)
{
    const std::hash<std::string_view> hash;
    std::size_t combined = 0;
    for (int field = 0; field < kAllCardFieldCount; ++field)
        combined = (combined ^ hash(cell(field))) * 0x100000001B3ull + std::size_t(field);
    return combined;
}

} // namespace

std::string CardIdentity(const Card& card)
{
    return IdentityOf([&card](int field) { return std::string_view(card[std::size_t(field)]); });
}

std::string CardIdentity(const CardTableModel& table, int row)
{
    return IdentityOf([&table, row](int field) { return table.Cell(row, field); });
}

std::string CardIdentity(const CardTableModel::RowBlock& block, int index)
{
    return IdentityOf([&block, index](int field) { return block.Cell(index, field); });
}

std::size_t CardHash(const CardTableModel& table, int row)
{
    return HashOf([&table, row](int field) { return table.Cell(row, field); });
}

std::size_t CardHash(const CardTableModel::RowBlock& block, int index)
{
    return HashOf([&block, index](int field) { return block.Cell(index, field); });
}
