#include "collection/csv/apps/CardWords.h"

#include "base/Windows1252.h"

#include <algorithm>
#include <utility>

namespace {

struct Word {
    std::string_view written;
    std::string_view kept;
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// ASCII letters in lower case, "_" and "-" as spaces and runs of spaces as
// one: "Near_Mint", "near-mint" and "NEAR  MINT" are one key.
std::string Key(std::string_view word)
{
    std::string key;
    for (char c : Trimmed(word)) {
        if (c == '_' || c == '-' || IsSpace(c))
            c = ' ';
        else if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c == ' ' && (key.empty() || key.back() == ' '))
            continue;
        key.push_back(c);
    }
    return key;
}

const Word* Find(std::string_view key, const auto& words)
{
    const auto found = std::find_if(std::begin(words), std::end(words),
                                    [key](const Word& word) { return word.written == key; });
    return found == std::end(words) ? nullptr : &*found;
}

// Keys as Key() makes them. "Played" is left to ConditionOnScale.
constexpr Word kConditions[] = {
    {"mint", "Mint"},
    {"m", "Mint"},
    {"mt", "Mint"},
    {"1", "Mint"},
    {"near mint", "Near Mint"},
    {"nearmint", "Near Mint"},
    {"nm", "Near Mint"},
    {"nm m", "Near Mint"},
    {"2", "Near Mint"},
    {"excellent", "Excellent"},
    {"ex", "Excellent"},
    {"3", "Excellent"},
    {"good", "Good"},
    {"good (lightly played)", "Good"},
    {"lightly played", "Good"},
    {"slightly played", "Good"},
    {"lp", "Good"},
    {"sp", "Good"},
    {"gd", "Good"},
    {"4", "Good"},
    {"light played", "Light Played"},
    {"lightplayed", "Light Played"},
    {"moderately played", "Light Played"},
    {"mp", "Light Played"},
    {"5", "Light Played"},
    {"heavily played", "Played"},
    {"hp", "Played"},
    {"pl", "Played"},
    {"6", "Played"},
    {"poor", "Poor"},
    {"damaged", "Poor"},
    {"dmg", "Poor"},
    {"d", "Poor"},
    {"po", "Poor"},
    {"7", "Poor"},
};

// The grades a condition may begin with when a finish follows, longest first.
constexpr std::string_view kGradePrefixes[] = {
    "moderately played", "heavily played", "lightly played", "slightly played", "near mint", "damaged", "played", "mint",
};

constexpr Word kFinishes[] = {
    {"foil", "foil"},
    {"foiled", "foil"},
    {"true", "foil"},
    {"yes", "foil"},
    {"1", "foil"},
    {"etched", "etched"},
    {"foil etched", "etched"},
    {"etched foil", "etched"},
    {"normal", "nonfoil"},
    {"nonfoil", "nonfoil"},
    {"non foil", "nonfoil"},
    {"regular", "nonfoil"},
    {"false", "nonfoil"},
    {"no", "nonfoil"},
    {"0", "nonfoil"},
    {"holo", "holo"},
    {"holofoil", "holo"},
    {"reverse", "reverse"},
    {"reverse holo", "reverse"},
    {"reverse holofoil", "reverse"},
};

// Codes as the card databases give them, each with the name Moxfield and
// Deckbox write; a code's first entry is its name.
constexpr Word kLanguages[] = {
    {"english", "en"},
    {"spanish", "es"},
    {"french", "fr"},
    {"german", "de"},
    {"italian", "it"},
    {"portuguese", "pt"},
    {"japanese", "ja"},
    {"korean", "ko"},
    {"russian", "ru"},
    {"chinese simplified", "zhs"},
    {"chinese traditional", "zht"},
    {"simplified chinese", "zhs"},
    {"traditional chinese", "zht"},
    {"chinese", "zhs"},
    {"zh cn", "zhs"},
    {"zh tw", "zht"},
    {"s chinese", "zhs"},
    {"t chinese", "zht"},
    {"hebrew", "he"},
    {"latin", "la"},
    {"ancient greek", "grc"},
    {"arabic", "ar"},
    {"sanskrit", "sa"},
    {"phyrexian", "ph"},
    {"jp", "ja"},
    {"kr", "ko"},
    {"cn", "zhs"},
    {"tw", "zht"},
};

constexpr std::string_view kLanguageNames[] = {
    "English", "Spanish", "French", "German", "Italian", "Portuguese", "Japanese", "Korean", "Russian",
    "Chinese Simplified", "Chinese Traditional",
};

constexpr Word kGames[] = {
    {"magic", "magic"},
    {"mtg", "magic"},
    {"magic: the gathering", "magic"},
    {"magic the gathering", "magic"},
    {"pokemon", "pokemon"},
    {"pok\xc3\xa9mon", "pokemon"},
    {"pok\xe9mon", "pokemon"},
    {"pokemon tcg", "pokemon"},
    {"yugioh", "yugioh"},
    {"yugioh!", "yugioh"},
    {"yu gi oh", "yugioh"},
    {"yu gi oh!", "yugioh"},
    {"ygo", "yugioh"},
};

// The signs of the currencies apps name by code.
constexpr Word kCurrencySigns[] = {
    {"usd", "$"},
    {"eur", "\xe2\x82\xac"},
    {"gbp", "\xc2\xa3"},
    {"jpy", "\xc2\xa5"},
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A bare number, "12", "1.5" or "0,45": digits with one point or comma
// between them. Its units and hundredths, rounded half up.
bool ReadBareNumber(std::string_view text, std::string& units, std::string& cents)
{
    const std::size_t mark = text.find_first_of(".,");
    const std::string_view whole = text.substr(0, mark);
    const std::string_view fraction = mark == std::string_view::npos ? std::string_view() : text.substr(mark + 1);
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), IsDigit)
        || (mark != std::string_view::npos && (fraction.empty() || !std::all_of(fraction.begin(), fraction.end(), IsDigit))))
        return false;
    int hundredths = 0;
    for (std::size_t i = 0; i < 2; ++i)
        hundredths = hundredths * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    units.assign(whole);
    if (fraction.size() > 2 && fraction[2] >= '5' && ++hundredths == 100) {
        hundredths = 0;
        // Carries through the units, "9.999" being "10.00".
        std::size_t at = units.size();
        while (at > 0 && units[at - 1] == '9')
            units[--at] = '0';
        if (at == 0)
            units.insert(units.begin(), '1');
        else
            ++units[at - 1];
    }
    units.erase(0, std::min(units.find_first_not_of('0'), units.size() - 1));
    cents = {char('0' + hundredths / 10), char('0' + hundredths % 10)};
    return true;
}

std::string InEncoding(std::string_view utf8, TextEncoding encoding)
{
    std::string converted;
    if (encoding == TextEncoding::Windows1252 && Utf8ToWindows1252(utf8, converted))
        return converted;
    return std::string(utf8);
}

} // namespace

std::string ConditionOnScale(std::string_view word, PlayedMeans played)
{
    const std::string key = Key(word);
    if (key == "played")
        return played == PlayedMeans::LightPlayed ? "Light Played" : "Played";
    const Word* found = Find(key, kConditions);
    return found != nullptr ? std::string(found->kept) : std::string(Trimmed(word));
}

bool SplitConditionFinish(std::string_view word, std::string& grade, std::string& finish)
{
    const std::string key = Key(word);
    for (const std::string_view prefix : kGradePrefixes) {
        if (key.size() > prefix.size() + 1 && key.compare(0, prefix.size(), prefix) == 0 && key[prefix.size()] == ' ') {
            // The key drops no letters before the grade's end: its length in
            // the word is found by counting letters.
            const std::string_view trimmed = Trimmed(word);
            std::size_t letters = 0;
            std::size_t at = 0;
            const std::size_t wanted = std::size_t(std::count_if(prefix.begin(), prefix.end(), [](char c) { return c != ' '; }));
            while (at < trimmed.size() && letters < wanted) {
                if (!IsSpace(trimmed[at]) && trimmed[at] != '_' && trimmed[at] != '-')
                    ++letters;
                ++at;
            }
            grade.assign(trimmed.substr(0, at));
            finish.assign(Trimmed(trimmed.substr(at)));
            return true;
        }
    }
    return false;
}

std::string FinishWord(std::string_view word)
{
    const Word* found = Find(Key(word), kFinishes);
    return found != nullptr ? std::string(found->kept) : std::string(Trimmed(word));
}

std::string LanguageCode(std::string_view word)
{
    const std::string key = Key(word);
    if (const Word* found = Find(key, kLanguages))
        return std::string(found->kept);
    const bool known = std::any_of(std::begin(kLanguages), std::end(kLanguages),
                                   [&key](const Word& language) { return language.kept == key; });
    return known ? key : std::string(Trimmed(word));
}

std::string LanguageName(std::string_view code)
{
    const std::string key = Key(code);
    for (const std::string_view name : kLanguageNames) {
        if (Find(Key(name), kLanguages)->kept == key)
            return std::string(name);
    }
    for (const Word& language : kLanguages) {
        if (language.kept == key) {
            std::string name(language.written);
            name.front() = char(name.front() - 'a' + 'A');
            return name;
        }
    }
    return std::string(code);
}

std::string GameWord(std::string_view word)
{
    const Word* found = Find(Key(word), kGames);
    return found != nullptr ? std::string(found->kept) : std::string(Trimmed(word));
}

std::string PriceWithCurrency(std::string_view amount, std::string_view currency, TextEncoding encoding)
{
    amount = Trimmed(amount);
    std::string units;
    std::string cents;
    if (!ReadBareNumber(amount, units, cents))
        return std::string(amount);
    if (units == "0" && cents == "00")
        return {};
    const std::string number = units + '.' + cents;
    currency = Trimmed(currency);
    if (currency.empty())
        return number;
    if (const Word* sign = Find(Key(currency), kCurrencySigns))
        return InEncoding(sign->kept, encoding) + number;
    const bool code = currency.size() == 3 && std::all_of(currency.begin(), currency.end(), [](char c) {
                          return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                      });
    if (code) {
        std::string upper(currency);
        for (char& c : upper)
            c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        return upper + ' ' + number;
    }
    return InEncoding(currency, encoding) + number;
}

std::string PriceNumber(std::string_view price)
{
    std::string digits;
    for (const char c : price) {
        if (IsDigit(c) || c == '.' || c == ',')
            digits.push_back(c);
    }
    while (!digits.empty() && !IsDigit(digits.back()))
        digits.pop_back();
    while (!digits.empty() && !IsDigit(digits.front()))
        digits.erase(0, 1);
    std::string units;
    std::string cents;
    if (ReadBareNumber(digits, units, cents))
        return units + '.' + cents;
    // Thousands apart as well as a decimal mark: the last mark is the decimal one.
    const std::size_t mark = digits.find_last_of(".,");
    if (mark == std::string::npos)
        return digits;
    std::string whole;
    for (std::size_t i = 0; i < mark; ++i) {
        if (IsDigit(digits[i]))
            whole.push_back(digits[i]);
    }
    return ReadBareNumber(whole + '.' + digits.substr(mark + 1), units, cents) ? units + '.' + cents : std::string();
}
