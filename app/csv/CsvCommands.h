#pragma once

#include "collection/csv/CsvImport.h"

#include <QString>

#include <optional>

class CardTableModel;
class QWidget;
class UserQuestions;

// The window's CSV commands: each asks its questions, makes one call into
// the collection and reports through boxes.

// Asks where to export and writes every Card there safely. The notice that
// says how many went out ("1,204 Cards exported to cards.csv"); empty when
// the user cancels, or after a box when the file cannot be written.
QString RunCsvExport(UserQuestions& questions, const CardTableModel& table);

// Asks for a file and how to read it, and reads the import it makes of the
// collection, for the history to apply. A file that is almost all UTF-8
// first asks, showing its first line that is not, whether to read the bytes
// that are not as Windows-1252. None when the user cancels or says no, or
// after a box naming the line when the file cannot be read: the import is
// all or nothing.
// The import dialog stands over the parent.
std::optional<CsvImportResult> AskCsvImport(UserQuestions& questions, const CardTableModel& table, QWidget* parent);
