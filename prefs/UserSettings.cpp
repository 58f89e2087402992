#include "prefs/UserSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// QSettings takes a lock file beside its file while it writes, holding an
// flock on it. A program killed between making that file and writing its
// process number into it leaves an empty one that Qt cannot trace to anyone,
// so it takes it for stale only once it is 30 seconds old: every settings
// write until then, the one at close included, would wait. An empty lock
// that nobody holds and that is past the instant Qt needs to fill it is
// such a leftover.
void RemoveEmptyStaleLock(const QString& settingsFile)
{
    const QFileInfo lock(settingsFile + QStringLiteral(".lock"));
    if (!lock.exists() || lock.size() != 0 || lock.lastModified().msecsTo(QDateTime::currentDateTime()) < 1000)
        return;
    const int descriptor = ::open(QFile::encodeName(lock.filePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && QFileInfo(lock.filePath()).size() == 0)
        QFile::remove(lock.filePath());
    ::close(descriptor);
}

} // namespace

QSettings UserSettings()
{
    const auto settings = [] {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillmark"),
                         QStringLiteral("quillmark"));
    };
    RemoveEmptyStaleLock(settings().fileName());
    return settings();
}

QString SettingsFolderName(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
