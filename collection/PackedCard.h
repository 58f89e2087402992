#pragma once

#include "collection/Card.h"

#include <array>
#include <memory>
#include <string_view>

// A Card's eight texts, seen where they already are.
using CardView = std::array<std::string_view, kCardFieldCount>;

// A Card's eight texts in one block of memory: how wide the ends are, the
// ends of the texts, then their bytes. An end takes one byte while the texts
// together fit in 255 bytes, as nearly every Card's do, two bytes up to
// 65535 and four beyond; a table of a million Cards is then little more
// than its texts and one pointer a row.
class PackedCard {
public:
    explicit PackedCard(const CardView& fields);
    explicit PackedCard(const Card& card);

    std::string_view Field(int column) const;
    CardView Fields() const;

private:
    std::size_t End(int column) const;

    std::unique_ptr<char[]> block_;
};
