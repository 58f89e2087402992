#include "MarketRefreshBenchmarks.h"

#include "Measure.h"
#include "collection/lookup/LookupService.h"
#include "collection/prices/MarketRefresh.h"
#include "support/ReplayServer.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

// Each identifier asked for is a card at a dollar, answered at once.
ReplayServer::Reply AtADollar(const ReplayServer::Request& request)
{
    QJsonArray data;
    for (const QJsonValue& each : QJsonDocument::fromJson(request.body).object()["identifiers"].toArray())
        data.append(QJsonObject{{"id", each.toObject()["id"]}, {"prices", QJsonObject{{"usd", "1.00"}}}});
    return {200, QJsonDocument(QJsonObject{{"object", "list"}, {"data", data}}).toJson(), {}};
}

} // namespace

bool RunMarketRefreshBenchmark(std::uint64_t cards)
{
    ReplayServer server;
    server.Respond("/scryfall/cards/collection", AtADollar);
    LookupService service{CardSources(server.Base())};
    std::vector<PricedCard> rows;
    for (std::uint64_t i = 0; i < cards; ++i) {
        Card card;
        card[NameField] = "Card " + std::to_string(i);
        card[PrintField] = "scryfall:" + std::to_string(i);
        rows.push_back({int(i), card});
    }
    MarketRefresh refresh(service);
    QObject::connect(&refresh, &MarketRefresh::Finished, QCoreApplication::instance(), &QCoreApplication::quit);
    const Stopwatch watch;
    refresh.Start(rows, TextEncoding::Utf8, QDate::currentDate(), true);
    QCoreApplication::exec();
    Report(cards, "market_refresh", watch.Elapsed());
    Report(cards, "market_refresh_requests", double(refresh.Requests()));
    if (refresh.Priced().size() != cards) {
        std::fprintf(stderr, "%zu of %llu Cards priced\n", refresh.Priced().size(), (unsigned long long)cards);
        return false;
    }
    return true;
}
