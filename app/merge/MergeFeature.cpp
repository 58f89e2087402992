#include "app/merge/MergeFeature.h"

#include "app/merge/MergeDialog.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "base/FileAccess.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/OtherCollection.h"
#include "collection/merge/CollectionMerge.h"
#include "collection/merge/ConflictFiles.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>

namespace {

QString CollectionPath()
{
    return QFileInfo(QString::fromLatin1(kCollectionFileName)).absoluteFilePath();
}

} // namespace

MergeFeature::MergeFeature(WindowActions& actions, const CardTableModel& table, UserQuestions& questions,
                           QWidget& window)
    : QObject(&window)
    , table_(table)
    , questions_(questions)
    , window_(window)
{
    actions.Bind(actions.Register("mergeCollectionAction", Text::MergeCollectionMenu), [this] { AskAndMerge(); });
}

void MergeFeature::AskAndMerge()
{
    const QString path = questions_.AskOpenPath(QString::fromUtf8(Text::MergeCaption), QDir::currentPath(),
                                                QString::fromUtf8(Text::MergeFileFilter));
    if (!path.isEmpty())
        Merge(path);
}

void MergeFeature::OfferConflictFile()
{
    const QStringList conflicts = ConflictFiles(CollectionPath());
    if (conflicts.isEmpty())
        return;
    const QString path = conflicts.first();
    if (questions_.AskYesNo(QString::fromUtf8(Text::MergeConflictOffer).arg(QDir::toNativeSeparators(path)),
                            QString::fromUtf8(Text::MergeCaption)))
        Merge(path);
}

// The conflict file stays as it is until its merge is accepted.
void MergeFeature::Merge(const QString& path)
{
    const QString caption = QString::fromUtf8(Text::MergeCaption);
    const QString name = QFileInfo(path).fileName();
    QString reason;
    CardTableModel theirs;
    if (SameFile(path, CollectionPath())) {
        questions_.ShowInformation(QString::fromUtf8(Text::MergeNothing).arg(name), caption);
        return;
    }
    if (!ReadOtherCollection(path, table_.Encoding(), theirs, reason)) {
        questions_.ShowError(QString::fromUtf8(Text::MergeNotRead).arg(reason), QString::fromUtf8(Text::ErrorCaption));
        return;
    }
    CollectionMerge merge = MergeCollections(table_, theirs);
    if (merge.Empty()) {
        questions_.ShowInformation(QString::fromUtf8(Text::MergeNothing).arg(name), caption);
        MarkMergedFile(path);
        return;
    }
    if (!merge.conflicts.empty()) {
        MergeDialog dialog(merge, table_.Encoding(), name, &window_);
        if (!questions_.AskDialog(dialog))
            return;
        dialog.CopyChoicesTo(merge);
    }
    const auto added = merge.added.size();
    const auto taken = std::count_if(merge.conflicts.begin(), merge.conflicts.end(),
                                     [](const CollectionMerge::Conflict& conflict) { return conflict.takeTheirs; });
    CollectionChanges changes = MergeChanges(std::move(merge));
    emit ChangesAccepted(changes, QString::fromUtf8(Text::MergeStep));
    MarkMergedFile(path);
    emit Noticed(QString::fromUtf8(Text::MergeDone).arg(name).arg(added).arg(taken));
}

void MergeFeature::MarkMergedFile(const QString& path)
{
    QString reason;
    if (IsConflictFile(path, CollectionPath()) && !MarkMerged(path, reason)) {
        questions_.ShowError(QString::fromUtf8(Text::MergeNotMarked).arg(QFileInfo(path).fileName(), reason),
                             QString::fromUtf8(Text::ErrorCaption));
    }
}
