#pragma once

#include "collection/Card.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

// A Card's eight texts, seen where they already are.
using CardView = std::array<std::string_view, kCardFieldCount>;

// A Card's eight texts in one block of memory: how wide the ends are, the
// ends of the texts, then their bytes. An end takes one byte while the texts
// together fit in 255 bytes, as nearly every Card's do, two bytes up to
// 65535 and four beyond; a table of a million Cards is then little more
// than its texts and one pointer a row. Beside the block it keeps a hash of
// the Name and Series, so that a search for them reads only the blocks of
// rows whose hash matches.
class PackedCard {
public:
    explicit PackedCard(const CardView& fields);
    explicit PackedCard(const Card& card);

    static std::uint32_t NameAndSeriesHash(std::string_view name, std::string_view series);
    std::uint32_t NameAndSeriesHash() const { return nameAndSeries_; }

    std::string_view Field(int column) const { return FieldOf(block_.get(), column); }
    CardView Fields() const;

    // The block, which holds all a row is, and how many bytes it takes: a
    // copy of them can be read as the row with FieldOf.
    const char* Block() const { return block_.get(); }
    std::size_t Bytes() const { return BlockBytes(block_.get()); }
    static std::size_t BlockBytes(const char* block);
    static std::string_view FieldOf(const char* block, int column);

private:
    static std::size_t End(const char* block, int column);

    std::unique_ptr<char[]> block_;
    std::uint32_t nameAndSeries_;
};

// Inline: the table reads a cell for every row of a sort or a fit.
inline std::size_t PackedCard::End(const char* block, int column)
{
    const char* at = block + 1;
    switch (block[0]) {
    case 1:
        return static_cast<unsigned char>(at[column]);
    case 2: {
        std::uint16_t end;
        std::memcpy(&end, at + 2 * column, sizeof end);
        return end;
    }
    default: {
        std::uint32_t end;
        std::memcpy(&end, at + 4 * column, sizeof end);
        return end;
    }
    }
}

inline std::string_view PackedCard::FieldOf(const char* block, int column)
{
    const std::size_t begin = column == 0 ? 0 : End(block, column - 1);
    const char* text = block + 1 + kCardFieldCount * std::size_t(block[0]);
    return std::string_view(text + begin, End(block, column) - begin);
}

inline std::size_t PackedCard::BlockBytes(const char* block)
{
    return 1 + kCardFieldCount * std::size_t(block[0]) + End(block, kCardFieldCount - 1);
}
