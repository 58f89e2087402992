#pragma once

#include "collection/lookup/CardSources.h"

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QString>

#include <deque>
#include <utility>
#include <vector>

class LookupService;
struct SourceReply;

// The small pictures beside the matches of a lookup: fetched through the
// lookup's own service (its pace, its name for Quillmark, its time limits),
// a few at a time, each address once for the life of this object. A picture
// that cannot be had stays without; nobody is told.
class MatchThumbnails : public QObject {
    Q_OBJECT

public:
    static constexpr int kHeight = 48;
    // A long answer must not ask a source for every picture at once.
    static constexpr int kMaxRunning = 3;

    // ratio: device pixels per pixel of the screen they are shown on.
    explicit MatchThumbnails(LookupService& service, qreal ratio = 1.0, QObject* parent = nullptr);
    ~MatchThumbnails() override;

    using Wanted = std::pair<CardSource, QString>;

    // The thumbnail of a picture's address once had; null otherwise.
    QPixmap Thumbnail(const QString& url) const { return made_.value(url); }
    // Asks for these pictures, first things first, in place of those still
    // waiting; those already asked for go on. Those had or failed are not
    // asked again.
    void Want(const std::vector<Wanted>& wanted);
    // Drops those waiting and cancels those asked for.
    void Stop();
    int Running() const { return int(running_.size()); }

signals:
    void Ready(const QString& url, const QPixmap& thumbnail);

private:
    void StartWaiting();
    void Take(const QString& url, const SourceReply& reply);

    LookupService& service_;
    qreal ratio_;
    QHash<QString, QPixmap> made_;
    QSet<QString> failed_;
    std::deque<Wanted> waiting_;
    QHash<QString, quint64> running_;
};
