#include "collection/ColumnSort.h"

#include "base/Shares.h"
#include "collection/CardTableModel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

// Fewer rows than this a thread are sorted on one, or fewer than the second
// looked at to see whether they are in order already: starting another
// thread costs more.
constexpr int kRowsPerThread = 1 << 14;
constexpr int kRowsPerThreadToLook = 1 << 18;

// A row's text in the sorted column, with its first 24 bytes after the
// beginning that all its column's texts share packed into numbers (zero
// after the end), so that most comparisons need not look at the text
// itself. A shorter text packs to smaller or equal numbers.
struct SortKey {
    std::array<std::uint64_t, 3> packed;
    const char* data;
    std::uint32_t size;
    int row;

    std::string_view Text() const { return std::string_view(data, size); }
};

constexpr std::size_t kPackedBytes = 24;

std::uint64_t Packed(std::string_view text, std::size_t from)
{
    std::uint64_t packed = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        packed = (packed << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return packed;
}

// Text order, and the earlier row first among equal texts: a stable sort.
// Every text but an empty one begins with the shared bytes.
class KeyLess {
public:
    explicit KeyLess(std::size_t shared)
        : shared_(shared)
    {
    }

    bool operator()(const SortKey& a, const SortKey& b) const
    {
        for (std::size_t word = 0; word < a.packed.size(); ++word) {
            if (a.packed[word] != b.packed[word])
                return a.packed[word] < b.packed[word];
        }
        // Alike as far as packed. A text that ends there is the other's
        // beginning; longer ones are told apart by the rest.
        const std::size_t end = shared_ + kPackedBytes;
        int order = 0;
        if (a.size <= end || b.size <= end)
            order = a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
        else
            order = a.Text().substr(end).compare(b.Text().substr(end));
        return order != 0 ? order < 0 : a.row < b.row;
    }

private:
    std::size_t shared_;
};

// How many bytes all the keys' texts but the empty ones begin with, given one of them.
std::size_t SharedBeginning(const SortKey* first, const SortKey* last, std::string_view one)
{
    std::size_t shared = one.size();
    for (const SortKey* key = first; key != last; ++key) {
        if (key->size == 0)
            continue;
        shared = std::min<std::size_t>(shared, key->size);
        shared = std::size_t(std::mismatch(one.begin(), one.begin() + std::ptrdiff_t(shared), key->data).first
                             - one.begin());
    }
    return shared;
}

// Texts copied side by side into blocks that never move, so that a view of
// one stays valid while more are added, and no more memory is taken than
// the texts need.
class TextBlocks {
public:
    std::string_view Add(std::string_view text)
    {
        if (text.size() > room_) {
            room_ = std::max(kBlockBytes, text.size());
            blocks_.emplace_back(new char[room_]);
            next_ = blocks_.back().get();
        }
        if (!text.empty())
            std::memcpy(next_, text.data(), text.size());
        const std::string_view copy(next_, text.size());
        next_ += text.size();
        room_ -= text.size();
        return copy;
    }

private:
    static constexpr std::size_t kBlockBytes = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

bool Ascending(const CardTableModel& table, int column, const std::vector<Share>& shares)
{
    std::atomic<bool> descends = false;
    RunShares(shares.size(), [&](std::size_t i) {
        // A share looks at its last row's pair with the next share's first too.
        const int end = std::min(shares[i].last + 1, table.rowCount() - 1);
        for (int row = shares[i].first; row < end && !descends.load(std::memory_order_relaxed); ++row) {
            if (TextLess(table.Cell(row + 1, column), table.Cell(row, column)))
                descends = true;
        }
    });
    return !descends;
}

} // namespace

ColumnSortResult SortRowsByColumn(CardTableModel& table, int column, int threads)
{
    const int rows = table.rowCount();
    // Rows this sort put in order, unchanged since, need not be looked at.
    if (table.AscendingColumn() == column
        || Ascending(table, column, Shares(0, rows - 1, ShareCount(rows, kRowsPerThreadToLook, threads)))) {
        table.ReverseRows();
        return {true, {}};
    }
    const std::vector<Share> shares = Shares(0, rows - 1, ShareCount(rows, kRowsPerThread, threads));
    // Each share's texts are copied side by side: comparing them then stays
    // within a few blocks of memory instead of visiting every row's own. The
    // shares are sorted each on its own thread, then merged.
    std::vector<TextBlocks> texts(shares.size());
    std::vector<SortKey> keys(static_cast<std::size_t>(rows));
    RunShares(shares.size(), [&](std::size_t i) {
        // Rows far apart in memory, as an earlier sort leaves them, would
        // each wait for their texts unless asked for ahead.
        constexpr int kAhead = 8;
        for (int row = shares[i].first; row <= shares[i].last; ++row) {
            if (row + kAhead <= shares[i].last)
                table.PrefetchRow(row + kAhead);
            const std::string_view text = texts[i].Add(table.Cell(row, column));
            keys[std::size_t(row)] = {{}, text.data(), std::uint32_t(text.size()), row};
        }
    });
    // Any text but an empty one: the shared beginning is part of it.
    const auto nonEmpty = std::find_if(keys.begin(), keys.end(), [](const SortKey& key) { return key.size > 0; });
    const std::string_view one = nonEmpty == keys.end() ? std::string_view() : nonEmpty->Text();
    std::vector<std::size_t> sharedBy(shares.size());
    RunShares(shares.size(), [&](std::size_t i) {
        sharedBy[i] = SharedBeginning(&keys[std::size_t(shares[i].first)], &keys[std::size_t(shares[i].last)] + 1, one);
    });
    const std::size_t shared = *std::min_element(sharedBy.begin(), sharedBy.end());
    const KeyLess less(shared);

    RunShares(shares.size(), [&](std::size_t i) {
        for (int row = shares[i].first; row <= shares[i].last; ++row) {
            SortKey& key = keys[std::size_t(row)];
            const std::string_view text = key.Text();
            key.packed = {Packed(text, shared), Packed(text, shared + 8), Packed(text, shared + 16)};
        }
        std::sort(keys.begin() + shares[i].first, keys.begin() + shares[i].last + 1, less);
    });
    // The sorted shares are merged in pairs; the last merge gives the order.
    std::vector<Share> runs = shares;
    while (runs.size() > 2) {
        std::vector<Share> merged;
        for (std::size_t i = 0; i < runs.size(); i += 2) {
            if (i + 1 == runs.size()) {
                merged.push_back(runs[i]);
                continue;
            }
            std::inplace_merge(keys.begin() + runs[i].first, keys.begin() + runs[i + 1].first,
                               keys.begin() + runs[i + 1].last + 1, less);
            merged.push_back({runs[i].first, runs[i + 1].last});
        }
        runs = std::move(merged);
    }
    std::vector<int> order;
    order.reserve(keys.size());
    const auto rowOf = [](const SortKey& key) { return key.row; };
    if (runs.size() == 1) {
        std::transform(keys.begin(), keys.end(), std::back_inserter(order), rowOf);
    } else {
        auto a = keys.begin() + runs[0].first;
        auto b = keys.begin() + runs[1].first;
        const auto aEnd = keys.begin() + runs[0].last + 1;
        const auto bEnd = keys.begin() + runs[1].last + 1;
        while (a != aEnd && b != bEnd)
            order.push_back(less(*b, *a) ? (b++)->row : (a++)->row);
        std::transform(a, aEnd, std::back_inserter(order), rowOf);
        std::transform(b, bEnd, std::back_inserter(order), rowOf);
    }
    keys = {};
    texts.clear();
    table.Reorder(order, column);
    return {false, std::move(order)};
}

ColumnSortResult SortRowsBy(CardTableModel& table, const std::function<bool(int, int)>& less)
{
    const int rows = table.rowCount();
    bool ascending = true;
    for (int row = 0; row + 1 < rows && ascending; ++row)
        ascending = !less(row + 1, row);
    if (ascending) {
        table.ReverseRows();
        return {true, {}};
    }
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    table.Reorder(order);
    return {false, std::move(order)};
}
