#pragma once

#include "collection/Card.h"
#include "prefs/Preferences.h"

#include <string>
#include <string_view>

class CardTableModel;
class QIODevice;

// The home page that the footer row of every page links to.
inline constexpr std::string_view kHomePageAddress = "https://quillmark.example.org/";

// Replaces every occurrence of placeholder, searching on after each inserted
// value, so a value is never searched again by the same replacement. The
// value must not lie inside the text.
void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value);

// Appends the row template filled with the Card's eight fields, #NAME# first
// and #DESCRIPTION# last, each replacement seeing what the ones before put in.
void AppendFilledRow(std::string& out, std::string_view rowTemplate, const Card& card, std::string& scratch);
std::string FillRow(std::string_view rowTemplate, const Card& card);

// The fixed row that follows the last Card's row in the page data.
std::string FooterRow();

// Every row of the table, top to bottom, filled into the row template, then
// the footer row.
std::string PageData(const CardTableModel& table, std::string_view rowTemplate);

// The outer template with #DATA# replaced first, then the #PREFS...# placeholders.
// The page data is taken by value: moved in, its memory becomes the page's.
std::string FillPage(std::string_view outerTemplate, std::string pageData, const Preferences& prefs);

// The page text as a text-mode file. False on a write error.
bool WritePageText(QIODevice& device, std::string_view page);
