#include "collection/lookup/LookupService.h"

#include "base/UserAgent.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

// Scryfall asks for no more than two searches a second and ten requests of
// other kinds; the others ask only for politeness, YGOPRODeck blocking for an
// hour past twenty a second.
RequestPace PaceFor(CardSource source)
{
    switch (source) {
    case CardSource::Scryfall:
        return RequestPace(100, 500);
    case CardSource::Tcgdex:
        return RequestPace(200, 200);
    case CardSource::Ygoprodeck:
        break;
    }
    return RequestPace(100, 100);
}

bool IsSearch(CardSource source, const QUrl& url)
{
    if (source != CardSource::Scryfall)
        return false;
    const QString path = url.path();
    return path.endsWith(QLatin1String("/cards/search")) || path.endsWith(QLatin1String("/cards/named"))
           || path.endsWith(QLatin1String("/cards/collection"));
}

// Retry-After gives seconds or a date; without it, a minute.
qint64 RetryAfterSeconds(const QByteArray& header)
{
    bool number = false;
    const qint64 seconds = header.trimmed().toLongLong(&number);
    if (number)
        return std::max<qint64>(seconds, 1);
    const QDateTime date = QDateTime::fromString(QString::fromLatin1(header.trimmed()), Qt::RFC2822Date);
    if (date.isValid())
        return std::max<qint64>(QDateTime::currentDateTimeUtc().secsTo(date), 1);
    return 60;
}

QString Named(const char* text, CardSource source)
{
    return QString::fromUtf8(text).arg(QString::fromUtf8(CardSourceName(source)));
}

} // namespace

LookupService::LookupService(CardSources sources, int transferTimeoutMs, QObject* parent)
    : QObject(parent)
    , sources_(std::move(sources))
    , transferTimeoutMs_(transferTimeoutMs)
{
    clock_.start();
}

LookupService::~LookupService()
{
    for (auto& [ticket, pending] : pending_) {
        if (pending.reply)
            pending.reply->disconnect(this);
    }
}

LookupService& LookupService::Shared()
{
    static QPointer<LookupService> shared;
    if (!shared)
        shared = new LookupService(CardSources::FromEnvironment(), kDefaultTransferTimeoutMs,
                                   QCoreApplication::instance());
    return *shared;
}

RequestPace& LookupService::PaceOf(CardSource source)
{
    auto found = paces_.find(source);
    if (found == paces_.end())
        found = paces_.emplace(source, PaceFor(source)).first;
    return found->second;
}

quint64 LookupService::Get(CardSource source, const QString& path, const QString& query, Done done, bool fresh)
{
    Pending pending{source, sources_.Url(source, path, query), std::move(done)};
    pending.fresh = fresh;
    return Ask(std::move(pending));
}

quint64 LookupService::GetPicture(CardSource source, const QUrl& url, Done done)
{
    Pending pending{source, url, std::move(done)};
    pending.picture = true;
    // An address from the network naming a file here is no picture of a card.
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        SourceReply reply;
        reply.failure = QString::fromUtf8(Text::LookupPictureNone);
        return Later(std::move(pending), 0, [this, reply](quint64 ticket) { Deliver(ticket, reply); });
    }
    return Ask(std::move(pending));
}

quint64 LookupService::PostJson(CardSource source, const QString& path, const QByteArray& json, Done done)
{
    Pending pending{source, sources_.Url(source, path), std::move(done)};
    pending.json = json.isNull() ? QByteArray("") : json;
    return Ask(std::move(pending));
}

quint64 LookupService::Ask(Pending pending)
{
    const CardSource source = pending.source;
    const bool kept = !pending.picture && pending.json.isNull() && !pending.fresh;
    const auto answer = kept ? answers_.constFind(pending.url) : answers_.constEnd();
    if (answer != answers_.constEnd()) {
        const SourceReply reply = *answer;
        return Later(std::move(pending), 0, [this, reply](quint64 ticket) { Deliver(ticket, reply); });
    }
    const qint64 now = clock_.elapsed();
    RequestPace& pace = PaceOf(source);
    if (const qint64 held = pace.HeldFor(now)) {
        SourceReply reply;
        reply.failure = Named(Text::LookupBusy, source).arg((held + 999) / 1000);
        return Later(std::move(pending), 0, [this, reply](quint64 ticket) { Deliver(ticket, reply); });
    }
    const qint64 at = pace.Book(now, IsSearch(source, pending.url));
    return Later(std::move(pending), at - now, [this](quint64 ticket) { Send(ticket); });
}

quint64 LookupService::Later(Pending pending, qint64 delayMs, std::function<void(quint64)> then)
{
    const quint64 ticket = ++lastTicket_;
    pending.timer = new QTimer(this);
    pending.timer->setSingleShot(true);
    // A coarse timer may fire early, which would break the pace.
    pending.timer->setTimerType(Qt::PreciseTimer);
    connect(pending.timer, &QTimer::timeout, this, [ticket, then = std::move(then)] { then(ticket); });
    pending.timer->start(int(delayMs));
    pending_.emplace(ticket, std::move(pending));
    return ticket;
}

void LookupService::Cancel(quint64 ticket)
{
    const auto found = pending_.find(ticket);
    if (found == pending_.end())
        return;
    Pending pending = std::move(found->second);
    pending_.erase(found);
    if (pending.timer)
        pending.timer->deleteLater();
    if (pending.reply) {
        pending.reply->disconnect(this);
        pending.reply->abort();
        pending.reply->deleteLater();
    }
}

void LookupService::Send(quint64 ticket)
{
    const auto found = pending_.find(ticket);
    if (found == pending_.end())
        return;
    Pending& pending = found->second;
    pending.timer->deleteLater();
    pending.timer = nullptr;
    // Scryfall refuses requests that do not say who asks and what they take.
    QNetworkRequest request(pending.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setRawHeader("Accept", pending.picture ? "image/*" : "application/json");
    request.setTransferTimeout(transferTimeoutMs_);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = nullptr;
    if (pending.json.isNull()) {
        reply = network_.get(request);
    } else {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        reply = network_.post(request, pending.json);
    }
    pending.reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, ticket, reply](qint64 received, qint64 total) {
        if (received <= kMaxAnswerBytes && total <= kMaxAnswerBytes)
            return;
        const auto found = pending_.find(ticket);
        if (found != pending_.end())
            found->second.tooLarge = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, ticket] { Finish(ticket); });
}

void LookupService::Finish(quint64 ticket)
{
    const auto found = pending_.find(ticket);
    if (found == pending_.end())
        return;
    QNetworkReply* reply = found->second.reply;
    const CardSource source = found->second.source;
    reply->deleteLater();
    SourceReply answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    // Errors that stand for an HTTP status still bring the source's own
    // answer; those of the connection (a body cut short among them) do not.
    const bool answered = error == QNetworkReply::NoError || error >= QNetworkReply::ContentAccessDenied;
    if (found->second.tooLarge) {
        answer.failure = Named(Text::LookupUnreadable, source).arg(QStringLiteral("too large"));
    } else if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError) {
        // The transfer timeout aborts the reply, with or without its head;
        // no one else does but Cancel, which has let go of it by then.
        answer.failure = Named(Text::LookupTimedOut, source);
    } else if (answer.status == 0 || !answered) {
        answer.failure = Named(Text::LookupUnreachable, source).arg(reply->errorString());
    } else if (answer.status == 429) {
        const qint64 seconds = RetryAfterSeconds(reply->rawHeader("Retry-After"));
        PaceOf(source).HoldUntil(clock_.elapsed() + seconds * 1000);
        answer.failure = Named(Text::LookupBusy, source).arg(seconds);
    } else if (found->second.picture) {
        if (answer.status == 200)
            answer.body = reply->readAll();
        else
            answer.failure = Named(Text::LookupHttpStatus, source).arg(answer.status);
    } else if (answer.status == 200 || answer.status == 400 || answer.status == 404) {
        // The sources say "no such card" with these, in JSON.
        answer.body = reply->readAll();
        if (found->second.json.isNull())
            answers_.insert(found->second.url, answer);
    } else {
        answer.failure = Named(Text::LookupHttpStatus, source).arg(answer.status);
    }
    Deliver(ticket, answer);
}

void LookupService::Deliver(quint64 ticket, const SourceReply& reply)
{
    const auto found = pending_.find(ticket);
    if (found == pending_.end())
        return;
    Pending pending = std::move(found->second);
    pending_.erase(found);
    if (pending.timer)
        pending.timer->deleteLater();
    // done may ask again, or cancel others: it runs with nothing held.
    pending.done(reply);
}
