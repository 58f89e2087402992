#include "collection/merge/ConflictFiles.h"

#include "base/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

const QString kMerged = QStringLiteral(".merged");

QString Prefix(const QString& collectionPath)
{
    return QFileInfo(collectionPath).fileName() + QStringLiteral(".conflict-");
}

} // namespace

QStringList ConflictFiles(const QString& collectionPath)
{
    const QFileInfo collection(collectionPath);
    QStringList files;
    // The names end in the date and time, so their order is the files' age.
    const QStringList names =
        collection.absoluteDir().entryList({Prefix(collectionPath) + QLatin1Char('*')}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (!name.endsWith(kMerged))
            files << collection.absoluteDir().filePath(name);
    }
    return files;
}

bool IsConflictFile(const QString& path, const QString& collectionPath)
{
    const QFileInfo file(path);
    return file.absoluteDir() == QFileInfo(collectionPath).absoluteDir()
           && file.fileName().startsWith(Prefix(collectionPath)) && !file.fileName().endsWith(kMerged);
}

bool MarkMerged(const QString& path, QString& reason)
{
    const int error = RenameWithoutReplacing(QFile::encodeName(path), QFile::encodeName(path + kMerged));
    if (error == 0)
        return true;
    reason = QString::fromLocal8Bit(std::strerror(error));
    return false;
}
