#include "app/pictures/PictureCache.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// Two levels of folders, so that no folder holds more than a few thousand.
QString Spread(const QString& folder, const QByteArray& key)
{
    const QString hex = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    return QDir(folder).filePath(hex.left(2) + QLatin1Char('/') + hex);
}

} // namespace

PictureCache::PictureCache(const QString& folder)
    : folder_(folder)
{
}

// A new time, size or thumbnail size makes a new name, so that a changed picture is never
// shown from an old thumbnail; the old one is left behind.
QString PictureCache::ThumbnailPath(const QFileInfo& picture) const
{
    const QByteArray key = QFile::encodeName(picture.absoluteFilePath()) + '\n'
                           + QByteArray::number(picture.lastModified().toMSecsSinceEpoch()) + '\n'
                           + QByteArray::number(picture.size()) + '\n' + QByteArray::number(kThumbnailEdge);
    return Spread(QDir(folder_).filePath(QStringLiteral("thumbnails")), key);
}

QString PictureCache::DownloadPath(const QByteArray& pictureUrl) const
{
    return Spread(QDir(folder_).filePath(QStringLiteral("downloads")), pictureUrl);
}

bool PictureCache::IsFresh(const QFileInfo& download)
{
    return download.isFile() && download.lastModified().daysTo(QDateTime::currentDateTime()) < kWebPictureDays;
}
