#include "app/merge/ReimportFeature.h"

#include "app/merge/ReimportDialog.h"
#include "app/window/UserQuestions.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvImport.h"
#include "collection/merge/ReimportDiff.h"
#include "resources/StringTable.h"

#include <QStringList>
#include <QWidget>

namespace {

// The apps the Cards came from, as their Source names them, each once.
QString SourcesOf(const CardTableModel::RowBlock& cards, TextEncoding encoding)
{
    QStringList sources;
    for (int index = 0; index < cards.size(); ++index) {
        const QString source = DecodeText(cards.Cell(index, SourceField), encoding);
        if (!source.isEmpty() && !sources.contains(source))
            sources << source;
    }
    return sources.join(QStringLiteral(", "));
}

QString Done(const CollectionChanges& changes)
{
    return QString::fromUtf8(Text::ReimportDone)
        .arg(changes.added.size())
        .arg(changes.replaced.size())
        .arg(changes.removed.size());
}

} // namespace

ReimportFeature::ReimportFeature(UserQuestions& questions, QWidget& window)
    : QObject(&window)
    , questions_(questions)
    , window_(window)
{
}

void ReimportFeature::Review(CsvImportResult& imported, const CardTableModel& table)
{
    const QString caption = QString::fromUtf8(Text::ImportCsvCaption);
    ReimportDiff diff = DiffReimport(table, imported.cards, imported.quantities);
    if (diff.Empty()) {
        questions_.ShowInformation(QString::fromUtf8(Text::ReimportNothing), caption);
        return;
    }
    // The app's first import adds, as every import did before it.
    if (!diff.known) {
        const QString summary = CsvImportSummary(imported);
        CollectionChanges changes = AcceptedChanges(std::move(diff));
        emit ChangesAccepted(changes, QString::fromUtf8(Text::ImportStep));
        questions_.ShowInformation(summary, caption);
        return;
    }
    const QString sources = SourcesOf(imported.cards, table.Encoding());
    ReimportDialog dialog(diff, table.Encoding(), sources, &window_);
    if (!questions_.AskDialog(dialog))
        return;
    dialog.CopyChoicesTo(diff);
    CollectionChanges changes = AcceptedChanges(std::move(diff));
    if (changes.Empty())
        return;
    const QString done = Done(changes);
    emit ChangesAccepted(changes, QString::fromUtf8(Text::ReimportStep).arg(sources));
    emit Noticed(done);
}
