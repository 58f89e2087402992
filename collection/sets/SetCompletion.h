#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

class CardTableModel;

// One set the collection touches: a Card names it by GAME and SETCODE, or
// by a PRINT that tells its set (TCGdex ids are "<set>-<number>").
struct SetProgress {
    // "magic", "pokemon", "yugioh", or the GAME as written, in small letters.
    std::string game;
    // As the first Card of the set writes it; sets are told apart by their
    // code in either case.
    std::string code;
    // The Series of the first Card of the set that has one, as its bytes.
    std::string name;
    // The numbers held, as SetNumberKey writes them: of the Cards with a
    // copy at least (a blank Quantity is one copy).
    std::set<std::string> owned;
    // The numbers of every Card of the set, held or only wanted.
    std::set<std::string> named;
    // The set's Cards in the collection, held or not.
    int cards = 0;
};

// How sets are told apart and found in the cache: the game and the code in
// small letters.
std::string SetId(std::string_view game, std::string_view code);

// Every set of the table, in the order of SetId.
std::vector<SetProgress> SetsOf(const CardTableModel& table);

// Of a set of the given size, numbered 1 to size: how many of its numbers
// are held, and which are not, in order. Numbers beyond the size or with
// letters (secret rares, "136a", "TG05") are counted by neither.
int OwnedPlaces(const SetProgress& set, int size);
std::vector<int> MissingPlaces(const SetProgress& set, int size);

// Numbers in order as a short text: runs of three or more as ranges,
// "1-3, 7, 9-12".
std::string PlacesText(const std::vector<int>& places);
