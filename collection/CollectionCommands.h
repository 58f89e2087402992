#pragma once

#include <QString>

class CardTableModel;
class ChoiceListModel;
class MessageInterface;

// Reads the collection file into the table, replacing every row, and grows
// the choice lists by its Series and Conditions. The table and the lists
// take the file's text encoding. A missing file is created empty. False, after a box, when the file exists but cannot be read: it
// must then not be overwritten.
bool LoadCollection(const QString& path, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions, MessageInterface& messages);

// Writes the table into the collection file safely. When that fails, or when
// the file must be left as it was (leaveFile), the Cards go to a recovery
// file instead and a box names it.
void SaveCollection(const QString& path, const CardTableModel& table, bool leaveFile, MessageInterface& messages);

// Writes the Cards to "<file>.recovered-<time>" in the current folder, or
// else in the home folder, and shows why together with where they went.
void WriteRecoveryFile(const QString& path, const CardTableModel& table, const QString& why,
                       MessageInterface& messages);
