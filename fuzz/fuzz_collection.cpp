// Any bytes as qmk.dat: the reader must not crash, and what it reads must
// survive a save and a second load unchanged, so that closing and reopening
// Quillmark never alters a collection.
#include "collection/CardTableModel.h"
#include "collection/CollectionFile.h"

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
    const std::vector<Card> loaded = ParseCollection(std::string_view(reinterpret_cast<const char*>(data), size));
    const QByteArray saved = Saved(loaded);
    const std::vector<Card> reloaded = ParseCollection(std::string_view(saved.constData(), std::size_t(saved.size())));
    if (reloaded != loaded || Saved(reloaded) != saved)
        std::abort();
    return 0;
}
