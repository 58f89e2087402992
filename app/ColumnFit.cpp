#include "app/ColumnFit.h"

#include "collection/CardTableModel.h"

#include <QGlyphRun>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace {

constexpr int kUnmeasured = std::numeric_limits<int>::min();
// A pair that the font draws as one glyph: its texts are laid out whole.
constexpr int kLigature = std::numeric_limits<int>::min() + 1;

bool PlainAscii(unsigned char byte)
{
    return byte >= 0x20 && byte < 0x7f;
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

// Whether all characters but the common ones (digits, punctuation, spaces)
// are of one script: the layout shapes each script's run on its own.
bool OneScript(const std::u32string& characters)
{
    QChar::Script script = QChar::Script_Common;
    for (const char32_t character : characters) {
        const QChar::Script own = QChar::script(character);
        if (own == QChar::Script_Common || own == script)
            continue;
        if (script != QChar::Script_Common)
            return false;
        script = own;
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
    const quint64 key = (quint64(first) << 32) | second;
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

// The room a word takes in a line before the next character (0 at the end
// of the text). A word with a ligature is laid out whole, once per word and
// next character: ligatures never reach across a space.
qint64 ColumnFit::WordAdvance(std::u32string_view word, char32_t next)
{
    qint64 units = next != 0 ? PairAdvance(word.back(), next) : LastAdvance(word.back());
    for (std::size_t i = 0; i + 1 < word.size() && units != kLigature; ++i) {
        const int advance = PairAdvance(word[i], word[i + 1]);
        units = advance == kLigature ? kLigature : units + advance;
    }
    if (units != kLigature)
        return units;
    QString key = QString::fromUcs4(word.data(), qsizetype(word.size()));
    if (next != 0)
        key += QString::fromUcs4(&next, 1);
    const auto found = ligatureWords_.constFind(key);
    if (found != ligatureWords_.constEnd())
        return *found;
    units = LayOut(key).units - (next != 0 ? LastAdvance(next) : 0);
    ligatureWords_.insert(key, units);
    return units;
}

// Sums the words' advances, each word beginning at a space.
qint64 ColumnFit::PairedWidth(std::u32string_view characters)
{
    qint64 units = 0;
    std::size_t begin = 0;
    while (begin < characters.size()) {
        const std::size_t end = std::min(characters.find(U' ', begin + 1), characters.size());
        units += WordAdvance(characters.substr(begin, end - begin), end < characters.size() ? characters[end] : 0);
        begin = end;
    }
    return units;
}

// Plain ASCII without a ligature is the sum of its neighbours' pairs and its
// last character, read straight from the table; -1 for any other text.
qint64 ColumnFit::AsciiWidth(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    qint64 units = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (!PlainAscii(first) || !PlainAscii(second))
            return -1;
        int advance = asciiPairs_[first * 128 + second];
        if (advance == kUnmeasured)
            advance = PairAdvance(first, second);
        if (advance == kLigature)
            return -1;
        units += advance;
    }
    const auto last = static_cast<unsigned char>(bytes.back());
    return PlainAscii(last) ? units + LastAdvance(last) : -1;
}

int ColumnFit::TextWidth(std::string_view bytes, TextEncoding encoding)
{
    qint64 units = AsciiWidth(bytes);
    if (units < 0) {
        const QString text = DecodeText(bytes, encoding);
        const std::u32string characters = text.toStdU32String();
        const bool paired = std::all_of(characters.begin(), characters.end(), PairsWell) && OneScript(characters);
        units = paired ? PairedWidth(characters) : LayOut(text).units;
    }
    // Capped so that the header's sum of all columns still fits in an int.
    return int(std::clamp<qint64>((units + 63) / 64, 0, std::numeric_limits<int>::max() / 16));
}

void ColumnFit::Add(const CardTableModel& table, int row)
{
    for (int column = 0; column < kCardFieldCount; ++column)
        ++widths_[std::size_t(column)][TextWidth(table.Cell(row, column), table.Encoding())];
}

void ColumnFit::Remove(const CardTableModel& table, int row)
{
    for (int column = 0; column < kCardFieldCount; ++column) {
        auto& counts = widths_[std::size_t(column)];
        const auto found = counts.find(TextWidth(table.Cell(row, column), table.Encoding()));
        if (found != counts.end() && --found->second == 0)
            counts.erase(found);
    }
}

void ColumnFit::Clear()
{
    for (auto& counts : widths_)
        counts.clear();
}

int ColumnFit::WidestText(int column) const
{
    const auto& counts = widths_[std::size_t(column)];
    return counts.empty() ? 0 : counts.rbegin()->first;
}
