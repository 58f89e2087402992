#include "base/LineSyntax.h"

#include <algorithm>

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
