#pragma once

#include "collection/Card.h"

#include <QString>

#include <cstdint>

// Collections for the benchmarks, the same bytes for the same count on every
// machine: names, series and descriptions of realistic lengths, a few dozen
// Series and a handful of Conditions repeated as collectors repeat them, and
// some UTF-8 text beyond ASCII.

// The Card at a position of a generated collection; it does not depend on
// how many Cards the collection has.
Card GeneratedCard(std::uint64_t index);

// Gives a generated Card printing details, some always, others now and then;
// its eight fields stay as they are.
void AddGeneratedDetails(Card& card, std::uint64_t index);

// Writes a collection file of count generated Cards, with details if asked
// for. False on any error.
bool WriteGeneratedCollection(const QString& path, std::uint64_t count, bool withDetails = false);
