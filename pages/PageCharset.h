#pragma once

#include "prefs/Preferences.h"

#include <string_view>

// Whether a browser reads the page that the outer template makes as UTF-8:
// the template begins with the UTF-8 byte order mark, or the first charset
// it declares (<meta charset="utf-8">, or charset=utf-8 in a Content-Type)
// is UTF-8. The sample templates declare it.
bool PageIsUtf8(std::string_view outerTemplate);

// Values go into a page as their bytes, except that text from a
// Windows-1252 file goes into a UTF-8 page as UTF-8, so that a browser shows
// its letters. A page of another charset, or of none declared, gets the
// bytes, as a template saved in Windows-1252 wants them.
bool ValuesGoInAsUtf8(TextEncoding valueEncoding, bool utf8Page);

// The owner's details as they go into the page.
Preferences OwnerForPage(const Preferences& prefs, bool utf8Page);
