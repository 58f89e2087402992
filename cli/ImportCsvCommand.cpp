#include "cli/ImportCsvCommand.h"

#include "base/FileAccess.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionLock.h"
#include "collection/file/CollectionSaver.h"
#include "collection/csv/CsvFiles.h"
#include "collection/merge/ChangeText.h"
#include "collection/merge/ReimportDiff.h"
#include "resources/StringTable.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace {

std::optional<CsvRepeats> RepeatsNamed(const QString& name)
{
    if (name == QLatin1String("add"))
        return CsvRepeats::AddAsRows;
    if (name == QLatin1String("skip"))
        return CsvRepeats::Skip;
    if (name == QLatin1String("merge"))
        return CsvRepeats::MergeQuantities;
    return std::nullopt;
}

std::optional<CsvEncoding> EncodingNamed(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("utf-8"))
        return CsvEncoding::Utf8;
    if (lower == QLatin1String("windows-1252"))
        return CsvEncoding::Windows1252;
    return std::nullopt;
}

// One ASCII character that can stand between fields, or the word "tab",
// which is easier to type.
std::optional<char> SeparatorNamed(const QString& name)
{
    if (name == QLatin1String("tab"))
        return '\t';
    if (name.size() != 1 || name[0].unicode() >= 0x80)
        return std::nullopt;
    const char separator = char(name[0].unicode());
    if (separator == '"' || separator == '\r' || separator == '\n')
        return std::nullopt;
    return separator;
}

// What the options choose; detection decides what they leave open.
struct Choices {
    CsvRepeats repeats = CsvRepeats::AddAsRows;
    std::optional<char> separator;
    std::optional<CsvEncoding> encoding;
};

// False, with the reason, for an option whose value is not one of its own.
bool ReadChoices(const CliOptions& options, Choices& choices, QString& reason)
{
    if (options.Has(QStringLiteral("--duplicates"))) {
        const auto repeats = RepeatsNamed(options.Value(QStringLiteral("--duplicates")));
        if (!repeats) {
            reason = QStringLiteral("--duplicates takes add, skip or merge");
            return false;
        }
        choices.repeats = *repeats;
    }
    if (options.Has(QStringLiteral("--separator"))) {
        choices.separator = SeparatorNamed(options.Value(QStringLiteral("--separator")));
        if (!choices.separator) {
            reason = QStringLiteral("--separator takes one character, or tab");
            return false;
        }
    }
    if (options.Has(QStringLiteral("--encoding"))) {
        choices.encoding = EncodingNamed(options.Value(QStringLiteral("--encoding")));
        if (!choices.encoding) {
            reason = QStringLiteral("--encoding takes utf-8 or windows-1252");
            return false;
        }
    }
    return true;
}

QString LineError(const QString& file, const CsvError& error)
{
    return QStringLiteral("%1: line %2: %3; nothing was imported")
        .arg(file)
        .arg(error.line)
        .arg(QString::fromStdString(error.reason));
}

// The settings for the file. Its first row must name the Name column:
// there is no window here to map the columns by hand, and a file whose rows
// would all be skipped for want of a name is more likely read wrongly than
// meant so.
bool ChooseSettings(std::string_view bytes, const Choices& choices, const QString& file, CsvFileSettings& settings,
                    QString& reason)
{
    settings = DetectCsvFileSettings(bytes);
    settings.encoding = choices.encoding.value_or(settings.encoding);
    settings.separator = choices.separator.value_or(settings.separator);
    settings.options.repeats = choices.repeats;
    CsvRows header;
    CsvError error;
    if (!ReadCsvPreview(bytes, settings.encoding, settings.separator, 1, header, error)) {
        reason = LineError(file, error);
        return false;
    }
    settings.options.app = RecogniseCsvApp(header);
    settings.options.columns =
        settings.options.app.app != nullptr ? settings.options.app.columns : MapCsvColumns(header);
    if (header.RowCount() > 0 && settings.options.columns[NameField] < 0) {
        reason = QStringLiteral("%1: line %2: no column is headed Name, Card Name or Title; nothing was imported")
                     .arg(file)
                     .arg(header.Line(0));
        return false;
    }
    return true;
}

// What an import would do, a line a Card; nothing is written.
void PrintPreview(const CsvImportResult& result, const CardTableModel& table, QTextStream& out)
{
    const ReimportDiff diff = DiffReimport(table, result.cards, result.quantities);
    for (const QString& line : ReimportLines(diff, table.Encoding()))
        out << line << '\n';
    out << QString::fromUtf8(Text::ReimportDone)
               .arg(diff.added.size())
               .arg(diff.changed.size())
               .arg(diff.removed.size())
        << '\n';
}

// Puts the import into the table: an app's export through its diff, so that
// importing it again changes nothing, any other as the window's import does.
// The summary to print.
QString ApplyImport(CsvImportResult result, CardTableModel& table)
{
    // The choice lists are the window's; here they only take what Apply gives.
    ChoiceListModel series;
    ChoiceListModel conditions;
    if (!IsAppImport(result.cards)) {
        const QString summary = CsvImportSummary(result);
        ApplyCsvImport(std::move(result), table, series, conditions);
        return summary;
    }
    ReimportDiff diff = DiffReimport(table, result.cards, result.quantities);
    const QString summary = QString::fromUtf8(Text::ReimportDone)
                                .arg(diff.added.size())
                                .arg(diff.changed.size())
                                .arg(diff.removed.size());
    ApplyCollectionChanges(AcceptedChanges(std::move(diff)), table, series, conditions);
    return summary;
}

int RunImportCsv(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    Choices choices;
    QString reason;
    const QStringList valueOptions = {QStringLiteral("--folder"), QStringLiteral("--duplicates"),
                                      QStringLiteral("--separator"), QStringLiteral("--encoding")};
    if (!options.Parse(arguments, valueOptions, {QStringLiteral("--preview")}, reason) || !ReadChoices(options, choices, reason)
        || options.Positional().size() != 1) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("import-csv takes one FILE") : reason) << '\n';
        return kExitUsage;
    }
    const QString file = options.Positional().first();
    QByteArray bytes;
    CsvFileSettings settings;
    CardTableModel table;
    // The folder is locked as the window locks it, before qmk.dat is read.
    CollectionLock lock(options.Value(QStringLiteral("--folder"), QStringLiteral(".")));
    // FILE is where the command was given, not in the collection's folder.
    const bool ready = ReadFile(QFileInfo(file).absoluteFilePath(), bytes, &reason)
                       && ChooseSettings(std::string_view(bytes.constData(), std::size_t(bytes.size())), choices,
                                         file, settings, reason)
                       && EnterFolder(options, reason) && lock.Take(reason);
    // qmk.dat is read and written as the window reads and saves it: a folder
    // without one starts empty, and a file that another program puts in its
    // place meanwhile is kept beside, not lost.
    CollectionSaver collection(QString::fromLatin1(kCollectionFileName));
    if (!ready || !ReadFolderCollection(collection, table, true, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    if (const CardApp* app = settings.options.app.app) {
        err << "quillmark-cli: "
            << QString::fromUtf8(Text::CliRecognisedApp)
                   .arg(file, QString::fromUtf8(app->label.data(), qsizetype(app->label.size())))
            << '\n';
    }
    CsvImportResult result;
    CsvError error;
    if (!ReadCsvImport(std::move(bytes), settings, table, result, error)) {
        err << "quillmark-cli: " << LineError(file, error) << '\n';
        return kExitFailure;
    }
    if (options.Has(QStringLiteral("--preview"))) {
        PrintPreview(result, table, out);
        return kExitSuccess;
    }
    const QString summary = ApplyImport(std::move(result), table);
    // The CSV file is still there to import again: a failed write leaves no
    // recovery file.
    if (!WriteFolderCollection(collection, table, err, reason)) {
        err << "quillmark-cli: " << reason << "; nothing was imported\n";
        return kExitFailure;
    }
    out << summary << '\n';
    return kExitSuccess;
}

} // namespace

CliCommand ImportCsvCommand()
{
    return {"import-csv",
            "import-csv FILE [--folder DIR] [--duplicates add|skip|merge] [--separator C] "
            "[--encoding utf-8|windows-1252] [--preview]",
            "Put the Cards of a CSV file at the top of the collection.", RunImportCsv,
            Text::ImportCsvDetails};
}
