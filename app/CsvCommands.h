#pragma once

#include <QString>

#include <optional>

class CardTableModel;
class ChoiceListModel;
class CsvQuestions;
class MessageInterface;

// The window's CSV commands: each asks its questions, makes one call into
// the collection and reports through boxes.

// Asks where to export and writes every Card there safely. The notice that
// says how many went out ("1,204 Cards exported to cards.csv"); empty when
// the user cancels, or after a box when the file cannot be written.
QString RunCsvExport(CsvQuestions& questions, const CardTableModel& table, MessageInterface& messages);

// Asks for a file and how to read it, and imports it into the collection,
// all or nothing. The summary of what was imported; none when the user
// cancels, or after a box naming the line when the file cannot be read.
std::optional<QString> RunCsvImport(CsvQuestions& questions, CardTableModel& table, ChoiceListModel& series,
                                    ChoiceListModel& conditions, MessageInterface& messages);
