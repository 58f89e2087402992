#pragma once

#include "collection/lookup/SourceAnswer.h"

#include <string>

inline constexpr const char* kTcgdexName = "TCGdex";

// Reads a TCGdex card (/cards/{id}) or the list of brief cards a name search
// gives, each in the language asked for. Brief cards name only their set's
// id, the part of their own id before the number.
SourceAnswer ReadTcgdexCard(int status, const QByteArray& body, const std::string& language);
SourceAnswer ReadTcgdexCards(int status, const QByteArray& body, const std::string& language);

// A set's name and the year it came out, from /sets/{id}.
struct TcgdexSet {
    std::string name;
    std::string year;
};
bool ReadTcgdexSet(int status, const QByteArray& body, TcgdexSet& set);

// The set id within a card id: "swsh3" of "swsh3-136".
std::string TcgdexSetOf(const std::string& cardId);
