#include "collection/totals/PriceReader.h"

#include "collection/totals/Currency.h"

#include <array>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool Starts(std::string_view text, std::size_t at, std::string_view word)
{
    return text.substr(at, word.size()) == word;
}

// The length of the space at a position, 0 where there is none. No-break,
// narrow no-break and thin spaces are what spreadsheets and French number
// formats put between thousands.
std::size_t SpaceAt(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return 0;
    const char c = text[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f')
        return 1;
    if (c == '\xC2')
        return Starts(text, at, "\xC2\xA0") ? 2 : 0;
    if (c == '\xE2')
        return Starts(text, at, "\xE2\x80\xAF") || Starts(text, at, "\xE2\x80\x89") ? 3 : 0;
    return 0;
}

// The length of the space that ends the text, 0 where there is none.
std::size_t SpaceBefore(std::string_view text)
{
    for (std::size_t length = 1; length <= 3 && length <= text.size(); ++length) {
        if (SpaceAt(text, text.size() - length) == length)
            return length;
    }
    return 0;
}

std::string_view Trimmed(std::string_view text)
{
    while (std::size_t length = SpaceAt(text, 0))
        text.remove_prefix(length);
    while (std::size_t length = SpaceBefore(text))
        text.remove_suffix(length);
    return text;
}

// A separator between digits, as one character: every kind of space is
// ' ' and the typographic apostrophe is '\''. Its length in bytes is set.
char SeparatorAt(std::string_view text, std::size_t at, std::size_t& length)
{
    length = 0;
    if (at >= text.size())
        return 0;
    const char c = text[at];
    if (c == '.' || c == ',' || c == '\'') {
        length = 1;
        return c;
    }
    if (Starts(text, at, "\xE2\x80\x99")) {
        length = 3;
        return '\'';
    }
    if (c != '\t' && c != '\r' && c != '\v' && c != '\f' && (length = SpaceAt(text, at)) > 0)
        return ' ';
    return 0;
}

// "5,-" and "5.–": whole units, no cents.
std::size_t DashAt(std::string_view text, std::size_t at)
{
    if (Starts(text, at, "-"))
        return 1;
    if (Starts(text, at, "\xE2\x80\x93") || Starts(text, at, "\xE2\x80\x94"))
        return 3;
    return 0;
}

bool IsMark(char separator)
{
    return separator == '.' || separator == ',';
}

// Digits and the separators between them. runs[i] comes before seps[i];
// runs[count] is the last run. Only the first run is empty (".50") and only
// the last (after a decimal mark and a dash).
struct Number {
    static constexpr int kMostSeparators = 7;
    std::array<std::string_view, kMostSeparators + 1> runs;
    std::array<char, kMostSeparators> seps{};
    int count = 0;
    bool leadingMark = false;
    bool dash = false;
    std::size_t end = 0;
};

// Scans the number beginning at start, a digit or a point or comma before
// a digit. False where it has more separators than a readable amount can.
bool Scan(std::string_view text, std::size_t start, Number& number)
{
    std::size_t at = start;
    if (IsMark(text[at])) {
        number.leadingMark = true;
        number.seps[number.count++] = text[at++];
    }
    while (true) {
        const std::size_t from = at;
        while (at < text.size() && IsDigit(text[at]))
            ++at;
        number.runs[std::size_t(number.count)] = text.substr(from, at - from);
        std::size_t length = 0;
        const char separator = SeparatorAt(text, at, length);
        const bool beforeDigit = length > 0 && at + length < text.size() && IsDigit(text[at + length]);
        const std::size_t dash = IsMark(separator) ? DashAt(text, at + 1) : 0;
        if (!beforeDigit && dash == 0)
            break;
        if (number.count == Number::kMostSeparators)
            return false;
        number.seps[std::size_t(number.count++)] = separator;
        if (dash > 0) {
            number.dash = true;
            at += 1 + dash;
            number.runs[std::size_t(number.count)] = {};
            break;
        }
        at += length;
    }
    number.end = at;
    return true;
}

// Whether runs[0..groups] are thousands groups joined by one separator.
bool Grouped(const Number& number, int groups)
{
    if (groups == 0)
        return true;
    const std::string_view first = number.runs[0];
    if (first.empty() || first.size() > 3 || first[0] == '0')
        return false;
    for (int i = 0; i < groups; ++i) {
        if (number.seps[std::size_t(i)] != number.seps[0] || number.runs[std::size_t(i) + 1].size() != 3)
            return false;
    }
    return true;
}

// The value of runs[0..last], at most digits significant digits.
std::optional<std::int64_t> WholeValue(const Number& number, int last, int digits)
{
    std::int64_t value = 0;
    int significant = 0;
    for (int i = 0; i <= last; ++i) {
        for (const char c : number.runs[std::size_t(i)]) {
            if (significant == 0 && c == '0')
                continue;
            if (++significant > digits)
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

// Which separator is the decimal mark: -1 for none, -2 for a number that
// cannot be read either way.
int DecimalMark(const Number& number)
{
    if (number.count == 0)
        return -1;
    const int last = number.count - 1;
    if (number.leadingMark)
        return number.count == 1 ? 0 : -2;
    if (number.dash)
        return last;
    const char mark = number.seps[std::size_t(last)];
    if (!IsMark(mark))
        return -1;
    for (int i = 0; i < last; ++i) {
        if (number.seps[std::size_t(i)] == mark)
            return -1;
    }
    if (last > 0)
        return last;
    const std::size_t decimals = number.runs[1].size();
    return decimals <= 2 ? 0 : decimals == 3 ? -1 : -2;
}

} // namespace

bool IsBlank(std::string_view text)
{
    return Trimmed(text).empty();
}

std::optional<PriceAmount> ReadPrice(std::string_view text)
{
    text = Trimmed(text);
    std::size_t start = 0;
    while (start < text.size() && !IsDigit(text[start])
           && !(IsMark(text[start]) && start + 1 < text.size() && IsDigit(text[start + 1])))
        ++start;
    Number number;
    if (start == text.size() || !Scan(text, start, number))
        return std::nullopt;

    const std::string_view before = Trimmed(text.substr(0, start));
    const std::string_view after = Trimmed(text.substr(number.end));
    if (!before.empty() && !after.empty())
        return std::nullopt;
    PriceAmount price;
    if (const std::string_view mark = before.empty() ? after : before; !mark.empty()) {
        const std::optional<std::string_view> currency = CurrencyOfMark(mark);
        if (!currency)
            return std::nullopt;
        price.currency = *currency;
    }

    const int decimal = DecimalMark(number);
    if (decimal == -2)
        return std::nullopt;
    const int groups = decimal >= 0 ? decimal : number.count;
    if (!Grouped(number, groups))
        return std::nullopt;
    const std::optional<std::int64_t> whole = WholeValue(number, groups, 15);
    if (!whole)
        return std::nullopt;
    std::int64_t cents = 0;
    if (decimal >= 0) {
        const std::string_view decimals = number.runs[std::size_t(number.count)];
        if (decimals.size() > 2)
            return std::nullopt;
        for (std::size_t i = 0; i < 2; ++i)
            cents = cents * 10 + (i < decimals.size() ? decimals[i] - '0' : 0);
    }
    price.hundredths = *whole * 100 + cents;
    return price;
}

std::optional<std::int64_t> ReadQuantity(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return 1;
    Number number;
    if (!IsDigit(text[0]) || !Scan(text, 0, number) || number.end != text.size() || number.dash
        || !Grouped(number, number.count))
        return std::nullopt;
    return WholeValue(number, number.count, 9);
}
