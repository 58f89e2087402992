#pragma once

#include "collection/sets/SetSizeCache.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A card of a set as its database lists it, UTF-8. market is the price of
// one copy with its currency ("$0.25", "€0.10"), empty when the source
// gives none.
struct SetCard {
    std::string name;
    std::string number;
    std::string market;

    bool operator==(const SetCard&) const = default;
};

// The size of a set from the answers of /sets/{code} (Scryfall: the
// printed size, or the count of its cards where it has none) and
// /v2/en/sets/{id} (TCGdex: its official count). Nothing from an answer
// that is not a set.
std::optional<SetSize> ReadScryfallSet(const QByteArray& body);
std::optional<SetSize> ReadTcgdexSet(const QByteArray& body);
// Every set of YGOPRODeck's cardsets.php: its code and size.
std::vector<std::pair<std::string, SetSize>> ReadYgoprodeckSets(const QByteArray& body);

// The cards of one page of a Scryfall search; nextQuery is set to the
// query of the next page, empty on the last. Nothing from an answer that is
// not a list.
std::optional<std::vector<SetCard>> ReadScryfallSetCards(const QByteArray& body, QString& nextQuery);
// The cards of a TCGdex set.
std::optional<std::vector<SetCard>> ReadTcgdexSetCards(const QByteArray& body);
// The printings in the set with the given code of the cards YGOPRODeck's
// cardinfo.php gives for a set.
std::optional<std::vector<SetCard>> ReadYgoprodeckSetCards(const QByteArray& body, std::string_view code);
