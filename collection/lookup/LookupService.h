#pragma once

#include "collection/lookup/CardSources.h"
#include "collection/lookup/RequestPace.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QNetworkReply;
class QTimer;

// An answer of a source: its status and body, or, when none can be used
// (no answer, "too many requests", one too large), why.
struct SourceReply {
    int status = 0;
    QByteArray body;
    QString failure;
};

// The network side of every lookup of the process: the sources' addresses,
// each source's pace, and the answers already had, kept by address for the
// life of the process so that asking again costs the sources nothing.
// Nothing is ever asked again by itself: a source that says "too many
// requests" is left alone until the moment it names.
class LookupService : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultTransferTimeoutMs = 20000;
    // An answer larger than this is no card database's answer.
    static constexpr qint64 kMaxAnswerBytes = qint64(16) << 20;

    explicit LookupService(CardSources sources, int transferTimeoutMs = kDefaultTransferTimeoutMs,
                           QObject* parent = nullptr);
    ~LookupService() override;

    // The process's own, at the addresses of the environment; it goes with
    // the application object.
    static LookupService& Shared();

    using Done = std::function<void(const SourceReply&)>;
    // Asks a source for path?query (both percent-encoded) when its pace
    // allows, or answers from the answers already had, unless fresh (a
    // price changes from day to day): then the source is asked, and its
    // answer kept in place of the old. done is called once, from the event
    // loop, unless Cancel(ticket) comes first.
    quint64 Get(CardSource source, const QString& path, const QString& query, Done done, bool fresh = false);
    // Asks for a picture at an address a source gave (http or https only),
    // at that source's pace. Only status 200 brings the bytes. Pictures are
    // not kept with the answers: they are many times larger, and whoever
    // shows one keeps what it needs of it.
    quint64 GetPicture(CardSource source, const QUrl& url, Done done);
    // Sends a JSON body to path (Scryfall's /cards/collection), at the pace
    // of a search and with the headers and time limit of Get. Its answer is
    // not kept: the same address answers every body differently.
    quint64 PostJson(CardSource source, const QString& path, const QByteArray& json, Done done);
    void Cancel(quint64 ticket);
    // How long a source's pace keeps two requests of the kind apart.
    qint64 IntervalMs(CardSource source, bool search) { return PaceOf(source).Interval(search); }
    // Requests asked for and neither answered nor cancelled yet.
    int Outstanding() const { return int(pending_.size()); }

private:
    struct Pending {
        CardSource source;
        QUrl url;
        Done done;
        QTimer* timer = nullptr;
        QNetworkReply* reply = nullptr;
        bool tooLarge = false;
        bool picture = false;
        // Sent as a POST when not null.
        QByteArray json{};
        bool fresh = false;
    };

    quint64 Ask(Pending pending);
    quint64 Later(Pending pending, qint64 delayMs, std::function<void(quint64)> then);
    void Send(quint64 ticket);
    void Finish(quint64 ticket);
    void Deliver(quint64 ticket, const SourceReply& reply);
    RequestPace& PaceOf(CardSource source);

    CardSources sources_;
    int transferTimeoutMs_;
    QNetworkAccessManager network_;
    QElapsedTimer clock_;
    std::map<CardSource, RequestPace> paces_;
    QHash<QUrl, SourceReply> answers_;
    std::map<quint64, Pending> pending_;
    quint64 lastTicket_ = 0;
};
