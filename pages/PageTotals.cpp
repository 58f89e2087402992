#include "pages/PageTotals.h"

#include "collection/CollectionTotals.h"
#include "collection/TotalsText.h"

PageTotals PageTotalsOf(const CardTableModel& table)
{
    const CollectionTotals totals = SumsOf(table);
    return {TotalCardsText(totals), TotalCopiesText(totals), TotalPaidText(totals)};
}
