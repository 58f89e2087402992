#pragma once

#include <QDate>
#include <QString>

inline constexpr const char* kBackupFolderName = "backups";
inline constexpr int kKeptBackups = 14;

// The name of the backup copy of a day: qmk-YYYY-MM-DD.dat.
QString BackupName(const QDate& day);

// Run at start, before anything is written: when the backups folder in the
// data folder holds no copy from today, copies qmk.dat there under today's
// name and removes all but the newest kKeptBackups copies. A missing or empty
// qmk.dat has nothing to keep, and one that cannot be read is left to the
// load to report. False, with the reason, when the copy cannot be made.
bool MakeDailyBackup(const QString& folder, const QDate& today, QString& reason);
