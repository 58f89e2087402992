#include "collection/CardTableModel.h"
#include "collection/sets/MissingCards.h"
#include "collection/sets/SetCompletion.h"
#include "collection/sets/SetNumber.h"
#include "support/TableRows.h"

#include <QTest>

namespace {

Card Printing(std::string game, std::string code, std::string number, std::string quantity = {},
              std::string series = {})
{
    Card card;
    card[NameField] = "Card " + number;
    card[SeriesField] = std::move(series);
    card[QuantityField] = std::move(quantity);
    card[GameField] = std::move(game);
    card[SetCodeField] = std::move(code);
    card[NumberField] = std::move(number);
    return card;
}

QStringList Owned(const SetProgress& set)
{
    QStringList keys;
    for (const std::string& key : set.owned)
        keys << QString::fromStdString(key);
    return keys;
}

} // namespace

class TestSetCompletion : public QObject {
    Q_OBJECT

private slots:
    void numberKeys_data()
    {
        QTest::addColumn<QByteArray>("game");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("leading zeros") << QByteArray("magic") << QByteArray("012") << QByteArray("12");
        QTest::newRow("zero") << QByteArray("magic") << QByteArray("000") << QByteArray("0");
        QTest::newRow("letter after") << QByteArray("magic") << QByteArray("136A") << QByteArray("136a");
        QTest::newRow("letters before") << QByteArray("pokemon") << QByteArray("TG05") << QByteArray("tg5");
        QTest::newRow("region") << QByteArray("yugioh") << QByteArray("EN014") << QByteArray("14");
        QTest::newRow("region of one letter") << QByteArray("yugioh") << QByteArray("E014") << QByteArray("14");
        QTest::newRow("no digits") << QByteArray("magic") << QByteArray("promo") << QByteArray();
        QTest::newRow("spaces") << QByteArray("magic") << QByteArray(" 7 ") << QByteArray("7");
    }
    void numberKeys()
    {
        QFETCH(QByteArray, game);
        QFETCH(QByteArray, number);
        QFETCH(QByteArray, key);
        QCOMPARE(QByteArray::fromStdString(SetNumberKey(game.toStdString(), number.toStdString())), key);
    }

    // Sets by game and code in either case, numbers held counted once, a
    // Card with no copy not held, a TCGdex print telling its set.
    void countsDistinctNumbersHeld()
    {
        Card print;
        print[QuantityField] = "1";
        print[PrintField] = "tcgdex:swsh3-136";
        CardTableModel table;
        SetTableRows(table, {Printing("Magic", "XLN", "012", "2", "Ixalan"), Printing("magic", "xln", "12"),
                             Printing("magic", "xln", "13", "0"), Printing("magic", "xln", "14", "1 000"),
                             Printing("magic", "xln", "136a"), Printing("magic", "xln", "300"),
                             Printing("magic", "", "5"), Printing("", "abc", "5"), print,
                             Printing("yugioh", "SDDC", "EN001", "x")});
        const std::vector<SetProgress> sets = SetsOf(table);
        QCOMPARE(int(sets.size()), 3);
        const SetProgress& ixalan = sets[0];
        QCOMPARE(ixalan.game, std::string("magic"));
        QCOMPARE(ixalan.code, std::string("XLN"));
        QCOMPARE(ixalan.name, std::string("Ixalan"));
        QCOMPARE(ixalan.cards, 6);
        QCOMPARE(Owned(ixalan), QStringList({"12", "136a", "14", "300"}));
        QCOMPARE(OwnedPlaces(ixalan, 20), 2);
        QCOMPARE(MissingPlaces(ixalan, 20).size(), std::size_t(18));
        QCOMPARE(PlacesText(MissingPlaces(ixalan, 20)), std::string("1-11, 13, 15-20"));
        QCOMPARE(sets[1].code, std::string("swsh3"));
        QCOMPARE(Owned(sets[1]), QStringList({"136"}));
        // An unreadable Quantity holds nothing.
        QCOMPARE(sets[2].code, std::string("SDDC"));
        QVERIFY(sets[2].owned.empty());
        QCOMPARE(PlacesText({1, 2, 4, 5, 6, 9}), std::string("1, 2, 4-6, 9"));
    }

    // The list less the numbers held; wanted Cards only for numbers no Card
    // of the set has yet.
    void missingAndWantedCards()
    {
        CardTableModel table;
        SetTableRows(table, {Printing("magic", "xln", "2", "1", "Ixalan"), Printing("magic", "xln", "3", "0")});
        const SetProgress set = SetsOf(table).front();
        const std::vector<SetCard> listed = {{"One", "1", "$0.10"}, {"Two", "002", ""}, {"Three", "3", ""},
                                             {"One again", "01", ""}, {"Caf\xc3\xa9", "4", "$1.00"}};
        const std::vector<SetCard> missing = MissingCards(set, listed);
        QCOMPARE(int(missing.size()), 3);
        QCOMPARE(missing[0].name, std::string("One"));
        QCOMPARE(missing[1].name, std::string("Three"));

        const std::vector<Card> wanted = WantedCards(set, missing, TextEncoding::Windows1252);
        QCOMPARE(int(wanted.size()), 2);
        QCOMPARE(wanted[0][NameField], std::string("One"));
        QCOMPARE(wanted[0][SeriesField], std::string("Ixalan"));
        QCOMPARE(wanted[0][QuantityField], std::string("0"));
        QCOMPARE(wanted[0][WantField], std::string("1"));
        QCOMPARE(wanted[0][GameField], std::string("magic"));
        QCOMPARE(wanted[0][SetCodeField], std::string("xln"));
        QCOMPARE(wanted[0][NumberField], std::string("1"));
        QCOMPARE(wanted[1][NameField], std::string("Caf\xe9"));
    }
};

QTEST_GUILESS_MAIN(TestSetCompletion)
#include "test_set_completion.moc"
