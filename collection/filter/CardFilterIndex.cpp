#include "collection/filter/CardFilterIndex.h"

#include "base/Shares.h"
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

// ASCII letters in lower case, every other byte as it is.
inline unsigned char Lower(unsigned char byte)
{
    return byte - unsigned('A') < 26u ? byte + 32 : byte;
}

bool SameIgnoringCase(const char* text, std::string_view needle)
{
    for (std::size_t at = 0; at < needle.size(); ++at) {
        if (Lower(static_cast<unsigned char>(text[at])) != static_cast<unsigned char>(needle[at]))
            return false;
    }
    return true;
}

// As Find, but a byte of the text matches in either ASCII case; the needle
// is folded, so in lower case. Setting bit 5 of both sides lets through each
// letter in both cases (and a few other bytes, which the comparison rejects).
const char* FindIgnoringCase(const char* first, const char* last, std::string_view needle)
{
    const std::size_t size = needle.size();
    if (std::size_t(last - first) < size)
        return last;
    const char* const stop = last - size + 1;
    const char* place = first;
#ifdef __SSE2__
    const __m128i bit = _mm_set1_epi8(0x20);
    const __m128i head = _mm_set1_epi8(char(needle.front() | 0x20));
    const __m128i tail = _mm_set1_epi8(char(needle.back() | 0x20));
    const auto candidates = [&](const char* at) {
        const __m128i heads = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), bit);
        const __m128i tails = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + size - 1)), bit);
        return unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, head), _mm_cmpeq_epi8(tails, tail))));
    };
    const auto firstOf = [&](const char* at, unsigned mask) -> const char* {
        for (; mask != 0; mask &= mask - 1) {
            const char* candidate = at + __builtin_ctz(mask);
            if (SameIgnoringCase(candidate, needle))
                return candidate;
        }
        return nullptr;
    };
    for (; stop - place >= 16; place += 16) {
        if (const char* hit = firstOf(place, candidates(place)))
            return hit;
    }
    // Every row is searched on its own, so every row has a tail of places
    // left: they are tested as the sixteen that end at stop, overlapping
    // places tested already, rather than one at a time.
    if (place < stop && stop - first >= 16) {
        const char* const from = stop - 16;
        const char* hit = firstOf(from, candidates(from) & (~0u << (place - from)));
        return hit ? hit : last;
    }
#endif
    for (; place < stop; ++place) {
        if (SameIgnoringCase(place, needle))
            return place;
    }
    return last;
}

bool Holds(std::string_view text, std::string_view needle)
{
    const char* last = text.data() + text.size();
    return Find(text.data(), last, needle) != last;
}

bool HoldsIgnoringCase(std::string_view text, std::string_view needle)
{
    const char* last = text.data() + text.size();
    return FindIgnoringCase(text.data(), last, needle) != last;
}

// Whether folding the text changes more than the case of ASCII letters:
// a byte beyond ASCII, or a line feed, which folds to a space.
bool FoldsBeyondCase(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80 || c == '\n'; });
}

// The folded text of field `field` among a row's folded fields.
std::string_view FoldedField(std::string_view folded, unsigned fields, int field)
{
    std::size_t begin = 0;
    for (int skipped = __builtin_popcount(fields & ((1u << field) - 1)); skipped > 0; --skipped)
        begin = folded.find('\n', begin) + 1;
    return folded.substr(begin, folded.find('\n', begin) - begin);
}

// Fewer rows than this a thread are searched or folded on one.
constexpr int kRowsPerThread = 1 << 14;

} // namespace

CardFilterIndex::CardFilterIndex(const CardTableModel& table)
    : table_(table)
{
    Reset();
}

void CardFilterIndex::FoldRows(int first, int last, std::string& folded, std::vector<std::size_t>& ends,
                               std::vector<std::uint32_t>& fields) const
{
    for (int row = first; row <= last; ++row) {
        unsigned bits = 0;
        if (FoldsBeyondCase(table_.RowTexts(row))) {
            for (int field = 0; field < kAllCardFieldCount; ++field) {
                const std::string_view cell = table_.Cell(row, field);
                if (!FoldsBeyondCase(cell))
                    continue;
                bits |= 1u << field;
                AppendFoldedForSearch(folded, cell);
                folded += '\n';
            }
        }
        fields.push_back(bits);
        ends.push_back(folded.size());
    }
}

void CardFilterIndex::Reset()
{
    const int rows = table_.rowCount();
    const std::vector<Share> shares = Shares(0, rows - 1, ShareCount(rows, kRowsPerThread));
    std::vector<std::string> folded(shares.size());
    std::vector<std::vector<std::size_t>> ends(shares.size());
    std::vector<std::vector<std::uint32_t>> fields(shares.size());
    RunShares(shares.size(), [&](std::size_t i) {
        ends[i].reserve(std::size_t(shares[i].last - shares[i].first + 1));
        fields[i].reserve(ends[i].capacity());
        FoldRows(shares[i].first, shares[i].last, folded[i], ends[i], fields[i]);
    });
    std::size_t size = 0;
    for (const std::string& part : folded)
        size += part.size();
    text_.clear();
    text_.reserve(size);
    start_.assign(1, 0);
    start_.reserve(std::size_t(rows) + 1);
    foldedFields_.clear();
    foldedFields_.reserve(std::size_t(rows));
    for (std::size_t i = 0; i < shares.size(); ++i) {
        const std::size_t base = text_.size();
        text_ += folded[i];
        folded[i] = {};
        for (const std::size_t end : ends[i])
            start_.push_back(base + end);
        foldedFields_.insert(foldedFields_.end(), fields[i].begin(), fields[i].end());
    }
}

void CardFilterIndex::InsertRows(int first, int last)
{
    std::string folded;
    std::vector<std::size_t> ends;
    std::vector<std::uint32_t> fields;
    FoldRows(first, last, folded, ends, fields);
    const std::size_t at = start_[std::size_t(first)];
    text_.insert(at, folded);
    for (auto it = start_.begin() + first + 1; it != start_.end(); ++it)
        *it += folded.size();
    for (std::size_t& end : ends)
        end += at;
    start_.insert(start_.begin() + first + 1, ends.begin(), ends.end());
    foldedFields_.insert(foldedFields_.begin() + first, fields.begin(), fields.end());
}

void CardFilterIndex::SetRow(int row)
{
    std::string folded;
    std::vector<std::size_t> ends;
    std::vector<std::uint32_t> fields;
    FoldRows(row, row, folded, ends, fields);
    const std::size_t oldSize = FoldedText(row).size();
    text_.replace(start_[std::size_t(row)], oldSize, folded);
    for (auto it = start_.begin() + row + 1; it != start_.end(); ++it)
        *it = *it - oldSize + folded.size();
    foldedFields_[std::size_t(row)] = fields.front();
}

void CardFilterIndex::RemoveRows(int first, int last)
{
    const std::size_t begin = start_[std::size_t(first)];
    const std::size_t size = start_[std::size_t(last) + 1] - begin;
    text_.erase(begin, size);
    start_.erase(start_.begin() + first + 1, start_.begin() + last + 2);
    for (auto it = start_.begin() + first + 1; it != start_.end(); ++it)
        *it -= size;
    foldedFields_.erase(foldedFields_.begin() + first, foldedFields_.begin() + last + 1);
}

void CardFilterIndex::Reorder(const std::vector<int>& order)
{
    std::string text;
    text.reserve(text_.size());
    std::vector<std::size_t> start{0};
    start.reserve(order.size() + 1);
    std::vector<std::uint32_t> fields;
    fields.reserve(order.size());
    for (const int from : order) {
        text += FoldedText(from);
        start.push_back(text.size());
        fields.push_back(foldedFields_[std::size_t(from)]);
    }
    text_ = std::move(text);
    start_ = std::move(start);
    foldedFields_ = std::move(fields);
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
    std::vector<int> rows = Search(*words.front(), narrowFrom);
    for (auto word = words.begin() + 1; word != words.end() && !rows.empty(); ++word)
        rows = Search(**word, &rows);
    return rows;
}

std::string_view CardFilterIndex::FoldedText(int row) const
{
    const std::size_t begin = start_[std::size_t(row)];
    return std::string_view(text_).substr(begin, start_[std::size_t(row) + 1] - begin);
}

// No match spans two fields: a folded word holds no line feed, and a match in
// the table's texts counts only inside one field.
bool CardFilterIndex::RowHolds(int row, const CardFilter::Word& word) const
{
    const unsigned folded = foldedFields_[std::size_t(row)];
    if (word.field != CardFilter::kAnyField) {
        if ((folded >> word.field & 1u) != 0)
            return Holds(FoldedField(FoldedText(row), folded, word.field), word.text);
        return HoldsIgnoringCase(table_.Cell(row, word.field), word.text);
    }
    if (folded != 0 && Holds(FoldedText(row), word.text))
        return true;
    const std::string_view texts = table_.RowTexts(row);
    const char* const last = texts.data() + texts.size();
    for (const char* place = texts.data();;) {
        const char* hit = FindIgnoringCase(place, last, word.text);
        if (hit == last)
            return false;
        const std::size_t offset = std::size_t(hit - texts.data());
        // The texts hold the details after the eight only when the Card has any.
        std::size_t end = 0;
        int field = 0;
        for (; field < kAllCardFieldCount; ++field) {
            end += table_.Cell(row, field).size();
            if (offset < end)
                break;
        }
        if (offset + word.text.size() <= end && (folded >> field & 1u) == 0)
            return true;
        place = hit + 1;
    }
}

std::vector<int> CardFilterIndex::Search(const CardFilter::Word& word, const std::vector<int>* rows) const
{
    const int count = rows ? int(rows->size()) : RowCount();
    const std::vector<Share> shares = Shares(0, count - 1, ShareCount(count, kRowsPerThread));
    std::vector<std::vector<int>> kept(shares.size());
    const auto rowAt = [rows](int at) { return rows ? (*rows)[std::size_t(at)] : at; };
    const auto valid = [this](int row) { return row >= 0 && row < RowCount(); };
    RunShares(shares.size(), [&](std::size_t i) {
        // Rows far apart in memory, as a sort leaves them, would each wait
        // for their texts unless asked for ahead.
        constexpr int kAhead = 8;
        for (int at = shares[i].first; at <= shares[i].last; ++at) {
            if (at + kAhead <= shares[i].last && valid(rowAt(at + kAhead)))
                table_.PrefetchRow(rowAt(at + kAhead));
            const int row = rowAt(at);
            if (valid(row) && RowHolds(row, word))
                kept[i].push_back(row);
        }
    });
    for (std::size_t i = 1; i < kept.size(); ++i)
        kept.front().insert(kept.front().end(), kept[i].begin(), kept[i].end());
    return std::move(kept.front());
}
