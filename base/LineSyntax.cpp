#include "base/LineSyntax.h"

#include <algorithm>

bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view WithoutTrailingSpace(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsTrailingSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

void PrepareValueForStorage(std::string& value)
{
    std::replace_if(value.begin(), value.end(), [](char c) { return c == '\n' || c == kEndOfFileByte; }, ' ');
    value.resize(WithoutTrailingSpace(value).size());
}

KeyValue SplitLine(std::string_view line)
{
    line = WithoutTrailingSpace(line);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {line, {}};
    return {line.substr(0, eq), line.substr(eq + 1)};
}
