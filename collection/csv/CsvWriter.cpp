#include "collection/csv/CsvWriter.h"

#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFormulaGuard.h"
#include "collection/csv/apps/AppExport.h"

#include <QIODevice>

#include <algorithm>

namespace {

void AppendField(QByteArray& out, std::string_view field, char separator, CsvFormulas formulas = CsvFormulas::Raw)
{
    const bool guarded = formulas == CsvFormulas::Guarded && NeedsFormulaGuard(field);
    const bool plain = std::none_of(field.begin(), field.end(), [separator](char c) {
        return c == separator || c == '"' || c == '\r' || c == '\n';
    });
    if (plain) {
        if (guarded)
            out.append('\'');
        out.append(field.data(), qsizetype(field.size()));
        return;
    }
    out.append('"');
    if (guarded)
        out.append('\'');
    std::size_t start = 0;
    while (true) {
        const std::size_t quote = field.find('"', start);
        if (quote == std::string_view::npos)
            break;
        out.append(field.data() + start, qsizetype(quote + 1 - start));
        out.append('"');
        start = quote + 1;
    }
    out.append(field.data() + start, qsizetype(field.size() - start));
    out.append('"');
}

// A row's texts run on past its Description only when it keeps details,
// which it does only when one is not empty: one look a row instead of ten.
bool AnyHasDetails(const CardTableModel& table)
{
    constexpr int kAhead = 16;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (row + kAhead < table.rowCount())
            table.PrefetchRow(row + kAhead);
        const std::string_view texts = table.RowTexts(row);
        const std::string_view description = table.Cell(row, DescriptionField);
        if (description.data() + description.size() != texts.data() + texts.size())
            return true;
    }
    return false;
}

bool Flush(QIODevice& device, QByteArray& buffer)
{
    const bool written = device.write(buffer) == buffer.size();
    // Emptied, not freed: the next chunk fills the same memory.
    buffer.resize(0);
    return written;
}

constexpr qsizetype kChunk = 1 << 20;

// The rows in a card app's columns, its values in UTF-8 whatever the
// collection keeps.
bool WriteAppCsv(QIODevice& device, const CardTableModel& table, CsvFormulas formulas, ExportApp app)
{
    QByteArray buffer;
    buffer.reserve(kChunk + 4096);
    AppendCsvRow(buffer, AppExportHeadings(app));
    const bool windows1252 = table.Encoding() == TextEncoding::Windows1252;
    Card card;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            const std::string_view cell = table.Cell(row, field);
            card[std::size_t(field)] = windows1252 ? Windows1252ToUtf8(cell) : std::string(cell);
        }
        const std::vector<std::string> fields = AppExportRow(app, card);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                buffer.append(',');
            AppendField(buffer, fields[i], ',', formulas);
        }
        buffer.append("\r\n", 2);
        if (buffer.size() >= kChunk && !Flush(device, buffer))
            return false;
    }
    return Flush(device, buffer);
}

} // namespace

void AppendCsvRow(QByteArray& out, const std::vector<std::string_view>& fields, char separator)
{
    if (fields.size() == 1 && fields.front().empty()) {
        out.append("\"\"\r\n");
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(separator);
        AppendField(out, fields[i], separator);
    }
    out.append("\r\n", 2);
}

bool WriteCsv(QIODevice& device, const CardTableModel& table, CsvFormulas formulas, CsvFormat format)
{
    if (format != CsvFormat::Quillmark)
        return WriteAppCsv(device, table, formulas, format == CsvFormat::Moxfield ? ExportApp::Moxfield : ExportApp::Deckbox);
    QByteArray buffer;
    buffer.reserve(kChunk + 4096);
    const int fields = AnyHasDetails(table) ? kAllCardFieldCount : kCardFieldCount;
    buffer.append(kCsvHeaderRow.data(), qsizetype(kCsvHeaderRow.size()));
    if (fields > kCardFieldCount) {
        buffer.append(',');
        buffer.append(kCsvDetailHeaders.data(), qsizetype(kCsvDetailHeaders.size()));
    }
    buffer.append("\r\n", 2);
    // A collection kept in Windows-1252 goes out as UTF-8 like any other.
    const bool windows1252 = table.Encoding() == TextEncoding::Windows1252;
    std::string converted;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int field = 0; field < fields; ++field) {
            if (field > 0)
                buffer.append(',');
            std::string_view cell = table.Cell(row, field);
            if (windows1252) {
                converted = Windows1252ToUtf8(cell);
                cell = converted;
            }
            AppendField(buffer, cell, ',', formulas);
        }
        buffer.append("\r\n", 2);
        if (buffer.size() >= kChunk && !Flush(device, buffer))
            return false;
    }
    return Flush(device, buffer);
}
