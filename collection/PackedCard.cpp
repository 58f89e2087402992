#include "collection/PackedCard.h"

PackedCard::PackedCard(const Card& card)
{
    std::size_t size = 0;
    for (const std::string& field : card)
        size += field.size();
    text_.reserve(size);
    for (int field = 0; field < kCardFieldCount; ++field) {
        text_ += card[field];
        end_[field] = std::uint32_t(text_.size());
    }
}

std::string_view PackedCard::Field(int field) const
{
    const std::uint32_t begin = field == 0 ? 0 : end_[field - 1];
    return std::string_view(text_).substr(begin, end_[field] - begin);
}

Card PackedCard::Unpacked() const
{
    Card card;
    for (int field = 0; field < kCardFieldCount; ++field)
        card[field] = std::string(Field(field));
    return card;
}

void PackedCard::SetField(int field, std::string_view text)
{
    const std::uint32_t begin = field == 0 ? 0 : end_[field - 1];
    const std::uint32_t length = end_[field] - begin;
    text_.replace(begin, length, text);
    // Unsigned: a shorter text's difference wraps, and so do the sums.
    const std::uint32_t grown = std::uint32_t(text.size()) - length;
    for (int after = field; after < kCardFieldCount; ++after)
        end_[after] += grown;
}
