#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/sets/SetAnswers.h"
#include "collection/sets/SetCompletion.h"

#include <vector>

// The cards of a set's list whose numbers are not held, in the list's
// order, each number once.
std::vector<SetCard> MissingCards(const SetProgress& set, const std::vector<SetCard>& listed);

// The missing cards as Cards wanted and not held: Quantity 0, WANT 1, their
// Name, the set's name as Series, and GAME, SETCODE and NUMBER, in the
// collection's encoding (a character it cannot hold becomes "?"). A number
// some Card of the set already has, wanted or not, is not added again.
std::vector<Card> WantedCards(const SetProgress& set, const std::vector<SetCard>& missing, TextEncoding encoding);
