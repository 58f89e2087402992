#include "CannedAnswers.h"
#include "collection/lookup/CardLookup.h"
#include "collection/lookup/LookupService.h"
#include "collection/lookup/RequestPace.h"
#include "support/ReplayServer.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct Outcome {
    std::vector<CardMatch> matches;
    int batches = 0;
    QString failure;
    bool finished = false;
};

Outcome Look(LookupService& service, const QString& typed, CardGame game = CardGame::Any)
{
    Outcome outcome;
    CardLookup lookup(service);
    QObject::connect(&lookup, &CardLookup::MatchesFound, [&outcome](const std::vector<CardMatch>& found) {
        outcome.matches.insert(outcome.matches.end(), found.begin(), found.end());
        ++outcome.batches;
    });
    QObject::connect(&lookup, &CardLookup::Finished, [&outcome](const QString& failure) {
        outcome.failure = failure;
        outcome.finished = true;
    });
    lookup.Start(typed, game);
    if (!QTest::qWaitFor([&outcome] { return outcome.finished; }, 15000))
        qFatal("the lookup did not finish");
    return outcome;
}

} // namespace

class TestCardLookup : public QObject {
    Q_OBJECT

private slots:
    void printOfEachGame()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/96", Canned::ScryfallCard);
        server.Script("/tcgdex/v2/en/cards/swsh3-136", Canned::TcgdexCard);
        server.Script("/tcgdex/v2/en/sets/swsh3", Canned::TcgdexSwsh3);
        server.Script("/ygoprodeck/api/v7/cardsetsinfo.php?setcode=SDCS-EN043", Canned::YgoSetInfo);
        server.Script("/ygoprodeck/api/v7/cardinfo.php?id=6983839", Canned::YgoCards);
        server.Script("/ygoprodeck/api/v7/cardsets.php", Canned::YgoSets);
        LookupService service{CardSources(server.Base())};

        const Outcome magic = Look(service, QStringLiteral("XLN 96"));
        QCOMPARE(magic.failure, QString());
        QCOMPARE(int(magic.matches.size()), 1);
        QCOMPARE(magic.matches[0].name, std::string("Kitesail Freebooter"));

        // The year comes from the card's set.
        const Outcome pokemon = Look(service, QStringLiteral("swsh3-136"));
        QCOMPARE(pokemon.failure, QString());
        QCOMPARE(int(pokemon.matches.size()), 1);
        QCOMPARE(pokemon.matches[0].year, std::string("2020"));

        // The set code's printing, with the picture of the card's own answer
        // and the year of the list of sets.
        const Outcome yugioh = Look(service, QStringLiteral("sdcs-en043"));
        QCOMPARE(yugioh.failure, QString());
        QCOMPARE(int(yugioh.matches.size()), 1);
        QCOMPARE(yugioh.matches[0].series, std::string("Structure Deck: Cyber Strike"));
        QCOMPARE(yugioh.matches[0].year, std::string("2023"));
        QCOMPARE(yugioh.matches[0].picture, std::string("https://images.example/cards/6983839.jpg"));

        // A name: every printing, each with its set's year.
        server.Script("/ygoprodeck/api/v7/cardinfo.php?fname=tornado", Canned::YgoCards);
        const Outcome name = Look(service, QStringLiteral("tornado"), CardGame::Yugioh);
        QCOMPARE(int(name.matches.size()), 2);
        QCOMPARE(name.matches[0].year, std::string("2020"));
        QCOMPARE(server.Count("/ygoprodeck/api/v7/cardsets.php"), 1);

        // Every request names the program and asks for JSON.
        QCOMPARE(server.Requests().size(), 7);
        for (const ReplayServer::Request& request : server.Requests()) {
            QCOMPARE(request.headers.value("user-agent"), "Quillmark/" QUILLMARK_VERSION);
            QCOMPARE(request.headers.value("accept"), QByteArray("application/json"));
        }
    }

    // A name goes to every source; each set's cards come as the set answers,
    // and Scryfall, finding no printing, is asked for its guess.
    void nameOnEverySource()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/search?q=furret&unique=prints", Canned::ScryfallNotFound, 404);
        server.Script("/scryfall/cards/named?fuzzy=furret", Canned::ScryfallNotFound, 404);
        server.Script("/tcgdex/v2/en/cards?name=furret", Canned::TcgdexCards);
        server.Script("/tcgdex/v2/en/sets/swsh3", Canned::TcgdexSwsh3);
        server.Script("/tcgdex/v2/en/sets/neo2", Canned::TcgdexNotFound, 404);
        server.Script("/ygoprodeck/api/v7/cardinfo.php?fname=furret", Canned::YgoNotFound, 400);
        LookupService service{CardSources(server.Base())};

        const Outcome outcome = Look(service, QStringLiteral("furret"));
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.batches, 2);
        QCOMPARE(int(outcome.matches.size()), 3);
        int named = 0;
        for (const CardMatch& match : outcome.matches) {
            QCOMPARE(match.game, std::string("pokemon"));
            named += match.series == "Darkness Ablaze" ? 1 : 0;
        }
        QCOMPARE(named, 2);
        QCOMPARE(server.Count("/scryfall/cards/named?fuzzy=furret"), 1);
    }

    // A print guessed from its shape that no source knows is looked up as a
    // name; a game given keeps it a print.
    void unknownPrint()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/999", Canned::ScryfallNotFound, 404);
        server.Script("/scryfall/cards/search?q=xln 999&unique=prints", Canned::ScryfallNotFound, 404);
        server.Script("/scryfall/cards/named?fuzzy=xln 999", Canned::ScryfallNotFound, 404);
        server.Script("/tcgdex/v2/en/cards?name=xln 999", "[]");
        server.Script("/ygoprodeck/api/v7/cardinfo.php?fname=xln 999", Canned::YgoNotFound, 400);
        LookupService service{CardSources(server.Base())};

        const Outcome given = Look(service, QStringLiteral("xln 999"), CardGame::Magic);
        QCOMPARE(given.failure, QStringLiteral("No card was found for \u201cxln 999\u201d."));
        QCOMPARE(server.Requests().size(), 1);

        const Outcome guessed = Look(service, QStringLiteral("xln 999"));
        QCOMPARE(guessed.failure, QStringLiteral("No card was found for \u201cxln 999\u201d."));
        QCOMPARE(server.Count("/scryfall/cards/xln/999"), 1);
        QCOMPARE(server.Count("/scryfall/cards/search?q=xln 999"), 1);
        QCOMPARE(server.Count("/tcgdex/v2/en/cards?name=xln 999"), 1);
        QCOMPARE(server.Count("/ygoprodeck/api/v7/cardinfo.php?fname=xln 999"), 1);
    }

    void answersKeptForTheProcess()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/96", Canned::ScryfallCard);
        LookupService service{CardSources(server.Base())};
        const Outcome first = Look(service, QStringLiteral("xln 96"));
        const Outcome second = Look(service, QStringLiteral("xln 96"));
        QCOMPARE(second.matches, first.matches);
        QCOMPARE(server.Requests().size(), 1);
    }

    // Scryfall takes two searches a second, measured where they arrive: the
    // k-th comes no sooner than k half seconds after the first was asked
    // for, however late a busy machine delivers any of them.
    void searchesKeepScryfallsPace()
    {
        ReplayServer server;
        LookupService service{CardSources(server.Base())};
        std::vector<std::unique_ptr<CardLookup>> lookups;
        int finished = 0;
        const qint64 started = server.Now();
        for (const char* name : {"opt", "shock", "duress"}) {
            server.Script(QByteArray("/scryfall/cards/search?q=") + name + "&unique=prints", Canned::ScryfallList);
            lookups.push_back(std::make_unique<CardLookup>(service));
            connect(lookups.back().get(), &CardLookup::Finished, this, [&finished] { ++finished; });
            lookups.back()->Start(QString::fromLatin1(name), CardGame::Magic);
        }
        QVERIFY(QTest::qWaitFor([&] { return finished == 3; }, 10000));
        const QList<ReplayServer::Request>& searches = server.Requests();
        QCOMPARE(searches.size(), 3);
        for (int k = 1; k < 3; ++k)
            QVERIFY2(searches[k].atMs - started >= k * 500, qPrintable(QString::number(searches[k].atMs - started)));
    }

    void paceArithmetic()
    {
        RequestPace pace(100, 500);
        QCOMPARE(pace.Book(1000, true), 1000);
        QCOMPARE(pace.Book(1000, false), 1100);
        QCOMPARE(pace.Book(1000, true), 1500);
        QCOMPARE(pace.Book(1000, false), 1600);
        // Time that passed unused is not saved up.
        QCOMPARE(pace.Book(5000, false), 5000);
        QCOMPARE(pace.HeldFor(5000), 0);
        pace.HoldUntil(8000);
        pace.HoldUntil(7000);
        QCOMPARE(pace.HeldFor(5000), 3000);
        QCOMPARE(pace.HeldFor(9000), 0);
    }

    // Told to wait, the lookup says so and the source is left alone until
    // then: no second request, not even for another lookup.
    void tooManyRequests()
    {
        ReplayServer server;
        ReplayServer::Reply busy;
        busy.status = 429;
        busy.headers = {{"Retry-After", "120"}};
        server.Script("/scryfall/cards/xln/96", busy);
        LookupService service{CardSources(server.Base())};

        const Outcome first = Look(service, QStringLiteral("xln 96"), CardGame::Magic);
        QCOMPARE(first.failure,
                 QStringLiteral("Scryfall asks Quillmark to wait 120 seconds before asking it again; try again then."));
        const Outcome second = Look(service, QStringLiteral("xln 97"), CardGame::Magic);
        QVERIFY2(second.failure.startsWith(QLatin1String("Scryfall asks Quillmark to wait 1")),
                 qPrintable(second.failure));
        QCOMPARE(server.Requests().size(), 1);
    }

    void faultyAnswers()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/96", "{\"object\": \"card\", \"name\": \"Kitesail");
        server.Script("/scryfall/cards/xln/97", "<html>down for maintenance</html>", 503);
        LookupService service{CardSources(server.Base())};

        const Outcome broken = Look(service, QStringLiteral("xln 96"), CardGame::Magic);
        QVERIFY(broken.matches.empty());
        QVERIFY2(broken.failure.startsWith(QLatin1String("Scryfall sent an answer Quillmark cannot read")),
                 qPrintable(broken.failure));
        const Outcome down = Look(service, QStringLiteral("xln 97"), CardGame::Magic);
        QCOMPARE(down.failure, QStringLiteral("Scryfall answered with HTTP status 503."));
        // Faults are not kept: asking again asks again.
        Look(service, QStringLiteral("xln 97"), CardGame::Magic);
        QCOMPARE(server.Count("/scryfall/cards/xln/97"), 2);
    }

    // An answer that never ends, and one that never starts.
    void silentSources()
    {
        ReplayServer server;
        ReplayServer::Reply endless;
        endless.endless = true;
        server.Script("/scryfall/cards/xln/96", endless);
        ReplayServer::Reply late;
        late.delayMs = 5000;
        late.body = Canned::ScryfallCard;
        server.Script("/scryfall/cards/xln/97", late);
        LookupService service{CardSources(server.Base()), 300};

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Look(service, QStringLiteral("xln 96"), CardGame::Magic).failure,
                 QStringLiteral("Scryfall did not answer in time; try again later."));
        QCOMPARE(Look(service, QStringLiteral("xln 97"), CardGame::Magic).failure,
                 QStringLiteral("Scryfall did not answer in time; try again later."));
        QVERIFY(clock.elapsed() < 4000);
    }

    // Cancelled while waiting its turn, or while the answer is on its way:
    // nothing more is heard of it.
    void cancel()
    {
        ReplayServer server;
        ReplayServer::Reply late;
        late.delayMs = 300;
        late.body = Canned::ScryfallCard;
        server.Script("/scryfall/cards/xln/96", late);
        LookupService service{CardSources(server.Base())};
        CardLookup lookup(service);
        QSignalSpy found(&lookup, &CardLookup::MatchesFound);
        QSignalSpy finished(&lookup, &CardLookup::Finished);

        lookup.Start(QStringLiteral("xln 96"), CardGame::Magic);
        lookup.Cancel();
        QVERIFY(!lookup.Running());
        QTest::qWait(100);
        QCOMPARE(server.Requests().size(), 0);

        lookup.Start(QStringLiteral("xln 96"), CardGame::Magic);
        QVERIFY(QTest::qWaitFor([&] { return server.Requests().size() == 1; }, 5000));
        lookup.Cancel();
        QTest::qWait(600);
        QCOMPARE(found.size(), 0);
        QCOMPARE(finished.size(), 0);

        // A lookup started from within another's signal replaces it cleanly.
        server.Script("/scryfall/cards/xln/98", Canned::ScryfallCard);
        bool restarted = false;
        connect(&lookup, &CardLookup::MatchesFound, this, [&] {
            if (!restarted) {
                restarted = true;
                lookup.Start(QStringLiteral("xln 98"), CardGame::Magic);
            }
        });
        lookup.Start(QStringLiteral("xln 96"), CardGame::Magic);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toString(), QString());
        QCOMPARE(server.Count("/scryfall/cards/xln/98"), 1);
    }

    // Cancelled on its first matches, a lookup asks and says nothing more,
    // though more matches of the same answer were on their way.
    void cancelFromItsOwnMatches()
    {
        ReplayServer server;
        server.Script("/tcgdex/v2/en/cards?name=furret",
                      R"([{"id": "promo7", "localId": "7", "name": "Furret"}, {"id": "swsh3-136", "localId": "136", "name": "Furret"}])");
        LookupService service{CardSources(server.Base())};
        CardLookup lookup(service);
        QSignalSpy finished(&lookup, &CardLookup::Finished);
        int batches = 0;
        connect(&lookup, &CardLookup::MatchesFound, this, [&] {
            ++batches;
            lookup.Cancel();
        });
        lookup.Start(QStringLiteral("furret"), CardGame::Pokemon);
        QVERIFY(QTest::qWaitFor([&] { return batches > 0; }, 5000));
        QTest::qWait(300);
        QCOMPARE(batches, 1);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(server.Count("/tcgdex/v2/en/sets/"), 0);
    }

    void emptyQuery()
    {
        LookupService service{CardSources(QStringLiteral("http://127.0.0.1:9"))};
        QCOMPARE(Look(service, QStringLiteral("   ")).failure,
                 QStringLiteral("Type part of a card's name, or a set and number, to look it up."));
    }
};

QTEST_GUILESS_MAIN(TestCardLookup)
#include "test_card_lookup.moc"
