#pragma once

#include <QString>

class CardTableModel;
struct Preferences;

// Reads qmk.dat of the current folder into the table. Unlike the window, a
// missing file is a failure, and nothing is created.
bool ReadCollectionFile(CardTableModel& table, QString& reason);

// Reads qmk.ini of the current folder, when there is one.
bool ReadPreferencesFile(Preferences& prefs, QString& reason);
