#include "app/csv/CsvCommands.h"

#include "app/csv/CsvQuestions.h"
#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFiles.h"
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
bool MendStrayBytes(CsvQuestions& questions, const QString& fileName, QByteArray& bytes)
{
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    CsvStrayBytes stray;
    if (!(HasUtf8Bom(view) || IsAlmostUtf8(view)) || !FindStrayBytes(view, stray))
        return true;
    const CsvStrayLine shown{fileName, stray.line, stray.lines, ShownLine(std::string(stray.text)),
                             ShownLine(Windows1252StraysToUtf8(stray.text))};
    if (!questions.ReadStrayBytesAsWindows1252(shown))
        return false;
    const std::string mended = Windows1252StraysToUtf8(view);
    bytes = QByteArray(mended.data(), qsizetype(mended.size()));
    return true;
}

} // namespace

QString RunCsvExport(CsvQuestions& questions, const CardTableModel& table, MessageInterface& messages)
{
    const QString path = questions.ExportPath(QDir::current().absoluteFilePath(QString::fromUtf8(Text::CsvFileName)));
    if (path.isEmpty())
        return {};
    QString reason;
    if (!ExportCsvFile(path, table, &reason)) {
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
    if (!MendStrayBytes(questions, QFileInfo(path).fileName(), bytes))
        return std::nullopt;
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
