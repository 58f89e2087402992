#pragma once

#include "collection/Card.h"

#include <string>
#include <string_view>
#include <vector>

// The CSV files the card apps import, so that a collection goes back to the
// app it came from: their columns, with conditions, finishes, languages and
// prices in the app's own words.
enum class ExportApp { Moxfield, Deckbox };

// The app's heading row.
const std::vector<std::string_view>& AppExportHeadings(ExportApp app);

// A Card's row under those headings; the Card's values in UTF-8. A
// condition on Quillmark's scale becomes the app's nearest word that does
// not claim more than the scale's (Excellent is their Good); any other
// condition goes as written.
std::vector<std::string> AppExportRow(ExportApp app, const Card& card);
