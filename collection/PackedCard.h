#pragma once

#include "collection/Card.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A Card's eight texts in one buffer, as the card table keeps its rows: a
// fraction of a Card's room for the short texts of a collection.
class PackedCard {
public:
    PackedCard() = default;
    explicit PackedCard(const Card& card);

    std::string_view Field(int field) const;
    Card Unpacked() const;
    // Replaces one text; the texts after it move.
    void SetField(int field, std::string_view text);

private:
    std::string text_;
    std::array<std::uint32_t, kCardFieldCount> end_{};
};
