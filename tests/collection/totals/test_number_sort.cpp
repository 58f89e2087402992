#include "collection/CardTableModel.h"
#include "collection/ColumnSort.h"
#include "collection/totals/NumberSort.h"
#include "support/TableRows.h"

#include <QTest>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// A table of one Card a text, the texts in the column, the Names numbering the rows.
void Fill(CardTableModel& table, int column, const Texts& texts)
{
    std::vector<Card> rows;
    for (std::size_t at = 0; at < texts.size(); ++at) {
        Card card;
        card[NameField] = "row " + std::to_string(at);
        card[std::size_t(column)] = texts[at];
        rows.push_back(card);
    }
    SetTableRows(table, rows);
}

Texts Column(const CardTableModel& table, int column)
{
    Texts texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts.emplace_back(table.Cell(row, column));
    return texts;
}

} // namespace

// The texts in failure messages.
namespace QTest {
template <>
char* toString(const Texts& texts)
{
    QByteArray shown;
    for (const std::string& text : texts)
        shown += "\"" + QByteArray::fromStdString(text) + "\" ";
    return qstrdup(shown.constData());
}
} // namespace QTest

namespace {

} // namespace

class TestNumberSort : public QObject {
    Q_OBJECT

private slots:
    // Prices as amounts, as the totals read them: those without a currency
    // first, then each currency by itself; unreadable ones after the
    // amounts, blank ones last. Text order would put "$12.50" before "$4".
    void pricesByCurrencyAndAmount()
    {
        CardTableModel table;
        Fill(table, PriceField,
             {"$12.50", "", "4,25 \xe2\x82\xac", "$4", "about 5", "1,234.50", "$38.00", "EUR 3", "9", "  ", "$1,000"});
        const ColumnSortResult first = SortRowsAsNumbers(table, PriceField);
        QVERIFY(!first.reversed);
        QCOMPARE(Column(table, PriceField), (Texts{"9", "1,234.50", "$4", "$12.50", "$38.00", "$1,000", "EUR 3",
                                                   "4,25 \xe2\x82\xac", "about 5", "", "  "}));
        // Already in order: the second click reverses, as a text sort does.
        QVERIFY(SortRowsAsNumbers(table, PriceField).reversed);
        QCOMPARE(Column(table, PriceField).front(), std::string("  "));
        QCOMPARE(Column(table, PriceField).back(), std::string("9"));
    }

    // Years, Quantities and the copies to trade or wanted as whole numbers;
    // equal ones keep their order.
    void yearsAndQuantitiesAsWholeNumbers_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("Year") << int(YearField);
        QTest::newRow("Quantity") << int(QuantityField);
        QTest::newRow("Trade") << int(TradeField);
        QTest::newRow("Want") << int(WantField);
    }

    void yearsAndQuantitiesAsWholeNumbers()
    {
        QFETCH(int, column);
        CardTableModel table;
        Fill(table, column, {"10", "9", "", "1,000", "100", " 9 ", "two", "2"});
        SortRowsAsNumbers(table, column);
        QCOMPARE(Column(table, column), (Texts{"2", "9", " 9 ", "10", "100", "1,000", "two", ""}));
        QCOMPARE(table.Cell(1, NameField), std::string_view("row 1"));
        QCOMPARE(table.Cell(2, NameField), std::string_view("row 5"));
        // The order of the bytes, as a click without the option sorts.
        SortRowsByColumn(table, column);
        QCOMPARE(Column(table, column), (Texts{"", " 9 ", "1,000", "10", "100", "2", "9", "two"}));
    }

    // Other columns by the collator: digits count as numbers, and case and
    // accents do not come before the letters.
    void namesByTheCollator()
    {
        CardTableModel table;
        Fill(table, SeriesField, {"Card 10", "card 2", "", "\xc3\x89" "clair", "Card 1", "apple", "Zebra", "eagle"});
        SortRowsAsNumbers(table, SeriesField);
        QCOMPARE(Column(table, SeriesField),
                 (Texts{"apple", "Card 1", "card 2", "Card 10", "eagle", "\xc3\x89" "clair", "Zebra", ""}));
    }

    // A Windows-1252 collection is read in its own encoding.
    void namesInTheCollectionsEncoding()
    {
        CardTableModel table;
        Fill(table, NameField, {"\xc9" "clair", "Eagle", "Zebra", "dove"});
        table.SetEncoding(TextEncoding::Windows1252);
        SortRowsAsNumbers(table, NameField);
        QCOMPARE(Column(table, NameField), (Texts{"dove", "Eagle", "\xc9" "clair", "Zebra"}));
    }

    // The order is kept as a permutation, which undoes and redoes the sort.
    void keepsTheOrderAsAPermutation()
    {
        CardTableModel table;
        Fill(table, QuantityField, {"3", "1", "2"});
        const ColumnSortResult result = SortRowsAsNumbers(table, QuantityField);
        QCOMPARE(result.order, (std::vector<int>{1, 2, 0}));
        QCOMPARE(table.AscendingColumn(), -1);
        CardTableModel empty;
        QVERIFY(SortRowsAsNumbers(empty, PriceField).reversed);
    }
};

QTEST_GUILESS_MAIN(TestNumberSort)
#include "test_number_sort.moc"
