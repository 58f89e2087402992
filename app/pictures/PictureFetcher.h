#pragma once

#include <QByteArray>
#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <deque>

class QNetworkReply;

// Fetches web pictures, a few at a time, the newest request first: the
// pictures asked for last are the ones on the screen now.
class PictureFetcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxRunning = 4;
    // A picture larger than this is not a card's picture; its fetch fails.
    static constexpr qint64 kMaxBytes = qint64(32) << 20;
    // Requests beyond this many waiting push out the oldest.
    static constexpr int kMaxWaiting = 512;

    // A transfer that stays silent for transferTimeoutMs fails.
    explicit PictureFetcher(int transferTimeoutMs, QObject* parent = nullptr);
    ~PictureFetcher() override;

    // Asks for a picture once; a second request for the same key while the
    // first is waiting or running adds nothing.
    void Fetch(const QByteArray& key, const QUrl& url);
    int Running() const { return int(running_.size()); }

signals:
    // The fetch ended: the bytes when it succeeded, ok false when it failed.
    void Fetched(const QByteArray& key, const QByteArray& bytes, bool ok);
    // The request was pushed out before it started.
    void Dropped(const QByteArray& key);

private:
    void StartWaiting();
    void Finish(QNetworkReply* reply);

    int transferTimeoutMs_;
    QNetworkAccessManager network_;
    std::deque<std::pair<QByteArray, QUrl>> waiting_;
    QSet<QByteArray> requested_;
    QHash<QNetworkReply*, QByteArray> running_;
};
