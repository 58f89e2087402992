#include "collection/CollectionFile.h"

#include "collection/CardTableModel.h"
#include "base/LineSyntax.h"
#include "base/TextMode.h"

#include <QIODevice>

namespace {

int CardFieldOfKey(std::string_view key)
{
    for (int field = 0; field < kCardFieldCount; ++field) {
        if (kCardKeys[field] == key)
            return field;
    }
    return -1;
}

bool Flush(QIODevice& device, QByteArray& buffer)
{
    const bool written = device.write(buffer) == buffer.size();
    buffer.clear();
    return written;
}

// The table and a snapshot of it are written by the same code, so that an
// autosave writes exactly the bytes the close would.
template <typename Table>
bool WriteRows(QIODevice& device, const Table& table)
{
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray buffer;
    buffer.reserve(kChunk + 4096);
    if (table.rowCount() > 0)
        AppendTextMode(buffer, kHeaderLine);
    for (int row = table.rowCount() - 1; row >= 0; --row) {
        for (int field = 0; field < kCardFieldCount; ++field) {
            buffer.append("\r\n", 2);
            buffer.append(kCardKeys[field].data(), qsizetype(kCardKeys[field].size()));
            buffer.append('=');
            AppendTextMode(buffer, table.Cell(row, field));
        }
        buffer.append("\r\n", 2);
        if (buffer.size() >= kChunk && !Flush(device, buffer))
            return false;
    }
    return Flush(device, buffer);
}

} // namespace

void ParseCollection(std::string_view raw, const std::function<void(const Card&)>& take)
{
    Card held;
    ForEachKeyValue(raw, [&](std::string_view key, std::string_view value) {
        const int field = CardFieldOfKey(key);
        if (field < 0)
            return;
        if (field == NameField && !held[NameField].empty())
            take(held);
        held[field].assign(value);
    });
    if (!held[NameField].empty())
        take(held);
}

std::vector<Card> ParseCollection(std::string_view raw)
{
    std::vector<Card> cards;
    ParseCollection(raw, [&](const Card& card) { cards.push_back(card); });
    return cards;
}

bool WriteCollection(QIODevice& device, const CardTableModel& table)
{
    return WriteRows(device, table);
}

bool WriteCollection(QIODevice& device, const CardTableSnapshot& table)
{
    return WriteRows(device, table);
}
