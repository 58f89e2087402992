#pragma once

#include <QString>

class QByteArray;
class QFileInfo;

// The names of the pictures' cache on disk: a thumbnail for each picture file
// as it was at one modification time, and the bytes of each web picture as
// fetched. Whoever makes a file writes it, safely.
class PictureCache {
public:
    // Thumbnails fit a square of this many pixels.
    static constexpr int kThumbnailEdge = 256;
    // A kept web picture is fetched again when it is older than this.
    static constexpr int kWebPictureDays = 7;

    explicit PictureCache(const QString& folder);

    // Where the thumbnail of the file at its present time and size is kept.
    QString ThumbnailPath(const QFileInfo& picture) const;
    // Where the bytes fetched for a web picture's address are kept.
    QString DownloadPath(const QByteArray& pictureUrl) const;
    static bool IsFresh(const QFileInfo& download);

private:
    QString folder_;
};
