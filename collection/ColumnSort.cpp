#include "collection/ColumnSort.h"

#include "collection/CardTableModel.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A row's text in the sorted column, with its first sixteen bytes packed
// into numbers (zero after the end) so that most comparisons need not look
// at the text itself. A shorter text packs to a smaller or equal number.
struct SortKey {
    std::uint64_t head;
    std::uint64_t next;
    std::string_view text;
    int row;
};

std::uint64_t Packed(std::string_view text, std::size_t from)
{
    std::uint64_t packed = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        packed = (packed << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return packed;
}

// Text order, and the earlier row first among equal texts: a stable sort.
bool KeyLess(const SortKey& a, const SortKey& b)
{
    if (a.head != b.head)
        return a.head < b.head;
    if (a.next != b.next)
        return a.next < b.next;
    const int order = a.text.compare(b.text);
    return order != 0 ? order < 0 : a.row < b.row;
}

} // namespace

ColumnSortResult SortRowsByColumn(CardTableModel& table, int column)
{
    const int rows = table.rowCount();
    bool ascending = true;
    for (int row = 0; row + 1 < rows && ascending; ++row)
        ascending = !TextLess(table.Cell(row + 1, column), table.Cell(row, column));
    if (ascending) {
        table.ReverseRows();
        return {true, {}};
    }
    // The column's texts copied side by side: comparing them then stays
    // within one block of memory instead of visiting every row's own.
    std::string texts;
    std::vector<std::size_t> ends;
    ends.reserve(std::size_t(rows));
    for (int row = 0; row < rows; ++row) {
        texts += table.Cell(row, column);
        ends.push_back(texts.size());
    }
    std::vector<SortKey> keys;
    keys.reserve(std::size_t(rows));
    for (int row = 0; row < rows; ++row) {
        const std::size_t begin = row == 0 ? 0 : ends[std::size_t(row) - 1];
        const std::string_view text = std::string_view(texts).substr(begin, ends[std::size_t(row)] - begin);
        keys.push_back({Packed(text, 0), Packed(text, 8), text, row});
    }
    std::sort(keys.begin(), keys.end(), KeyLess);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const SortKey& key : keys)
        order.push_back(key.row);
    table.Reorder(order);
    return {false, std::move(order)};
}
