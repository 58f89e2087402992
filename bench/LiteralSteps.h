#pragma once

#include "collection/Card.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

class CardTableModel;
class MainWindow;
class MessageInterface;

// The collection's commands done the plain way, step by step, as baselines
// for the benchmarks: same results as the program's own commands, at the
// cost of the plain steps.

// Swaps two rows by reading the eight cells of b and writing cell by cell.
void ExchangeRowsCellByCell(CardTableModel& table, int a, int b);

// Passes over every adjacent pair, reading both cells afresh and exchanging
// rows out of order, until a pass makes no exchange; a click that made none
// reverses the rows.
void AdjacentExchangeSort(CardTableModel& table, int column);

using ColumnWidths = std::array<int, kCardFieldCount>;

// Loads Cards given in file order: each goes through the window's entry
// fields and the held Card into the top row of table, and after each every
// cell of the table is measured again, as a content fit of the list does.
// Returns the widest cell text of each column after the last Card.
ColumnWidths LoadCardByCard(MainWindow& window, CardTableModel& table, const std::vector<Card>& fileOrder);

// The Catalogue built by reading each row into the held Card and filling the
// row template from it; writes the page to path. False when it was not written.
bool CatalogueRowByRow(MainWindow& window, MessageInterface& messages, const QString& path);
