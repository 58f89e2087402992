#include "cli/StatsCommand.h"

#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/totals/CollectionTotals.h"
#include "collection/totals/TotalsText.h"

#include <QTextStream>

namespace {

int Stats(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    const QString json = QStringLiteral("--json");
    if (!options.Parse(arguments, {QStringLiteral("--folder")}, {json}, reason) || !options.Positional().isEmpty()) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("unexpected argument") : reason) << '\n';
        return kExitUsage;
    }
    CardTableModel table;
    if (!EnterFolder(options, reason) || !ReadFolderCollection(table, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    const CollectionTotals totals = TotalsOf(table);
    out << QString::fromStdString(options.Has(json) ? TotalsJson(totals, table) : TotalsText(totals, table));
    return kExitSuccess;
}

} // namespace

CliCommand StatsCommand()
{
    return {"stats", "stats [--folder DIR] [--json]",
            "Count the Cards and copies and total what they cost, as text or JSON.", Stats};
}
