#pragma once

#include "collection/Card.h"
#include "pages/PageStream.h"
#include "prefs/Preferences.h"

#include <QByteArray>

#include <functional>
#include <span>
#include <string>
#include <string_view>

class CardTableModel;
class QIODevice;

// The home page that the footer row of every page links to, as the build
// was given it (QUILLMARK_HOME_PAGE); empty when it has none.
std::string_view HomePageAddress();

// Replaces every occurrence of placeholder, searching on after each inserted
// value, so a value is never searched again by the same replacement. The
// value must not lie inside the text.
void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value);

// Which printing details' placeholders (#GAME# to #PRINT#) the row template
// holds, a bit each, GameField's the lowest.
unsigned DetailPlaceholdersIn(std::string_view rowTemplate);

// Which of a Card's fields the row template names, a bit each, NameField's
// the lowest: the eight's placeholders (#URL# for the picture) and the details'.
unsigned FieldPlaceholdersIn(std::string_view rowTemplate);

// Appends the row template filled with the Card's eight fields, #NAME# first
// and #DESCRIPTION# last, each replacement seeing what the ones before put in;
// then with the printing details whose placeholders the template itself holds,
// #GAME# first and #PRINT# last.
void AppendFilledRow(std::string& out, std::string_view rowTemplate, const Card& card, std::string& scratch);
// The same, given DetailPlaceholdersIn(rowTemplate), as a page finds once for all its rows.
void AppendFilledRow(std::string& out, std::string_view rowTemplate, unsigned details, const Card& card,
                     std::string& scratch);

// The fixed row that follows the last Card's row in the page data: it links
// to the home page, or names the program alone when there is none.
std::string FooterRow(std::string_view homePage);
std::string FooterRow();

// Writes every row of the table, top to bottom, filled into the row
// template, then the footer row, a piece at a time. The cells go in as
// ValuesGoInAsUtf8 says for a page that is UTF-8 or not.
// A row template's #NEWSET# becomes "new-set" in the row of a Card whose
// Series differs from the one of the Card above it on the page (the top
// Card's too), and nothing in the others.
bool WritePageData(PageStream& stream, const CardTableModel& table, std::string_view rowTemplate, bool utf8Page);
// The same with the given rows of the table only, in their order.
bool WritePageData(PageStream& stream, const CardTableModel& table, std::span<const int> rows,
                   std::string_view rowTemplate, bool utf8Page);

// Streams a page to the sink: the outer template with each #DATA# replaced
// by what writeData writes, then the #PREFS...# placeholders in turn, then
// #TOTALCARDS#, #TOTALCOPIES#, #TOTALPAID#, #TOTALVALUE# and #VALUEDATE#,
// and last #CARDSEARCH# when a card search is given.
bool StreamPage(std::string_view outerTemplate, const std::function<bool(PageStream&)>& writeData,
                const Preferences& prefs, const PageTotals& totals, const PageStream::Sink& sink,
                PageStream::CardSearchWriter cardSearch = {});

// Writes page text to the device with line feeds as CR LF. False on a write error.
bool WritePageText(QIODevice& device, std::string_view text);
// The same, converting in a buffer kept by the caller from one piece of a
// page to the next, so that its memory is taken once a page.
bool WritePageText(QIODevice& device, std::string_view text, QByteArray& buffer);
