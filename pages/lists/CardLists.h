#pragma once

#include "collection/Card.h"
#include "pages/PageCommands.h"
#include "resources/StringTable.h"

#include <string_view>
#include <vector>

class CardTableModel;
class MessageInterface;
struct Preferences;

// A page of some of the Cards: those whose count (Trade or Want) is above
// 0, in table order. It has no location in Preferences, whose record stays
// as it is: it goes to its default one in the collection's folder.
struct CardListPage {
    PageDescription page;
    CardField count;
    const char* caption;
    // Why nothing was written when no Card has the count.
    const char* noCard;
    const char* cliNoCard;
};

inline constexpr CardListPage kTradeList{{"TradeOutside.htm", "TradeInside.htm", nullptr, "trade.htm"},
                                         TradeField,
                                         Text::TradeListCaption,
                                         Text::NoCardForTrade,
                                         Text::CliNoCardForTrade};
inline constexpr CardListPage kWantList{{"WantOutside.htm", "WantInside.htm", nullptr, "want.htm"},
                                        WantField,
                                        Text::WantListCaption,
                                        Text::NoCardWanted,
                                        Text::CliNoCardWanted};

// Whether a count is above 0: a whole number as a Quantity is written, "1,000"
// too. A blank count is none, and so is one that cannot be read.
bool CountAboveZero(std::string_view count);

// The rows of the Cards the list shows, top row first.
std::vector<int> ListRows(const CardListPage& list, const CardTableModel& table);

// Publishes the list as the window's other pages are published: the sample
// templates copied in where missing, the page written and offered to open.
// When no Card has the count, says so and writes nothing.
void PublishCardList(const CardListPage& list, const CardTableModel& table, Preferences& prefs,
                     MessageInterface& messages);
