#include "app/table/ColumnFit.h"

#include "base/Shares.h"
#include "collection/CardTableModel.h"

#include <QGlyphRun>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <unordered_set>
#include <type_traits>

namespace {

constexpr int kUnmeasured = std::numeric_limits<int>::min();
// A pair that the font draws as one glyph: its texts are laid out whole.
constexpr int kLigature = std::numeric_limits<int>::min() + 1;
// A text that is not plain ASCII, or has a ligature.
constexpr qint64 kNotPlainAscii = -1;
// A width that cannot be told without laying out text not measured yet.
constexpr qint64 kUnknown = std::numeric_limits<qint64>::min();

// Fewer rows than this a thread are measured on one: starting another costs more.
constexpr int kRowsPerThread = 4096;
// While rows are shared out, widths below this are counted in a plain array.
constexpr int kCountedWidths = 4096;

bool PlainAscii(unsigned char byte)
{
    return unsigned(byte - 0x20) < 0x5f;
}

// Whether a character's room in a line is its own, changed only by kerning
// with its neighbours. Controls (tabs), marks, joiners, conjoining jamo and
// scripts that are shaped in context are not.
bool PairsWell(char32_t character)
{
    if (character < 0x80)
        return PlainAscii(static_cast<unsigned char>(character));
    if (character < 0xa0 || character > 0xffff || (character >= 0x1100 && character <= 0x11ff)
        || (character >= 0xa960 && character <= 0xa97f) || (character >= 0xd7b0 && character <= 0xd7ff))
        return false;
    const QChar qchar(static_cast<char16_t>(character));
    switch (qchar.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Other_Control:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    switch (qchar.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
        return true;
    default:
        return false;
    }
}

quint64 PairKey(char32_t first, char32_t second)
{
    return (quint64(first) << 32) | second;
}

// The pairs and last characters that known advances missed, each once.
struct MissingParts {
    std::unordered_set<quint64> pairs;
    std::unordered_set<char32_t> lasts;
};

// The scripts of the ASCII characters, looked up once: most characters of
// most texts are ASCII.
const std::array<QChar::Script, 128> kAsciiScripts = [] {
    std::array<QChar::Script, 128> scripts{};
    for (char32_t character = 0; character < 128; ++character)
        scripts[character] = QChar::script(character);
    return scripts;
}();

// Whether a text's width can be built from pairs: each character pairs well,
// and all but the common ones (digits, punctuation, spaces) are of one
// script, as the layout shapes each script's run on its own.
bool Paired(std::u32string_view characters)
{
    QChar::Script script = QChar::Script_Common;
    for (const char32_t character : characters) {
        if (!PairsWell(character))
            return false;
        const QChar::Script own = character < 128 ? kAsciiScripts[character] : QChar::script(character);
        if (own == QChar::Script_Common || own == script)
            continue;
        if (script != QChar::Script_Common)
            return false;
        script = own;
    }
    return true;
}

// The characters of well-formed UTF-8. False for any other bytes: those are
// decoded by QString, as the view decodes them.
bool DecodeUtf8(std::string_view bytes, std::u32string& characters)
{
    characters.clear();
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            characters.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t character = 0;
        char32_t least = 0;
        if ((lead & 0xe0) == 0xc0) {
            length = 2;
            character = lead & 0x1f;
            least = 0x80;
        } else if ((lead & 0xf0) == 0xe0) {
            length = 3;
            character = lead & 0x0f;
            least = 0x800;
        } else if ((lead & 0xf8) == 0xf0) {
            length = 4;
            character = lead & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (length > bytes.size() - i)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xc0) != 0x80)
                return false;
            character = (character << 6) | (next & 0x3f);
        }
        if (character < least || character > 0x10ffff || (character >= 0xd800 && character <= 0xdfff))
            return false;
        characters.push_back(character);
        i += length;
    }
    return true;
}

} // namespace

ColumnFit::ColumnFit(const QFont& font)
    : font_(font)
    , asciiPairs_(128 * 128, kUnmeasured)
{
    asciiLast_.fill(kUnmeasured);
}

// The natural width of the text on one line, as the view lays out a cell,
// and how many glyphs it took.
ColumnFit::Layout ColumnFit::LayOut(const QString& text) const
{
    if (text.isEmpty())
        return {};
    QTextLayout layout(text, font_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<int>::max() / 128);
    layout.endLayout();
    qsizetype glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        glyphs += run.glyphIndexes().size();
    return {qRound64(line.naturalTextWidth() * 64), glyphs};
}

int ColumnFit::LastAdvance(char32_t last)
{
    int* known = last < 128 ? &asciiLast_[last] : nullptr;
    if (known != nullptr && *known != kUnmeasured)
        return *known;
    if (known == nullptr) {
        const auto found = lasts_.constFind(last);
        if (found != lasts_.constEnd())
            return *found;
    }
    const int units = int(LayOut(QString::fromUcs4(&last, 1)).units);
    if (known != nullptr)
        *known = units;
    else
        lasts_.insert(last, units);
    return units;
}

// The room the first character takes when the second follows it; the sum
// over a text's neighbours plus its last character's width telescopes to
// the width of the whole text.
int ColumnFit::PairAdvance(char32_t first, char32_t second)
{
    int* known = first < 128 && second < 128 ? &asciiPairs_[first * 128 + second] : nullptr;
    const quint64 key = PairKey(first, second);
    if (known != nullptr && *known != kUnmeasured)
        return *known;
    if (known == nullptr) {
        const auto found = pairs_.constFind(key);
        if (found != pairs_.constEnd())
            return *found;
    }
    const char32_t pair[] = {first, second};
    const Layout both = LayOut(QString::fromUcs4(pair, 2));
    const int units = both.glyphs < 2 ? kLigature : int(both.units - LastAdvance(second));
    if (known != nullptr)
        *known = units;
    else
        pairs_.insert(key, units);
    return units;
}

// A word with a ligature, and the next character (0 at the end of the
// text), laid out whole, once per word and next character: ligatures never
// reach across a space.
qint64 ColumnFit::LigatureWordAdvance(const QString& key, char32_t next)
{
    const auto found = ligatureWords_.constFind(key);
    if (found != ligatureWords_.constEnd())
        return *found;
    const qint64 units = LayOut(key).units - (next != 0 ? LastAdvance(next) : 0);
    ligatureWords_.insert(key, units);
    return units;
}

// Where a width's parts come from. Measuring advances lay out what is not
// known yet and keep it; only the thread that owns the fit may use them.
// Known advances only look up what was measured before, so that several
// threads can use them at once; where they cannot help they say so, and
// note the pair or the last character that was missing.
template <bool kMeasures>
class ColumnFit::Advances {
public:
    using Fit = std::conditional_t<kMeasures, ColumnFit, const ColumnFit>;

    explicit Advances(Fit& fit, MissingParts* missing = nullptr)
        : fit_(fit)
        , missing_(missing)
    {
    }

    // The advances of the ASCII pairs measured so far, kUnmeasured for the
    // others, and of the ASCII characters last in a text.
    const int* AsciiPairs() const { return fit_.asciiPairs_.data(); }
    const int* AsciiLasts() const { return fit_.asciiLast_.data(); }

    // What is known of a pair and of a last character, kUnmeasured for what
    // is not: nothing is measured or noted.
    int KnownPair(char32_t first, char32_t second) const
    {
        if (first < 128 && second < 128)
            return fit_.asciiPairs_[first * 128 + second];
        return fit_.pairs_.value(PairKey(first, second), kUnmeasured);
    }
    int KnownLast(char32_t last) const
    {
        return last < 128 ? fit_.asciiLast_[last] : fit_.lasts_.value(last, kUnmeasured);
    }

    // kUnmeasured only from known advances, here and in Last.
    int AsciiPair(unsigned char first, unsigned char second)
    {
        const int advance = fit_.asciiPairs_[first * 128 + second];
        if constexpr (kMeasures)
            return advance == kUnmeasured ? fit_.PairAdvance(first, second) : advance;
        else
            return advance == kUnmeasured ? Missing(first, second) : advance;
    }

    int Pair(char32_t first, char32_t second)
    {
        if (first < 128 && second < 128)
            return AsciiPair(static_cast<unsigned char>(first), static_cast<unsigned char>(second));
        if constexpr (kMeasures) {
            return fit_.PairAdvance(first, second);
        } else {
            const int advance = fit_.pairs_.value(PairKey(first, second), kUnmeasured);
            return advance == kUnmeasured ? Missing(first, second) : advance;
        }
    }

    int Last(char32_t last)
    {
        if constexpr (kMeasures) {
            return fit_.LastAdvance(last);
        } else {
            const int advance = last < 128 ? fit_.asciiLast_[last] : fit_.lasts_.value(last, kUnmeasured);
            if (advance == kUnmeasured)
                missing_->lasts.insert(last);
            return advance;
        }
    }

    // kUnknown only from known advances, here and in Whole.
    qint64 LigatureWord(const QString& key, char32_t next)
    {
        if constexpr (kMeasures)
            return fit_.LigatureWordAdvance(key, next);
        else
            return fit_.ligatureWords_.value(key, kUnknown);
    }

    qint64 Whole(std::string_view bytes, TextEncoding encoding)
    {
        if constexpr (kMeasures)
            return fit_.LayOut(DecodeText(bytes, encoding)).units;
        else
            return kUnknown;
    }

private:
    int Missing(char32_t first, char32_t second)
    {
        missing_->pairs.insert(PairKey(first, second));
        return kUnmeasured;
    }

    Fit& fit_;
    MissingParts* missing_;
};

namespace {

// The room a word takes in a line before the next character (0 at the end
// of the text).
template <typename Advances>
qint64 WordAdvance(std::u32string_view word, char32_t next, Advances& advances)
{
    const int end = next != 0 ? advances.Pair(word.back(), next) : advances.Last(word.back());
    if (end == kUnmeasured)
        return kUnknown;
    qint64 units = end;
    for (std::size_t i = 0; i + 1 < word.size() && units != kLigature; ++i) {
        const int advance = advances.Pair(word[i], word[i + 1]);
        if (advance == kUnmeasured)
            return kUnknown;
        units = advance == kLigature ? kLigature : units + advance;
    }
    if (units != kLigature)
        return units;
    QString key = QString::fromUcs4(word.data(), qsizetype(word.size()));
    if (next != 0)
        key += QString::fromUcs4(&next, 1);
    return advances.LigatureWord(key, next);
}

// Sums the words' advances, each word beginning at a space.
template <typename Advances>
qint64 PairedWidth(std::u32string_view characters, Advances& advances)
{
    qint64 units = 0;
    std::size_t begin = 0;
    while (begin < characters.size()) {
        const std::size_t end = std::min(characters.find(U' ', begin + 1), characters.size());
        const qint64 word = WordAdvance(characters.substr(begin, end - begin),
                                        end < characters.size() ? characters[end] : 0, advances);
        if (word == kUnknown)
            return kUnknown;
        units += word;
        begin = end;
    }
    return units;
}

// Whether each of the eight bytes of the word is plain ASCII (0x20 to 0x7e):
// none is below 0x20 or above 0x7e.
bool PlainAsciiWord(std::uint64_t word)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const std::uint64_t below = (word - kOnes * 0x20) & ~word;
    const std::uint64_t above = (word + kOnes * (127 - 0x7e)) | word;
    return ((below | above) & kHigh) == 0;
}

bool AllPlainAscii(std::string_view bytes)
{
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (!PlainAsciiWord(word))
            return false;
    }
    for (; i < bytes.size(); ++i) {
        if (!PlainAscii(static_cast<unsigned char>(bytes[i])))
            return false;
    }
    return true;
}

// Plain ASCII without a ligature is the sum of its neighbours' pairs and its
// last character, read straight from the table: first in one pass over
// every byte, with no question asked on the way; a text for which that does
// not do (a byte beyond plain ASCII, a pair not measured yet or drawn as one
// glyph) goes the careful way, which tells which.
template <typename Advances>
qint64 AsciiWidth(std::string_view bytes, Advances& advances)
{
    if (bytes.empty())
        return 0;
    if (AllPlainAscii(bytes)) {
        const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
        const int* pairs = advances.AsciiPairs();
        // Two sums, so that the additions need not wait for each other.
        qint64 even = 0;
        qint64 odd = 0;
        int least = std::numeric_limits<int>::max();
        std::size_t i = 1;
        for (; i + 1 < bytes.size(); i += 2) {
            const int first = pairs[at[i - 1] * 128 + at[i]];
            const int second = pairs[at[i] * 128 + at[i + 1]];
            even += first;
            odd += second;
            least = std::min(least, std::min(first, second));
        }
        if (i < bytes.size()) {
            const int last = pairs[at[i - 1] * 128 + at[i]];
            even += last;
            least = std::min(least, last);
        }
        const int end = advances.AsciiLasts()[at[bytes.size() - 1]];
        // Both marks are below every advance.
        if (least > kLigature && end != kUnmeasured)
            return even + odd + end;
    }
    auto first = static_cast<unsigned char>(bytes[0]);
    if (!PlainAscii(first))
        return kNotPlainAscii;
    qint64 units = 0;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const auto second = static_cast<unsigned char>(bytes[i]);
        if (!PlainAscii(second))
            return kNotPlainAscii;
        const int advance = advances.AsciiPair(first, second);
        // Both marks are below every advance.
        if (advance <= kLigature)
            return advance == kLigature ? kNotPlainAscii : kUnknown;
        units += advance;
        first = second;
    }
    const int advance = advances.Last(first);
    return advance == kUnmeasured ? kUnknown : units + advance;
}

// The sum of every pair of neighbours and the last character, when each of
// them is known and none is drawn as one glyph: the words' sum comes to the
// same then. kUnknown otherwise, for the words' way to tell why.
template <typename Advances>
qint64 KnownPairsWidth(std::u32string_view characters, const Advances& advances)
{
    qint64 units = 0;
    for (std::size_t i = 0; i + 1 < characters.size(); ++i) {
        const int advance = advances.KnownPair(characters[i], characters[i + 1]);
        // Both marks are below every advance.
        if (advance <= kLigature)
            return kUnknown;
        units += advance;
    }
    const int last = advances.KnownLast(characters.back());
    return last == kUnmeasured ? kUnknown : units + last;
}

// Characters are decoded into a buffer of the caller's, kept from text to text.
// ASCII reads the same in either encoding.
template <typename Advances>
qint64 TextUnits(std::string_view bytes, TextEncoding encoding, Advances& advances, std::u32string& characters)
{
    const qint64 units = AsciiWidth(bytes, advances);
    if (units != kNotPlainAscii)
        return units;
    if (encoding != TextEncoding::Utf8 || !DecodeUtf8(bytes, characters))
        characters = DecodeText(bytes, encoding).toStdU32String();
    if (!Paired(characters))
        return advances.Whole(bytes, encoding);
    const qint64 known = KnownPairsWidth(characters, advances);
    return known != kUnknown ? known : PairedWidth(characters, advances);
}

// Capped so that the header's sum of all columns still fits in an int.
int Pixels(qint64 units)
{
    return int(std::clamp<qint64>((units + 63) / 64, 0, std::numeric_limits<int>::max() / 16));
}

} // namespace

int ColumnFit::TextWidth(std::string_view bytes, TextEncoding encoding)
{
    Advances<true> measuring(*this);
    return Pixels(TextUnits(bytes, encoding, measuring, characters_));
}

void ColumnFit::SetMeasuredColumns(unsigned columns)
{
    measured_ = columns;
    Clear();
}

void ColumnFit::Add(const CardTableModel& table, int row)
{
    for (int column = 0; column < kAllCardFieldCount; ++column) {
        if (Measures(column))
            ++widths_[std::size_t(column)][TextWidth(table.Cell(row, column), table.Encoding())];
    }
}

void ColumnFit::Remove(const CardTableModel& table, int row)
{
    for (int column = 0; column < kAllCardFieldCount; ++column) {
        if (!Measures(column))
            continue;
        auto& counts = widths_[std::size_t(column)];
        const auto found = counts.find(TextWidth(table.Cell(row, column), table.Encoding()));
        if (found != counts.end() && --found->second == 0)
            counts.erase(found);
    }
}

// What a thread counted of its share of cells; the cells it could not tell
// are left, by row, a bit for each column, for the next round.
struct ColumnFit::Tally {
    std::array<std::vector<int>, kAllCardFieldCount> counts;
    std::array<std::map<int, int>, kAllCardFieldCount> wide;
    std::vector<RowColumns> left;
    MissingParts missing;
};

void ColumnFit::Count(const CardTableModel& table, std::span<const RowColumns> cells, Tally& tally) const
{
    Advances<false> known(*this, &tally.missing);
    std::u32string characters;
    for (int column = 0; column < kAllCardFieldCount; ++column) {
        if (Measures(column))
            tally.counts[std::size_t(column)].assign(kCountedWidths, 0);
    }
    for (const auto& [row, columns] : cells) {
        unsigned left = 0;
        for (int column = 0; column < kAllCardFieldCount; ++column) {
            if ((columns & (1u << column)) == 0)
                continue;
            const qint64 units = TextUnits(table.Cell(row, column), table.Encoding(), known, characters);
            if (units == kUnknown) {
                left |= 1u << column;
                continue;
            }
            const int width = Pixels(units);
            if (width < kCountedWidths)
                ++tally.counts[std::size_t(column)][std::size_t(width)];
            else
                ++tally.wide[std::size_t(column)][width];
        }
        if (left != 0)
            tally.left.emplace_back(row, left);
    }
}

void ColumnFit::AddRows(const CardTableModel& table, int first, int last, int threads)
{
    const int rows = last - first + 1;
    const int shareCount = ShareCount(rows, kRowsPerThread, threads);
    if (shareCount < 2) {
        for (int row = first; row <= last; ++row)
            Add(table, row);
        return;
    }
    // Rows spread over the table, measured here first, lay out the pairs
    // that most texts are made of.
    const int sample = rows / 64;
    for (int i = 0; i < sample; ++i) {
        const int row = first + int(qint64(rows) * i / sample);
        for (int column = 0; column < kAllCardFieldCount; ++column) {
            if (Measures(column))
                TextWidth(table.Cell(row, column), table.Encoding());
        }
    }
    // In rounds, the cells are shared out over the threads, which count
    // those whose parts are all measured and note a missing part of each
    // of the others; those parts are measured here, and the cells left go
    // round again as long as that clears most of them. The last few are
    // measured here.
    std::vector<RowColumns> cells;
    cells.reserve(std::size_t(rows));
    for (int row = first; row <= last; ++row)
        cells.emplace_back(row, measured_);
    while (!cells.empty()) {
        const std::vector<Share> shares = Shares(0, int(cells.size()) - 1, shareCount);
        std::vector<Tally> tallies(shares.size());
        RunShares(shares.size(), [&](std::size_t i) {
            const std::span<const RowColumns> share(cells.data() + shares[i].first,
                                                    std::size_t(shares[i].last - shares[i].first + 1));
            Count(table, share, tallies[i]);
        });
        std::vector<RowColumns> left;
        bool measuredMore = false;
        for (Tally& tally : tallies) {
            for (int column = 0; column < kAllCardFieldCount; ++column) {
                if (!Measures(column))
                    continue;
                auto& widths = widths_[std::size_t(column)];
                const std::vector<int>& counts = tally.counts[std::size_t(column)];
                for (int width = 0; width < kCountedWidths; ++width) {
                    if (counts[std::size_t(width)] != 0)
                        widths[width] += counts[std::size_t(width)];
                }
                for (const auto& [width, count] : tally.wide[std::size_t(column)])
                    widths[width] += count;
            }
            left.insert(left.end(), tally.left.begin(), tally.left.end());
            for (const quint64 pair : tally.missing.pairs)
                PairAdvance(char32_t(pair >> 32), char32_t(pair & 0xffffffffu));
            for (const char32_t character : tally.missing.lasts)
                LastAdvance(character);
            measuredMore = measuredMore || !tally.missing.pairs.empty() || !tally.missing.lasts.empty();
        }
        if (!measuredMore || left.size() > cells.size() / 2 || left.size() < std::size_t(kRowsPerThread)) {
            for (const auto& [row, columns] : left) {
                for (int column = 0; column < kAllCardFieldCount; ++column) {
                    if ((columns & (1u << column)) != 0)
                        ++widths_[std::size_t(column)][TextWidth(table.Cell(row, column), table.Encoding())];
                }
            }
            left.clear();
        }
        cells = std::move(left);
    }
}

void ColumnFit::Clear()
{
    for (auto& counts : widths_)
        counts.clear();
}

int ColumnFit::WidestText(int column) const
{
    if (column < 0 || column >= kAllCardFieldCount)
        return 0;
    const auto& counts = widths_[std::size_t(column)];
    return counts.empty() ? 0 : counts.rbegin()->first;
}
