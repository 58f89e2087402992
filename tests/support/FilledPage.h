#pragma once

#include "collection/Card.h"
#include "pages/PageStream.h"
#include "prefs/Preferences.h"

#include <string>
#include <string_view>

// The row template filled with the Card's fields, as a page's data holds it.
std::string FilledRow(std::string_view rowTemplate, const Card& card);

// The whole page whose data is pageData, as the page writer streams it.
std::string FilledPage(std::string_view outerTemplate, std::string_view pageData, const Preferences& prefs,
                       const PageTotals& totals);
