#include "collection/CardTableModel.h"
#include "collection/totals/CollectionTotals.h"
#include "collection/totals/TotalsText.h"
#include "support/TableRows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <string>
#include <vector>

namespace {

Card Valued(std::string price, std::string quantity, std::string market, std::string date = {})
{
    Card card;
    card[NameField] = "Card";
    card[PriceField] = std::move(price);
    card[QuantityField] = std::move(quantity);
    card[MarketField] = std::move(market);
    card[MarketDateField] = std::move(date);
    return card;
}

// Each currency's value as AmountText writes it, and its Cards.
QStringList Value(const CollectionTotals& totals)
{
    QStringList words;
    for (const CurrencyValue& each : totals.value)
        words << QStringLiteral("%1 x%2").arg(QString::fromStdString(AmountText(each.currency, each.value))).arg(each.cards);
    return words;
}

QStringList Gains(const std::vector<CardGain>& gains)
{
    QStringList words;
    for (const CardGain& each : gains)
        words << QStringLiteral("%1:%2").arg(each.row).arg(qint64(each.gain));
    return words;
}

} // namespace

class TestCollectionValue : public QObject {
    Q_OBJECT

private slots:
    // Copies count as for what was paid; a Card without a readable MARKET
    // is not valued; a gain needs Price and MARKET in one currency.
    void valuePerCurrency()
    {
        CardTableModel table;
        SetTableRows(table, {Valued("$1.00", "2", "$1.50", "2026-11-05"),
                             Valued("4 \xe2\x82\xac", "3", "\xe2\x82\xac" "3.00", "2026-10-01"),
                             Valued("$5", "", "4,25 \xe2\x82\xac", "not a date"),
                             Valued("$2", "1", ""),
                             Valued("$2", "1", "about 3"),
                             Valued("$1", "two", "$10"),
                             Valued("$1", "0", "$2", "2025-1-1")});
        const CollectionTotals totals = TotalsOf(table);
        QCOMPARE(Value(totals), QStringList({"$3.00 x3", "\xe2\x82\xac" "13.25 x2"}));
        QCOMPARE(totals.marketed, 6);
        QCOMPARE(totals.notValued, 2);
        QCOMPARE(totals.valueDate, std::string("2026-10-01"));
        const CurrencyValue& dollars = totals.value[0];
        QCOMPARE(dollars.compared, 2);
        QCOMPARE(qint64(dollars.gain), 100);
        QCOMPARE(Gains(dollars.gains), QStringList({"0:100"}));
        QVERIFY(dollars.losses.empty());
        const CurrencyValue& euros = totals.value[1];
        QCOMPARE(euros.compared, 1);
        QCOMPARE(Gains(euros.losses), QStringList({"1:-300"}));

        const std::vector<int> shown = {0, 3};
        const CollectionTotals filtered = TotalsOf(table, shown);
        QCOMPARE(Value(filtered), QStringList({"$3.00 x1"}));
        QCOMPARE(filtered.notValued, 1);
        QCOMPARE(filtered.valueDate, std::string("2026-11-05"));

        // The pages' sums see the same value.
        const CollectionTotals sums = SumsOf(table);
        QCOMPARE(TotalValueText(sums), std::string("$3.00, \xe2\x82\xac" "13.25"));
        QCOMPARE(ValueDateText(sums), std::string("2026-10-01"));
    }

    // Ten of each, the largest first, of equal ones the upper row first.
    void largestGainsAndLosses()
    {
        std::vector<Card> rows;
        for (int i = 0; i < 12; ++i) {
            rows.push_back(Valued("$10", "1", "$" + std::to_string(11 + i % 6)));
            rows.push_back(Valued("$10", "1", "$" + std::to_string(i % 10)));
        }
        CardTableModel table;
        SetTableRows(table, rows);
        const CollectionTotals totals = TotalsOf(table);
        QCOMPARE(Gains(totals.value[0].gains),
                 QStringList({"10:600", "22:600", "8:500", "20:500", "6:400", "18:400", "4:300", "16:300", "2:200",
                              "14:200"}));
        QCOMPARE(Gains(totals.value[0].losses),
                 QStringList({"1:-1000", "21:-1000", "3:-900", "23:-900", "5:-800", "7:-700", "9:-600", "11:-500",
                              "13:-400", "15:-300"}));
    }

    // Text and JSON tell the value only where some Card has a MARKET.
    void textAndJson()
    {
        CardTableModel table;
        SetTableRows(table, {Valued("$1.00", "2", ""), Valued("$1.00", "1", "  ")});
        const std::string before = TotalsText(TotalsOf(table), table);
        QVERIFY(before.find("Value") == std::string::npos);
        QCOMPARE(TotalValueText(TotalsOf(table)), std::string("0.00"));

        SetTableRows(table, {Valued("$1.00", "2", ""), Valued("$1.00", "1", "$2.00", "2026-11-05")});
        const CollectionTotals totals = TotalsOf(table);
        const std::string text = TotalsText(totals, table);
        QVERIFY2(text.find("Paid: $3.00\nValue: $2.00 (prices of 2026-11-05 or later)\nNot valued: 1 Card\n"
                           "Gain: +$1.00 on 1 Card\n")
                     != std::string::npos,
                 text.c_str());
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(TotalsJson(totals, table))).object();
        QCOMPARE(json["value"].toArray(), (QJsonArray{QJsonObject{{"currency", "$"}, {"amount", 2}, {"cards", 1}}}));
        QCOMPARE(json["notValued"].toInteger(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCollectionValue)
#include "test_collection_value.moc"
