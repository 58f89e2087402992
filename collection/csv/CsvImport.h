#pragma once

#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/csv/apps/CardApps.h"

#include <QString>

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

class ChoiceListModel;
class CsvRows;

// For each Card field and printing detail, the CSV column that feeds it; -1 for none.
using CsvColumns = std::array<int, kAllCardFieldCount>;

// Every field unmapped.
inline constexpr CsvColumns kNoCsvColumns = [] {
    CsvColumns columns{};
    columns.fill(-1);
    return columns;
}();

// The columns named in the first row, matched with case ignored against each
// field's name, its table heading and the names other programs use
// ("Card Name", "Set", "Qty", "Notes", "Collector Number", "Binder", ...). A
// detail is mapped only when a column names it. When several columns match a
// field, the better name wins (its own name first), then the leftmost column.
CsvColumns MapCsvColumns(const CsvRows& rows);

// The card app whose export the first row is the header of, with its
// columns (see CardApps.h); no app when it is none of theirs.
AppHeader RecogniseCsvApp(const CsvRows& rows);

// What happens to a Card whose Name and Series equal, byte for byte, those of
// a Card already in the collection or earlier in the file. A Card with a
// SOURCE is never a repeat: an app's Cards are matched when applied.
enum class CsvRepeats {
    AddAsRows,
    Skip,
    // Adds its Quantity to the first such Card whose Quantity is a whole
    // number, when its own is one too; otherwise it is added as a row.
    MergeQuantities,
};

struct CsvImportOptions {
    CsvColumns columns = kNoCsvColumns;
    bool firstRowIsHeader = true;
    CsvRepeats repeats = CsvRepeats::AddAsRows;
    // The app that wrote the file, whose values are put in Quillmark's words
    // (AdaptAppCard); the columns above still say where each field is read.
    AppHeader app;
};

struct CsvImportResult {
    // The Cards to add, in file order, with the quantities merged into them,
    // packed as the table keeps them.
    CardTableModel::RowBlock cards;
    // Quantities merged into the collection: row (in the table as it was
    // before the import) to its new Quantity.
    std::map<int, std::string> quantities;
    std::size_t withoutName = 0;
    std::size_t repeatsSkipped = 0;
    std::size_t repeatsMerged = 0;
    std::size_t repeatsAdded = 0;
};

// The Cards of the rows. A value that begins with apostrophes and then "=",
// "+", "-", "@", a tab or CR loses its first apostrophe, the guard that the
// export puts there (CsvFormulaGuard.h). In each value a line feed (CR LF
// counting as one) and byte 26 become spaces, as in the entry fields, and
// trailing white space is dropped; a lone CR stays, as the collection file
// keeps it. Rows without
// a Name are counted and left out; rows with no text at all are passed over.
CsvImportResult ImportCsv(const CsvRows& rows, const CsvImportOptions& options, const CardTableModel& collection);

// Puts an import into the collection in one step: the merged quantities
// into their rows, then the new Cards at the top in file order, and their
// Series and Conditions into the choice lists. The result must come from
// ImportCsv on the table as it is now; its Cards move into the table.
void ApplyCsvImport(CsvImportResult result, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions);

// "1,204 Cards imported; 3 rows without a name skipped; 12 repeats added to
// quantities": the count of Cards, then each other count that is not zero.
QString CsvImportSummary(const CsvImportResult& result);
