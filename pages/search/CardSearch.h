#pragma once

#include "collection/Card.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>

class CardTableModel;

// What #CARDSEARCH# in an outer template becomes: the page's Cards as JSON in
// a data block, then the small engine that lets the page search, filter and
// sort its own rows in the browser. Rows marked with a data-card attribute
// are the Cards, in the order of the data.

// Whether the outer template asks for the search at all; a page without it
// stays byte for byte what it was.
bool HoldsCardSearch(std::string_view outerTemplate);

// Appends bytes as the inside of a JSON string that may stand in an HTML
// <script> element: '<', '>' and '&' are escaped, so no "</script>" or
// "<!--" in a value can end the element or change how it is parsed, and
// on a UTF-8 page so are U+2028 and U+2029. Other bytes stay as they are,
// which the page's charset decodes as it decodes the rows.
void AppendJsonText(std::string& out, std::string_view bytes, bool utf8Page);

// The fields the engine needs whatever the rows show: the counts behind
// Have, Want and For trade, and the set and number behind the sets' counts.
inline constexpr unsigned kFieldsSearchNeeds =
    1u << QuantityField | 1u << TradeField | 1u << WantField | 1u << SetCodeField | 1u << NumberField;

// One Card as a JSON object of the given fields (a bit each, NameField's the
// lowest; the picture's URL as "picture"): those of the eight always, the
// details only when not empty. Values must already be in the page's encoding.
void AppendCardJson(std::string& out, const Card& card, unsigned fields, bool utf8Page);

// The engine's source, as the build embedded it.
std::string_view CardSearchEngine();

// Writes the whole block to the sink, in pieces of about a megabyte, for
// the given rows of the table, in the order they are written (every row,
// top to bottom, when rows is null), with the given fields only: a page
// publishes no more of a Card than its rows show, and what the engine
// needs. Values converted as the rows' are for a UTF-8 page. Without Cards,
// for a page whose rows show none, the data is empty. False once the sink
// has failed.
bool WriteCardSearchBlock(const CardTableModel& table, const std::span<const int>* rows, unsigned fields,
                          bool utf8Page, bool withCards, const std::function<bool(std::string_view)>& sink);
