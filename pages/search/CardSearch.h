#pragma once

#include "collection/Card.h"

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

// One Card as a JSON object: the eight fields always (the picture's URL as
// "picture"), the details only when not empty. Values must already be in
// the page's encoding.
void AppendCardJson(std::string& out, const Card& card, bool utf8Page);

// The engine's source, as the build embedded it.
std::string_view CardSearchEngine();

// The whole block for the table's Cards, top to bottom as the rows are
// written; values converted as the rows' are for a UTF-8 page. Without
// Cards, for a page whose rows show none, the data is empty.
std::string CardSearchBlock(const CardTableModel& table, bool utf8Page, bool withCards = true);
