#pragma once

#include "collection/lookup/SourceAnswer.h"

inline constexpr const char* kYgoprodeckName = "YGOPRODeck";

// Reads a cardinfo.php answer: one match for every set a card was printed
// in, its set code split into the set ("SDDC") and the number ("EN014").
SourceAnswer ReadYgoprodeckCards(int status, const QByteArray& body);

// Reads a cardsetsinfo.php answer: the one printing of a set code, without
// a picture, which the card's own answer has.
SourceAnswer ReadYgoprodeckSetCode(int status, const QByteArray& body);

// Reads cardsets.php, the list of every set, into one match a set that
// holds only its name (series) and the year it came out.
SourceAnswer ReadYgoprodeckSets(int status, const QByteArray& body);
