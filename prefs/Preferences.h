#pragma once

#include "base/TextEncoding.h"

#include <array>
#include <string>
#include <string_view>

class QIODevice;

inline constexpr const char* kPreferencesFileName = "qmk.ini";

// The owner's details, the page locations and three kept settings, as bytes.
struct Preferences {
    std::string Name;
    std::string Email;
    std::string Address1;
    std::string Address2;
    std::string City;
    std::string State;
    std::string Country;
    std::string Catalogue;
    std::string List;
    std::string Report;
    std::string ValReport;
    std::string Tooltips;
    // The file's text encoding: the values keep its bytes and are shown in it.
    TextEncoding Encoding = TextEncoding::Utf8;
};

struct PreferenceKey {
    std::string_view key;
    std::string Preferences::*field;
};

// The file's keys, in the order the file holds them.
inline constexpr std::array<PreferenceKey, 12> kPreferenceKeys = {{
    {"NAME", &Preferences::Name},
    {"EMAIL", &Preferences::Email},
    {"ADDRESS1", &Preferences::Address1},
    {"ADDRESS2", &Preferences::Address2},
    {"CITY", &Preferences::City},
    {"STATE", &Preferences::State},
    {"COUNTRY", &Preferences::Country},
    {"CATALOGUE", &Preferences::Catalogue},
    {"LIST", &Preferences::List},
    {"REPORT", &Preferences::Report},
    {"VALREPORT", &Preferences::ValReport},
    {"TOOLTIPS", &Preferences::Tooltips},
}};

// Reads preferences-file bytes into prefs: each known key sets its field, the
// later line winning; other fields keep their values. The bytes also give
// prefs its Encoding. Returns whether a TOOLTIPS line was read.
bool ParsePreferences(std::string_view raw, Preferences& prefs);

// The whole file: the header, the twelve lines and an empty line, CR LF.
bool WritePreferences(QIODevice& device, const Preferences& prefs);
