#include "CannedAnswers.h"
#include "collection/lookup/ScryfallAnswer.h"
#include "collection/lookup/TcgdexAnswer.h"
#include "collection/lookup/YgoprodeckAnswer.h"

#include <QTest>

namespace {

// Any answer that cannot be read gives one message and no matches.
void VerifyRefused(const SourceAnswer& answer, const char* source)
{
    QVERIFY(answer.matches.empty());
    QVERIFY(!answer.notFound);
    QVERIFY2(answer.failure.startsWith(QLatin1String(source)), qPrintable(answer.failure));
    QVERIFY(!answer.failure.contains(QLatin1Char('\n')));
}

} // namespace

class TestSourceAnswers : public QObject {
    Q_OBJECT

private slots:
    void scryfall()
    {
        const SourceAnswer card = ReadScryfallAnswer(200, Canned::ScryfallCard);
        QVERIFY(card.failure.isEmpty());
        QCOMPARE(int(card.matches.size()), 1);
        const CardMatch expected{"Kitesail Freebooter", "Ixalan", "2017", "magic", "xln", "96", "nonfoil, foil", "en",
                                 "https://cards.example/normal/96.jpg",
                                 "scryfall:0a1b2c3d-0000-4000-8000-000000000096"};
        QCOMPARE(card.matches[0], expected);

        const SourceAnswer list = ReadScryfallAnswer(200, Canned::ScryfallList);
        QCOMPARE(int(list.matches.size()), 2);
        // A card of two faces shows its front.
        QCOMPARE(list.matches[0].picture, std::string("https://cards.example/front/51.jpg"));
        QCOMPARE(list.matches[1].language, std::string("ja"));
        QCOMPARE(list.matches[1].series, std::string("Innistrad: Midnight Hunt"));

        const SourceAnswer missing = ReadScryfallAnswer(404, Canned::ScryfallNotFound);
        QVERIFY(missing.notFound);
        QVERIFY(missing.matches.empty());
        QVERIFY(missing.failure.contains(QLatin1String("No card found")));
    }

    void tcgdex()
    {
        const SourceAnswer card = ReadTcgdexCard(200, Canned::TcgdexCard, "en");
        QCOMPARE(int(card.matches.size()), 1);
        const CardMatch expected{"Furret", "Darkness Ablaze", "", "pokemon", "swsh3", "136", "normal, reverse", "en",
                                 "https://assets.example/en/swsh/swsh3/136/high.png", "tcgdex:swsh3-136"};
        QCOMPARE(card.matches[0], expected);

        // Brief cards: the set from the id, a number that came as a number,
        // no picture where none is given.
        const SourceAnswer list = ReadTcgdexCards(200, Canned::TcgdexCards, "fr");
        QCOMPARE(int(list.matches.size()), 3);
        QCOMPARE(list.matches[1].picture, std::string(""));
        QCOMPARE(list.matches[2].setcode, std::string("neo2"));
        QCOMPARE(list.matches[2].number, std::string("29"));
        QCOMPARE(list.matches[2].language, std::string("fr"));

        TcgdexSet set;
        QVERIFY(ReadTcgdexSet(200, Canned::TcgdexSwsh3, set));
        QCOMPARE(set.name, std::string("Darkness Ablaze"));
        QCOMPARE(set.year, std::string("2020"));
        QVERIFY(!ReadTcgdexSet(404, Canned::TcgdexNotFound, set));

        const SourceAnswer missing = ReadTcgdexCard(404, Canned::TcgdexNotFound, "en");
        QVERIFY(missing.notFound);
        QVERIFY(missing.matches.empty());
        QCOMPARE(TcgdexSetOf("sv03.5-001"), std::string("sv03.5"));
    }

    void ygoprodeck()
    {
        const SourceAnswer cards = ReadYgoprodeckCards(200, Canned::YgoCards);
        QCOMPARE(int(cards.matches.size()), 2);
        const CardMatch expected{"Tornado Dragon", "Battles of Legend: Light's Revenge", "", "yugioh", "BLLR", "EN001",
                                 "Ultra Rare", "en", "https://images.example/cards/6983839.jpg", "ygoprodeck:6983839"};
        QCOMPARE(cards.matches[0], expected);
        QCOMPARE(cards.matches[1].setcode, std::string("SDCS"));

        const SourceAnswer printing = ReadYgoprodeckSetCode(200, Canned::YgoSetInfo);
        QCOMPARE(int(printing.matches.size()), 1);
        QCOMPARE(printing.matches[0].print, std::string("ygoprodeck:6983839"));
        QCOMPARE(printing.matches[0].number, std::string("EN043"));

        const SourceAnswer sets = ReadYgoprodeckSets(200, Canned::YgoSets);
        QCOMPARE(int(sets.matches.size()), 2);
        QCOMPARE(sets.matches[1].series, std::string("Structure Deck: Cyber Strike"));
        QCOMPARE(sets.matches[1].year, std::string("2023"));

        const SourceAnswer missing = ReadYgoprodeckCards(400, Canned::YgoNotFound);
        QVERIFY(missing.notFound);
        QVERIFY(missing.failure.contains(QLatin1String("No card matching")));
    }

    // Broken JSON, JSON of another shape, cards without what every card has:
    // refused whole, never read in part.
    void unreadableAnswers()
    {
        VerifyRefused(ReadScryfallAnswer(200, "{\"object\": \"card\", \"name\": "), "Scryfall");
        VerifyRefused(ReadScryfallAnswer(200, "[1, 2, 3]"), "Scryfall");
        VerifyRefused(ReadScryfallAnswer(200, R"({"object": "list", "data": {"name": "x"}})"), "Scryfall");
        VerifyRefused(ReadScryfallAnswer(200, R"({"object": "list", "data": [{"name": "Opt", "id": "1"}, {"name": 7}]})"),
                      "Scryfall");
        VerifyRefused(ReadScryfallAnswer(200, ""), "Scryfall");
        VerifyRefused(ReadTcgdexCards(200, R"({"id": "swsh3-136"})", "en"), "TCGdex");
        VerifyRefused(ReadTcgdexCards(200, R"([{"id": "swsh3-136", "name": "Furret"}, "Furret"])", "en"), "TCGdex");
        VerifyRefused(ReadTcgdexCard(200, "<html>busy</html>", "en"), "TCGdex");
        VerifyRefused(ReadYgoprodeckCards(200, R"({"data": "none"})"), "YGOPRODeck");
        VerifyRefused(ReadYgoprodeckCards(200, R"({"data": [{"name": "Kuriboh"}]})"), "YGOPRODeck");
        VerifyRefused(ReadYgoprodeckSetCode(200, R"({"id": "1", "name": "Kuriboh"})"), "YGOPRODeck");
        VerifyRefused(ReadYgoprodeckSets(200, R"({"set_name": "LOB"})"), "YGOPRODeck");
    }
};

QTEST_GUILESS_MAIN(TestSourceAnswers)
#include "test_source_answers.moc"
