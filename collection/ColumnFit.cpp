#include "collection/ColumnFit.h"

#include <QString>

#include <cmath>

ColumnFit::ColumnFit(const QFont& font)
    : metrics_(font)
{
    for (int c = 0; c < 128; ++c)
        ascii_[std::size_t(c)] = metrics_.horizontalAdvance(QChar(c));
}

qreal ColumnFit::Advance(char32_t character)
{
    auto found = others_.constFind(character);
    if (found != others_.constEnd())
        return *found;
    const char32_t text[] = {character};
    const qreal advance = metrics_.horizontalAdvance(QString::fromUcs4(text, 1));
    others_.insert(character, advance);
    return advance;
}

int ColumnFit::TextWidth(std::string_view bytes)
{
    qreal width = 0;
    bool ascii = true;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 128) {
            ascii = false;
            break;
        }
        width += ascii_[byte];
    }
    if (!ascii) {
        width = 0;
        const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        for (const char32_t character : text.toUcs4())
            width += character < 128 ? ascii_[character] : Advance(character);
    }
    return int(std::ceil(width - 1e-6));
}

void ColumnFit::Add(const Card& card)
{
    for (int column = 0; column < kCardFieldCount; ++column)
        ++widths_[std::size_t(column)][TextWidth(card[column])];
}

void ColumnFit::Remove(const Card& card)
{
    for (int column = 0; column < kCardFieldCount; ++column) {
        auto& counts = widths_[std::size_t(column)];
        const auto found = counts.find(TextWidth(card[column]));
        if (found != counts.end() && --found->second == 0)
            counts.erase(found);
    }
}

void ColumnFit::Clear()
{
    for (auto& counts : widths_)
        counts.clear();
}

int ColumnFit::WidestText(int column) const
{
    const auto& counts = widths_[std::size_t(column)];
    return counts.empty() ? 0 : counts.rbegin()->first;
}
