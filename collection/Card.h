#pragma once

#include <array>
#include <string>
#include <string_view>

// A Card is eight byte texts, in the column order of the card table and the
// record order of the collection file. Values hold the file's bytes exactly.
enum CardField : int {
    NameField,
    SeriesField,
    ConditionField,
    YearField,
    PriceField,
    QuantityField,
    UrlField,
    DescriptionField,
};

inline constexpr int kCardFieldCount = 8;

using Card = std::array<std::string, kCardFieldCount>;

// Keys of the collection file, indexed by CardField.
inline constexpr std::array<std::string_view, kCardFieldCount> kCardKeys = {
    "NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL", "DESCRIPTION",
};

// The field a key of the collection file names; -1 for any other key.
inline int CardFieldOfKey(std::string_view key)
{
    for (int field = 0; field < kCardFieldCount; ++field) {
        if (kCardKeys[std::size_t(field)] == key)
            return field;
    }
    return -1;
}

// Column headings of the card table, indexed by CardField.
inline constexpr std::array<std::string_view, kCardFieldCount> kCardHeadings = {
    "Name", "Series", "Condition", "Year", "Price", "Qty", "URL", "Description",
};

// Makes each field what the collection file gives back at the next start
// (see PrepareValueForStorage): entry fields can hold line breaks and
// trailing white space that a line of the file cannot keep.
void PrepareForStorage(Card& card);
