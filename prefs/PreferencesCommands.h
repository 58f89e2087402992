#pragma once

#include "base/FileAccess.h"

#include <QString>

struct Preferences;
class MessageInterface;

// Reads the preferences file into prefs, as ParsePreferences does; a file
// that is missing, or cannot be read, leaves prefs as they were. tooltips,
// when given, tells whether the file switches the tips on: it has a
// TOOLTIPS line, and the line is not the collector's "no". Only a regular
// file is read. The window and quillmark-cli read the file through this.
FileRead ReadPreferencesFile(const QString& path, Preferences& prefs, bool* tooltips = nullptr,
                             QString* reason = nullptr);

// Reads the preferences file as the window does: it is created empty when it
// does not exist, and one that is not a regular file is reported in a box.
// True when it switches the tips on.
bool LoadPreferences(const QString& path, Preferences& prefs, MessageInterface& messages);

// Writes the preferences file safely; a failure shows a box, and is false.
bool SavePreferences(const QString& path, const Preferences& prefs, MessageInterface& messages);
