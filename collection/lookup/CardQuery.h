#pragma once

#include <QString>

// The games the card databases cover; Any lets the query's shape choose.
enum class CardGame { Any, Magic, Pokemon, Yugioh };

// "magic", "pokemon", "yugioh" (any case) or empty for Any; false for
// anything else.
bool ParseCardGame(const QString& text, CardGame& game);

// What a collector typed in Card Name, read for the databases.
struct CardQuery {
    enum class Kind {
        // Part of a card's name.
        Name,
        // A Magic set code and collector number: "xln 96".
        MagicPrint,
        // A TCGdex card id, set and number: "swsh3-136".
        PokemonPrint,
        // A Yu-Gi-Oh! set code with its number: "SDDC-EN014".
        YugiohPrint,
    };
    Kind kind = Kind::Name;
    // The game the query is for: the one asked for, the one its shape
    // names, or Any for a name with no game.
    CardGame game = CardGame::Any;
    // Whether the game was asked for, rather than guessed from the shape.
    bool gameGiven = false;
    // The text as typed, trimmed, with inner runs of space made one.
    QString text;
    // For a print: the set's code and the number within it.
    QString set;
    QString number;
};

// Reads the typed text. With a game given, only that game's shape of print
// is recognised and anything else is a name.
CardQuery ParseCardQuery(const QString& typed, CardGame game);
