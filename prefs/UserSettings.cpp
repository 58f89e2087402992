#include "prefs/UserSettings.h"

#include <QDir>
#include <QFileInfo>

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillmark"),
                     QStringLiteral("quillmark"));
}

QString SettingsFolderName(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
