#include "collection/prices/MarketPrice.h"
#include "collection/prices/PrintingKey.h"

#include <QJsonDocument>
#include <QTest>

namespace {

QJsonObject Json(const char* text)
{
    return QJsonDocument::fromJson(text).object();
}

QString Text(const std::optional<MarketValue>& value)
{
    return value ? MarketText(*value) : QStringLiteral("none");
}

} // namespace

class TestMarketPrice : public QObject {
    Q_OBJECT

private slots:
    void scryfallByFinish_data()
    {
        QTest::addColumn<QByteArray>("prices");
        QTest::addColumn<QString>("finish");
        QTest::addColumn<QString>("expected");
        const QByteArray all = R"({"usd": "1.23", "usd_foil": "4.50", "usd_etched": "9", "eur": "1.10",
                                   "eur_foil": "3.90"})";
        QTest::newRow("nonfoil") << all << "nonfoil" << "$1.23";
        QTest::newRow("foil") << all << "foil" << "$4.50";
        QTest::newRow("etched") << all << "etched" << "$9";
        QTest::newRow("as the lookup fills it") << all << "nonfoil, foil" << "$1.23";
        QTest::newRow("euros when no dollars") << QByteArray(R"({"usd": null, "usd_foil": null, "eur_foil": "0.45"})")
                                               << "foil" << "€0.45";
        QTest::newRow("another finish's price is not this one's")
            << QByteArray(R"({"usd": null, "usd_foil": "4.50"})") << "nonfoil" << "none";
        QTest::newRow("no finish: the first price there is")
            << QByteArray(R"({"usd": null, "usd_foil": "4.50"})") << "" << "$4.50";
        QTest::newRow("zero and nonsense are no price")
            << QByteArray(R"({"usd": "0.00", "eur": "n/a"})") << "nonfoil" << "none";
    }
    void scryfallByFinish()
    {
        QFETCH(QByteArray, prices);
        QFETCH(QString, finish);
        QFETCH(QString, expected);
        const QJsonObject card{{QStringLiteral("prices"), QJsonDocument::fromJson(prices).object()}};
        QCOMPARE(Text(ScryfallMarketValue(card, finish)), expected);
    }

    void tcgdexByVariant()
    {
        const QJsonObject card = Json(R"({"pricing": {
            "cardmarket": {"unit": "EUR", "avg": 0.45, "trend": 0.5, "avg-holo": 2.1},
            "tcgplayer": {"unit": "USD", "normal": {"marketPrice": 0.31},
                          "reverseHolofoil": {"lowPrice": 0.9, "marketPrice": 1.07}}}})");
        QCOMPARE(Text(TcgdexMarketValue(card, QStringLiteral("normal"))), QStringLiteral("$0.31"));
        QCOMPARE(Text(TcgdexMarketValue(card, QStringLiteral("reverse"))), QStringLiteral("$1.07"));
        // No TCGplayer holofoil: Cardmarket's holo average, in euros.
        QCOMPARE(Text(TcgdexMarketValue(card, QStringLiteral("holo"))), QStringLiteral("€2.1"));
        QCOMPARE(Text(TcgdexMarketValue(Json(R"({"pricing": {"cardmarket": {"avg": 0.45}}})"), {})),
                 QStringLiteral("€0.45"));
        QCOMPARE(Text(TcgdexMarketValue(Json(R"({"pricing": null})"), {})), QStringLiteral("none"));
    }

    void ygoprodeckByPrinting()
    {
        const QJsonObject card = Json(R"({"id": 6983839, "card_sets": [
            {"set_code": "SDDC-EN014", "set_rarity": "Common", "set_price": "1.05"},
            {"set_code": "SDDC-EN014", "set_rarity": "Ultra Rare", "set_price": "7.30"},
            {"set_code": "LOB-001", "set_rarity": "Ultra Rare", "set_price": "0"}],
            "card_prices": [{"cardmarket_price": "0.20", "tcgplayer_price": "0.25"}]})");
        QCOMPARE(Text(YgoprodeckMarketValue(card, QStringLiteral("sddc-en014"), QStringLiteral("Ultra Rare"))),
                 QStringLiteral("$7.30"));
        QCOMPARE(Text(YgoprodeckMarketValue(card, QStringLiteral("SDDC-EN014"), {})), QStringLiteral("$1.05"));
        // A printing without its own price: the card's.
        QCOMPARE(Text(YgoprodeckMarketValue(card, QStringLiteral("LOB-001"), {})), QStringLiteral("$0.25"));
    }

    void marketTextReadsBack()
    {
        QCOMPARE(ReadMarketText(QStringLiteral("€0.45")), (MarketValue{"EUR", "0.45"}));
        QCOMPARE(ReadMarketText(QStringLiteral("$12")), (MarketValue{"USD", "12"}));
        QVERIFY(!ReadMarketText(QStringLiteral("12")));
        QVERIFY(!ReadMarketText(QStringLiteral("$1,20")));
    }

    void printingKeys()
    {
        Card card;
        card[PrintField] = "scryfall:abc";
        card[FinishField] = "Foil";
        QCOMPARE(PrintingKey(card, TextEncoding::Utf8), QStringLiteral("scryfall:abc:foil"));
        // A YGOPRODeck id names the card: each printing has a history of its own.
        card[PrintField] = "ygoprodeck:6983839";
        card[SetCodeField] = "SDDC";
        card[NumberField] = "EN014";
        card[FinishField].clear();
        QCOMPARE(PrintingKey(card, TextEncoding::Utf8), QStringLiteral("ygoprodeck:6983839:SDDC-EN014"));
        card[PrintField].clear();
        card[GameField] = "Magic";
        card[SetCodeField] = "XLN";
        card[NumberField] = "96";
        card[FinishField] = "nonfoil";
        QCOMPARE(PrintingKey(card, TextEncoding::Utf8), QStringLiteral("magic:xln:96:nonfoil"));
        card[NumberField].clear();
        QCOMPARE(PrintingKey(card, TextEncoding::Utf8), QString());
    }
};

QTEST_GUILESS_MAIN(TestMarketPrice)
#include "test_market_price.moc"
