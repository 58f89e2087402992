#pragma once

#include <string>

// One printing of a card as a public card database knows it. Every field is
// UTF-8 text, empty where the source does not say.
struct CardMatch {
    std::string name;
    // The set's name.
    std::string series;
    std::string year;
    // "magic", "pokemon" or "yugioh".
    std::string game;
    std::string setcode;
    // The collector number within the set.
    std::string number;
    std::string finish;
    std::string language;
    // The picture's address at the source.
    std::string picture;
    // Which printing it is at its source: "scryfall:<id>", "tcgdex:<id>" or
    // "ygoprodeck:<id>".
    std::string print;

    bool operator==(const CardMatch&) const = default;
};
