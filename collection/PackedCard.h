#pragma once

#include "base/BlockArena.h"
#include "collection/Card.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

// A Card's texts, seen where they already are.
using CardView = std::array<std::string_view, kAllCardFieldCount>;

// A Card's texts in one block of memory: how wide the ends are and whether
// the details follow the eight fields, the ends of the texts, then their
// bytes. An end takes one byte while the texts together fit in 255 bytes, as
// nearly every Card's do, two bytes up to 65535 and four beyond; a Card
// without details keeps no ends for them. A table of a million Cards is then
// little more than its texts and one pointer a row. Beside the block it keeps a hash of
// the Name and Series, so that a search for them reads only the blocks of
// rows whose hash matches.
//
// The blocks come from the block arena: the rows of a load lie side by side
// in a few large pages. A block never changes once packed, so copies of a
// row share it, counting their owners: a snapshot of the table then costs a pointer a row, not a
// second copy of every text, and may be read on another thread.
class PackedCard {
public:
    explicit PackedCard(const CardView& fields);
    explicit PackedCard(const Card& card);
    PackedCard(const PackedCard& other) noexcept;
    PackedCard(PackedCard&& other) noexcept;
    PackedCard& operator=(PackedCard other) noexcept;
    ~PackedCard();

    static std::uint32_t NameAndSeriesHash(std::string_view name, std::string_view series);
    std::uint32_t NameAndSeriesHash() const { return nameAndSeries_; }

    std::string_view Field(int column) const { return FieldOf(Packed(), column); }
    // The texts back to back, Name first, the details last when there are any.
    std::string_view Texts() const;
    // Asks the processor for the block's first few cache lines, enough for
    // most Cards.
    void Prefetch() const
    {
        for (int line = 0; line < 4; ++line)
            __builtin_prefetch(block_ + 64 * line);
    }
    CardView Fields() const;
    bool HasDetails() const { return (Packed()[0] & kWithDetails) != 0; }
    // Whether both are copies of one packed row, which then has the same
    // texts in both.
    bool SharesBlockWith(const PackedCard& other) const { return block_ == other.block_; }

    // The bytes the block takes.
    std::size_t Bytes() const { return kOwnersBytes + BlockBytes(Packed()); }

private:
    // The count of owners goes first, then what is packed.
    using Owners = std::atomic<std::uint32_t>;
    static constexpr std::size_t kOwnersBytes = sizeof(Owners);

    Owners& OwnerCount() const { return *reinterpret_cast<Owners*>(block_); }
    const char* Packed() const { return block_ + kOwnersBytes; }
    static std::size_t BlockBytes(const char* packed);
    // Bit 7 of the first byte says the details are kept, the rest is the
    // width of an end.
    static constexpr char kWithDetails = char(0x80);
    static std::size_t Width(const char* packed) { return std::size_t(packed[0] & 0x7f); }
    static int Count(const char* packed) { return (packed[0] & kWithDetails) != 0 ? kAllCardFieldCount : kCardFieldCount; }
    static std::string_view FieldOf(const char* packed, int column);
    static std::size_t End(const char* packed, int column);

    char* block_;
    std::uint32_t nameAndSeries_;
};

// Inline: a sort or a reorder moves every row, and a snapshot copies them.
inline PackedCard::PackedCard(const PackedCard& other) noexcept
    : block_(other.block_)
    , nameAndSeries_(other.nameAndSeries_)
{
    OwnerCount().fetch_add(1, std::memory_order_relaxed);
}

inline PackedCard::PackedCard(PackedCard&& other) noexcept
    : block_(other.block_)
    , nameAndSeries_(other.nameAndSeries_)
{
    other.block_ = nullptr;
}

inline PackedCard& PackedCard::operator=(PackedCard other) noexcept
{
    std::swap(block_, other.block_);
    nameAndSeries_ = other.nameAndSeries_;
    return *this;
}

// The last owner frees the block, on whichever thread it lets go.
inline PackedCard::~PackedCard()
{
    if (block_ != nullptr && OwnerCount().fetch_sub(1, std::memory_order_acq_rel) == 1) {
        const std::size_t bytes = Bytes();
        OwnerCount().~Owners();
        BlockArena::Free(block_, bytes);
    }
}

// Inline: the table reads a cell for every row of a sort or a fit.
inline std::size_t PackedCard::End(const char* block, int column)
{
    const char* at = block + 1;
    switch (Width(block)) {
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
    if (column >= kCardFieldCount && column >= Count(block))
        return {};
    const std::size_t begin = column == 0 ? 0 : End(block, column - 1);
    const char* text = block + 1 + std::size_t(Count(block)) * Width(block);
    return std::string_view(text + begin, End(block, column) - begin);
}

inline std::string_view PackedCard::Texts() const
{
    const char* packed = Packed();
    const int count = Count(packed);
    return std::string_view(packed + 1 + std::size_t(count) * Width(packed), End(packed, count - 1));
}

inline std::size_t PackedCard::BlockBytes(const char* block)
{
    const int count = Count(block);
    return 1 + std::size_t(count) * Width(block) + End(block, count - 1);
}
