#include "collection/sets/SetSizeFetch.h"

#include "collection/lookup/LookupService.h"
#include "collection/sets/SetAnswers.h"
#include "collection/sets/SetSizeCache.h"

#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

QString Code(const SetProgress& set)
{
    return QString::fromUtf8(set.code.data(), qsizetype(set.code.size()));
}

QString PathSegment(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

SetSizeFetch::SetSizeFetch(LookupService& service, SetSizeCache& cache, QObject* parent)
    : QObject(parent)
    , service_(service)
    , cache_(cache)
{
}

SetSizeFetch::~SetSizeFetch()
{
    for (const quint64 ticket : tickets_)
        service_.Cancel(ticket);
}

void SetSizeFetch::Start(const std::vector<SetProgress>& sets)
{
    Cancel();
    failures_.clear();
    total_ = 0;
    std::vector<SetProgress> yugioh;
    for (const SetProgress& set : sets) {
        if (cache_.Find(set.game, set.code))
            continue;
        const bool magic = set.game == "magic";
        if (!magic && set.game != "pokemon") {
            if (set.game == "yugioh")
                yugioh.push_back(set);
            continue;
        }
        const CardSource source = magic ? CardSource::Scryfall : CardSource::Tcgdex;
        const QString path = magic ? QStringLiteral("/sets/") + PathSegment(Code(set).toLower())
                                   : QStringLiteral("/v2/en/sets/") + PathSegment(Code(set));
        // The answer names its request by the ticket Get gives back.
        auto ticket = std::make_shared<quint64>(0);
        *ticket = service_.Get(source, path, {}, [this, set, magic, ticket](const SourceReply& reply) {
            const std::optional<SetSize> size =
                reply.status != 200 ? std::nullopt : magic ? ReadScryfallSet(reply.body) : ReadTcgdexSet(reply.body);
            if (size)
                cache_.Put(set.game, set.code, *size);
            else
                failures_ << QStringLiteral("%1: %2").arg(
                    Code(set), reply.failure.isEmpty() ? QStringLiteral("no size given") : reply.failure);
            Answered(*ticket);
        });
        tickets_.push_back(*ticket);
    }
    if (!yugioh.empty()) {
        auto ticket = std::make_shared<quint64>(0);
        *ticket = service_.Get(CardSource::Ygoprodeck, QStringLiteral("/api/v7/cardsets.php"), {},
                               [this, yugioh, ticket](const SourceReply& reply) {
                                   if (reply.status == 200) {
                                       for (const auto& [code, size] : ReadYgoprodeckSets(reply.body)) {
                                           if (!cache_.Find("yugioh", code))
                                               cache_.Put("yugioh", code, size);
                                       }
                                   }
                                   for (const SetProgress& set : yugioh) {
                                       if (!cache_.Find(set.game, set.code))
                                           failures_ << QStringLiteral("%1: %2").arg(
                                               Code(set), reply.failure.isEmpty() ? QStringLiteral("no size given")
                                                                                  : reply.failure);
                                   }
                                   Answered(*ticket);
                               });
        tickets_.push_back(*ticket);
    }
    total_ = int(tickets_.size());
    if (tickets_.empty())
        QTimer::singleShot(0, this, &SetSizeFetch::Finish);
}

void SetSizeFetch::Answered(quint64 ticket)
{
    const auto at = std::find(tickets_.begin(), tickets_.end(), ticket);
    if (at != tickets_.end())
        tickets_.erase(at);
    emit Progress(total_ - int(tickets_.size()), total_);
    if (tickets_.empty())
        Finish();
}

void SetSizeFetch::Cancel()
{
    if (tickets_.empty())
        return;
    for (const quint64 ticket : tickets_)
        service_.Cancel(ticket);
    tickets_.clear();
    Finish();
}

void SetSizeFetch::Finish()
{
    QString reason;
    if (total_ > 0 && !cache_.Save(&reason))
        failures_ << reason;
    emit Finished(failures_.join(QLatin1Char('\n')));
}
