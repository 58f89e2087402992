#include "collection/file/CollectionCommands.h"

#include "base/FileAccess.h"
#include "base/FileStamp.h"
#include "base/MessageInterface.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionRows.h"
#include "collection/file/CollectionSaver.h"
#include "resources/StringTable.h"

#include <QDir>

#include <string>
#include <vector>

FileRead ReadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                        ChoiceListModel& conditions, QString* reason)
{
    const QString& path = file.Path();
    QByteArray raw;
    const FileRead read = ReadRegularFile(path, raw, reason);
    file.Remember(read == FileRead::Read ? StampOf(path, Checksum(raw)) : FileStamp());

    // The values keep the file's bytes; the file's encoding decides only how
    // they are shown and how typed text is stored.
    const std::string_view bytes(raw.constData(), std::size_t(raw.size()));
    const TextEncoding encoding = EncodingOfFile(bytes);
    table.SetEncoding(encoding);
    series.SetEncoding(encoding);
    conditions.SetEncoding(encoding);

    // The table ends as if each Card had been inserted at the top in turn.
    CollectionRows loaded = ReadCollectionRows(bytes);
    raw.clear();
    table.SetRowsBottomFirst(std::move(loaded.rows));
    series.AddAll(loaded.series);
    conditions.AddAll(loaded.conditions);
    return read;
}

bool LoadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions, MessageInterface& messages)
{
    const QString& path = file.Path();
    CreateFileIfMissing(path);
    QString reason;
    const FileRead read = ReadCollection(file, table, series, conditions, &reason);
    // A file that could not even be made is made by the first save.
    if (read == FileRead::Read || read == FileRead::Missing)
        return true;
    file.LeaveFile();
    const QString folder = QDir::toNativeSeparators(RecoveryFolder(path));
    messages.ShowError(QString::fromUtf8(Text::CollectionUnreadable).arg(reason, folder),
                       QString::fromUtf8(Text::ErrorCaption));
    return false;
}

bool SaveCollection(CollectionSaver& file, const CardTableModel& table, MessageInterface& messages)
{
    const SaveOutcome outcome = file.Save([&table](QIODevice& device) { return WriteCollection(device, table); });
    const char* why = outcome.kind == SaveOutcome::LeftAsItWas ? Text::CollectionLeftAsItWas : Text::SaveToFile;
    ReportSave(outcome, file.Path(), QString::fromUtf8(why), messages);
    return outcome.kind == SaveOutcome::Written
           || (outcome.kind == SaveOutcome::LeftAsItWas && !outcome.recovery.isEmpty());
}

void ReportSave(const SaveOutcome& outcome, const QString& path, const QString& why, MessageInterface& messages)
{
    if (!outcome.keptConflict.isEmpty()) {
        messages.ShowError(QString::fromUtf8(Text::CollectionChangedElsewhere)
                               .arg(QDir::toNativeSeparators(outcome.keptConflict), QDir::toNativeSeparators(path)),
                           QString::fromUtf8(Text::CollectionChangedCaption));
    }
    if (outcome.kind == SaveOutcome::Written || why.isEmpty())
        return;
    const QString where = outcome.recovery.isEmpty() ? QString::fromUtf8(Text::NoRecoveryFile)
                                                     : QString::fromUtf8(Text::RecoverySaved).arg(outcome.recovery);
    messages.ShowError(why + QStringLiteral("\r\n") + where, QString::fromUtf8(Text::ErrorWritingFileCaption));
}
