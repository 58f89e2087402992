#include "cli/ExportCsvCommand.h"

#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFiles.h"
#include "collection/csv/CsvWriter.h"
#include "collection/file/CollectionFile.h"
#include "resources/StringTable.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace {

std::optional<CsvFormat> FormatNamed(const QString& name)
{
    if (name == QLatin1String("quillmark"))
        return CsvFormat::Quillmark;
    if (name == QLatin1String("moxfield"))
        return CsvFormat::Moxfield;
    if (name == QLatin1String("deckbox"))
        return CsvFormat::Deckbox;
    return std::nullopt;
}

// Standard output takes the bytes as they are, past the text stream.
bool WriteToOutput(QTextStream& out, const CardTableModel& table, CsvFormulas formulas, CsvFormat format)
{
    out.flush();
    QIODevice* device = out.device();
    if (device == nullptr || !WriteCsv(*device, table, formulas, format))
        return false;
    auto* file = qobject_cast<QFileDevice*>(device);
    return file == nullptr || file->flush();
}

int RunExportCsv(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    if (!options.Parse(arguments, {QStringLiteral("--folder"), QStringLiteral("-o"), QStringLiteral("--format")},
                       {QStringLiteral("--raw")}, reason)
        || !options.Positional().isEmpty()) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("unexpected argument") : reason) << '\n';
        return kExitUsage;
    }
    const std::optional<CsvFormat> format = FormatNamed(options.Value(QStringLiteral("--format"), QStringLiteral("quillmark")));
    if (!format) {
        err << "quillmark-cli: --format takes quillmark, moxfield or deckbox\n";
        return kExitUsage;
    }
    // FILE is where the command was given, not in the collection's folder.
    const QString output =
        options.Has(QStringLiteral("-o")) ? QFileInfo(options.Value(QStringLiteral("-o"))).absoluteFilePath() : QString();
    const CsvFormulas formulas = options.Has(QStringLiteral("--raw")) ? CsvFormulas::Raw : CsvFormulas::Guarded;
    CardTableModel table;
    if (!EnterFolder(options, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    // The collection's own file is no place for its CSV.
    if (!output.isEmpty() && IsCollectionFile(output)) {
        err << "quillmark-cli: " << QString::fromUtf8(Text::ExportOverCollection).arg(options.Value(QStringLiteral("-o")))
            << '\n';
        return kExitFailure;
    }
    if (!ReadFolderCollection(table, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    if (output.isEmpty() ? !WriteToOutput(out, table, formulas, *format)
                         : !ExportCsvFile(output, table, &reason, formulas, *format)) {
        err << "quillmark-cli: " << (output.isEmpty() ? QStringLiteral("standard output: write error") : reason)
            << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

CliCommand ExportCsvCommand()
{
    return {"export-csv", "export-csv [--folder DIR] [-o FILE] [--raw] [--format quillmark|moxfield|deckbox]",
            "Write every Card as CSV, to standard output or to FILE.", RunExportCsv,
            Text::ExportCsvDetails};
}
