#include "base/LineSyntax.h"

namespace {

bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

KeyValue SplitLine(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && IsTrailingSpace(line[end - 1]))
        --end;
    line = line.substr(0, end);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return {line, {}};
    return {line.substr(0, eq), line.substr(eq + 1)};
}
