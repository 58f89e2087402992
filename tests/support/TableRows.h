#pragma once

#include "collection/Card.h"

#include <vector>

class CardTableModel;

// Replaces every row of the table, rows[0] at the top, the way a load does.
void SetTableRows(CardTableModel& table, const std::vector<Card>& rows);
