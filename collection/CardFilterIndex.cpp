#include "collection/CardFilterIndex.h"

#include "collection/CardTableModel.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The first place needle (not empty) starts in [first, last), or last. Sixteen
// places at a time are tested for the needle's first and last byte together,
// which rejects almost every place without a comparison; the per-call set-up
// is nothing, as each of many short rows may be one call.
const char* Find(const char* first, const char* last, std::string_view needle)
{
    const std::size_t size = needle.size();
    if (std::size_t(last - first) < size)
        return last;
    if (size == 1) {
        const void* hit = std::memchr(first, needle[0], std::size_t(last - first));
        return hit ? static_cast<const char*>(hit) : last;
    }
    // Places where the needle could start: [first, stop).
    const char* const stop = last - size + 1;
    const char* place = first;
#ifdef __SSE2__
    const __m128i head = _mm_set1_epi8(needle.front());
    const __m128i tail = _mm_set1_epi8(needle.back());
    for (; stop - place >= 16; place += 16) {
        const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(place));
        const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(place + size - 1));
        unsigned mask = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, head), _mm_cmpeq_epi8(tails, tail))));
        while (mask != 0) {
            const char* candidate = place + __builtin_ctz(mask);
            if (std::memcmp(candidate + 1, needle.data() + 1, size - 2) == 0)
                return candidate;
            mask &= mask - 1;
        }
    }
#endif
    for (; place < stop; ++place) {
        if (*place == needle.front() && std::memcmp(place + 1, needle.data() + 1, size - 1) == 0)
            return place;
    }
    return last;
}

// The text of field `field` in a row's folded text.
std::string_view FieldText(std::string_view row, int field)
{
    std::size_t begin = 0;
    for (int skipped = 0; skipped < field; ++skipped)
        begin = row.find('\n', begin) + 1;
    return row.substr(begin, row.find('\n', begin) - begin);
}

void AppendFolded(std::string& text, const Card& card)
{
    for (const std::string& field : card) {
        AppendFoldedForSearch(text, field);
        text += '\n';
    }
}

} // namespace

void CardFilterIndex::Reset(const CardTableModel& table)
{
    const int rows = table.rowCount();
    std::size_t size = 0;
    for (int row = 0; row < rows; ++row) {
        for (int field = 0; field < kCardFieldCount; ++field)
            size += table.Cell(row, field).size() + 1;
    }
    text_.clear();
    // Folding rarely changes the length, so this is nearly always the one
    // allocation. The room to spare lets rows be added in place: a full text
    // would be copied whole into a block twice its size.
    text_.reserve(size + size / 16);
    start_.assign(1, 0);
    start_.reserve(std::size_t(rows) + std::size_t(rows) / 16 + 1);
    for (int row = 0; row < rows; ++row) {
        for (int field = 0; field < kCardFieldCount; ++field) {
            AppendFoldedForSearch(text_, table.Cell(row, field));
            text_ += '\n';
        }
        start_.push_back(text_.size());
    }
}

void CardFilterIndex::InsertRow(int position, const Card& card)
{
    std::string folded;
    AppendFolded(folded, card);
    InsertFolded(position, folded, {folded.size()});
}

void CardFilterIndex::InsertRows(const CardTableModel& table, int first, int last)
{
    std::string folded;
    std::vector<std::size_t> ends;
    for (int row = first; row <= last; ++row) {
        for (int field = 0; field < kCardFieldCount; ++field) {
            AppendFoldedForSearch(folded, table.Cell(row, field));
            folded += '\n';
        }
        ends.push_back(folded.size());
    }
    InsertFolded(first, folded, ends);
}

void CardFilterIndex::InsertFolded(int position, const std::string& folded, const std::vector<std::size_t>& ends)
{
    position = std::clamp(position, 0, RowCount());
    const std::size_t at = start_[std::size_t(position)];
    text_.insert(at, folded);
    for (auto it = start_.begin() + position + 1; it != start_.end(); ++it)
        *it += folded.size();
    std::vector<std::size_t> starts;
    starts.reserve(ends.size());
    for (const std::size_t end : ends)
        starts.push_back(at + end);
    start_.insert(start_.begin() + position + 1, starts.begin(), starts.end());
}

void CardFilterIndex::SetRow(int row, const Card& card)
{
    if (row < 0 || row >= RowCount())
        return;
    std::string folded;
    AppendFolded(folded, card);
    const std::size_t oldSize = RowText(row).size();
    text_.replace(start_[std::size_t(row)], oldSize, folded);
    for (auto it = start_.begin() + row + 1; it != start_.end(); ++it)
        *it = *it - oldSize + folded.size();
}

void CardFilterIndex::RemoveRow(int row)
{
    RemoveRows(row, row);
}

void CardFilterIndex::RemoveRows(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, RowCount() - 1);
    if (first > last)
        return;
    const std::size_t begin = start_[std::size_t(first)];
    const std::size_t size = start_[std::size_t(last) + 1] - begin;
    text_.erase(begin, size);
    start_.erase(start_.begin() + first + 1, start_.begin() + last + 2);
    for (auto it = start_.begin() + first + 1; it != start_.end(); ++it)
        *it -= size;
}

void CardFilterIndex::Reorder(const std::vector<int>& order)
{
    std::string text;
    text.reserve(text_.size());
    std::vector<std::size_t> start{0};
    start.reserve(order.size() + 1);
    for (const int from : order) {
        text += RowText(from);
        start.push_back(text.size());
    }
    text_ = std::move(text);
    start_ = std::move(start);
}

void CardFilterIndex::ReverseRows()
{
    std::vector<int> order(static_cast<std::size_t>(RowCount()));
    std::iota(order.rbegin(), order.rend(), 0);
    Reorder(order);
}

std::vector<int> CardFilterIndex::Matching(const CardFilter& filter, const std::vector<int>* narrowFrom) const
{
    // The longest word first: it usually keeps the fewest rows for the rest to search.
    std::vector<const CardFilter::Word*> words;
    for (const CardFilter::Word& word : filter.words)
        words.push_back(&word);
    std::stable_sort(words.begin(), words.end(), [](const CardFilter::Word* a, const CardFilter::Word* b) {
        return a->text.size() > b->text.size();
    });

    if (words.empty()) {
        if (narrowFrom)
            return *narrowFrom;
        std::vector<int> all(static_cast<std::size_t>(RowCount()));
        std::iota(all.begin(), all.end(), 0);
        return all;
    }
    std::vector<int> rows = narrowFrom ? SearchRows(*words.front(), *narrowFrom) : SearchAll(*words.front());
    for (auto word = words.begin() + 1; word != words.end() && !rows.empty(); ++word)
        rows = SearchRows(**word, rows);
    return rows;
}

std::string_view CardFilterIndex::RowText(int row) const
{
    const std::size_t begin = start_[std::size_t(row)];
    return std::string_view(text_).substr(begin, start_[std::size_t(row) + 1] - begin);
}

// One pass over all the text, as a row-by-row search would pay a call per row
// even where the word is rare. No match spans two fields or rows: a word holds
// no line feed.
std::vector<int> CardFilterIndex::SearchAll(const CardFilter::Word& word) const
{
    std::vector<int> rows;
    const char* const base = text_.data();
    const char* const last = base + text_.size();
    std::size_t row = 0;
    for (const char* place = base;;) {
        const char* hit = Find(place, last, word.text);
        if (hit == last)
            break;
        const std::size_t offset = std::size_t(hit - base);
        while (start_[row + 1] <= offset)
            ++row;
        const char* rowEnd = base + start_[row + 1];
        if (word.field == CardFilter::kAnyField) {
            rows.push_back(int(row));
            place = rowEnd;
            continue;
        }
        const auto field = int(std::count(base + start_[row], hit, '\n'));
        if (field == word.field)
            rows.push_back(int(row));
        place = field < word.field ? hit + 1 : rowEnd;
    }
    return rows;
}

std::vector<int> CardFilterIndex::SearchRows(const CardFilter::Word& word, const std::vector<int>& rows) const
{
    const int count = RowCount();
    const auto valid = [count](int row) { return row >= 0 && row < count; };
    // Rows far apart in memory would each wait for their text unless asked for
    // ahead: the processor only foresees runs of adjacent memory.
    constexpr std::size_t kAhead = 8;
    std::vector<int> kept;
    for (std::size_t at = 0; at < rows.size(); ++at) {
        if (at + 2 * kAhead < rows.size() && valid(rows[at + 2 * kAhead]))
            __builtin_prefetch(&start_[std::size_t(rows[at + 2 * kAhead])]);
        if (at + kAhead < rows.size() && valid(rows[at + kAhead])) {
            const std::size_t ahead = std::size_t(rows[at + kAhead]);
            const std::size_t end = std::min(start_[ahead + 1], start_[ahead] + 4 * 64);
            for (std::size_t line = start_[ahead]; line < end; line += 64)
                __builtin_prefetch(text_.data() + line);
        }
        const int row = rows[at];
        if (!valid(row))
            continue;
        const std::string_view text = word.field == CardFilter::kAnyField ? RowText(row)
                                                                          : FieldText(RowText(row), word.field);
        const char* last = text.data() + text.size();
        if (Find(text.data(), last, word.text) != last)
            kept.push_back(row);
    }
    return kept;
}
