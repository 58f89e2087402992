#include "cli/CliCollection.h"

#include "base/FileAccess.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionCommands.h"
#include "collection/file/CollectionSaver.h"
#include "prefs/Preferences.h"
#include "prefs/PreferencesCommands.h"

bool ReadFolderCollection(CollectionSaver& file, CardTableModel& table, bool missingIsEmpty, QString& reason)
{
    // The choice lists are the window's; here they only take what the file gives.
    ChoiceListModel series;
    ChoiceListModel conditions;
    const FileRead read = ReadCollection(file, table, series, conditions, &reason);
    return read == FileRead::Read || (read == FileRead::Missing && missingIsEmpty);
}

bool ReadFolderPreferences(Preferences& prefs, QString& reason)
{
    const FileRead read = ReadPreferencesFile(QString::fromLatin1(kPreferencesFileName), prefs, nullptr, &reason);
    return read == FileRead::Read || read == FileRead::Missing;
}

QString TerminalText(const QString& text)
{
    QString line = text;
    return line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
