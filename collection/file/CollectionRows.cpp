#include "collection/file/CollectionRows.h"

#include "base/LineSyntax.h"
#include "base/Shares.h"
#include "collection/PackedCard.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <thread>
#include <unordered_set>

namespace {

// Below this a file is read on one thread: starting another costs more.
constexpr std::size_t kBytesPerPiece = 1 << 20;

constexpr unsigned kAllFields = (1u << kCardFieldCount) - 1;

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

// One piece of the file, read without knowing the pieces before it: a field
// that the piece has not yet set holds what the Card before the piece held,
// which is filled in once that is known.
struct Piece {
    std::string_view text;
    std::deque<PackedCard> rows;
    CardView held;
    // The fields the piece has set, and for each how many rows came before.
    unsigned set = 0;
    std::array<std::size_t, kCardFieldCount> rowsBeforeSet{};
    FirstAppearances series;
    FirstAppearances conditions;

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
        std::size_t start = 0;
        while (start < text.size()) {
            const char* lf = static_cast<const char*>(std::memchr(text.data() + start, '\n', text.size() - start));
            const std::size_t end = lf == nullptr ? text.size() : std::size_t(lf - text.data());
            const KeyValue kv = SplitLine(text.substr(start, end - start));
            start = end + 1;
            const int field = CardFieldOfKey(kv.key);
            if (field < 0)
                continue;
            if (field == NameField && !held[NameField].empty())
                Take();
            held[std::size_t(field)] = kv.value;
            if ((set & (1u << field)) == 0) {
                set |= 1u << field;
                rowsBeforeSet[std::size_t(field)] = rows.size();
            }
        }
        if (!held[NameField].empty())
            Take();
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

} // namespace

CollectionRows ReadCollectionRows(std::string_view raw, int pieceCount)
{
    const std::string_view text = TextModeContent(raw);
    const std::vector<std::size_t> starts = PieceStarts(text, pieceCount > 0 ? pieceCount : DefaultPieces(text.size()));
    std::vector<Piece> pieces(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        pieces[i].text = text.substr(starts[i], end - starts[i]);
    }
    // The first piece starts the file: its fields start out empty.
    pieces[0].set = kAllFields;
    RunShares(pieces.size(), [&](std::size_t i) { pieces[i].Read(); });
    for (std::size_t i = 1; i < pieces.size(); ++i)
        pieces[i].Inherit(pieces[i - 1].held);

    CollectionRows read;
    for (Piece& piece : pieces)
        read.rows.Append(std::move(piece.rows));
    read.series = Merged(pieces, &Piece::series);
    read.conditions = Merged(pieces, &Piece::conditions);
    return read;
}
