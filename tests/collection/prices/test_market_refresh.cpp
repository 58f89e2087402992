#include "collection/lookup/LookupService.h"
#include "collection/prices/MarketRefresh.h"
#include "support/ReplayServer.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QDate kToday(2026, 12, 9);

Card MagicCard(int i, const char* finish = "nonfoil")
{
    Card card;
    card[NameField] = "Card " + std::to_string(i);
    const QString id = QStringLiteral("00000000-0000-4000-8000-%1").arg(i, 12, 10, QLatin1Char('0'));
    card[PrintField] = "scryfall:" + id.toStdString();
    card[FinishField] = finish;
    return card;
}

// Scryfall's collection: each identifier's card, priced at its number in
// dollars (and in euros for foils), "xxx" not found.
ReplayServer::Reply Collection(const ReplayServer::Request& request)
{
    QJsonArray data;
    QJsonArray notFound;
    for (const QJsonValue& each : QJsonDocument::fromJson(request.body).object()["identifiers"].toArray()) {
        const QJsonObject identifier = each.toObject();
        if (identifier["set"].toString() == QLatin1String("xxx")) {
            notFound.append(identifier);
            continue;
        }
        const QString id = identifier.contains("id") ? identifier["id"].toString() : QStringLiteral("set-number-id");
        const QString number = identifier.contains("id") ? QString::number(id.right(12).toInt())
                                                         : identifier["collector_number"].toString();
        data.append(QJsonObject{{"object", "card"}, {"id", id}, {"set", identifier.value("set").toString("tst")},
                                {"collector_number", number},
                                {"prices", QJsonObject{{"usd", number + ".00"}, {"usd_foil", QJsonValue()},
                                                       {"eur_foil", number + ".50"}}}});
    }
    ReplayServer::Reply reply;
    reply.body = QJsonDocument(QJsonObject{{"object", "list"}, {"not_found", notFound}, {"data", data}}).toJson();
    reply.headers = {{"Content-Type", "application/json"}};
    return reply;
}

struct Outcome {
    std::vector<PricedCard> priced;
    std::vector<UnpricedCard> unpriced;
    std::vector<PriceEntry> entries;
    int skipped = 0;
    int requests = 0;
};

Outcome Refresh(LookupService& service, const std::vector<Card>& cards, bool again = false)
{
    std::vector<PricedCard> rows;
    for (std::size_t row = 0; row < cards.size(); ++row)
        rows.push_back({int(row), cards[row]});
    MarketRefresh refresh(service);
    bool finished = false;
    QObject::connect(&refresh, &MarketRefresh::Finished, [&finished] { finished = true; });
    refresh.Start(rows, TextEncoding::Utf8, kToday, again);
    if (!QTest::qWaitFor([&finished] { return finished; }, 60000))
        qFatal("the refresh did not finish");
    return {refresh.Priced(), refresh.Unpriced(), refresh.HistoryEntries(), refresh.SkippedToday(), refresh.Requests()};
}

} // namespace

class TestMarketRefresh : public QObject {
    Q_OBJECT

private slots:
    // A thousand printings go in fourteen requests, at Scryfall's pace and no
    // slower: the time is printed for the record, not asserted.
    void scryfallInBatchesAtItsPace()
    {
        ReplayServer server;
        server.Respond("/scryfall/cards/collection", Collection);
        LookupService service{CardSources(server.Base())};
        std::vector<Card> cards;
        for (int i = 1; i <= 1000; ++i)
            cards.push_back(MagicCard(i));
        // The same printing twice is asked once and valued twice.
        cards.push_back(MagicCard(7));
        QElapsedTimer clock;
        clock.start();
        const Outcome outcome = Refresh(service, cards);
        qInfo("1,000 Magic Cards refreshed in %lld ms", clock.elapsed());

        QCOMPARE(server.Count("/scryfall/cards/collection"), 14);
        QCOMPARE(outcome.requests, 14);
        for (const ReplayServer::Request& request : server.Requests()) {
            QCOMPARE(request.method, QByteArray("POST"));
            QCOMPARE(request.headers.value("content-type"), QByteArray("application/json"));
            QVERIFY(request.headers.value("user-agent").startsWith("Quillmark/"));
            QVERIFY(QJsonDocument::fromJson(request.body).object()["identifiers"].toArray().size() <= 75);
        }
        for (qsizetype i = 1; i < server.Requests().size(); ++i)
            QVERIFY(server.Requests()[i].atMs - server.Requests()[i - 1].atMs >= 490);
        QCOMPARE(int(outcome.priced.size()), 1001);
        QCOMPARE(int(outcome.unpriced.size()), 0);
        QCOMPARE(outcome.priced[6].card[MarketField], std::string("$7.00"));
        QCOMPARE(outcome.priced[1000].card[MarketField], std::string("$7.00"));
        QCOMPARE(outcome.priced[0].card[MarketDateField], std::string("2026-12-09"));
        // The rest of the Card is as it was.
        Card expected = cards[0];
        expected[MarketField] = "$1.00";
        expected[MarketDateField] = "2026-12-09";
        QCOMPARE(outcome.priced[0].card, expected);
        QCOMPARE(int(outcome.entries.size()), 1000);
    }

    void setAndNumberFinishAndNotFound()
    {
        ReplayServer server;
        server.Respond("/scryfall/cards/collection", Collection);
        LookupService service{CardSources(server.Base())};
        Card bySet;
        bySet[NameField] = "Kitesail Freebooter";
        bySet[GameField] = "magic";
        bySet[SetCodeField] = "XLN";
        bySet[NumberField] = "96";
        bySet[FinishField] = "foil";
        Card unknown = bySet;
        unknown[SetCodeField] = "xxx";
        Card noGame = bySet;
        noGame[GameField].clear();
        Card plain;
        plain[NameField] = "No printing";
        const Outcome outcome = Refresh(service, {bySet, unknown, noGame, plain});
        QCOMPARE(int(outcome.priced.size()), 1);
        QCOMPARE(outcome.priced[0].card[MarketField], std::string("€96.50"));
        QCOMPARE(int(outcome.unpriced.size()), 2);
        QCOMPARE(outcome.unpriced[0].row, 1);
        QVERIFY(outcome.unpriced[0].why.contains("does not know"));
        QCOMPARE(outcome.unpriced[1].row, 2);
        // A Card that names no printing is not asked about, nor listed.
        QCOMPARE(server.Count("/scryfall/cards/collection"), 1);
        const QJsonArray sent = QJsonDocument::fromJson(server.Requests()[0].body).object()["identifiers"].toArray();
        QCOMPARE(sent[0].toObject(), (QJsonObject{{"set", "xln"}, {"collector_number", "96"}}));
    }

    // What was learnt before the source stopped answering is kept; the rest
    // is listed with the reason, and not asked again.
    void sourceThatDiesHalfway()
    {
        ReplayServer server;
        int asked = 0;
        server.Respond("/scryfall/cards/collection", [&asked](const ReplayServer::Request& request) {
            if (++asked == 1)
                return Collection(request);
            return ReplayServer::Reply{503, "down", {}};
        });
        LookupService service{CardSources(server.Base())};
        std::vector<Card> cards;
        for (int i = 1; i <= 200; ++i)
            cards.push_back(MagicCard(i));
        const Outcome outcome = Refresh(service, cards);
        QCOMPARE(server.Count("/scryfall/cards/collection"), 2);
        QCOMPARE(int(outcome.priced.size()), 75);
        QCOMPARE(int(outcome.unpriced.size()), 125);
        QVERIFY(outcome.unpriced.back().why.contains("503"));
    }

    void tooManyRequestsHoldsTheSource()
    {
        ReplayServer server;
        server.Script("/tcgdex/v2/en/cards/swsh3-1", R"({"id": "swsh3-1", "pricing": {"cardmarket": {"avg": 0.45}}})");
        server.Script("/tcgdex/v2/en/cards/swsh3-2", {429, "{}", {{"Retry-After", "30"}}});
        server.Script("/tcgdex/v2/en/cards/swsh3-3", R"({"id": "swsh3-3", "pricing": {"cardmarket": {"avg": 1}}})");
        LookupService service{CardSources(server.Base())};
        std::vector<Card> cards;
        for (int i = 1; i <= 3; ++i) {
            Card card;
            card[NameField] = "Furret";
            card[PrintField] = "tcgdex:swsh3-" + std::to_string(i);
            cards.push_back(card);
        }
        const Outcome outcome = Refresh(service, cards);
        QCOMPARE(server.Count("/tcgdex/"), 2);
        QCOMPARE(int(outcome.priced.size()), 1);
        QCOMPARE(outcome.priced[0].card[MarketField], std::string("€0.45"));
        QCOMPARE(int(outcome.unpriced.size()), 2);
        QVERIFY(outcome.unpriced[1].why.contains("30 seconds"));
        // Asking again before the time named asks nothing.
        const Outcome again = Refresh(service, {cards[2]});
        QCOMPARE(server.Count("/tcgdex/"), 2);
        QCOMPARE(int(again.unpriced.size()), 1);
    }

    void todaysValuesAreLeftUnlessAsked()
    {
        ReplayServer server;
        server.Respond("/scryfall/cards/collection", Collection);
        LookupService service{CardSources(server.Base())};
        Card valued = MagicCard(5);
        valued[MarketField] = "$4.00";
        valued[MarketDateField] = "2026-12-09";
        Card older = MagicCard(6);
        older[MarketDateField] = "2026-12-08";
        const Outcome outcome = Refresh(service, {valued, older});
        QCOMPARE(outcome.skipped, 1);
        QCOMPARE(int(outcome.priced.size()), 1);
        QCOMPARE(outcome.priced[0].row, 1);
        const Outcome again = Refresh(service, {valued, older}, true);
        QCOMPARE(again.skipped, 0);
        QCOMPARE(int(again.priced.size()), 2);
        QCOMPARE(again.priced[0].card[MarketField], std::string("$5.00"));
    }

    // One request a YGOPRODeck card for all its printings; a set code alone
    // is asked of cardsetsinfo.php.
    void ygoprodeckByCardAndSetCode()
    {
        ReplayServer server;
        server.Script("/ygoprodeck/api/v7/cardinfo.php?id=6983839",
                      R"({"data": [{"id": 6983839, "card_sets": [
                            {"set_code": "SDDC-EN014", "set_rarity": "Common", "set_price": "1.05"},
                            {"set_code": "LOB-001", "set_rarity": "Ultra Rare", "set_price": "22.10"}],
                          "card_prices": [{"tcgplayer_price": "0.25"}]}]})");
        server.Script("/ygoprodeck/api/v7/cardsetsinfo.php?setcode=SDCS-EN043",
                      R"({"id": 1, "set_code": "SDCS-EN043", "set_price": "2.5"})");
        LookupService service{CardSources(server.Base())};
        Card first;
        first[PrintField] = "ygoprodeck:6983839";
        first[SetCodeField] = "SDDC";
        first[NumberField] = "EN014";
        Card second = first;
        second[SetCodeField] = "LOB";
        second[NumberField] = "001";
        Card byCode;
        byCode[GameField] = "yugioh";
        byCode[SetCodeField] = "SDCS";
        byCode[NumberField] = "EN043";
        const Outcome outcome = Refresh(service, {first, second, byCode});
        QCOMPARE(server.Count("/ygoprodeck/"), 2);
        QCOMPARE(int(outcome.priced.size()), 3);
        QCOMPARE(outcome.priced[0].card[MarketField], std::string("$1.05"));
        QCOMPARE(outcome.priced[1].card[MarketField], std::string("$22.10"));
        QCOMPARE(outcome.priced[2].card[MarketField], std::string("$2.5"));
        // Prices change: a second refresh asks again, not the answers kept.
        Refresh(service, {first, second, byCode}, true);
        QCOMPARE(server.Count("/ygoprodeck/"), 4);
    }

    void cancelKeepsWhatWasLearnt()
    {
        ReplayServer server;
        server.Respond("/scryfall/cards/collection", Collection);
        LookupService service{CardSources(server.Base())};
        std::vector<PricedCard> rows;
        for (int i = 1; i <= 300; ++i)
            rows.push_back({i - 1, MagicCard(i)});
        MarketRefresh refresh(service);
        int finished = 0;
        QObject::connect(&refresh, &MarketRefresh::Finished, [&finished] { ++finished; });
        QObject::connect(&refresh, &MarketRefresh::Progress, [&refresh] {
            if (refresh.Answered() == 1)
                refresh.Cancel();
        });
        refresh.Start(rows, TextEncoding::Utf8, kToday, false);
        QVERIFY(QTest::qWaitFor([&finished] { return finished > 0; }, 10000));
        QTest::qWait(700);
        QCOMPARE(finished, 1);
        QCOMPARE(server.Count("/scryfall/"), 1);
        QCOMPARE(int(refresh.Priced().size()), 75);
        QCOMPARE(int(refresh.Unpriced().size()), 225);
        QCOMPARE(service.Outstanding(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMarketRefresh)
#include "test_market_refresh.moc"
