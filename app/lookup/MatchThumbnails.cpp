#include "app/lookup/MatchThumbnails.h"

#include "collection/lookup/LookupService.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QUrl>

namespace {

// The picture's bytes made height pixels high, keeping its shape; a null
// image when they are no picture Qt can read.
QImage ThumbnailOf(const QByteArray& bytes, int height)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    // A card is taller than wide; anything far wider must not make a
    // thumbnail of a width it names.
    const QSize box(3 * height, height);
    const QSize size = reader.size();
    // A JPEG, the kind most sources send, is then decoded small, not whole.
    if (size.isValid() && !size.isEmpty())
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.height() != height && image.width() != box.width())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

MatchThumbnails::MatchThumbnails(LookupService& service, qreal ratio, QObject* parent)
    : QObject(parent)
    , service_(service)
    , ratio_(ratio > 0 ? ratio : 1.0)
{
}

MatchThumbnails::~MatchThumbnails()
{
    Stop();
}

void MatchThumbnails::Want(const std::vector<Wanted>& wanted)
{
    waiting_.clear();
    for (const Wanted& each : wanted) {
        if (!made_.contains(each.second) && !failed_.contains(each.second) && !running_.contains(each.second))
            waiting_.push_back(each);
    }
    StartWaiting();
}

void MatchThumbnails::Stop()
{
    waiting_.clear();
    const QHash<QString, quint64> running = std::exchange(running_, {});
    for (const quint64 ticket : running)
        service_.Cancel(ticket);
}

void MatchThumbnails::StartWaiting()
{
    while (running_.size() < kMaxRunning && !waiting_.empty()) {
        const auto [source, url] = waiting_.front();
        waiting_.pop_front();
        if (made_.contains(url) || failed_.contains(url) || running_.contains(url))
            continue;
        // The service answers from the event loop, never from within.
        running_.insert(url, service_.GetPicture(source, QUrl(url, QUrl::StrictMode),
                                                 [this, url](const SourceReply& reply) { Take(url, reply); }));
    }
}

void MatchThumbnails::Take(const QString& url, const SourceReply& reply)
{
    running_.remove(url);
    const QImage image = reply.failure.isEmpty() ? ThumbnailOf(reply.body, qRound(kHeight * ratio_)) : QImage();
    if (image.isNull()) {
        failed_.insert(url);
    } else {
        QPixmap thumbnail = QPixmap::fromImage(image);
        thumbnail.setDevicePixelRatio(ratio_);
        made_.insert(url, thumbnail);
        emit Ready(url, thumbnail);
    }
    StartWaiting();
}
