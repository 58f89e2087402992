#include "collection/sets/SetNumber.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

std::string SetNumberKey(std::string_view game, std::string_view number)
{
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ')
        number.remove_suffix(1);
    std::size_t digits = 0;
    while (digits < number.size() && !IsDigit(number[digits]))
        ++digits;
    if (digits == number.size())
        return {};
    std::string key;
    const bool region = game == "yugioh" && digits > 0
                        && number.substr(0, digits).find_first_not_of(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
                               == std::string_view::npos;
    if (!region) {
        for (std::size_t at = 0; at < digits; ++at)
            key += Lower(number[at]);
    }
    std::size_t at = digits;
    while (at + 1 < number.size() && number[at] == '0' && IsDigit(number[at + 1]))
        ++at;
    for (; at < number.size(); ++at)
        key += IsLetter(number[at]) ? Lower(number[at]) : number[at];
    return key;
}

std::optional<int> NumberPlace(std::string_view key)
{
    if (key.empty() || key.size() > 6)
        return std::nullopt;
    int place = 0;
    for (const char c : key) {
        if (!IsDigit(c))
            return std::nullopt;
        place = place * 10 + (c - '0');
    }
    return place;
}
