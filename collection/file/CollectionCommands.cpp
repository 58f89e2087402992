#include "collection/file/CollectionCommands.h"

#include "base/FileContents.h"
#include "base/FileStamp.h"
#include "base/StepTimes.h"
#include "base/MessageInterface.h"
#include "base/TextEncoding.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionRows.h"
#include "collection/file/CollectionSaver.h"
#include "resources/StringTable.h"

#include <QDir>

#include <future>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

FileRead ReadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                        ChoiceListModel& conditions, QString* reason, LoadedFile* loaded)
{
    const QString& path = file.Path();
    std::shared_ptr<FileContents> raw;
    FileRead read = FileRead::Failed;
    FileStamp stamp;
    CollectionRows rows;
    TextEncoding encoding = TextEncoding::Utf8;
    for (const FileContents::Way way : {FileContents::Way::MappedWhenLarge, FileContents::Way::Copied}) {
        raw = std::make_shared<FileContents>();
        read = raw->Read(path, reason, way);
        // The file as it was read: its size and time now, its checksum below.
        stamp = read == FileRead::Read ? StampOf(path, {}) : FileStamp();
        StepTimes::Mark("qmk.dat read");

        // The checksum and the file's encoding are found on a thread of their
        // own while the rows are read. The values keep the file's bytes; the
        // encoding decides only how they are shown and how typed text is stored.
        const std::string_view bytes = raw->View();
        constexpr std::size_t kBesideTheRows = std::size_t(1) << 20;
        std::future<std::pair<QByteArray, TextEncoding>> summed =
            std::async(bytes.size() < kBesideTheRows ? std::launch::deferred : std::launch::async, [bytes] {
                return std::pair(Checksum(QByteArrayView(bytes.data(), qsizetype(bytes.size()))),
                                 EncodingOfFile(bytes));
            });
        // The table ends as if each Card had been inserted at the top in turn.
        rows = ReadCollectionRows(bytes);
        QByteArray checksum;
        std::tie(checksum, encoding) = summed.get();
        if (stamp.exists)
            stamp.checksum = checksum;
        StepTimes::Mark("rows read, qmk.dat summed, encoding found");
        // Another program cut the file short while it was read: read again.
        if (raw->Whole())
            break;
    }
    file.Remember(stamp);
    table.SetEncoding(encoding);
    series.SetEncoding(encoding);
    conditions.SetEncoding(encoding);
    if (loaded != nullptr && read == FileRead::Read) {
        loaded->bytes = raw;
        loaded->asWritten = rows.asWritten;
    }
    raw.reset();
    table.SetRowsBottomFirst(std::move(rows.rows));
    StepTimes::Mark("every cell measured");
    series.AddAll(rows.series);
    conditions.AddAll(rows.conditions);
    StepTimes::Mark("choice lists filled");
    return read;
}

bool LoadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions, MessageInterface& messages, LoadedFile* loaded)
{
    const QString& path = file.Path();
    CreateFileIfMissing(path);
    QString reason;
    const FileRead read = ReadCollection(file, table, series, conditions, &reason, loaded);
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
