#include "collection/file/CollectionRows.h"

#include "base/LargeAllocations.h"
#include "base/LineSyntax.h"
#include "base/Shares.h"
#include "collection/PackedCard.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Below this a file is read on one thread: starting another costs more.
constexpr std::size_t kBytesPerPiece = 1 << 20;

constexpr unsigned kAllFields = (1u << kCardFieldCount) - 1;

// Fewer bytes a Card than nearly any collection has: a NAME line and a few
// short values. A piece with more rows than its bytes over this lets its
// array of rows grow.
constexpr std::size_t kLeastBytesPerRowGuess = 64;

// Texts in the order they first appear, each once.
class FirstAppearances {
public:
    void Add(std::string_view text)
    {
        if (seen_.insert(text).second)
            order_.push_back(text);
    }
    const std::vector<std::string_view>& Order() const { return order_; }
    void PutFirst(std::string_view text)
    {
        if (!seen_.insert(text).second)
            order_.erase(std::find(order_.begin(), order_.end(), text));
        order_.insert(order_.begin(), text);
    }

private:
    std::unordered_set<std::string_view> seen_;
    std::vector<std::string_view> order_;
};

// Where the lines of a text end: its line feeds found 64 bytes at a time, a
// bit for each, rather than by a call for each of the millions of short
// lines of a large file. On the way it notes any end-of-file byte.
class LineFeeds {
public:
    explicit LineFeeds(std::string_view text)
        : text_(text)
    {
    }

    // Whether the bytes looked at so far hold an end-of-file byte.
    bool SawEndOfFile() const { return sawEndOfFile_; }

    // The first line feed at from or after it; the text's size when none is.
    std::size_t Next(std::size_t from)
    {
        while (from < text_.size()) {
            const std::size_t block = from & ~std::size_t(63);
            if (block != block_) {
                block_ = block;
                mask_ = Mask(block);
            }
            const std::uint64_t left = mask_ & (~std::uint64_t(0) << (from - block));
            if (left != 0)
                return block + std::size_t(std::countr_zero(left));
            from = block + 64;
        }
        return text_.size();
    }

private:
    std::uint64_t Mask(std::size_t block)
    {
        std::uint64_t mask = 0;
#if defined(__SSE2__)
        if (block + 64 <= text_.size()) {
            const __m128i feed = _mm_set1_epi8('\n');
            const __m128i end = _mm_set1_epi8(kEndOfFileByte);
            int ends = 0;
            for (int part = 0; part < 4; ++part) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_.data() + block + 16 * part));
                mask |= std::uint64_t(std::uint16_t(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)))) << (16 * part);
                ends |= _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, end));
            }
            sawEndOfFile_ = sawEndOfFile_ || ends != 0;
            return mask;
        }
#endif
        const std::size_t last = std::min(block + 64, text_.size());
        for (std::size_t at = block; at < last; ++at) {
            if (text_[at] == '\n')
                mask |= std::uint64_t(1) << (at - block);
            sawEndOfFile_ = sawEndOfFile_ || text_[at] == kEndOfFileByte;
        }
        return mask;
    }

    std::string_view text_;
    std::size_t block_ = ~std::size_t(0);
    std::uint64_t mask_ = 0;
    bool sawEndOfFile_ = false;
};

// SplitLine and CardFieldOfKey for a line of the file, written out here, as
// the load calls them for each of millions of lines.
struct FieldLine {
    int field;
    std::string_view value;
};

FieldLine ReadLine(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && IsTrailingSpace(line[end - 1]))
        --end;
    std::size_t eq = 0;
    while (eq < end && line[eq] != '=')
        ++eq;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = eq < end ? line.substr(eq + 1, end - eq - 1) : std::string_view();
    int field = -1;
    switch (key.size()) {
    case 3: field = key == "URL" ? UrlField : -1; break;
    case 4: field = key == "NAME" ? NameField : key == "YEAR" ? YearField : -1; break;
    case 5: field = key == "PRICE" ? PriceField : -1; break;
    case 6: field = key == "SERIES" ? SeriesField : -1; break;
    case 8: field = key == "QUANTITY" ? QuantityField : -1; break;
    case 9: field = key == "CONDITION" ? ConditionField : -1; break;
    case 11: field = key == "DESCRIPTION" ? DescriptionField : -1; break;
    default: break;
    }
    // Details are rare: looked for only among the lines no field takes.
    if (field < 0)
        field = DetailFieldOfKey(key);
    return {field, value};
}

// Follows the lines of a piece against the bytes a save writes: the header
// line at the start of the file, then for each Card its eight keys in their
// order, each line "KEY=value" and CR LF with nothing trimmed off the value
// and a Name that is not empty, then the details it has, each once, not
// empty and in their order, and an empty line between two Cards. A save
// of the rows read gives the file back byte for byte exactly when every
// piece's lines follow, the file's last line ends where its last Card does,
// and nothing follows an end-of-file byte.
class AsWritten {
public:
    static constexpr int kHeader = -1;
    static constexpr int kBlank = kCardFieldCount;

    explicit AsWritten(int expected)
        : expected_(expected)
    {
    }

    // The next line, its line feed taken off.
    void Line(std::string_view line)
    {
        if (!follows_)
            return;
        if (line.empty() || line.back() != '\r') {
            follows_ = false;
            return;
        }
        line.remove_suffix(1);
        if (!line.empty() && IsTrailingSpace(line.back())) {
            follows_ = false;
            return;
        }
        if (expected_ == kHeader) {
            follows_ = line == kHeaderLine;
            expected_ = 0;
        } else if (expected_ == kBlank && !line.empty()) {
            const std::size_t eq = line.find('=');
            const int detail = eq == std::string_view::npos ? -1 : DetailFieldOfKey(line.substr(0, eq));
            follows_ = detail > lastDetail_ && eq + 1 < line.size();
            lastDetail_ = detail;
        } else if (expected_ == kBlank) {
            expected_ = 0;
            lastDetail_ = -1;
        } else {
            const std::string_view key = kCardKeys[std::size_t(expected_)];
            follows_ = line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '='
                       && (expected_ != NameField || line.size() > key.size() + 1);
            ++expected_;
        }
    }

    // Whether the lines so far followed, and what the next one must be.
    bool Follows() const { return follows_; }
    int Expected() const { return expected_; }

private:
    int expected_;
    // The detail of the Card's last line, while its details are read.
    int lastDetail_ = -1;
    bool follows_ = true;
};

// One piece of the file, read without knowing the pieces before it: a field
// that the piece has not yet set holds what the Card before the piece held,
// which is filled in once that is known.
struct Piece {
    std::string_view text;
    std::vector<PackedCard> rows;
    CardView held;
    // The fields the piece has set, and for each how many rows came before.
    unsigned set = 0;
    std::array<std::size_t, kCardFieldCount> rowsBeforeSet{};
    FirstAppearances series;
    FirstAppearances conditions;
    // The first piece starts with the file's header line, the others with a Card.
    AsWritten lines{AsWritten::kHeader};
    bool sawEndOfFile = false;

    void Take()
    {
        rows.emplace_back(held);
        if ((set & (1u << SeriesField)) != 0)
            series.Add(held[SeriesField]);
        if ((set & (1u << ConditionField)) != 0)
            conditions.Add(held[ConditionField]);
    }

    void Read()
    {
        // Room for the rows at once, as many as a generous guess of a few
        // short lines a Card allows, in large pages: what is not filled is
        // never touched, and the rows do not move as they come.
        rows.reserve(text.size() / kLeastBytesPerRowGuess + 16);
        AdviseLargePages(rows.data(), rows.capacity() * sizeof(PackedCard));
        LineFeeds feeds(text);
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = feeds.Next(start);
            const std::string_view line = text.substr(start, end - start);
            start = end + 1;
            lines.Line(line);
            const auto [field, value] = ReadLine(line);
            if (field < 0)
                continue;
            if (field == NameField) {
                if (!held[NameField].empty())
                    Take();
                // A detail never passes to the next Card.
                std::fill(held.begin() + kCardFieldCount, held.end(), std::string_view());
            }
            held[std::size_t(field)] = value;
            if (field < kCardFieldCount && (set & (1u << field)) == 0) {
                set |= 1u << field;
                rowsBeforeSet[std::size_t(field)] = rows.size();
            }
        }
        if (!held[NameField].empty())
            Take();
        sawEndOfFile = feeds.SawEndOfFile();
    }

    // Gives the rows and the held Card what the piece before passed on.
    void Inherit(const CardView& before)
    {
        std::size_t fixed = 0;
        for (int field = 0; field < kCardFieldCount; ++field) {
            if ((set & (1u << field)) == 0) {
                held[std::size_t(field)] = before[std::size_t(field)];
                rowsBeforeSet[std::size_t(field)] = rows.size();
            }
            fixed = std::max(fixed, rowsBeforeSet[std::size_t(field)]);
        }
        set = kAllFields;
        for (std::size_t row = 0; row < fixed; ++row) {
            CardView fields = rows[row].Fields();
            for (int field = 0; field < kCardFieldCount; ++field) {
                if (row < rowsBeforeSet[std::size_t(field)])
                    fields[std::size_t(field)] = before[std::size_t(field)];
            }
            rows[row] = PackedCard(fields);
        }
        if (rowsBeforeSet[SeriesField] > 0)
            series.PutFirst(before[SeriesField]);
        if (rowsBeforeSet[ConditionField] > 0)
            conditions.PutFirst(before[ConditionField]);
    }
};

bool IsNameLine(std::string_view text, std::size_t start)
{
    const std::size_t lf = text.find('\n', start);
    return SplitLine(text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start)).key
        == kCardKeys[NameField];
}

// Where the pieces begin: at the first NAME line from each equal share on.
std::vector<std::size_t> PieceStarts(std::string_view text, int pieces)
{
    std::vector<std::size_t> starts = {0};
    for (int piece = 1; piece < pieces; ++piece) {
        std::size_t from = std::max(text.size() / std::size_t(pieces) * std::size_t(piece), starts.back() + 1);
        std::size_t found = std::string_view::npos;
        while (from < text.size()) {
            const std::size_t name = text.find("\nNAME", from - 1);
            if (name == std::string_view::npos)
                break;
            if (IsNameLine(text, name + 1)) {
                found = name + 1;
                break;
            }
            from = name + 2;
        }
        if (found == std::string_view::npos)
            break;
        starts.push_back(found);
    }
    return starts;
}

int DefaultPieces(std::size_t bytes)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return int(std::clamp<std::size_t>(bytes / kBytesPerPiece, 1, cores));
}

std::vector<std::string> Merged(const std::vector<Piece>& pieces, FirstAppearances Piece::*texts)
{
    FirstAppearances all;
    for (const Piece& piece : pieces) {
        for (const std::string_view text : (piece.*texts).Order())
            all.Add(text);
    }
    return std::vector<std::string>(all.Order().begin(), all.Order().end());
}

// The rows of the text, the raw file's bytes or those before its first
// end-of-file byte; none when the text holds an end-of-file byte.
std::optional<CollectionRows> ReadPieces(std::string_view raw, std::string_view text, int pieceCount)
{
    const std::vector<std::size_t> starts = PieceStarts(text, pieceCount > 0 ? pieceCount : DefaultPieces(text.size()));
    std::vector<Piece> pieces(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        pieces[i].text = text.substr(starts[i], end - starts[i]);
    }
    // The first piece starts the file: its fields start out empty.
    pieces[0].set = kAllFields;
    for (std::size_t i = 1; i < pieces.size(); ++i)
        pieces[i].lines = AsWritten(NameField);
    RunShares(pieces.size(), [&](std::size_t i) { pieces[i].Read(); });
    for (const Piece& piece : pieces) {
        if (piece.sawEndOfFile)
            return std::nullopt;
    }
    for (std::size_t i = 1; i < pieces.size(); ++i)
        pieces[i].Inherit(pieces[i - 1].held);

    CollectionRows read;
    // An empty file is what a save of no Cards writes. Otherwise each piece
    // but the last ends on the empty line before the next one's first Card,
    // and the last piece on its last Card's line feed.
    read.asWritten = raw.empty();
    if (!raw.empty() && text.size() == raw.size() && text.back() == '\n') {
        read.asWritten = true;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const bool last = i + 1 == pieces.size();
            read.asWritten = read.asWritten && pieces[i].lines.Follows()
                             && pieces[i].lines.Expected() == (last ? AsWritten::kBlank : NameField);
        }
    }
    for (Piece& piece : pieces)
        read.rows.Append(std::move(piece.rows));
    read.series = Merged(pieces, &Piece::series);
    read.conditions = Merged(pieces, &Piece::conditions);
    return read;
}

} // namespace

CollectionRows ReadCollectionRows(std::string_view raw, int pieceCount)
{
    // An end-of-file byte ends the text. Rather than look for one over the
    // whole file first, alone, the pieces look for it as they read, and the
    // rare file that has one is read again up to it.
    std::optional<CollectionRows> read = ReadPieces(raw, raw, pieceCount);
    if (!read)
        read = ReadPieces(raw, TextModeContent(raw), pieceCount);
    return std::move(*read);
}
