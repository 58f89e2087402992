// Any bytes as qmk.dat: the reader must not crash, and what it reads must
// survive a save and a second load unchanged, so that closing and reopening
// Quillmark never alters a collection. The load's reading in pieces must
// give the same rows as reading from the start, and tell exactly whether a
// save writes the very bytes read.
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionRows.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Saved(const std::vector<Card>& fileOrder)
{
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    for (const Card& card : fileOrder)
        rows.Append(card);
    table.SetRowsBottomFirst(std::move(rows));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table))
        std::abort();
    return buffer.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const std::vector<Card> loaded = ParseCollection(raw);
    CardTableModel pieces;
    CollectionRows read = ReadCollectionRows(raw, 3);
    const bool asWritten = read.asWritten;
    pieces.SetRowsBottomFirst(std::move(read.rows));
    if (pieces.rowCount() != int(loaded.size()))
        std::abort();
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (pieces.RowCard(int(loaded.size() - 1 - i)) != loaded[i])
            std::abort();
    }
    const QByteArray saved = Saved(loaded);
    // The load tells exactly when a save would write the file back unchanged.
    if (asWritten != (std::string_view(saved.constData(), std::size_t(saved.size())) == raw))
        std::abort();
    const std::vector<Card> reloaded = ParseCollection(std::string_view(saved.constData(), std::size_t(saved.size())));
    if (reloaded != loaded || Saved(reloaded) != saved)
        std::abort();
    return 0;
}
