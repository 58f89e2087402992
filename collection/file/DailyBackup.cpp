#include "collection/file/DailyBackup.h"

#include "base/FileAccess.h"
#include "collection/file/CollectionFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The day of a backup copy's name; an invalid date for any other name.
QDate DayOf(const QString& name)
{
    if (!name.startsWith(QLatin1String("qmk-")) || !name.endsWith(QLatin1String(".dat")) || name.size() != 18)
        return {};
    return QDate::fromString(name.mid(4, 10), QStringLiteral("yyyy-MM-dd"));
}

// Removes all but the newest copies; other files are the collector's own.
// Today's copy always stays, even behind copies dated later by a clock that
// was ahead: it is the one that holds the collection as it is now.
void RemoveOldCopies(const QDir& backups, const QDate& today)
{
    std::vector<std::pair<QDate, QString>> copies;
    for (const QString& name : backups.entryList({QStringLiteral("qmk-*.dat")}, QDir::Files)) {
        const QDate day = DayOf(name);
        if (day.isValid())
            copies.emplace_back(day, name);
    }
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t old = kKeptBackups; old < copies.size(); ++old) {
        if (copies[old].first != today)
            QFile::remove(backups.filePath(copies[old].second));
    }
}

} // namespace

QString BackupName(const QDate& day)
{
    return QStringLiteral("qmk-%1.dat").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

bool MakeDailyBackup(const QString& folder, const QDate& today, QString& reason)
{
    const QDir data(folder);
    const QString collection = data.filePath(QString::fromLatin1(kCollectionFileName));
    const QFileInfo found(collection);
    const QDir backups(data.filePath(QString::fromLatin1(kBackupFolderName)));
    if (!found.isFile() || found.size() == 0 || backups.exists(BackupName(today)))
        return true;
    QByteArray bytes;
    if (!ReadFile(collection, bytes))
        return true;
    if (!data.mkpath(QString::fromLatin1(kBackupFolderName))) {
        reason = QStringLiteral("%1: the folder could not be made").arg(QDir::toNativeSeparators(backups.path()));
        return false;
    }
    const auto copy = [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
    if (!WriteFileSafely(backups.filePath(BackupName(today)), copy, &reason))
        return false;
    RemoveOldCopies(backups, today);
    return true;
}
