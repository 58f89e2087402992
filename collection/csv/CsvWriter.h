#pragma once

#include <QByteArray>

#include <string_view>
#include <vector>

class CardTableModel;
class QIODevice;

// The heading row of an exported file, in the order of the Card fields.
inline constexpr std::string_view kCsvHeaderRow = "Name,Series,Condition,Year,Price,Quantity,URL,Description";
// The headings of the printing details, which follow the eight when any
// exported Card has a detail.
inline constexpr std::string_view kCsvDetailHeaders = "Game,Set Code,Number,Finish,Language,Location,Tags,Trade,Want,Print,Market Price,Market Date,Source";

// Appends the fields and a CR LF. A field is quoted, its quotes doubled, when
// it holds the separator, a quote, CR or LF, and a row of one empty field is
// written as "" so that it is not read back as an empty line. Fields go out
// unguarded: this writes rows as they were read.
void AppendCsvRow(QByteArray& out, const std::vector<std::string_view>& fields, char separator = ',');

// How values that a spreadsheet would run as formulas go out: behind the
// apostrophe of CsvFormulaGuard.h, which our import takes off again, or raw,
// as the bytes they are, for programs that want them so.
enum class CsvFormulas { Guarded, Raw };

// Which columns an export has: Quillmark's own, or those of a card app's
// import (AppExport.h), so that a collection goes back to the app it came from.
enum class CsvFormat { Quillmark, Moxfield, Deckbox };

// Writes the heading row and one row per Card, the top row first, as
// comma-separated CR LF lines without a byte order mark: the eight fields,
// then the ten details when any Card has one, so that a collection without
// them exports as it always has. Values go out as
// the bytes they are, or converted to UTF-8 from a collection kept in
// Windows-1252; guarded, unless asked for raw, where they begin like a
// formula. False on a write error. In an app's format the heading row and
// the rows are that app's, in the same CSV.
bool WriteCsv(QIODevice& device, const CardTableModel& table, CsvFormulas formulas = CsvFormulas::Guarded,
              CsvFormat format = CsvFormat::Quillmark);
