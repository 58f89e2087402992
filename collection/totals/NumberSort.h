#pragma once

#include "collection/ColumnSort.h"

class CardTableModel;

// "Sort as numbers": a column click that orders the column by what its cells
// say rather than by their bytes. Prices are read as amounts with their
// currency, as the totals read them, and ordered by currency (those without
// one first, then by the currency's code or sign) and then by amount; Years,
// Quantities and the copies to trade or wanted are read as whole numbers;
// every other column is ordered by
// the collator of the user's language (in the C locale, the order common to
// all languages), digits within a text counting as numbers ("Card 2" before
// "Card 10"). A cell that cannot be read so follows
// the ones that can, by the collator; blank cells come last. Equal cells keep
// their order, and rows already in this order are reversed, as
// SortRowsByColumn does.
ColumnSortResult SortRowsAsNumbers(CardTableModel& table, int column);
