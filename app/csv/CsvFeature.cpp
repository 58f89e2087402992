#include "app/csv/CsvFeature.h"

#include "app/csv/CsvCommands.h"
#include "app/window/UserQuestions.h"
#include "app/window/WindowActions.h"
#include "collection/merge/ReimportDiff.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

CsvFeature::CsvFeature(WindowActions& actions, const CardTableModel& table, UserQuestions& questions,
                       QWidget& window)
    : QObject(&window)
    , table_(table)
    , questions_(questions)
    , window_(window)
{
    actions.Bind(actions.Register("exportCsvAction", Text::ExportCsvMenu), [this] { Export(); });
    actions.Bind(actions.Register("importCsvAction", Text::ImportCsvMenu), [this] { Import(); });
}

void CsvFeature::Export()
{
    const QString notice = RunCsvExport(questions_, table_);
    if (!notice.isEmpty())
        emit Exported(notice);
}

// The summary box stands over the window as it now is: the new Cards in the
// table, the widths fitted, the new count.
void CsvFeature::Import()
{
    std::optional<CsvImportResult> imported = AskCsvImport(questions_, table_, &window_);
    if (!imported)
        return;
    const QString summary = CsvImportSummary(*imported);
    // An app's export tells what it changed itself.
    const bool fromApp = IsAppImport(imported->cards);
    emit Imported(*imported);
    if (!fromApp)
        questions_.ShowInformation(summary, QString::fromUtf8(Text::ImportCsvCaption));
}
