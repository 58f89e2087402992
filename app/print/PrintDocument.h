#pragma once

#include <memory>
#include <optional>
#include <vector>

class CardTableModel;
class QPrinter;
class QTextDocument;
struct Preferences;

// The List of the Cards shown, for paper: the owner's name in the title, a
// table of the List page's columns (Name, Series, Condition, Year, Price,
// Qty) with one row per Card, in table order, its headings repeated on every
// sheet, and how many Cards it holds. shownRows are the table rows the
// filter shows, ascending; none means every row.
std::unique_ptr<QTextDocument> BuildPrintDocument(const CardTableModel& table,
                                                  const std::optional<std::vector<int>>& shownRows,
                                                  const Preferences& prefs);

// Lays the document out on the printer's sheets and prints it: on paper, to
// a PDF file or into the preview. False when the printer could not take it
// (a PDF file that cannot be written, a printer gone).
bool PrintCardDocument(const QTextDocument& document, QPrinter& printer);
