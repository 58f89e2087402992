#pragma once

#include <QSettings>
#include <QString>

// The settings that are the user's rather than a collection's (the recent
// collections, how each collection folder was last shown), kept with
// QSettings in the user's configuration folder, never in a data folder.
QSettings UserSettings();

// A folder's path as the user settings name it: canonical while it exists;
// once it is gone, its absolute path, which still names it.
QString SettingsFolderName(const QString& folder);
