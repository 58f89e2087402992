#include "pages/PageTotals.h"

#include "collection/totals/CollectionTotals.h"
#include "collection/totals/TotalsText.h"

namespace {

PageTotals Shown(const CollectionTotals& totals)
{
    return {TotalCardsText(totals), TotalCopiesText(totals), TotalPaidText(totals), TotalValueText(totals),
            ValueDateText(totals)};
}

} // namespace

PageTotals PageTotalsOf(const CardTableModel& table)
{
    return Shown(SumsOf(table));
}

PageTotals PageTotalsOf(const CardTableModel& table, std::span<const int> rows)
{
    return Shown(TotalsOf(table, rows));
}
