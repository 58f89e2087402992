#include "collection/CardTableModel.h"
#include "collection/ColumnSort.h"
#include "support/TableRows.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

Card Row(std::string name, std::string series = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    return card;
}

std::vector<std::string> Column(const CardTableModel& table, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts.emplace_back(table.Cell(row, column));
    return texts;
}

using Texts = std::vector<std::string>;

// The column click as plain adjacent exchanges: passes over every adjacent
// pair until one exchanges nothing; a table that needed no exchange at all is
// reversed instead.
void ExchangeSort(std::vector<Card>& rows, int column)
{
    const std::size_t n = rows.size();
    bool exchanged = false;
    bool clean = false;
    while (!clean) {
        clean = true;
        for (std::size_t j = 0; j + 1 < n; ++j) {
            const std::string& upper = rows[j][std::size_t(column)];
            const std::string& lower = rows[j + 1][std::size_t(column)];
            const bool greater = std::lexicographical_compare(
                lower.begin(), lower.end(), upper.begin(), upper.end(),
                [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
            if (greater) {
                std::swap(rows[j], rows[j + 1]);
                exchanged = true;
                clean = false;
            }
        }
    }
    if (!exchanged) {
        for (std::size_t j = 0; j < n / 2; ++j)
            std::swap(rows[j], rows[n - 1 - j]);
    }
}

std::vector<Card> Rows(const CardTableModel& table)
{
    std::vector<Card> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows.push_back(table.RowCard(row));
    return rows;
}

} // namespace

class TestColumnSort : public QObject {
    Q_OBJECT

private slots:
    void firstClickSortsSecondReverses()
    {
        CardTableModel table;
        SetTableRows(table, {Row("Beta"), Row("Alpha")});
        SortRowsByColumn(table, NameField);
        QCOMPARE(Column(table, NameField), (Texts{"Alpha", "Beta"}));
        SortRowsByColumn(table, NameField);
        QCOMPARE(Column(table, NameField), (Texts{"Beta", "Alpha"}));
        SortRowsByColumn(table, NameField);
        QCOMPARE(Column(table, NameField), (Texts{"Alpha", "Beta"}));
    }

    void tiesKeepTheirOrderAndTheSecondClickReversesThem()
    {
        CardTableModel table;
        SetTableRows(table, {Row("x", "Alpha"), Row("y", "Beta"), Row("z", "Alpha")});
        SortRowsByColumn(table, SeriesField);
        QCOMPARE(Column(table, NameField), (Texts{"x", "z", "y"}));
        SortRowsByColumn(table, SeriesField);
        QCOMPARE(Column(table, NameField), (Texts{"y", "z", "x"}));
    }

    // Rows taken out and put back elsewhere, or exchanged with a block's,
    // leave the sorted column out of order: the next click sorts it again.
    void rowBlocksForgetTheSortedColumn_data()
    {
        QTest::addColumn<bool>("exchange");
        QTest::addRow("taken and put back") << false;
        QTest::addRow("exchanged") << true;
    }

    void rowBlocksForgetTheSortedColumn()
    {
        QFETCH(bool, exchange);
        CardTableModel table;
        SetTableRows(table, {Row("c"), Row("a"), Row("d"), Row("b")});
        SortRowsByColumn(table, NameField);
        if (exchange) {
            CardTableModel::RowBlock block;
            block.Append(Row("z"));
            table.ExchangeRows({0}, block);
        } else {
            table.PutRows(table.rowCount(), table.TakeRows(0, 1));
        }
        std::vector<Card> expected = Rows(table);
        ExchangeSort(expected, NameField);
        SortRowsByColumn(table, NameField);
        QVERIFY(Rows(table) == expected);
    }

    void ordersTextsByTheirBytes_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<Texts>("given");
        QTest::addColumn<Texts>("sorted");
        QTest::newRow("quantities as text") << int(QuantityField) << Texts{"2", "10", "1"} << Texts{"1", "10", "2"};
        QTest::newRow("prices as text") << int(PriceField) << Texts{"9.50", "12.00"} << Texts{"12.00", "9.50"};
        QTest::newRow("upper case first") << int(NameField) << Texts{"apple", "Zebra"} << Texts{"Zebra", "apple"};
        QTest::newRow("high bytes after ASCII")
            << int(SeriesField) << Texts{"Caf\xc3\xa9", "Cafe", "Caf\xff", "Caf~"}
            << Texts{"Cafe", "Caf~", "Caf\xc3\xa9", "Caf\xff"};
        QTest::newRow("empty first, prefix first")
            << int(DescriptionField) << Texts{"Card 2", "Card", ""} << Texts{"", "Card", "Card 2"};
        QTest::newRow("long shared beginning")
            << int(UrlField)
            << Texts{"https://images.example.net/base-set/100002.jpg", "", "https://images.example.net/",
                     "https://images.example.net/base-set/100001.jpg", std::string("https://images.example.net/\0", 28)}
            << Texts{"", "https://images.example.net/", std::string("https://images.example.net/\0", 28),
                     "https://images.example.net/base-set/100001.jpg", "https://images.example.net/base-set/100002.jpg"};

        const std::string large(3 << 20, 'b');
        QTest::newRow("texts larger than the blocks they are copied to")
            << int(DescriptionField) << Texts{large, "c", large + "a", "a"} << Texts{"a", large, large + "a", "c"};
    }

    void ordersTextsByTheirBytes()
    {
        QFETCH(int, column);
        QFETCH(Texts, given);
        QFETCH(Texts, sorted);
        std::vector<Card> rows;
        for (const std::string& text : given) {
            Card card;
            card[std::size_t(column)] = text;
            rows.push_back(card);
        }
        CardTableModel table;
        SetTableRows(table, rows);
        SortRowsByColumn(table, column);
        QCOMPARE(Column(table, column), sorted);
    }

    void alreadyAscendingTablesAreReversed()
    {
        CardTableModel table;
        SortRowsByColumn(table, NameField);
        QCOMPARE(table.rowCount(), 0);

        SetTableRows(table, {Row("only")});
        SortRowsByColumn(table, NameField);
        QCOMPARE(Column(table, NameField), (Texts{"only"}));

        // Every URL empty: each click reverses the whole table.
        SetTableRows(table, {Row("a"), Row("b"), Row("c")});
        SortRowsByColumn(table, UrlField);
        QCOMPARE(Column(table, NameField), (Texts{"c", "b", "a"}));
        SortRowsByColumn(table, UrlField);
        QCOMPARE(Column(table, NameField), (Texts{"a", "b", "c"}));
    }

    // Random tables with many ties, clicked at random, edited between clicks,
    // sorted on one to three threads: the rows must be exactly those that
    // plain adjacent exchanges leave, after every click.
    void matchesAdjacentExchanges()
    {
        std::mt19937 random(20261207);
        const std::vector<std::string> pool = {"",
                                               "a",
                                               "ab",
                                               "A",
                                               "b",
                                               "10",
                                               "2",
                                               "\xc3\xa9",
                                               "a ",
                                               std::string("a\0", 2),
                                               "a\xff",
                                               "Charizard Holo 1st",
                                               "Charizard Holo 1st Edition",
                                               "Charizard Holo 1st edition",
                                               "Charizard Holo 1",
                                               std::string("Charizard Holo 1\0", 17),
                                               std::string("Charizard Holo\0\0", 16)};
        for (int round = 0; round < 300; ++round) {
            const int count = std::uniform_int_distribution<int>(0, 24)(random);
            std::vector<Card> expected;
            for (int i = 0; i < count; ++i) {
                Card card;
                // Few texts in odd columns, so many ties; all of them in even ones.
                for (int column = 0; column < kCardFieldCount; ++column)
                    card[std::size_t(column)] = pool[random() % (column % 2 ? 3 : pool.size())];
                // Texts that all begin alike, as addresses do, and empty ones.
                if (!card[UrlField].empty())
                    card[UrlField] = "https://images.example.net/" + card[UrlField];
                card[DescriptionField] = std::to_string(i);
                expected.push_back(card);
            }
            CardTableModel table;
            QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
            SetTableRows(table, expected);
            int lastColumn = NameField;
            for (int click = 0; click < 12; ++click) {
                // Now and then a cell changes between clicks: a column sorted
                // before is then no longer known to be in order.
                if (!expected.empty() && random() % 3 == 0) {
                    const int row = int(random() % expected.size());
                    const int edited = int(random() % (kCardFieldCount - 1));
                    expected[std::size_t(row)][std::size_t(edited)] = pool[random() % pool.size()];
                    table.SetCell(row, edited, expected[std::size_t(row)][std::size_t(edited)]);
                }
                // The same column twice in a row as often as not.
                const int column = random() % 2 == 0 ? lastColumn : int(random() % (kCardFieldCount - 1));
                lastColumn = column;
                const std::vector<Card> before = expected;
                ExchangeSort(expected, column);
                const ColumnSortResult result = SortRowsByColumn(table, column, 1 + click % 3);
                QVERIFY2(Rows(table) == expected, qPrintable(QStringLiteral("round %1 click %2").arg(round).arg(click)));
                // What the click gives back reproduces its rows.
                std::vector<Card> replayed = before;
                if (result.reversed) {
                    QVERIFY(result.order.empty());
                    std::reverse(replayed.begin(), replayed.end());
                } else {
                    QCOMPARE(result.order.size(), before.size());
                    for (std::size_t i = 0; i < before.size(); ++i)
                        replayed[i] = before[std::size_t(result.order[i])];
                }
                QVERIFY(replayed == expected);
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestColumnSort)
#include "test_column_sort.moc"
