#include "app/csv/CsvCommands.h"

#include "app/csv/CsvImportDialog.h"
#include "app/window/UserQuestions.h"
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

QString RunCsvExport(UserQuestions& questions, const CardTableModel& table)
{
    const QString path =
        questions.AskSavePath(QString::fromUtf8(Text::ExportCsvCaption),
                              QDir::current().absoluteFilePath(QString::fromUtf8(Text::CsvFileName)),
                              QString::fromUtf8(Text::CsvFileFilter), QStringLiteral("csv"));
    if (path.isEmpty())
        return {};
    QString reason;
    // The collection's own file is no place for its CSV.
    if (IsCollectionFile(path))
        reason = QString::fromUtf8(Text::ExportOverCollection).arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty() || !ExportCsvFile(path, table, &reason)) {
        questions.ShowError(QString::fromUtf8(Text::CsvNotWritten).arg(reason), QString::fromUtf8(Text::ErrorCaption));
        return {};
    }
    const QString name = QFileInfo(path).fileName();
    return table.rowCount() == 1 ? QString::fromUtf8(Text::CsvExportedOne).arg(name)
                                 : QString::fromUtf8(Text::CsvExportedMany).arg(Grouped(table.rowCount()), name);
}

std::optional<CsvImportResult> AskCsvImport(UserQuestions& questions, const CardTableModel& table, QWidget* parent)
{
    const QString path = questions.AskOpenPath(QString::fromUtf8(Text::ImportCsvCaption), QDir::currentPath(),
                                               QString::fromUtf8(Text::CsvFileFilter));
    if (path.isEmpty())
        return std::nullopt;
    QByteArray bytes;
    QString reason;
    if (!ReadFile(path, bytes, &reason)) {
        questions.ShowError(QString::fromUtf8(Text::CsvNotRead).arg(reason), QString::fromUtf8(Text::ErrorCaption));
        return std::nullopt;
    }
    CsvFileSettings settings;
    {
        CsvImportDialog dialog(bytes, parent);
        if (!questions.AskDialog(dialog))
            return std::nullopt;
        settings = dialog.Settings();
    }
    CsvImportResult result;
    CsvError error;
    if (!ReadCsvImport(std::move(bytes), settings, table, result, error)) {
        questions.ShowError(QString::fromUtf8(Text::CsvLineFault)
                               .arg(error.line)
                               .arg(QFileInfo(path).fileName(), QString::fromStdString(error.reason)),
                           QString::fromUtf8(Text::ErrorCaption));
        return std::nullopt;
    }
    return result;
}
