#include "collection/file/CollectionFile.h"

#include "collection/CardTableModel.h"
#include "base/FileAccess.h"
#include "base/LineSyntax.h"
#include "base/Shares.h"
#include "base/TextMode.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
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

// The most bytes the detail lines of a record add besides their values.
constexpr std::size_t DetailsFrame()
{
    std::size_t size = 0;
    for (const std::string_view key : kDetailKeys)
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
    // Rows far apart in memory, as a sort leaves them, would each wait for
    // their texts unless asked for ahead.
    constexpr int kAhead = 8;
    for (int row = first; row >= last; --row) {
        if (row - kAhead >= last)
            table.PrefetchRow(row - kAhead);
        const std::string_view texts = table.RowTexts(row);
        // At most twice the values' bytes: each of them might be a line feed.
        const std::size_t most = RecordFrame() + DetailsFrame() + 2 * texts.size();
        if (used + most > std::size_t(buffer.size()))
            buffer.resize(qsizetype(std::max(2 * std::size_t(buffer.size()), used + most)));
        // Nearly every Card has no line feed: one look at all its texts
        // then spares a look at each.
        const bool oneLineEach = std::memchr(texts.data(), '\n', texts.size()) == nullptr;
        char* out = buffer.data() + used;
        for (int field = 0; field < kCardFieldCount; ++field) {
            out = Put(out, "\r\n");
            out = Put(out, kCardKeys[std::size_t(field)]);
            *out++ = '=';
            const std::string_view value = table.Cell(row, field);
            out = oneLineEach ? Put(out, value) : PutTextMode(out, value);
        }
        // A detail has a line only when set, so that a collection without
        // details is written as it always was.
        for (int field = kCardFieldCount; field < kAllCardFieldCount; ++field) {
            const std::string_view value = table.Cell(row, field);
            if (value.empty())
                continue;
            out = Put(out, "\r\n");
            out = Put(out, kDetailKeys[std::size_t(field - kCardFieldCount)]);
            *out++ = '=';
            out = oneLineEach ? Put(out, value) : PutTextMode(out, value);
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
    // Buffer c holds the c-th run of kRowsPerBuffer rows counted up from the
    // bottom row, so the buffers go to the device in file order.
    const int bufferCount = (rows + kRowsPerBuffer - 1) / kRowsPerBuffer;
    const auto put = [&table, rows](int c, QByteArray buffer) {
        const int first = rows - 1 - c * kRowsPerBuffer;
        PutRecords(table, first, std::max(first - kRowsPerBuffer + 1, 0), buffer);
        return buffer;
    };
    const int workers = ShareCount(rows, kRowsPerBuffer, threads);
    if (workers == 1) {
        QByteArray buffer;
        for (int c = 0; c < bufferCount; ++c) {
            buffer = put(c, std::move(buffer));
            if (device.write(buffer) != buffer.size())
                return false;
        }
        return true;
    }
    // The next buffers are filled, each on a thread of its own, while this
    // one writes the oldest: the device's time then hides under the text's.
    std::deque<std::future<QByteArray>> filling;
    std::vector<QByteArray> spare;
    int next = 0;
    const auto fillNext = [&] {
        QByteArray buffer;
        if (!spare.empty()) {
            buffer = std::move(spare.back());
            spare.pop_back();
        }
        filling.push_back(std::async(std::launch::async, put, next++, std::move(buffer)));
    };
    while (next < bufferCount && int(filling.size()) < workers)
        fillNext();
    bool written = true;
    while (!filling.empty()) {
        QByteArray buffer = filling.front().get();
        filling.pop_front();
        written = written && device.write(buffer) == buffer.size();
        if (written && next < bufferCount) {
            spare.push_back(std::move(buffer));
            fillNext();
        }
    }
    return written;
}

} // namespace

bool IsCollectionFile(const QString& path)
{
    const QString name = QString::fromLatin1(kCollectionFileName);
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()) == QDir::current().absoluteFilePath(name)
           || SameFile(path, name);
}

void ParseCollection(std::string_view raw, const std::function<void(const Card&)>& take)
{
    Card held;
    ForEachKeyValue(raw, [&](std::string_view key, std::string_view value) {
        int field = CardFieldOfKey(key);
        if (field < 0)
            field = DetailFieldOfKey(key);
        if (field < 0)
            return;
        if (field == NameField) {
            if (!held[NameField].empty())
                take(held);
            for (int detail = kCardFieldCount; detail < kAllCardFieldCount; ++detail)
                held[std::size_t(detail)].clear();
        }
        held[std::size_t(field)].assign(value);
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
