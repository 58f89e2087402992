#include "collection/PackedCard.h"

#include <functional>
#include <new>

namespace {

CardView ViewOf(const Card& card)
{
    CardView view;
    for (int field = 0; field < kAllCardFieldCount; ++field)
        view[std::size_t(field)] = card[std::size_t(field)];
    return view;
}

template <typename End>
void StoreEnds(char* at, const CardView& fields, int count)
{
    End end = 0;
    for (int field = 0; field < count; ++field) {
        end = End(end + fields[std::size_t(field)].size());
        std::memcpy(at, &end, sizeof end);
        at += sizeof end;
    }
}

} // namespace

PackedCard::PackedCard(const CardView& fields)
    : nameAndSeries_(NameAndSeriesHash(fields[NameField], fields[SeriesField]))
{
    std::size_t size = 0;
    bool details = false;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        size += fields[std::size_t(field)].size();
        details = details || (field >= kCardFieldCount && !fields[std::size_t(field)].empty());
    }
    const int count = details ? kAllCardFieldCount : kCardFieldCount;
    const char width = size <= UINT8_MAX ? 1 : size <= UINT16_MAX ? 2 : 4;
    const std::size_t header = 1 + std::size_t(count) * std::size_t(width);
    block_ = static_cast<char*>(BlockArena::Allocate(kOwnersBytes + header + size));
    new (block_) Owners(1);
    char* packed = block_ + kOwnersBytes;
    packed[0] = char(width | (details ? kWithDetails : 0));
    if (width == 1)
        StoreEnds<std::uint8_t>(&packed[1], fields, count);
    else if (width == 2)
        StoreEnds<std::uint16_t>(&packed[1], fields, count);
    else
        StoreEnds<std::uint32_t>(&packed[1], fields, count);
    char* text = &packed[header];
    for (int at = 0; at < count; ++at) {
        const std::string_view field = fields[std::size_t(at)];
        if (!field.empty())
            std::memcpy(text, field.data(), field.size());
        text += field.size();
    }
}

std::uint32_t PackedCard::NameAndSeriesHash(std::string_view name, std::string_view series)
{
    const std::size_t hash = std::hash<std::string_view>()(name) ^ (std::hash<std::string_view>()(series) * 31);
    return std::uint32_t(hash ^ (hash >> 32));
}

PackedCard::PackedCard(const Card& card)
    : PackedCard(ViewOf(card))
{
}

CardView PackedCard::Fields() const
{
    CardView fields;
    for (int column = 0; column < kAllCardFieldCount; ++column)
        fields[std::size_t(column)] = Field(column);
    return fields;
}
