#include "prefs/RecentCollections.h"

#include "prefs/UserSettings.h"

#include <QSettings>

namespace {

const QString kKey = QStringLiteral("RecentCollections");

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
    const QString path = SettingsFolderName(folder);
    folders.removeAll(path);
    folders.prepend(path);
    Keep(folders);
}

void RecentCollections::Forget(const QString& folder)
{
    QStringList folders = Folders();
    folders.removeAll(SettingsFolderName(folder));
    Keep(folders);
}
