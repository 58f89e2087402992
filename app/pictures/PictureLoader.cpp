#include "app/pictures/PictureLoader.h"

#include "app/pictures/PictureReader.h"
#include "base/FileAccess.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>

#include <algorithm>
#include <string_view>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

bool Keep(const QString& path, const std::function<bool(QIODevice&)>& writer)
{
    return QDir().mkpath(QFileInfo(path).path()) && WriteFileSafely(path, writer);
}

// JPEG keeps a photograph's thumbnail small; PNG keeps a transparent one's corners.
bool KeepThumbnail(const QString& path, const QImage& thumbnail)
{
    const bool clear = thumbnail.hasAlphaChannel();
    return Keep(path, [&](QIODevice& device) { return thumbnail.save(&device, clear ? "PNG" : "JPEG", clear ? -1 : 90); });
}

} // namespace

PictureOptions DefaultPictureOptions()
{
    PictureOptions options;
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        cache = QDir::temp().filePath(QStringLiteral("quillmark-cache"));
    options.cacheFolder = QDir(cache).filePath(QStringLiteral("pictures"));
    options.dataFolder = QDir::currentPath();
    return options;
}

PictureLoader::PictureLoader(const PictureOptions& options, QObject* parent)
    : QObject(parent)
    , options_(options)
    , cache_(options.cacheFolder)
    , fetcher_(options.transferTimeoutMs)
    , thumbnails_(kMemoryLimitBytes)
{
    // Two decodings at a time at most: each may take up to the decoding limit.
    pool_.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 2));
    connect(&fetcher_, &PictureFetcher::Fetched, this, &PictureLoader::OnFetched);
    connect(&fetcher_, &PictureFetcher::Dropped, this, &PictureLoader::OnDropped);
}

PictureLoader::~PictureLoader()
{
    waiting_.clear();
    pool_.waitForDone();
}

PictureLoader::State PictureLoader::Thumbnail(const QByteArray& pictureUrl, TextEncoding encoding, QImage* thumbnail)
{
    if (const QImage* held = thumbnails_.object(pictureUrl)) {
        *thumbnail = *held;
        return State::Ready;
    }
    if (failed_.contains(pictureUrl))
        return State::Failed;
    if (thumbnailsAsked_.contains(pictureUrl))
        return State::Loading;
    const PictureLocation location = LocatePicture(View(pictureUrl), encoding, options_.dataFolder);
    if (location.kind == PictureLocation::Kind::None)
        return State::NoPicture;
    thumbnailsAsked_.insert(pictureUrl);
    Enqueue({pictureUrl, location, false});
    return State::Loading;
}

void PictureLoader::ReadWholePicture(const QByteArray& pictureUrl, TextEncoding encoding)
{
    if (wholeAsked_.contains(pictureUrl))
        return;
    const PictureLocation location = LocatePicture(View(pictureUrl), encoding, options_.dataFolder);
    if (location.kind == PictureLocation::Kind::None) {
        emit PictureRead(pictureUrl, QImage());
        return;
    }
    wholeAsked_.insert(pictureUrl);
    Enqueue({pictureUrl, location, true});
}

void PictureLoader::Enqueue(Job job)
{
    waiting_.push_back(std::move(job));
    if (int(waiting_.size()) > kMaxWaiting) {
        const Job dropped = std::move(waiting_.front());
        waiting_.pop_front();
        if (dropped.whole && wholeAsked_.remove(dropped.url))
            emit PictureRead(dropped.url, QImage());
        else if (!dropped.whole && thumbnailsAsked_.remove(dropped.url))
            emit ThumbnailChanged(dropped.url);
    }
    StartWaiting();
}

void PictureLoader::StartWaiting()
{
    while (running_ < pool_.maxThreadCount() && !waiting_.empty()) {
        Job job = std::move(waiting_.back());
        waiting_.pop_back();
        ++running_;
        pool_.start([this, job = std::move(job), cache = cache_] {
            const Outcome outcome = Make(cache, job);
            QMetaObject::invokeMethod(this, [this, job, outcome] { Finish(job, outcome); }, Qt::QueuedConnection);
        });
    }
}

// Runs on a pool thread: everything it touches is its own or a copy.
PictureLoader::Outcome PictureLoader::Make(const PictureCache& cache, const Job& job)
{
    const QSize box = job.whole ? QSize() : QSize(PictureCache::kThumbnailEdge, PictureCache::kThumbnailEdge);
    QString path = job.location.path;
    if (job.location.kind == PictureLocation::Kind::Web) {
        path = cache.DownloadPath(job.url);
        if (!job.fetched.isEmpty()) {
            const QByteArray& bytes = job.fetched;
            if (!Keep(path, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); })) {
                // Shown all the same, only not kept.
                QBuffer buffer;
                buffer.setData(bytes);
                buffer.open(QIODevice::ReadOnly);
                return {ReadPicture(buffer, box)};
            }
        } else if (!job.fetchFailed && !PictureCache::IsFresh(QFileInfo(path))) {
            return {QImage(), true};
        }
    }
    if (job.whole)
        return {ReadPicture(path, box)};
    const QFileInfo picture(path);
    if (!picture.isFile())
        return {};
    const QString thumbnailPath = cache.ThumbnailPath(picture);
    QImage thumbnail = ReadPicture(thumbnailPath, box);
    if (thumbnail.isNull()) {
        thumbnail = ReadPicture(path, box);
        if (!thumbnail.isNull())
            KeepThumbnail(thumbnailPath, thumbnail);
    }
    return {thumbnail};
}

void PictureLoader::Finish(const Job& job, const Outcome& outcome)
{
    --running_;
    if (outcome.needsFetch) {
        fetching_.insert(job.url, job.location);
        fetcher_.Fetch(job.url, job.location.url);
    } else if (job.whole) {
        wholeAsked_.remove(job.url);
        emit PictureRead(job.url, outcome.image);
    } else {
        thumbnailsAsked_.remove(job.url);
        if (outcome.image.isNull())
            failed_.insert(job.url);
        else
            thumbnails_.insert(job.url, new QImage(outcome.image), qsizetype(outcome.image.sizeInBytes()));
        emit ThumbnailChanged(job.url);
    }
    StartWaiting();
}

void PictureLoader::OnFetched(const QByteArray& pictureUrl, const QByteArray& bytes, bool ok)
{
    const PictureLocation location = fetching_.take(pictureUrl);
    if (thumbnailsAsked_.contains(pictureUrl))
        Enqueue({pictureUrl, location, false, bytes, !ok});
    if (wholeAsked_.contains(pictureUrl))
        Enqueue({pictureUrl, location, true, bytes, !ok});
}

void PictureLoader::OnDropped(const QByteArray& pictureUrl)
{
    fetching_.remove(pictureUrl);
    if (thumbnailsAsked_.remove(pictureUrl))
        emit ThumbnailChanged(pictureUrl);
    if (wholeAsked_.remove(pictureUrl))
        emit PictureRead(pictureUrl, QImage());
}
