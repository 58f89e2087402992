#include "app/csv/CsvCommands.h"

#include "app/csv/CsvImportDialog.h"
#include "app/window/UserQuestions.h"
#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFiles.h"
#include "collection/file/CollectionFile.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

// "100,000": the count grouped as the import's summary groups it.
QString Grouped(int count)
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions({});
    return locale.toString(count);
}

// A line as the question shows it: its start, on one line.
QString ShownLine(const std::string& utf8)
{
    constexpr qsizetype kShownLength = 200;
    const std::size_t bytes = std::min<std::size_t>(utf8.size(), 4 * kShownLength);
    const QString line = QString::fromUtf8(utf8.data(), qsizetype(bytes));
    return line.size() > kShownLength ? line.left(kShownLength) + QChar(0x2026) : line;
}

// A file that is almost all UTF-8 (or says it is UTF-8 with a byte order
// mark) is not read as Windows-1252, which would garble every letter the
// rest of it holds: the user is asked, shown the first line that is not,
// whether to read the bytes there as Windows-1252. False when the user
// would rather import nothing; bytes are then as they were.
bool MendStrayBytes(UserQuestions& questions, const QString& fileName, QByteArray& bytes)
{
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    CsvStrayBytes stray;
    if (!(HasUtf8Bom(view) || IsAlmostUtf8(view)) || !FindStrayBytes(view, stray))
        return true;
    const QString asUtf8 = ShownLine(std::string(stray.text));
    const QString repaired = ShownLine(Windows1252StraysToUtf8(stray.text));
    const QString question =
        stray.lines > 1 ? QString::fromUtf8(Text::CsvStrayBytesQuestionMany)
                              .arg(QString::number(stray.line), fileName, asUtf8, repaired, QString::number(stray.lines))
                        : QString::fromUtf8(Text::CsvStrayBytesQuestion)
                              .arg(QString::number(stray.line), fileName, asUtf8, repaired);
    if (!questions.AskYesNo(question, QString::fromUtf8(Text::ImportCsvCaption)))
        return false;
    const std::string mended = Windows1252StraysToUtf8(view);
    bytes = QByteArray(mended.data(), qsizetype(mended.size()));
    return true;
}

// The columns of the file type chosen in the save dialog, which offers the
// formats in the order of CsvFormat.
CsvFormat FormatOfFilter(const QString& filter, const QString& chosen)
{
    switch (filter.split(QStringLiteral(";;")).indexOf(chosen)) {
    case int(CsvFormat::Moxfield):
        return CsvFormat::Moxfield;
    case int(CsvFormat::Deckbox):
        return CsvFormat::Deckbox;
    default:
        return CsvFormat::Quillmark;
    }
}

} // namespace

QString RunCsvExport(UserQuestions& questions, const CardTableModel& table)
{
    const QString filter = QString::fromUtf8(Text::CsvExportFilter);
    QString chosen;
    const QString path =
        questions.AskSavePath(QString::fromUtf8(Text::ExportCsvCaption),
                              QDir::current().absoluteFilePath(QString::fromUtf8(Text::CsvFileName)), filter,
                              QStringLiteral("csv"), &chosen);
    if (path.isEmpty())
        return {};
    QString reason;
    // The collection's own file is no place for its CSV.
    if (IsCollectionFile(path))
        reason = QString::fromUtf8(Text::ExportOverCollection).arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty() || !ExportCsvFile(path, table, &reason, CsvFormulas::Guarded, FormatOfFilter(filter, chosen))) {
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
    if (!MendStrayBytes(questions, QFileInfo(path).fileName(), bytes))
        return std::nullopt;
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
