#include "prefs/RecentCollections.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("RecentCollections");

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillmark"),
                     QStringLiteral("quillmark"));
}

// A folder that is gone has no canonical path; its absolute one still names it.
QString Canonical(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void Keep(QStringList folders)
{
    folders.removeDuplicates();
    if (folders.size() > RecentCollections::kLength)
        folders.resize(RecentCollections::kLength);
    UserSettings().setValue(kKey, folders);
}

} // namespace

QStringList RecentCollections::Folders()
{
    return UserSettings().value(kKey).toStringList();
}

void RecentCollections::Opened(const QString& folder)
{
    QStringList folders = Folders();
    const QString path = Canonical(folder);
    folders.removeAll(path);
    folders.prepend(path);
    Keep(folders);
}

void RecentCollections::Forget(const QString& folder)
{
    QStringList folders = Folders();
    folders.removeAll(Canonical(folder));
    Keep(folders);
}
