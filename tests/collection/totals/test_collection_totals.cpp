#include "collection/CardTableModel.h"
#include "collection/totals/CollectionTotals.h"
#include "collection/totals/PriceReader.h"
#include "collection/totals/TotalsText.h"
#include "support/TableRows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <string>
#include <vector>

namespace {

Card Priced(std::string price, std::string quantity = {}, std::string series = {}, std::string name = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    card[PriceField] = std::move(price);
    card[QuantityField] = std::move(quantity);
    return card;
}

// Currency and amount of each paid total, as "USD 1234.50"-like words that
// compare readably in a failure.
QStringList Paid(const CollectionTotals& totals)
{
    QStringList words;
    for (const CurrencyPaid& each : totals.paid)
        words << QString::fromStdString(AmountText(each.currency, each.paid));
    return words;
}

QList<int> Rows(const std::vector<CostlyCard>& cards)
{
    QList<int> rows;
    for (const CostlyCard& card : cards)
        rows << card.row;
    return rows;
}

} // namespace

class TestCollectionTotals : public QObject {
    Q_OBJECT

private slots:
    void readsPrices_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("currency");
        QTest::addColumn<qint64>("hundredths");
        const auto row = [](const char* text, const char* currency, qint64 hundredths) {
            QTest::newRow(text) << QByteArray(text) << QByteArray(currency) << hundredths;
        };
        row("$4.25", "$", 425);
        row("4,25 €", "EUR", 425);
        row("1,234.50", "", 123450);
        row("1.234,50", "", 123450);
        row("4.25 USD", "USD", 425);
        row("1 234,50 €", "EUR", 123450);
        row("1\xC2\xA0" "234,50\xC2\xA0€", "EUR", 123450);
        row("1\xE2\x80\xAF" "234,50 €", "EUR", 123450);
        row("CHF 1'234.50", "CHF", 123450);
        row("1\xE2\x80\x99" "234.50", "", 123450);
        row("  £3.5 ", "GBP", 350);
        row("€12", "EUR", 1200);
        row("¥1200", "¥", 120000);
        row("1200円", "JPY", 120000);
        row("JPY 1200", "JPY", 120000);
        row("US$ 10", "USD", 1000);
        row("C$4.99", "CAD", 499);
        row("usd3", "USD", 300);
        row("45 kr", "kr", 4500);
        row("4,25$", "$", 425);
        row("1,000", "", 100000);
        row("1.000 €", "EUR", 100000);
        row("4.255", "", 425500);
        row("12,5", "", 1250);
        row(".50", "", 50);
        row("5,- €", "EUR", 500);
        row("5.\xE2\x80\x93", "", 500);
        row("0", "", 0);
        row("0.99", "", 99);
        row("007", "", 700);
        row("1,234,567.89", "", 123456789);
        row("1.234.567", "", 123456700);
        row("999,999,999,999,999.99", "", 99999999999999999);
    }
    void readsPrices()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, currency);
        QFETCH(qint64, hundredths);
        const std::optional<PriceAmount> price = ReadPrice(text.toStdString());
        QVERIFY(price);
        QCOMPARE(QByteArray::fromStdString(std::string(price->currency)), currency);
        QCOMPARE(price->hundredths, hundredths);
    }

    void refusesPrices_data()
    {
        QTest::addColumn<QByteArray>("text");
        for (const char* text :
             {"1.2.3", "$", "about 5", "5-10", "-4.25", "$-4", "(4.25)", "+4", "4.2555", "1,234.567", "0.500",
              "0,500", "1,23,456", "1 23", "1.234 567,8", "1,234.5,6", "$4.25 USD", "4 $ 3", "4..25", "4.", "Fr. 4",
              "1e5", "four", "5 ABC", "~5", "4.25.", "1000000000000000", "", "  "})
            QTest::newRow(text) << QByteArray(text);
    }
    void refusesPrices()
    {
        QFETCH(QByteArray, text);
        const std::optional<PriceAmount> price = ReadPrice(text.toStdString());
        QVERIFY2(!price, qPrintable(QString::number(price ? price->hundredths : 0)));
    }

    void readsQuantities_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("copies");
        const qint64 refused = -1;
        const std::pair<const char*, qint64> rows[] = {
            {"", 1}, {" \t", 1}, {"3", 3}, {" 12 ", 12}, {"0", 0}, {"02", 2}, {"1,000", 1000}, {"1 000", 1000},
            {"999999999", 999999999}, {"1000000000", refused}, {"1.5", refused}, {"1,5", refused},
            {"5,-", refused}, {"x2", refused}, {"2x", refused}, {"-1", refused}, {"+1", refused},
            {"two", refused}, {"1,00", refused}, {".5", refused},
        };
        for (const auto& [text, copies] : rows)
            QTest::newRow(text) << QByteArray(text) << copies;
    }
    void readsQuantities()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, copies);
        QCOMPARE(ReadQuantity(text.toStdString()).value_or(-1), copies);
    }

    void amountTexts_data()
    {
        QTest::addColumn<QByteArray>("currency");
        QTest::addColumn<QString>("hundredths");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("none") << QByteArray() << "5" << QByteArray("0.05");
        QTest::newRow("dollar sign") << QByteArray("$") << "123450" << QByteArray("$1,234.50");
        QTest::newRow("euro sign") << QByteArray("EUR") << "1200" << QByteArray("€12.00");
        QTest::newRow("code") << QByteArray("CHF") << "700" << QByteArray("CHF 7.00");
        QTest::newRow("kr") << QByteArray("kr") << "99999" << QByteArray("kr 999.99");
        QTest::newRow("beyond 64 bits") << QByteArray("USD") << "1000000000000000000000"
                                        << QByteArray("USD 10,000,000,000,000,000,000.00");
    }
    void amountTexts()
    {
        QFETCH(QByteArray, currency);
        QFETCH(QString, hundredths);
        QFETCH(QByteArray, text);
        Hundredths amount = 0;
        for (const QChar digit : hundredths)
            amount = amount * 10 + digit.digitValue();
        QCOMPARE(QByteArray::fromStdString(AmountText(currency.toStdString(), amount)), text);
    }

    void totalsPerCurrency()
    {
        CardTableModel table;
        SetTableRows(table, {
            Priced("$4.25", "2", "Base Set"),
            Priced("4,25 €", "", "Promo"),
            Priced("$10", "1", "Base Set"),
            Priced("about 5", "3", "Promo"),
            Priced("", "4", "Promo"),
            Priced("EUR 1,00", "two", "Base Set"),
            Priced("$1,000", "0", ""),
        });
        const CollectionTotals totals = TotalsOf(table);
        QCOMPARE(totals.cards, 7);
        QCOMPARE(totals.copies, 2 + 1 + 1 + 3 + 4 + 0);
        QCOMPARE(totals.unpriced, 1);
        QVERIFY(!totals.filtered);
        // $ has three Cards, EUR two; a Card of unreadable Quantity adds no money.
        QCOMPARE(Paid(totals), (QStringList{"$18.50", "€4.25"}));
        QCOMPARE(totals.paid[1].cards, 2);
        QCOMPARE(totals.unreadable,
                 (std::vector<UnreadableValue>{{3, PriceField}, {5, QuantityField}}));

        QCOMPARE(totals.bySeries.size(), 3u);
        const GroupTotals& blank = totals.bySeries[0];
        const GroupTotals& baseSet = totals.bySeries[1];
        const GroupTotals& promo = totals.bySeries[2];
        QCOMPARE(QByteArray::fromStdString(blank.value), QByteArray());
        QCOMPARE(QByteArray::fromStdString(baseSet.value), QByteArray("Base Set"));
        QCOMPARE(baseSet.cards, 3);
        QCOMPARE(baseSet.copies, 3);
        QCOMPARE(baseSet.paid.size(), 2u);
        QCOMPARE(AmountText(baseSet.paid[0].currency, baseSet.paid[0].amount), "$18.50");
        QCOMPARE(AmountText(baseSet.paid[1].currency, baseSet.paid[1].amount), "€0.00");
        QCOMPARE(promo.copies, 1 + 3 + 4);
        QCOMPARE(promo.paid.size(), 1u);
        QCOMPARE(totals.byYear.size(), 1u);
        QCOMPARE(totals.byYear[0].cards, 7);

        QCOMPARE(Rows(totals.paid[0].mostCostly), (QList<int>{6, 2, 0}));
        QCOMPARE(QByteArray::fromStdString(TotalPaidText(totals)), QByteArray("$18.50, €4.25"));
        QCOMPARE(TotalPaidText(TotalsOf(CardTableModel())), "0.00");

        // A page's sums are these totals' own.
        const CollectionTotals sums = SumsOf(table);
        QCOMPARE(sums.cards, totals.cards);
        QCOMPARE(sums.copies, totals.copies);
        QCOMPARE(TotalPaidText(sums), TotalPaidText(totals));
        QCOMPARE(TotalPaidText(SumsOf(CardTableModel())), "0.00");
    }

    void sumsBeyondSixtyFourBits()
    {
        CardTableModel table;
        const Card dear = Priced("999,999,999,999,999.99", "999,999,999");
        SetTableRows(table, {dear, dear, dear});
        const CollectionTotals totals = TotalsOf(table);
        QCOMPARE(totals.copies, 2999999997);
        QCOMPARE(Paid(totals), QStringList{"2,999,999,996,999,999,970,000,000.03"});
    }

    void tenDearestUpperRowFirst()
    {
        std::vector<Card> rows;
        for (int i = 0; i < 14; ++i)
            rows.push_back(Priced(i % 2 ? "$5" : "$" + std::to_string(i)));
        CardTableModel table;
        SetTableRows(table, rows);
        // $12, $10, $8, $6, then the seven $5 from the top.
        const QList<int> expected{12, 10, 8, 6, 1, 3, 5, 7, 9, 11};
        QCOMPARE(Rows(TotalsOf(table).paid[0].mostCostly), expected);
        std::vector<int> bottomFirst;
        for (int row = 13; row >= 0; --row)
            bottomFirst.push_back(row);
        QCOMPARE(Rows(TotalsOf(table, bottomFirst).paid[0].mostCostly), expected);
    }

    void filteredRows()
    {
        CardTableModel table;
        SetTableRows(table, {Priced("$1", "x"), Priced("$2", "2"), Priced("?", "1"), Priced("$8", "3")});
        const std::vector<int> shown{3, 2, 1};
        const CollectionTotals totals = TotalsOf(table, shown);
        QVERIFY(totals.filtered);
        QCOMPARE(totals.cards, 3);
        QCOMPARE(totals.copies, 6);
        QCOMPARE(Paid(totals), QStringList{"$28.00"});
        QCOMPARE(totals.unreadable, (std::vector<UnreadableValue>{{2, PriceField}}));
        QVERIFY(TotalsText(totals, table).starts_with("Only the Cards the filter shows.\n"));
    }

    void jsonShape()
    {
        CardTableModel table;
        SetTableRows(table, {
            Priced("$123,456,789.01", "1", "Base Set", "Ryū"),
            Priced("3,50 €", "2"),
            Priced("5-10", "1,5"),
            Priced("$0.10", "3"),
        });
        const CollectionTotals totals = TotalsOf(table);
        const std::string json = TotalsJson(totals, table);
        // Amounts are written exactly, not rounded to a few digits.
        QVERIFY2(json.find("\"amount\": 123456789.31") != std::string::npos, json.c_str());

        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(object["cards"].toInteger(), 4);
        QCOMPARE(object["copies"].toInteger(), 6);
        QCOMPARE(object["filtered"].toBool(true), false);
        const QJsonArray paid = object["paid"].toArray();
        QCOMPARE(paid.size(), 2);
        QCOMPARE(paid[0]["currency"].toString(), "$");
        QCOMPARE(paid[1]["currency"].toString(), "EUR");
        QCOMPARE(paid[1]["amount"].toDouble(), 7.0);
        const QJsonArray unreadable = object["unreadable"].toArray();
        QCOMPARE(unreadable.size(), 2);
        QCOMPARE(unreadable[0].toObject(), (QJsonObject{{"row", 3}, {"field", "Price"}, {"value", "5-10"}}));
        QCOMPARE(unreadable[1].toObject(), (QJsonObject{{"row", 3}, {"field", "Quantity"}, {"value", "1,5"}}));
        const QJsonObject dearest = object["mostCostly"].toArray()[0].toObject();
        QCOMPARE(dearest["row"].toInt(), 1);
        QCOMPARE(dearest["name"].toString(), QString::fromUtf8("Ryū"));
        const QJsonObject baseSet = object["bySeries"].toArray()[1].toObject();
        QCOMPARE(baseSet["value"].toString(), "Base Set");
        QCOMPARE(baseSet["paid"].toArray().size(), 1);
    }

    void countsForPages()
    {
        CardTableModel table;
        SetTableRows(table, std::vector<Card>(1234, Priced("", "1,000")));
        const CollectionTotals totals = TotalsOf(table);
        QCOMPARE(TotalCardsText(totals), "1,234");
        QCOMPARE(TotalCopiesText(totals), "1,234,000");
    }
};

QTEST_APPLESS_MAIN(TestCollectionTotals)
#include "test_collection_totals.moc"
