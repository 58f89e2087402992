#include "prefs/UserSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// QSettings takes a lock file beside its file while it writes. A program
// killed between making that file and writing its process number into it
// leaves an empty one, which Qt only takes for stale after 30 seconds: every
// settings write until then, the one at close included, would wait. Qt
// writes the number at once, so an empty lock a few seconds old is nobody's.
void RemoveEmptyStaleLock(const QString& settingsFile)
{
    const QFileInfo lock(settingsFile + QStringLiteral(".lock"));
    constexpr qint64 kSeconds = 5;
    if (lock.exists() && lock.size() == 0 &&
        lock.lastModified().secsTo(QDateTime::currentDateTime()) > kSeconds)
        QFile::remove(lock.filePath());
}

} // namespace

QSettings UserSettings()
{
    const auto open = [] {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillmark"),
                         QStringLiteral("quillmark"));
    };
    RemoveEmptyStaleLock(open().fileName());
    return open();
}

QString SettingsFolderName(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
