#include "base/SharedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString SharedFilePath(const QString& relative)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString shared = QStringLiteral("share/quillmark/") + relative;
    const QString installed = programDir.absoluteFilePath(QStringLiteral("../") + shared);
    const QString built = programDir.absoluteFilePath(shared);
    return QDir::cleanPath(QFileInfo::exists(installed) || !QFileInfo::exists(built) ? installed : built);
}
