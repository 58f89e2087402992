#include "collection/sets/SetCompletion.h"

#include "collection/CardTableModel.h"
#include "collection/lookup/CardSources.h"
#include "collection/lookup/TcgdexAnswer.h"
#include "collection/sets/SetNumber.h"
#include "collection/totals/PriceReader.h"

#include <map>

namespace {

std::string Lowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return lowered;
}

// The game, set and number a Card names; an empty code when it names no set.
struct Printing {
    std::string game;
    std::string code;
    std::string_view number;
};

Printing PrintingOf(const CardTableModel& table, int row)
{
    Printing printing{Lowered(table.Cell(row, GameField)), std::string(table.Cell(row, SetCodeField)),
                      table.Cell(row, NumberField)};
    const std::string print(table.Cell(row, PrintField));
    if (!printing.code.empty() || PrintSource(print) != CardSource::Tcgdex)
        return printing;
    const std::string id = print.substr(print.find(':') + 1);
    printing.code = TcgdexSetOf(id);
    if (printing.code.empty())
        return printing;
    if (printing.game.empty())
        printing.game = "pokemon";
    if (printing.number.empty())
        printing.number = table.Cell(row, PrintField).substr(print.find(':') + 1 + printing.code.size() + 1);
    return printing;
}

} // namespace

std::string SetId(std::string_view game, std::string_view code)
{
    return Lowered(game) + '/' + Lowered(code);
}

std::vector<SetProgress> SetsOf(const CardTableModel& table)
{
    std::map<std::string, SetProgress> sets;
    for (int row = 0; row < table.rowCount(); ++row) {
        const Printing printing = PrintingOf(table, row);
        if (printing.code.empty() || printing.game.empty())
            continue;
        SetProgress& set = sets[SetId(printing.game, printing.code)];
        if (set.cards++ == 0) {
            set.game = printing.game;
            set.code = printing.code;
        }
        if (set.name.empty())
            set.name = table.Cell(row, SeriesField);
        std::string key = SetNumberKey(set.game, printing.number);
        if (key.empty())
            continue;
        if (ReadQuantity(table.Cell(row, QuantityField)).value_or(0) > 0)
            set.owned.insert(key);
        set.named.insert(std::move(key));
    }
    std::vector<SetProgress> listed;
    listed.reserve(sets.size());
    for (auto& [id, set] : sets)
        listed.push_back(std::move(set));
    return listed;
}

int OwnedPlaces(const SetProgress& set, int size)
{
    int owned = 0;
    for (const std::string& key : set.owned) {
        const std::optional<int> place = NumberPlace(key);
        if (place && *place >= 1 && *place <= size)
            ++owned;
    }
    return owned;
}

std::vector<int> MissingPlaces(const SetProgress& set, int size)
{
    std::vector<int> missing;
    for (int place = 1; place <= size; ++place) {
        if (!set.owned.contains(std::to_string(place)))
            missing.push_back(place);
    }
    return missing;
}

std::string PlacesText(const std::vector<int>& places)
{
    std::string text;
    for (std::size_t at = 0; at < places.size();) {
        std::size_t end = at;
        while (end + 1 < places.size() && places[end + 1] == places[end] + 1)
            ++end;
        if (!text.empty())
            text += ", ";
        text += std::to_string(places[at]);
        if (end - at >= 2)
            text += '-' + std::to_string(places[end]);
        else if (end > at)
            text += ", " + std::to_string(places[end]);
        at = end + 1;
    }
    return text;
}
