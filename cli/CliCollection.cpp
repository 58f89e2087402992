#include "cli/CliCollection.h"

#include "base/FileAccess.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionCommands.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionSaver.h"
#include "prefs/Preferences.h"
#include "prefs/PreferencesCommands.h"
#include "resources/StringTable.h"

#include <QTextStream>

bool ReadFolderCollection(CollectionSaver& file, CardTableModel& table, bool missingIsEmpty, QString& reason)
{
    // The choice lists are the window's; here they only take what the file gives.
    ChoiceListModel series;
    ChoiceListModel conditions;
    const FileRead read = ReadCollection(file, table, series, conditions, &reason);
    return read == FileRead::Read || (read == FileRead::Missing && missingIsEmpty);
}

bool ReadFolderCollection(CardTableModel& table, QString& reason)
{
    CollectionSaver file(QString::fromLatin1(kCollectionFileName));
    return ReadFolderCollection(file, table, false, reason);
}

bool WriteFolderCollection(CollectionSaver& file, const CardTableModel& table, QTextStream& err, QString& reason)
{
    const SaveOutcome outcome =
        file.Save([&table](QIODevice& device) { return WriteCollection(device, table); }, CollectionSaver::Recovery::None);
    if (!outcome.keptConflict.isEmpty()) {
        err << "quillmark-cli: "
            << TerminalText(QString::fromUtf8(Text::CliCollectionChanged).arg(outcome.keptConflict, file.Path()))
            << '\n';
    }
    reason = outcome.reason;
    return outcome.kind == SaveOutcome::Written;
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
