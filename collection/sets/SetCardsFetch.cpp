#include "collection/sets/SetCardsFetch.h"

#include "collection/lookup/LookupService.h"

#include <QTimer>
#include <QUrl>

namespace {

QString Encoded(const std::string& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(text)));
}

QString FailureOf(const SourceReply& reply)
{
    return reply.failure.isEmpty() ? QStringLiteral("HTTP status %1").arg(reply.status) : reply.failure;
}

} // namespace

SetCardsFetch::SetCardsFetch(LookupService& service, QObject* parent)
    : QObject(parent)
    , service_(service)
{
}

SetCardsFetch::~SetCardsFetch()
{
    if (ticket_ != 0)
        service_.Cancel(ticket_);
}

void SetCardsFetch::Start(const std::string& game, const std::string& code, const std::string& name)
{
    Cancel();
    cards_.clear();
    code_ = code;
    if (game == "magic") {
        AskScryfall(QStringLiteral("q=") + Encoded("e:" + code) + QStringLiteral("&unique=prints&order=set"));
    } else if (game == "pokemon") {
        ticket_ = service_.Get(CardSource::Tcgdex, QStringLiteral("/v2/en/sets/") + Encoded(code), {},
                               [this](const SourceReply& reply) {
                                   ticket_ = 0;
                                   auto cards = reply.status == 200 ? ReadTcgdexSetCards(reply.body) : std::nullopt;
                                   if (cards)
                                       cards_ = std::move(*cards);
                                   Done(cards ? QString() : FailureOf(reply));
                               });
    } else if (game == "yugioh") {
        ticket_ = service_.Get(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardinfo.php"),
                               QStringLiteral("cardset=") + Encoded(name), [this](const SourceReply& reply) {
                                   ticket_ = 0;
                                   auto cards = reply.status == 200 ? ReadYgoprodeckSetCards(reply.body, code_)
                                                                    : std::nullopt;
                                   if (cards)
                                       cards_ = std::move(*cards);
                                   Done(cards ? QString() : FailureOf(reply));
                               });
    } else {
        QTimer::singleShot(0, this, [this] { Done(QStringLiteral("no card database lists this game")); });
    }
}

void SetCardsFetch::AskScryfall(const QString& query)
{
    ticket_ = service_.Get(CardSource::Scryfall, QStringLiteral("/cards/search"), query,
                           [this](const SourceReply& reply) {
                               ticket_ = 0;
                               QString next;
                               auto cards = reply.status == 200 ? ReadScryfallSetCards(reply.body, next) : std::nullopt;
                               if (!cards)
                                   return Done(FailureOf(reply));
                               cards_.insert(cards_.end(), cards->begin(), cards->end());
                               if (next.isEmpty())
                                   return Done({});
                               AskScryfall(next);
                           });
}

void SetCardsFetch::Cancel()
{
    if (ticket_ == 0)
        return;
    service_.Cancel(ticket_);
    ticket_ = 0;
}

void SetCardsFetch::Done(const QString& failure)
{
    emit Finished(cards_, failure);
}
