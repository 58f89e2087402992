#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QString>

// What the price history knows a Card's printing by: its PRINT, or its
// game, set and number, and then its finish, which prices differently. A
// YGOPRODeck PRINT names the card, not the printing, so its set and number
// are added too. Empty for a Card with neither a PRINT nor a set and number.
QString PrintingKey(const Card& card, TextEncoding encoding);
