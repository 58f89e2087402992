#include "collection/csv/CsvFormulaGuard.h"

namespace {

bool StartsFormula(char c)
{
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

} // namespace

bool NeedsFormulaGuard(std::string_view value)
{
    const std::size_t first = value.find_first_not_of('\'');
    return first != std::string_view::npos && StartsFormula(value[first]);
}

std::string_view WithoutFormulaGuard(std::string_view value)
{
    if (!value.empty() && value.front() == '\'' && NeedsFormulaGuard(value.substr(1)))
        value.remove_prefix(1);
    return value;
}
