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

// A line feed or byte 26 cannot be stored in a line of the collection file:
// each becomes a space. Pasting can bring them into an entry field.
void ReplaceUnstorableBytes(Card& card);
