#pragma once

#include "base/FileAccess.h"

#include <QString>

#include <memory>

class CardTableModel;
class FileContents;
class ChoiceListModel;
class CollectionSaver;
class MessageInterface;
struct SaveOutcome;

// Reads the collection file into the table, replacing every row, grows the
// choice lists by its Series and Conditions, and has the file remember what
// it read. The table and the lists take the file's text encoding. A file
// that is missing, or cannot be read, leaves the table empty; only a regular
// file is read. The window and quillmark-cli read the file through this.
// What the load found beside the rows goes to loaded, when given.
struct LoadedFile {
    // The bytes read, for whoever wants them after the load (today's backup
    // copy), freed when the last one lets them go; none when the file could
    // not be read.
    std::shared_ptr<const FileContents> bytes;
    // Whether a save of the table as loaded writes these very bytes.
    bool asWritten = false;
};
FileRead ReadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                        ChoiceListModel& conditions, QString* reason = nullptr, LoadedFile* loaded = nullptr);

// Reads the collection file as the window does: a missing file is created
// empty. False, after a box, when the file exists but cannot be read: it is
// then left as it is.
bool LoadCollection(CollectionSaver& file, CardTableModel& table, ChoiceListModel& series,
                    ChoiceListModel& conditions, MessageInterface& messages, LoadedFile* loaded = nullptr);

// Writes the table into the collection file, and shows what the save
// brought about. True when the Cards are safe on disk: in the file, or, for
// a file left as it was because it could not be read, in the recovery file.
bool SaveCollection(CollectionSaver& file, const CardTableModel& table, MessageInterface& messages);

// The boxes of a save: the file found changed and kept aside; and, when why
// is given and the file was not written, why together with where the Cards went.
void ReportSave(const SaveOutcome& outcome, const QString& path, const QString& why, MessageInterface& messages);
