#include "collection/PackedCard.h"

#include <functional>
#include <new>

namespace {

CardView ViewOf(const Card& card)
{
    CardView view;
    for (int field = 0; field < kCardFieldCount; ++field)
        view[std::size_t(field)] = card[std::size_t(field)];
    return view;
}

template <typename End>
void StoreEnds(char* at, const CardView& fields)
{
    End end = 0;
    for (const std::string_view field : fields) {
        end = End(end + field.size());
        std::memcpy(at, &end, sizeof end);
        at += sizeof end;
    }
}

} // namespace

PackedCard::PackedCard(const CardView& fields)
    : nameAndSeries_(NameAndSeriesHash(fields[NameField], fields[SeriesField]))
{
    std::size_t size = 0;
    for (const std::string_view field : fields)
        size += field.size();
    const char width = size <= UINT8_MAX ? 1 : size <= UINT16_MAX ? 2 : 4;
    const std::size_t header = 1 + kCardFieldCount * std::size_t(width);
    block_ = static_cast<char*>(BlockArena::Allocate(kOwnersBytes + header + size));
    new (block_) Owners(1);
    char* packed = block_ + kOwnersBytes;
    packed[0] = width;
    if (width == 1)
        StoreEnds<std::uint8_t>(&packed[1], fields);
    else if (width == 2)
        StoreEnds<std::uint16_t>(&packed[1], fields);
    else
        StoreEnds<std::uint32_t>(&packed[1], fields);
    char* text = &packed[header];
    for (const std::string_view field : fields) {
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
    for (int column = 0; column < kCardFieldCount; ++column)
        fields[std::size_t(column)] = Field(column);
    return fields;
}
