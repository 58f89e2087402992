#include "app/pictures/PictureFetcher.h"

#include "base/UserAgent.h"

#include <QNetworkReply>
#include <QNetworkRequest>

PictureFetcher::PictureFetcher(int transferTimeoutMs, QObject* parent)
    : QObject(parent)
    , transferTimeoutMs_(transferTimeoutMs)
{
}

PictureFetcher::~PictureFetcher()
{
    // Replies still running belong to the manager and go with it; they must
    // not tell of their end to a fetcher half destroyed.
    for (QNetworkReply* reply : running_.keys())
        reply->disconnect(this);
}

void PictureFetcher::Fetch(const QByteArray& key, const QUrl& url)
{
    if (requested_.contains(key))
        return;
    requested_.insert(key);
    waiting_.emplace_back(key, url);
    if (int(waiting_.size()) > kMaxWaiting) {
        const QByteArray dropped = waiting_.front().first;
        waiting_.pop_front();
        requested_.remove(dropped);
        emit Dropped(dropped);
    }
    StartWaiting();
}

void PictureFetcher::StartWaiting()
{
    while (running_.size() < kMaxRunning && !waiting_.empty()) {
        const auto [key, url] = waiting_.back();
        waiting_.pop_back();
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
        request.setTransferTimeout(transferTimeoutMs_);
        request.setMaximumRedirectsAllowed(5);
        QNetworkReply* reply = network_.get(request);
        running_.insert(reply, key);
        connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
            if (received > kMaxBytes || total > kMaxBytes)
                reply->abort();
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { Finish(reply); });
    }
}

void PictureFetcher::Finish(QNetworkReply* reply)
{
    reply->deleteLater();
    const QByteArray key = running_.take(reply);
    requested_.remove(key);
    const bool ok = reply->error() == QNetworkReply::NoError;
    const QByteArray bytes = ok ? reply->readAll() : QByteArray();
    StartWaiting();
    emit Fetched(key, bytes, ok && !bytes.isEmpty());
}
