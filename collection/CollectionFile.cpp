#include "collection/CollectionFile.h"

#include "collection/CardTableModel.h"
#include "base/LineSyntax.h"
#include "base/Shares.h"
#include "base/TextMode.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Puts a value at out as the file keeps it, each line feed as CR LF, and
// returns where it ends.
char* PutTextMode(char* out, std::string_view text)
{
    while (const void* found = std::memchr(text.data(), '\n', text.size())) {
        const std::size_t line = std::size_t(static_cast<const char*>(found) - text.data());
        std::memcpy(out, text.data(), line);
        out += line;
        *out++ = '\r';
        *out++ = '\n';
        text.remove_prefix(line + 1);
    }
    if (!text.empty())
        std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

char* Put(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// The bytes of a record besides its values: a line per key, "KEY=", and the
// empty line that ends the record.
constexpr std::size_t RecordFrame()
{
    std::size_t size = 2;
    for (const std::string_view key : kCardKeys)
        size += 2 + key.size() + 1;
    return size;
}

// Rows per buffer: about a megabyte of records.
constexpr int kRowsPerBuffer = 4096;

// Puts the records of the rows first down to last into the buffer, in
// place of what it held; it grows to the size they need.
template <typename Table>
void PutRecords(const Table& table, int first, int last, QByteArray& buffer)
{
    std::size_t used = 0;
    for (int row = first; row >= last; --row) {
        // At most twice a value's bytes: each of them might be a line feed.
        std::size_t most = RecordFrame();
        for (int field = 0; field < kCardFieldCount; ++field)
            most += 2 * table.Cell(row, field).size();
        if (used + most > std::size_t(buffer.size()))
            buffer.resize(qsizetype(std::max(2 * std::size_t(buffer.size()), used + most)));
        char* out = buffer.data() + used;
        for (int field = 0; field < kCardFieldCount; ++field) {
            out = Put(out, "\r\n");
            out = Put(out, kCardKeys[std::size_t(field)]);
            *out++ = '=';
            out = PutTextMode(out, table.Cell(row, field));
        }
        out = Put(out, "\r\n");
        used = std::size_t(out - buffer.data());
    }
    buffer.resize(qsizetype(used));
}

// The table and a snapshot of it are written by the same code, so that an
// autosave writes exactly the bytes the close would.
template <typename Table>
bool WriteRows(QIODevice& device, const Table& table, int threads)
{
    const int rows = table.rowCount();
    if (rows == 0)
        return true;
    QByteArray header;
    AppendTextMode(header, kHeaderLine);
    if (device.write(header) != header.size())
        return false;
    const int shareCount = ShareCount(rows, kRowsPerBuffer, threads);
    // Each thread puts its share of the next rows into a buffer of its own;
    // the buffers then go to the device in file order, bottom row first.
    std::vector<QByteArray> buffers(static_cast<std::size_t>(shareCount));
    for (int top = rows - 1; top >= 0; top -= shareCount * kRowsPerBuffer) {
        RunShares(buffers.size(), [&](std::size_t i) {
            const int first = top - int(i) * kRowsPerBuffer;
            if (first >= 0)
                PutRecords(table, first, std::max(first - kRowsPerBuffer + 1, 0), buffers[i]);
            else
                buffers[i].clear();
        });
        for (const QByteArray& buffer : buffers) {
            if (device.write(buffer) != buffer.size())
                return false;
        }
    }
    return true;
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

bool WriteCollection(QIODevice& device, const CardTableModel& table, int threads)
{
    return WriteRows(device, table, threads);
}

bool WriteCollection(QIODevice& device, const CardTableSnapshot& table, int threads)
{
    return WriteRows(device, table, threads);
}
