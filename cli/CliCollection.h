#pragma once

#include <QString>

class CardTableModel;
class QTextStream;
class CollectionSaver;
struct Preferences;

// Reads the collection file of the current folder into the table, through
// the function the window reads it with, and has the saver remember what it
// read. Unlike the window, nothing is created: a missing file is a failure,
// unless missingIsEmpty, when the table starts empty as the window's does.
bool ReadFolderCollection(CollectionSaver& file, CardTableModel& table, bool missingIsEmpty, QString& reason);
// The same for a command that only reads the collection.
bool ReadFolderCollection(CardTableModel& table, QString& reason);

// Writes the table over the collection file as the window saves it, with no
// recovery file (what the command read in is still where it came from), and
// tells on err where a file changed behind the command's back was kept.
// False, with the reason, when the table was not written.
bool WriteFolderCollection(CollectionSaver& file, const CardTableModel& table, QTextStream& err, QString& reason);

// Reads qmk.ini of the current folder, when there is one, through the
// function the window reads it with.
bool ReadFolderPreferences(Preferences& prefs, QString& reason);

// A text of the window's boxes as a line of the terminal: its CR LF line
// breaks as line feeds.
QString TerminalText(const QString& text);
