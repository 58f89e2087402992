// Any bytes as a CSV file, after a first byte that picks the separator
// (modulo 3: '0' comma, '1' semicolon, '2' tab). Detection, decoding,
// reading and import must not crash; rows read, written out and read again
// must come back the same; the exported table must read back as its heading
// row and its Cards, guarded where they begin like formulas; and
// Windows-1252 bytes must survive UTF-8 and back.
#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFormulaGuard.h"
#include "collection/csv/CsvImport.h"
#include "collection/csv/CsvReader.h"
#include "collection/csv/CsvWriter.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

std::vector<std::string_view> RowFields(const CsvRows& rows, std::size_t row)
{
    std::vector<std::string_view> fields;
    for (int column = 0; column < rows.FieldCount(row); ++column)
        fields.push_back(rows.Field(row, column));
    return fields;
}

CsvRows Reparsed(const QByteArray& written, char separator)
{
    CsvRows rows;
    CsvError error;
    if (!ParseCsv(View(written), separator, rows, error))
        std::abort();
    return rows;
}

void CheckRowsRoundTrip(const CsvRows& rows, char separator)
{
    QByteArray written;
    for (std::size_t row = 0; row < rows.RowCount(); ++row)
        AppendCsvRow(written, RowFields(rows, row), separator);
    const CsvRows again = Reparsed(written, separator);
    if (again.RowCount() != rows.RowCount())
        std::abort();
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        if (RowFields(again, row) != RowFields(rows, row))
            std::abort();
    }
}

void CheckExportRoundTrip(const CsvRows& rows)
{
    std::vector<Card> cards;
    CardTableModel::RowBlock block;
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        Card card;
        for (int field = 0; field < kCardFieldCount; ++field)
            card[field] = rows.Field(row, field);
        cards.push_back(card);
        block.Append(card);
    }
    CardTableModel table;
    table.PutRows(0, std::move(block));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCsv(buffer, table))
        std::abort();
    const CsvRows exported = Reparsed(buffer.data(), ',');
    if (exported.RowCount() != cards.size() + 1 || RowFields(exported, 0).size() != kCardFieldCount)
        std::abort();
    // Each value as it was, behind an apostrophe where it begins like a
    // formula, and the import's taking off of that guard gives it back.
    for (std::size_t row = 0; row < cards.size(); ++row) {
        const std::vector<std::string_view> fields = RowFields(exported, row + 1);
        if (fields.size() != kCardFieldCount)
            std::abort();
        for (int field = 0; field < kCardFieldCount; ++field) {
            const std::string& value = cards[row][field];
            const std::string expected = NeedsFormulaGuard(value) ? "'" + value : value;
            if (fields[std::size_t(field)] != expected || WithoutFormulaGuard(fields[std::size_t(field)]) != value)
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char separator = ",;\t"[data[0] % 3];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string converted;
    if (!Utf8ToWindows1252(Windows1252ToUtf8(bytes), converted) || converted != bytes)
        std::abort();
    DetectSeparator(bytes);
    std::string text;
    CsvError error;
    if (!DecodeCsvText(bytes, DetectEncoding(bytes), text, error) && error.line < 1)
        std::abort();

    CsvRows rows;
    if (!ParseCsv(bytes, separator, rows, error)) {
        if (error.line < 1 || rows.RowCount() != 0)
            std::abort();
        return 0;
    }
    CheckRowsRoundTrip(rows, separator);
    CheckExportRoundTrip(rows);

    CardTableModel collection;
    CardTableModel::RowBlock held;
    held.Append(Card{"a", "b", "", "", "", "1"});
    collection.PutRows(0, std::move(held));
    CsvImportOptions options;
    options.columns = MapCsvColumns(rows);
    options.repeats = CsvRepeats(data[0] % 3);
    const CsvImportResult result = ImportCsv(rows, options, collection);
    CsvImportSummary(result);
    return 0;
}
