#pragma once

#include "collection/lookup/SourceAnswer.h"

inline constexpr const char* kScryfallName = "Scryfall";

// Reads a Scryfall answer: a card, a list of cards or an error object.
SourceAnswer ReadScryfallAnswer(int status, const QByteArray& body);
