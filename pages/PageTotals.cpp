#include "pages/PageTotals.h"

#include "collection/totals/CollectionTotals.h"
#include "collection/totals/TotalsText.h"

PageTotals PageTotalsOf(const CardTableModel& table)
{
    const CollectionTotals totals = SumsOf(table);
    return {TotalCardsText(totals), TotalCopiesText(totals), TotalPaidText(totals)};
}
