#include "cli/MergeCommand.h"

#include "base/FileAccess.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/OtherCollection.h"
#include "collection/file/CollectionLock.h"
#include "collection/file/CollectionSaver.h"
#include "collection/merge/ChangeText.h"
#include "collection/merge/CollectionMerge.h"
#include "collection/merge/ConflictFiles.h"
#include "resources/StringTable.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString Summary(const CollectionMerge& merge, const QString& file)
{
    return QStringLiteral("%1. Cards: %2 to add, %3 in both, %4 only here, %5 in conflict")
        .arg(file)
        .arg(merge.added.size())
        .arg(merge.same)
        .arg(merge.onlyMine)
        .arg(merge.conflicts.size());
}

int RunMerge(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    if (!options.Parse(arguments, {QStringLiteral("--folder")}, {QStringLiteral("--preview")}, reason)
        || options.Positional().size() != 1) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("merge takes one FILE") : reason) << '\n';
        return kExitUsage;
    }
    // FILE is where the command was given, not in the collection's folder.
    const QString file = options.Positional().first();
    const QString other = QFileInfo(file).absoluteFilePath();
    CardTableModel table;
    CardTableModel theirs;
    CollectionLock lock(options.Value(QStringLiteral("--folder"), QStringLiteral(".")));
    const bool entered = EnterFolder(options, reason) && lock.Take(reason);
    CollectionSaver collection(QString::fromLatin1(kCollectionFileName));
    if (!entered || !ReadFolderCollection(collection, table, true, reason)
        || !ReadOtherCollection(other, table.Encoding(), theirs, reason)) {
        err << "quillmark-cli: " << TerminalText(reason) << '\n';
        return kExitFailure;
    }
    if (SameFile(other, collection.Path())) {
        err << "quillmark-cli: " << file << " is the folder's own collection file\n";
        return kExitFailure;
    }
    CollectionMerge merge = MergeCollections(table, theirs);
    const bool preview = options.Has(QStringLiteral("--preview"));
    if (preview || !merge.conflicts.empty()) {
        for (const QString& line : MergeLines(merge, table.Encoding()))
            out << line << '\n';
        out << Summary(merge, file) << '\n';
        if (preview)
            return kExitSuccess;
        err << "quillmark-cli: " << merge.conflicts.size()
            << " Cards differ in the two files; nothing was merged: settle them in File > Merge Collection\n";
        return kExitConflicts;
    }
    const QString summary = Summary(merge, file);
    if (!merge.Empty()) {
        ChoiceListModel series;
        ChoiceListModel conditions;
        ApplyCollectionChanges(MergeChanges(std::move(merge)), table, series, conditions);
        // FILE is still there to merge again: a failed write leaves no recovery file.
        if (!WriteFolderCollection(collection, table, err, reason)) {
            err << "quillmark-cli: " << reason << "; nothing was merged\n";
            return kExitFailure;
        }
    }
    if (IsConflictFile(other, collection.Path()) && !MarkMerged(other, reason))
        err << "quillmark-cli: " << TerminalText(QString::fromUtf8(Text::MergeNotMarked).arg(file, reason)) << '\n';
    out << summary << '\n';
    return kExitSuccess;
}

} // namespace

CliCommand MergeCommand()
{
    return {"merge", "merge FILE [--folder DIR] [--preview]",
            "Merge another copy of the collection into qmk.dat, Card by Card.", RunMerge, Text::MergeDetails};
}
