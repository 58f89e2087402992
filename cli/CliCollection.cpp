#include "cli/CliCollection.h"

#include "base/FileAccess.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "prefs/Preferences.h"

#include <QFile>

bool ReadCollectionFile(CardTableModel& table, QString& reason)
{
    QByteArray raw;
    if (!ReadFile(QString::fromLatin1(kCollectionFileName), raw, &reason))
        return false;
    const std::string_view bytes(raw.constData(), std::size_t(raw.size()));
    table.SetEncoding(EncodingOfFile(bytes));
    CardTableModel::RowBuilder rows;
    ParseCollection(bytes, [&rows](const Card& card) { rows.Append(card); });
    table.SetRowsBottomFirst(std::move(rows));
    return true;
}

bool ReadPreferencesFile(Preferences& prefs, QString& reason)
{
    const QString path = QString::fromLatin1(kPreferencesFileName);
    if (!QFile::exists(path))
        return true;
    QByteArray raw;
    if (!ReadFile(path, raw, &reason))
        return false;
    ParsePreferences(std::string_view(raw.constData(), std::size_t(raw.size())), prefs);
    return true;
}
