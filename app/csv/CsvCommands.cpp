#include "app/csv/CsvCommands.h"

#include "app/csv/CsvQuestions.h"
#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFiles.h"
#include "collection/file/CollectionFile.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

// "100,000": the count grouped as the import's summary groups it.
QString Grouped(int count)
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions({});
    return locale.toString(count);
}

} // namespace

QString RunCsvExport(CsvQuestions& questions, const CardTableModel& table, MessageInterface& messages)
{
    const QString path = questions.ExportPath(QDir::current().absoluteFilePath(QString::fromUtf8(Text::CsvFileName)));
    if (path.isEmpty())
        return {};
    QString reason;
    // The collection's own file is no place for its CSV.
    if (IsCollectionFile(path))
        reason = QString::fromUtf8(Text::ExportOverCollection).arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty() || !ExportCsvFile(path, table, &reason)) {
        messages.ShowError(QString::fromUtf8(Text::CsvNotWritten).arg(reason), QString::fromUtf8(Text::ErrorCaption));
        return {};
    }
    const QString name = QFileInfo(path).fileName();
    return table.rowCount() == 1 ? QString::fromUtf8(Text::CsvExportedOne).arg(name)
                                 : QString::fromUtf8(Text::CsvExportedMany).arg(Grouped(table.rowCount()), name);
}

std::optional<CsvImportResult> AskCsvImport(CsvQuestions& questions, const CardTableModel& table,
                                            MessageInterface& messages)
{
    const QString path = questions.ImportPath(QDir::currentPath());
    if (path.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    QString reason;
    if (!ReadFile(path, bytes, &reason)) {
        messages.ShowError(QString::fromUtf8(Text::CsvNotRead).arg(reason), QString::fromUtf8(Text::ErrorCaption));
        return std::nullopt;
    }
    CsvFileSettings settings;
    if (!questions.ImportSettings(bytes, settings))
        return std::nullopt;
    CsvImportResult result;
    CsvError error;
    if (!ReadCsvImport(std::move(bytes), settings, table, result, error)) {
        messages.ShowError(QString::fromUtf8(Text::CsvLineFault)
                               .arg(error.line)
                               .arg(QFileInfo(path).fileName(), QString::fromStdString(error.reason)),
                           QString::fromUtf8(Text::ErrorCaption));
        return std::nullopt;
    }
    return result;
}
