#include "collection/totals/Currency.h"

#include <algorithm>
#include <iterator>

namespace {

struct Mark {
    std::string_view text;
    std::string_view currency;
};

// The signs collectors write most first, for speed.
constexpr Mark kMarks[] = {
    // Signs shared by several currencies stay themselves.
    {"$", "$"}, {"¥", "¥"}, {"￥", "¥"}, {"kr", "kr"},
    // Signs that name one currency.
    {"€", "EUR"}, {"£", "GBP"}, {"US$", "USD"}, {"C$", "CAD"}, {"CA$", "CAD"}, {"A$", "AUD"},
    {"AU$", "AUD"}, {"NZ$", "NZD"}, {"HK$", "HKD"}, {"S$", "SGD"}, {"R$", "BRL"}, {"円", "JPY"},
    {"₩", "KRW"}, {"₹", "INR"}, {"zł", "PLN"}, {"Kč", "CZK"},
    // Codes, each naming itself.
    {"USD", "USD"}, {"EUR", "EUR"}, {"GBP", "GBP"}, {"JPY", "JPY"}, {"CAD", "CAD"},
    {"AUD", "AUD"}, {"NZD", "NZD"}, {"CHF", "CHF"}, {"HKD", "HKD"}, {"SGD", "SGD"},
    {"CNY", "CNY"}, {"KRW", "KRW"}, {"INR", "INR"}, {"BRL", "BRL"}, {"MXN", "MXN"},
    {"SEK", "SEK"}, {"NOK", "NOK"}, {"DKK", "DKK"}, {"PLN", "PLN"}, {"CZK", "CZK"},
    {"HUF", "HUF"}, {"RUB", "RUB"}, {"TRY", "TRY"}, {"ILS", "ILS"}, {"ZAR", "ZAR"},
};

// How a total shows its currency where a sign says it alone; any other
// currency shows its code and a space.
struct Sign {
    std::string_view currency;
    std::string_view shown;
};

constexpr Sign kSigns[] = {
    {"EUR", "€"}, {"GBP", "£"}, {"KRW", "₩"}, {"INR", "₹"}, {"$", "$"}, {"¥", "¥"}, {"kr", "kr "},
};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameMark(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::string Grouped(Hundredths whole)
{
    std::string reversed;
    for (int digit = 0; digit == 0 || whole > 0; ++digit, whole /= 10) {
        if (digit > 0 && digit % 3 == 0)
            reversed += ',';
        reversed += char('0' + int(whole % 10));
    }
    return {reversed.rbegin(), reversed.rend()};
}

} // namespace

std::optional<std::string_view> CurrencyOfMark(std::string_view mark)
{
    for (const Mark& known : kMarks) {
        if (SameMark(mark, known.text))
            return known.currency;
    }
    return std::nullopt;
}

std::string AmountText(std::string_view currency, Hundredths amount)
{
    std::string text;
    if (!currency.empty()) {
        const auto sign = std::find_if(std::begin(kSigns), std::end(kSigns),
                                       [&](const Sign& known) { return known.currency == currency; });
        if (sign != std::end(kSigns))
            text = sign->shown;
        else
            text = std::string(currency) + ' ';
    }
    const int cents = int(amount % 100);
    text += Grouped(amount / 100);
    text += '.';
    text += char('0' + cents / 10);
    text += char('0' + cents % 10);
    return text;
}

std::string GainText(std::string_view currency, Hundredths gain)
{
    const std::string amount = AmountText(currency, gain < 0 ? -gain : gain);
    return gain > 0 ? '+' + amount : gain < 0 ? '-' + amount : amount;
}

std::string CountText(Hundredths count)
{
    return Grouped(count);
}
