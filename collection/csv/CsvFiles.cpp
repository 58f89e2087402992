#include "collection/csv/CsvFiles.h"

#include "base/FileAccess.h"
#include "collection/csv/CsvWriter.h"

namespace {

constexpr std::size_t kFirstPreviewBytes = 64 * 1024;

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

CsvFileSettings DetectCsvFileSettings(std::string_view bytes)
{
    CsvFileSettings settings;
    settings.encoding = DetectEncoding(bytes);
    // The separators are ASCII, the same bytes in either encoding.
    settings.separator = DetectSeparator(bytes);
    CsvRows header;
    CsvError error;
    if (ReadCsvPreview(bytes, settings.encoding, settings.separator, 1, header, error)) {
        settings.options.app = RecogniseCsvApp(header);
        settings.options.columns = settings.options.app.app != nullptr ? settings.options.app.columns
                                                                       : MapCsvColumns(header);
    }
    return settings;
}

bool ReadCsvPreview(std::string_view bytes, CsvEncoding encoding, char separator, std::size_t count, CsvRows& rows,
                    CsvError& error)
{
    for (std::size_t size = kFirstPreviewBytes; size < bytes.size(); size *= 2) {
        // A line break is the same byte in either encoding, never part of a
        // longer character.
        const std::size_t lineEnd = bytes.substr(0, size).find_last_of("\r\n");
        if (lineEnd == std::string_view::npos)
            continue;
        if (ReadCsv(bytes.substr(0, lineEnd + 1), encoding, separator, rows, error) && rows.RowCount() >= count)
            return true;
    }
    return ReadCsv(bytes, encoding, separator, rows, error);
}

bool ReadCsvImport(QByteArray bytes, const CsvFileSettings& settings, const CardTableModel& table,
                   CsvImportResult& result, CsvError& error)
{
    CsvRows rows;
    const bool read = ReadCsv(View(bytes), settings.encoding, settings.separator, rows, error, table.Encoding());
    bytes = QByteArray();
    if (read)
        result = ImportCsv(rows, settings.options, table);
    return read;
}

bool ExportCsvFile(const QString& path, const CardTableModel& table, QString* reason, CsvFormulas formulas,
                   CsvFormat format)
{
    return WriteFileSafely(
        path, [&table, formulas, format](QIODevice& device) { return WriteCsv(device, table, formulas, format); },
        reason);
}
