#pragma once

#include <QString>

struct Preferences;
class MessageInterface;

// Reads the preferences file into prefs, creating it empty when it does not
// exist. True when it switches the tips on: it has a TOOLTIPS line, and the
// line is not the collector's "no".
bool LoadPreferences(const QString& path, Preferences& prefs);

// Writes the preferences file safely; a failure shows a box, and is false.
bool SavePreferences(const QString& path, const Preferences& prefs, MessageInterface& messages);
