#include "CannedSets.h"
#include "collection/CardTableModel.h"
#include "collection/lookup/LookupService.h"
#include "collection/sets/SetCardsFetch.h"
#include "collection/sets/SetCompletion.h"
#include "collection/sets/SetSizeCache.h"
#include "collection/sets/SetSizeFetch.h"
#include "support/ReplayServer.h"
#include "support/TableRows.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

Card Printing(std::string game, std::string code, std::string number)
{
    Card card;
    card[NameField] = "Card";
    card[GameField] = std::move(game);
    card[SetCodeField] = std::move(code);
    card[NumberField] = std::move(number);
    return card;
}

// Fetches the sizes of the sets the Cards name; the failures reported.
QString FetchSizes(LookupService& service, SetSizeCache& cache, const std::vector<SetProgress>& sets)
{
    SetSizeFetch fetch(service, cache);
    bool finished = false;
    QString failures;
    QObject::connect(&fetch, &SetSizeFetch::Finished, [&](const QString& why) {
        failures = why;
        finished = true;
    });
    fetch.Start(sets);
    if (!QTest::qWaitFor([&finished] { return finished; }, 15000))
        qFatal("the sizes were not fetched");
    return failures;
}

std::vector<SetCard> FetchCards(LookupService& service, const std::string& game, const std::string& code,
                                const std::string& name, QString& failure)
{
    SetCardsFetch fetch(service);
    bool finished = false;
    std::vector<SetCard> cards;
    QObject::connect(&fetch, &SetCardsFetch::Finished, [&](const std::vector<SetCard>& listed, const QString& why) {
        cards = listed;
        failure = why;
        finished = true;
    });
    fetch.Start(game, code, name);
    if (!QTest::qWaitFor([&finished] { return finished; }, 15000))
        qFatal("the cards were not fetched");
    return cards;
}

} // namespace

class TestSetFetch : public QObject {
    Q_OBJECT

private slots:
    // Each source's answer read; every set asked for once, the cache kept
    // in its file for the next process.
    void sizesFetchedOnceAndCached()
    {
        ReplayServer server;
        server.Script("/scryfall/sets/xln", CannedSets::ScryfallXln);
        server.Script("/tcgdex/v2/en/sets/swsh3", CannedSets::TcgdexSwsh3);
        server.Script("/ygoprodeck/api/v7/cardsets.php", CannedSets::YgoSets);
        server.Script("/scryfall/sets/zzz", CannedSets::ScryfallNoSet, 404);
        LookupService service{CardSources(server.Base())};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cache/set-sizes.txt"));
        CardTableModel table;
        SetTableRows(table, {Printing("magic", "XLN", "1"), Printing("pokemon", "swsh3", "1"),
                             Printing("yugioh", "LOB", "EN001"), Printing("yugioh", "SDDC", "EN001"),
                             Printing("magic", "zzz", "1"), Printing("chess", "x", "1")});
        {
            SetSizeCache cache(path);
            const QString failures = FetchSizes(service, cache, SetsOf(table));
            QVERIFY2(failures.startsWith(QStringLiteral("zzz: ")), qPrintable(failures));
            QCOMPARE(cache.Find("magic", "xln"), (SetSize{279, "Ixalan"}));
        }
        QCOMPARE(server.Count("/ygoprodeck/"), 1);
        SetSizeCache cache(path);
        QCOMPARE(cache.Find("MAGIC", "XLN"), (SetSize{279, "Ixalan"}));
        QCOMPARE(cache.Find("pokemon", "swsh3"), (SetSize{189, "Darkness Ablaze"}));
        QCOMPARE(cache.Find("yugioh", "lob"), (SetSize{126, "Legend of Blue Eyes White Dragon"}));
        QVERIFY(!cache.Find("magic", "zzz"));

        // Known sizes are not asked again by the next process; the unknown one is.
        const int asked = int(server.Requests().size());
        LookupService later{CardSources(server.Base())};
        FetchSizes(later, cache, SetsOf(table));
        QCOMPARE(int(server.Requests().size()), asked + 1);
        QCOMPARE(server.Requests().last().target, QByteArray("/scryfall/sets/zzz"));
    }

    // Scryfall's search followed page after page; prices where given.
    void cardsOfEachSource()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/search?q=e:xln&unique=prints&order=set",
                      QByteArray(CannedSets::ScryfallSearchFirst).replace("BASE", server.Base().toUtf8()));
        server.Script("/scryfall/cards/search?q=e:xln&unique=prints&order=set&page=2", CannedSets::ScryfallSearchLast);
        server.Script("/tcgdex/v2/en/sets/swsh3", CannedSets::TcgdexSwsh3);
        server.Script("/ygoprodeck/api/v7/cardinfo.php?cardset=Legend of Blue Eyes", CannedSets::YgoCardsOfSet);
        LookupService service{CardSources(server.Base())};
        QString failure;
        const std::vector<SetCard> magic = FetchCards(service, "magic", "xln", "Ixalan", failure);
        QCOMPARE(failure, QString());
        QCOMPARE(magic, (std::vector<SetCard>{{"One", "1", "$0.25"}, {"Two", "2", "\xe2\x82\xac" "0.10"}, {"Three", "3a", ""}}));
        QCOMPARE(FetchCards(service, "pokemon", "swsh3", "", failure), (std::vector<SetCard>{{"Butterfree V", "1", ""}}));
        QCOMPARE(FetchCards(service, "yugioh", "LOB", "Legend of Blue Eyes", failure),
                 (std::vector<SetCard>{{"Dragon", "EN001", "$12.50"}}));
        QCOMPARE(failure, QString());

        FetchCards(service, "magic", "none", "", failure);
        QVERIFY(!failure.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSetFetch)
#include "test_set_fetch.moc"
