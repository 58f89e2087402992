#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/csv/apps/CardWords.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The collection exports of the card apps, known by their headers alone.
struct CardApp {
    // What a Card's SOURCE says it came from: "Moxfield".
    std::string_view name;
    // "Moxfield collection export".
    std::string_view label;
    // The game of every Card, for apps of one game; empty where a column says.
    std::string_view game;
    // The currency of prices whose file does not name it.
    std::string_view currency;
    PlayedMeans played;
    // Headings that all stand in the app's header, capitals ignored.
    std::vector<std::string_view> signature;
    // The column that feeds each field, by heading; the first one of a field
    // found wins.
    std::vector<std::pair<CardField, std::string_view>> columns;
    // The prices' currency, a wish list's mark and a graded card's grade,
    // where the app has a column for them.
    std::string_view currencyColumn = {};
    std::string_view wishColumn = {};
    std::string_view gradeColumn = {};
    // A heading that begins so holds the market price of the date it ends
    // with: "Market Price (As of 2024-05-01)".
    std::string_view datedMarketColumn = {};
};

// Every app known, in the order they are tried.
const std::vector<CardApp>& CardApps();

// What a file's header says about the app that wrote it: the app (none when
// it is not one), the column of each field, and the columns and date only
// apps have.
struct AppHeader {
    const CardApp* app = nullptr;
    std::array<int, kAllCardFieldCount> columns{};
    int currencyColumn = -1;
    int wishColumn = -1;
    int gradeColumn = -1;
    std::string marketDate;
};

// The app whose signature the headings hold, the one with the longest
// signature when several do; none when no app's does.
AppHeader RecogniseCardApp(const std::vector<std::string_view>& headings);

// A row's cells in the columns only apps have.
struct AppCells {
    std::string_view currency;
    std::string_view wish;
    std::string_view grade;
};

// Turns a Card read from the app's columns into one as Quillmark keeps it:
// conditions on the scale, finishes, languages and games in their short
// words, prices with their currency, a Scryfall ID as "scryfall:<id>", a
// wish-list entry as a wanted Card (its count wanted, none owned), and the
// app as its SOURCE. Values are in the collection's encoding.
void AdaptAppCard(const AppHeader& header, const AppCells& cells, TextEncoding encoding, Card& card);
