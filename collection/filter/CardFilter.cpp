#include "collection/filter/CardFilter.h"

#include "collection/Card.h"

#include <QLatin1String>

#include <algorithm>
#include <array>

namespace {

// Canonical decomposition, without the combining marks it leaves, case
// folded. The filter index keeps a line feed after each field, so no folded
// text may hold one.
std::string FoldedUtf8(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    for (qsizetype at = 0; at < decomposed.size();) {
        char32_t point = decomposed[at].unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(point) && at + 1 < decomposed.size() && decomposed[at + 1].isLowSurrogate()) {
            point = QChar::surrogateToUcs4(decomposed[at], decomposed[at + 1]);
            length = 2;
        }
        if (QChar::category(point) != QChar::Mark_NonSpacing)
            kept.append(decomposed.constData() + at, length);
        at += length;
    }
    const QString folded = kept.toCaseFolded();
    std::string bytes = folded.toStdString();
    std::replace(bytes.begin(), bytes.end(), '\n', ' ');
    return bytes;
}

char AsciiFolded(unsigned char byte)
{
    if (byte == '\n')
        return ' ';
    return char(byte - unsigned('A') < 26u ? byte + 32 : byte);
}

constexpr std::size_t kAsciiBlock = 16;

// False, changing nothing, unless the block is all ASCII. A fixed count of
// bytes lets the compiler fold them all in one vector step.
bool FoldedAsciiBlock(char* block)
{
    unsigned char high = 0;
    for (std::size_t at = 0; at < kAsciiBlock; ++at)
        high |= static_cast<unsigned char>(block[at]);
    if (high >= 0x80)
        return false;
    for (std::size_t at = 0; at < kAsciiBlock; ++at)
        block[at] = AsciiFolded(static_cast<unsigned char>(block[at]));
    return true;
}

// Decomposition, mark removal and case folding each go character by
// character, so a character folds the same in any text. Characters of two
// UTF-8 bytes (U+0080 to U+07FF: accented Latin, Greek, Cyrillic, and the
// combining accents themselves) are folded once, here, instead of in every
// field that holds one.
const std::array<std::string, 0x800>& TwoByteFolds()
{
    static const std::array<std::string, 0x800> folds = [] {
        std::array<std::string, 0x800> table;
        for (char16_t point = 0x80; point < 0x800; ++point)
            table[point] = FoldedUtf8(QString(QChar(point)));
        return table;
    }();
    return folds;
}

// False, having appended part, at a character of more than two bytes or at
// bytes that are not UTF-8.
bool AppendTwoByteFolded(std::string& out, std::string_view bytes)
{
    const std::array<std::string, 0x800>& folds = TwoByteFolds();
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t ascii = at;
        while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80)
            ++at;
        const std::size_t from = out.size();
        out.append(bytes.substr(ascii, at - ascii));
        for (auto it = out.begin() + std::ptrdiff_t(from); it != out.end(); ++it)
            *it = AsciiFolded(static_cast<unsigned char>(*it));
        if (at == bytes.size())
            break;
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0xC2 || byte > 0xDF || at + 1 == bytes.size())
            return false;
        const auto next = static_cast<unsigned char>(bytes[at + 1]);
        if ((next & 0xC0) != 0x80)
            return false;
        out += folds[std::size_t((byte & 0x1F) << 6 | (next & 0x3F))];
        at += 2;
    }
    return true;
}

bool SameName(QStringView name, std::string_view known)
{
    return name.compare(QLatin1String(known.data(), qsizetype(known.size())), Qt::CaseInsensitive) == 0;
}

int FieldNamed(QStringView name)
{
    for (int field = 0; field < kCardFieldCount; ++field) {
        if (SameName(name, kCardHeadings[std::size_t(field)]) || SameName(name, kCardKeys[std::size_t(field)]))
            return field;
    }
    for (int detail = 0; detail < kCardDetailCount; ++detail) {
        if (SameName(name, kDetailHeadings[std::size_t(detail)]) || SameName(name, kDetailKeys[std::size_t(detail)]))
            return kCardFieldCount + detail;
    }
    return CardFilter::kAnyField;
}

QString Grouped(long long number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

} // namespace

CardFilter ParseCardFilter(const QString& text)
{
    CardFilter filter;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at].isSpace()) {
            ++at;
            continue;
        }
        QString word;
        bool quoted = false;
        bool quoteSeen = false;
        qsizetype colon = -1;
        for (; at < text.size() && (quoted || !text[at].isSpace()); ++at) {
            const QChar c = text[at];
            if (c == u'"') {
                quoted = !quoted;
                quoteSeen = true;
            } else {
                // A colon inside or after quotes is text, so "a:b" finds a:b anywhere.
                if (c == u':' && colon < 0 && !quoteSeen)
                    colon = word.size();
                word += c;
            }
        }
        int field = CardFilter::kAnyField;
        if (colon >= 0) {
            field = FieldNamed(QStringView(word).left(colon));
            if (field != CardFilter::kAnyField)
                word.remove(0, colon + 1);
        }
        // An empty word (`series:` half typed, `""`) asks for nothing.
        std::string folded = FoldedUtf8(word);
        if (!folded.empty())
            filter.words.push_back({std::move(folded), field});
    }
    return filter;
}

bool Narrows(const CardFilter& narrower, const CardFilter& wider)
{
    return std::all_of(wider.words.begin(), wider.words.end(), [&](const CardFilter::Word& wide) {
        return std::any_of(narrower.words.begin(), narrower.words.end(), [&](const CardFilter::Word& narrow) {
            return (wide.field == CardFilter::kAnyField || wide.field == narrow.field)
                   && narrow.text.find(wide.text) != std::string::npos;
        });
    });
}

void AppendFoldedForSearch(std::string& out, std::string_view bytes)
{
    // Most fields are ASCII, and most others begin with ASCII: that part is
    // folded in place, a block at a time while it lasts.
    const std::size_t begin = out.size();
    out.append(bytes);
    char* const text = out.data() + begin;
    std::size_t done = 0;
    while (bytes.size() - done >= kAsciiBlock && FoldedAsciiBlock(text + done))
        done += kAsciiBlock;
    for (; done < bytes.size() && static_cast<unsigned char>(text[done]) < 0x80; ++done)
        text[done] = AsciiFolded(static_cast<unsigned char>(text[done]));
    if (done == bytes.size())
        return;
    out.resize(begin + done);
    const std::string_view rest = bytes.substr(done);
    if (AppendTwoByteFolded(out, rest))
        return;
    out.resize(begin + done);
    out += FoldedUtf8(QString::fromUtf8(rest.data(), qsizetype(rest.size())));
}

QString FilterCountText(long long shown, long long total)
{
    return QStringLiteral("%1 of %2 %3")
        .arg(Grouped(shown), Grouped(total), total == 1 ? QStringLiteral("Card") : QStringLiteral("Cards"));
}
