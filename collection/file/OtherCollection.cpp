#include "collection/file/OtherCollection.h"

#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionCommands.h"
#include "collection/file/CollectionSaver.h"
#include "resources/StringTable.h"

#include <string>

bool TakeEncoding(CardTableModel& table, TextEncoding encoding, const QString& path, QString& reason)
{
    if (table.Encoding() == encoding)
        return true;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            std::string bytes;
            char32_t unstorable = 0;
            if (!EncodeText(DecodeText(table.Cell(row, field), table.Encoding()), encoding, bytes, &unstorable)) {
                reason = QString::fromUtf8(Text::MergeUnstorable).arg(path, QString::fromUcs4(&unstorable, 1));
                return false;
            }
            if (bytes != table.Cell(row, field))
                table.SetCell(row, field, bytes);
        }
    }
    table.SetEncoding(encoding);
    return true;
}

bool ReadOtherCollection(const QString& path, TextEncoding encoding, CardTableModel& theirs, QString& reason)
{
    CollectionSaver file(path);
    ChoiceListModel series;
    ChoiceListModel conditions;
    const FileRead read = ReadCollection(file, theirs, series, conditions, &reason);
    if (read == FileRead::Missing)
        reason = QString::fromUtf8(Text::MergeFileMissing).arg(path);
    return read == FileRead::Read && TakeEncoding(theirs, encoding, path, reason);
}
