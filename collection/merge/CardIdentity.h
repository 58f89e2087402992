#pragma once

#include "collection/Card.h"
#include "collection/CardTableModel.h"

#include <string>

// What makes two Cards the same Card when a collection meets another copy
// of itself or a card app's export: the printing they are (PRINT, or else
// game, set, number, finish and language) in their condition. A Card with
// none of those details, typed in by hand, is known by Name, Series and
// Condition instead. The identity is a key for hashing, not for showing;
// Location is left out, so that a Card moved to another binder is the same
// Card changed.
std::string CardIdentity(const Card& card);
std::string CardIdentity(const CardTableModel& table, int row);
std::string CardIdentity(const CardTableModel::RowBlock& block, int index);

// A hash of all of a Card's fields, for finding exact copies quickly;
// equal Cards have equal hashes.
std::size_t CardHash(const CardTableModel& table, int row);
std::size_t CardHash(const CardTableModel::RowBlock& block, int index);
