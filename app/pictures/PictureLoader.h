#pragma once

#include "app/pictures/PictureCache.h"
#include "app/pictures/PictureFetcher.h"
#include "collection/pictures/PictureLocation.h"

#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <deque>

// Where the pictures' cache lives, where relative Picture URLs start, and how
// long a web picture may stay silent before its fetch fails.
struct PictureOptions {
    QString cacheFolder;
    QString dataFolder;
    int transferTimeoutMs = 20000;
};

// A folder under the user's cache location, and the current folder.
PictureOptions DefaultPictureOptions();

// Makes the Cards' thumbnails and whole pictures off the interface thread,
// keeps recent thumbnails in memory and all of them on disk, and fetches web
// pictures. It asks nothing of the user: a picture that cannot be had is a
// failed one, never a box.
class PictureLoader : public QObject {
    Q_OBJECT

public:
    enum class State { NoPicture, Loading, Ready, Failed };
    // The thumbnails held in memory take at most this many bytes of pixels.
    static constexpr qint64 kMemoryLimitBytes = qint64(64) << 20;
    // Thumbnails asked for beyond this many waiting push out the oldest.
    static constexpr int kMaxWaiting = 512;

    explicit PictureLoader(const PictureOptions& options, QObject* parent = nullptr);
    ~PictureLoader() override;

    // The state of a Picture URL's thumbnail, and the thumbnail when Ready.
    // One not yet made, and not failed, is asked for. The URL's bytes are in
    // the collection's encoding.
    State Thumbnail(const QByteArray& pictureUrl, TextEncoding encoding, QImage* thumbnail);
    // Reads the picture whole, within the decoding limit; PictureRead tells.
    void ReadWholePicture(const QByteArray& pictureUrl, TextEncoding encoding);

    qint64 MemoryBytes() const { return thumbnails_.totalCost(); }

signals:
    // The thumbnail is ready or failed, or was given up before it was made
    // (it is asked for again when it is next wanted).
    void ThumbnailChanged(const QByteArray& pictureUrl);
    // The picture read whole; a null image when it could not be had.
    void PictureRead(const QByteArray& pictureUrl, const QImage& picture);

private:
    struct Job {
        QByteArray url;
        PictureLocation location;
        bool whole;
        // For the web: the bytes just fetched, or the fetch failed and only a
        // copy kept from before may serve.
        QByteArray fetched = {};
        bool fetchFailed = false;
    };
    struct Outcome {
        QImage image;
        bool needsFetch = false;
    };

    void Enqueue(Job job);
    void StartWaiting();
    void Finish(const Job& job, const Outcome& outcome);
    void OnFetched(const QByteArray& pictureUrl, const QByteArray& bytes, bool ok);
    void OnDropped(const QByteArray& pictureUrl);
    static Outcome Make(const PictureCache& cache, const Job& job);

    PictureOptions options_;
    PictureCache cache_;
    PictureFetcher fetcher_;
    QCache<QByteArray, QImage> thumbnails_;
    QSet<QByteArray> failed_;
    // Waiting, being made or being fetched.
    QSet<QByteArray> thumbnailsAsked_;
    QSet<QByteArray> wholeAsked_;
    QHash<QByteArray, PictureLocation> fetching_;
    // The newest last; started newest first.
    std::deque<Job> waiting_;
    int running_ = 0;
    // Last, so that it is waited for before anything its jobs use goes.
    QThreadPool pool_;
};
