#include "collection/lookup/CardQuery.h"

#include <QTest>

Q_DECLARE_METATYPE(CardGame)
Q_DECLARE_METATYPE(CardQuery::Kind)

class TestCardQuery : public QObject {
    Q_OBJECT

private slots:
    void shapes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<CardGame>("game");
        QTest::addColumn<CardQuery::Kind>("kind");
        QTest::addColumn<CardGame>("guessed");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("number");
        using Kind = CardQuery::Kind;
        QTest::newRow("magic print") << "xln 96" << CardGame::Any << Kind::MagicPrint << CardGame::Magic << "xln" << "96";
        QTest::newRow("magic print, capitals and spaces")
            << "  M21   123A " << CardGame::Any << Kind::MagicPrint << CardGame::Magic << "m21" << "123a";
        QTest::newRow("tcgdex id") << "swsh3-136" << CardGame::Any << Kind::PokemonPrint << CardGame::Pokemon << "swsh3"
                                   << "136";
        QTest::newRow("tcgdex id with a dot")
            << "sv03.5-001" << CardGame::Any << Kind::PokemonPrint << CardGame::Pokemon << "sv03.5" << "001";
        QTest::newRow("yugioh code") << "SDDC-EN014" << CardGame::Any << Kind::YugiohPrint << CardGame::Yugioh << "SDDC"
                                     << "EN014";
        QTest::newRow("yugioh code in small letters")
            << "sddc-en014" << CardGame::Any << Kind::YugiohPrint << CardGame::Yugioh << "SDDC" << "EN014";
        QTest::newRow("old yugioh code") << "LOB-001" << CardGame::Any << Kind::YugiohPrint << CardGame::Yugioh << "LOB"
                                         << "001";
        QTest::newRow("name") << "Dark Magician" << CardGame::Any << Kind::Name << CardGame::Any << "" << "";
        QTest::newRow("hyphenated name") << "Half-Elf" << CardGame::Any << Kind::Name << CardGame::Any << "" << "";
        QTest::newRow("name with a number, too long for a set")
            << "Pikachu 25" << CardGame::Any << Kind::Name << CardGame::Any << "" << "";
        // A game given keeps other games' shapes from being read.
        QTest::newRow("magic shape for pokemon is a name")
            << "xln 96" << CardGame::Pokemon << Kind::Name << CardGame::Pokemon << "" << "";
        QTest::newRow("tcgdex id for yugioh is a name")
            << "swsh3-136" << CardGame::Yugioh << Kind::Name << CardGame::Yugioh << "" << "";
        QTest::newRow("given game, its own shape")
            << "swsh3-136" << CardGame::Pokemon << Kind::PokemonPrint << CardGame::Pokemon << "swsh3" << "136";
    }

    void shapes()
    {
        QFETCH(QString, typed);
        QFETCH(CardGame, game);
        const CardQuery query = ParseCardQuery(typed, game);
        QTEST(query.kind, "kind");
        QTEST(query.game, "guessed");
        QTEST(query.set, "set");
        QTEST(query.number, "number");
        QCOMPARE(query.gameGiven, game != CardGame::Any);
    }

    void games()
    {
        CardGame game = CardGame::Magic;
        QVERIFY(ParseCardGame(QStringLiteral("Pokemon"), game));
        QCOMPARE(game, CardGame::Pokemon);
        QVERIFY(ParseCardGame(QString(), game));
        QCOMPARE(game, CardGame::Any);
        QVERIFY(!ParseCardGame(QStringLiteral("chess"), game));
    }
};

QTEST_GUILESS_MAIN(TestCardQuery)
#include "test_card_query.moc"
