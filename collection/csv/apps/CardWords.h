#pragma once

#include "base/TextEncoding.h"

#include <array>
#include <string>
#include <string_view>

// The words card apps write for a Card's condition, finish, language, game
// and prices, put in the one form Quillmark keeps. A word that cannot be
// put so exactly is kept as the app wrote it.

// The scale every imported condition is put on, best first.
inline constexpr std::array<std::string_view, 7> kConditionScale = {
    "Mint", "Near Mint", "Excellent", "Good", "Light Played", "Played", "Poor",
};

// How an app grades. Apps with the American five grades call the one between
// "Lightly Played" and "Heavily Played" plain "Played"; on the scale that is
// Light Played, while the apps that use the scale itself mean Played by it.
enum class PlayedMeans { Played, LightPlayed };

// The condition on the scale ("NM", "near_mint", "Near Mint" and "2" are
// all Near Mint; "Good (Lightly Played)", "LP" and "4" are Good), or the
// word as written.
std::string ConditionOnScale(std::string_view word, PlayedMeans played = PlayedMeans::Played);

// A condition that ends in the card's finish, as TCGplayer writes
// "Lightly Played Holofoil": the grade and the finish apart. False, leaving
// both alone, when the word does not begin with a grade or has nothing after it.
bool SplitConditionFinish(std::string_view word, std::string& grade, std::string& finish);

// "foil", "etched", "nonfoil", "holo" or "reverse" for the words apps use
// ("Foil", "true", "Normal", "Holofoil", "Reverse Holofoil", ...); other
// words as written. Empty stays empty.
std::string FinishWord(std::string_view word);

// The short code the card databases use ("en", "ja", "zhs") for a language
// written as a name or a code ("English", "EN", "zh_CN"); other words as written.
std::string LanguageCode(std::string_view word);

// The language's English name, as Moxfield and Deckbox write it; the word as
// it is when it is not a code LanguageCode gives.
std::string LanguageName(std::string_view code);

// "magic", "pokemon" or "yugioh" for the names apps give the games
// ("Magic: The Gathering", "Pokémon", "YuGiOh"); other words as written.
std::string GameWord(std::string_view word);

// An amount with its currency, as the Price field holds it: a bare number
// ("1.5", "0,45") gets the currency's sign before it and two decimals
// ("$1.50", "€0.45"), a code without a sign its code ("CHF 7.00"). An
// amount that already names its currency is kept; zero, which apps write
// for a price never entered, and empty are no price. The currency is a sign
// or an ISO code, in UTF-8; the result is in the collection's encoding.
std::string PriceWithCurrency(std::string_view amount, std::string_view currency, TextEncoding encoding);

// A Price as a bare number for apps that want one ("$1.23" and "1,23 €" are
// "1.23"); empty when it holds no number.
std::string PriceNumber(std::string_view price);
