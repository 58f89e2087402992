#pragma once

#include <array>
#include <string>
#include <string_view>

// A Card is eight byte texts, in the column order of the card table and the
// record order of the collection file, and after them its printing details,
// which most collections leave empty. Values hold the file's bytes exactly.
enum CardField : int {
    NameField,
    SeriesField,
    ConditionField,
    YearField,
    PriceField,
    QuantityField,
    UrlField,
    DescriptionField,
    // The printing details.
    GameField,
    SetCodeField,
    NumberField,
    FinishField,
    LanguageField,
    LocationField,
    TagsField,
    TradeField,
    WantField,
    PrintField,
    MarketField,
    MarketDateField,
    SourceField,
};

// The eight fields every Card has, and the details after them.
inline constexpr int kCardFieldCount = 8;
inline constexpr int kCardDetailCount = 13;
inline constexpr int kAllCardFieldCount = kCardFieldCount + kCardDetailCount;

using Card = std::array<std::string, kAllCardFieldCount>;

// A Card's printing details alone, indexed by CardField - kCardFieldCount.
using CardDetails = std::array<std::string, kCardDetailCount>;

// Keys of the collection file, indexed by CardField.
inline constexpr std::array<std::string_view, kCardFieldCount> kCardKeys = {
    "NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL", "DESCRIPTION",
};

// Keys of the printing details, indexed by CardField - kCardFieldCount. A
// record holds a detail's line only when the detail is not empty.
inline constexpr std::array<std::string_view, kCardDetailCount> kDetailKeys = {
    "GAME", "SETCODE", "NUMBER", "FINISH", "LANGUAGE", "LOCATION", "TAGS", "TRADE", "WANT", "PRINT",
    "MARKET", "MARKETDATE", "SOURCE",
};

// The field of one of the eight keys of the collection file; -1 for any other key.
inline int CardFieldOfKey(std::string_view key)
{
    for (int field = 0; field < kCardFieldCount; ++field) {
        if (kCardKeys[std::size_t(field)] == key)
            return field;
    }
    return -1;
}

// The field of one of the detail keys of the collection file; -1 for any other key.
inline int DetailFieldOfKey(std::string_view key)
{
    for (int detail = 0; detail < kCardDetailCount; ++detail) {
        if (kDetailKeys[std::size_t(detail)] == key)
            return kCardFieldCount + detail;
    }
    return -1;
}

// Column headings of the card table, indexed by CardField.
inline constexpr std::array<std::string_view, kCardFieldCount> kCardHeadings = {
    "Name", "Series", "Condition", "Year", "Price", "Qty", "URL", "Description",
};

// Column headings of the printing details, indexed by CardField - kCardFieldCount.
inline constexpr std::array<std::string_view, kCardDetailCount> kDetailHeadings = {
    "Game", "Set", "Number", "Finish", "Language", "Location", "Tags", "Trade", "Want", "Print",
    "Market", "Market Date", "Source",
};

// Makes each field what the collection file gives back at the next start
// (see PrepareValueForStorage): entry fields can hold line breaks and
// trailing white space that a line of the file cannot keep.
void PrepareForStorage(Card& card);
