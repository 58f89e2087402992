#include "pages/PageTotals.h"

#include "collection/totals/CollectionTotals.h"
#include "collection/totals/TotalsText.h"

PageTotals PageTotalsOf(const CardTableModel& table)
{
    const CollectionTotals totals = SumsOf(table);
    return {TotalCardsText(totals), TotalCopiesText(totals), TotalPaidText(totals)};
}

PageTotals PageTotalsOf(const CardTableModel& table, std::span<const int> rows)
{
    const CollectionTotals totals = TotalsOf(table, rows);
    return {TotalCardsText(totals), TotalCopiesText(totals), TotalPaidText(totals)};
}
