#include "support/FilledPage.h"

#include "pages/PageTemplates.h"

std::string FilledRow(std::string_view rowTemplate, const Card& card)
{
    std::string row;
    std::string scratch;
    AppendFilledRow(row, rowTemplate, card, scratch);
    return row;
}

std::string FilledPage(std::string_view outerTemplate, std::string_view pageData, const Preferences& prefs,
                       const PageTotals& totals)
{
    std::string page;
    StreamPage(
        outerTemplate, [pageData](PageStream& stream) { return stream.Write(pageData); }, prefs, totals,
        [&page](std::string_view piece) {
            page.append(piece);
            return true;
        });
    return page;
}
