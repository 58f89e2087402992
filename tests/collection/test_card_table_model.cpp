#include "collection/CardTableModel.h"
#include "collection/ColumnSort.h"
#include "support/TableRows.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

Card Named(const std::string& name)
{
    Card card;
    card[NameField] = name;
    card[DescriptionField] = name + " description";
    return card;
}

} // namespace

class TestCardTableModel : public QObject {
    Q_OBJECT

private slots:
    void keepsTheModelContract()
    {
        CardTableModel table;
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        SetTableRows(table, {Named("a"), Named("b"), Named("c")});
        table.InsertRow(0, Named("top"));
        table.SetCell(1, SeriesField, "S");
        table.RemoveRow(2);
        table.ReverseRows();
        table.Reorder({2, 0, 1});
        table.RemoveRow(-1);
        table.RemoveRow(9);
        QCOMPARE(table.rowCount(), 3);
        CardTableModel::RowBlock block = table.TakeRows(1, 5);
        QCOMPARE(block.size(), 2);
        table.PutRows(1, std::move(block));
        QCOMPARE(table.TakeRows(3, 1).size(), 0);
        QCOMPARE(table.TakeRows(-1, 1).size(), 0);
        block.Append(Named("d"));
        table.ExchangeRows({2, 7}, block);
        QCOMPARE(table.rowCount(), 3);
    }

    // Rows taken out and put back are the same bytes, and the positions
    // of other rows move with them as with single inserts and removals.
    void takesRowsOutAndPutsThemBack()
    {
        CardTableModel table;
        Card odd = Named("Pok\xe9mon");
        odd[UrlField] = std::string("nul\0byte", 8);
        SetTableRows(table, {Named("a"), odd, Named("c"), Named("d")});
        const QPersistentModelIndex last = table.index(3, 0);
        CardTableModel::RowBlock block = table.TakeRows(1, 2);
        QCOMPARE(block.CardAt(0), odd);
        QCOMPARE(block.CardAt(1), Named("c"));
        QCOMPARE(block.CardAt(2), Card());
        QVERIFY(block.Bytes() >= odd[DescriptionField].size());
        QCOMPARE(last.row(), 1);
        table.PutRows(1, std::move(block));
        QCOMPARE(block.size(), 0);
        QCOMPARE(last.row(), 3);
        QCOMPARE(table.RowCard(1), odd);
        QCOMPARE(table.RowCard(2), Named("c"));
    }

    // An exchange replaces rows in place, telling of each one, and leaves
    // the replaced texts in the block.
    void exchangesRowsWithABlock()
    {
        CardTableModel table;
        SetTableRows(table, {Named("a"), Named("b"), Named("c")});
        QSignalSpy replaced(&table, &CardTableModel::RowReplaced);
        QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
        CardTableModel::RowBlock block;
        block.Append(Named("x"));
        block.Append(Named("y"));
        table.ExchangeRows({2, 0}, block);
        QCOMPARE(table.RowCard(0), Named("y"));
        QCOMPARE(table.RowCard(1), Named("b"));
        QCOMPARE(table.RowCard(2), Named("x"));
        QCOMPARE(block.CardAt(0), Named("c"));
        QCOMPARE(block.CardAt(1), Named("a"));
        QCOMPARE(replaced.count(), 2);
        QCOMPARE(removed.count(), 0);
        table.ExchangeRows({2, 0}, block);
        QCOMPARE(table.RowCard(0), Named("a"));
        QCOMPARE(table.RowCard(2), Named("c"));
    }

    void storesCellsAsBytes()
    {
        CardTableModel table;
        Card card = Named("Pok\xe9mon");
        card[UrlField] = std::string("nul\0byte", 8);
        table.InsertRow(0, card);
        QCOMPARE(table.RowCard(0), card);
        QCOMPARE(table.Cell(0, UrlField).size(), std::size_t(8));
        QCOMPARE(table.Cell(5, NameField), std::string_view());
        QCOMPARE(table.Cell(0, 8), std::string_view());
        QCOMPARE(table.headerData(QuantityField, Qt::Horizontal).toString(), QStringLiteral("Qty"));
    }

    // A row's ends take one, two or four bytes by the size of its texts.
    void keepsEveryTextSize_data()
    {
        QTest::addColumn<int>("total");
        for (const int total : {0, 255, 256, 65535, 65536, 300000})
            QTest::addRow("%d bytes", total) << total;
    }

    void keepsEveryTextSize()
    {
        QFETCH(int, total);
        Card card;
        // Uneven shares, the last text taking what is left.
        int left = total;
        for (int field = 0; field < kCardFieldCount; ++field) {
            const int size = field == kCardFieldCount - 1 ? left : left / 3;
            card[field] = std::string(std::size_t(size), char('a' + field));
            left -= size;
        }
        CardTableModel table;
        table.InsertRow(0, card);
        table.InsertRow(1, Named("short"));
        QCOMPARE(table.RowCard(0), card);
        QCOMPARE(table.RowCard(1), Named("short"));
        // A snapshot reads the copied blocks as the rows read their own.
        const CardTableSnapshot snapshot = table.Snapshot();
        table.SetRow(0, Named("changed"));
        QCOMPARE(snapshot.rowCount(), 2);
        for (int field = 0; field < kCardFieldCount; ++field) {
            QCOMPARE(snapshot.Cell(0, field), std::string_view(card[field]));
            QCOMPARE(snapshot.Cell(1, field), std::string_view(Named("short")[field]));
        }
    }

    // Both texts must be the same bytes; the first such row is found.
    void findsRowsByNameAndSeries_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("series");
        QTest::addColumn<int>("row");
        QTest::addRow("both") << QByteArray("Bolt") << QByteArray("Base Set") << 1;
        QTest::addRow("name only") << QByteArray("Bolt") << QByteArray("Jungle") << -1;
        QTest::addRow("series only") << QByteArray("Crow") << QByteArray("Base Set") << -1;
        QTest::addRow("case") << QByteArray("bolt") << QByteArray("Base Set") << -1;
        QTest::addRow("shorter") << QByteArray("Bol") << QByteArray("Base Set") << -1;
        QTest::addRow("moved text") << QByteArray("BoltB") << QByteArray("ase Set") << -1;
        QTest::addRow("empty series") << QByteArray("Ace") << QByteArray() << 3;
    }

    void findsRowsByNameAndSeries()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, series);
        QFETCH(int, row);
        Card bolt = Named("Bolt");
        bolt[SeriesField] = "Base Set";
        Card other = Named("Bolt");
        other[SeriesField] = "Fossil";
        CardTableModel table;
        SetTableRows(table, {other, bolt, bolt, Named("Ace"), Named("Ace")});
        QCOMPARE(table.FindRow(name.toStdString(), series.toStdString()), row);
    }

    // A snapshot shares the rows' texts: it reads them as they were while
    // the table replaces, removes and reorders its own, and outlives it.
    void snapshotsKeepTheirRows()
    {
        std::vector<Card> cards(3000);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            cards[i] = Named("Card " + std::to_string(i));
            cards[i][DescriptionField] = std::string(i % 700, char('a' + i % 26));
        }
        auto table = std::make_unique<CardTableModel>();
        SetTableRows(*table, cards);
        const CardTableSnapshot snapshot = table->Snapshot();
        table->SetRow(0, Named("replaced"));
        table->SetCell(1, NameField, "changed");
        table->RemoveRow(2);
        table->ReverseRows();
        SetTableRows(*table, {});
        table.reset();
        QCOMPARE(snapshot.rowCount(), int(cards.size()));
        for (int row = 0; row < snapshot.rowCount(); ++row) {
            for (int field = 0; field < kCardFieldCount; ++field) {
                if (snapshot.Cell(row, field) != cards[std::size_t(row)][field])
                    QFAIL(qPrintable(QStringLiteral("row %1 field %2").arg(row).arg(field)));
            }
        }
    }

    // A cell grows or shrinks in place of its old text; the texts after it
    // move with it, whichever the field.
    void setsOneCell()
    {
        CardTableModel table;
        const Card card{"name", "series", "", "1999", "$1", "2", "url", "text"};
        SetTableRows(table, {card});
        for (int field = 0; field < kAllCardFieldCount; ++field) {
            for (const std::string& text : {std::string(), std::string("x"), std::string(300, 'y')}) {
                Card expected = table.RowCard(0);
                expected[field] = text;
                table.SetCell(0, field, text);
                QCOMPARE(table.RowCard(0), expected);
            }
            table.SetCell(0, field, card[field]);
        }
        QCOMPARE(table.RowCard(0), card);
    }

    // The details are columns after the eight, headed and sorted as they are.
    void showsAndSortsTheDetailColumns()
    {
        CardTableModel table;
        Card traded = Named("b");
        traded[TradeField] = "10";
        traded[GameField] = "\xc3\xa9";
        SetTableRows(table, {traded, Named("a"), Named("c")});
        table.SetCell(2, TradeField, "9");
        QCOMPARE(table.columnCount(), kAllCardFieldCount);
        QCOMPARE(table.headerData(YearField, Qt::Horizontal).toString(), QStringLiteral("Year"));
        QCOMPARE(table.headerData(SetCodeField, Qt::Horizontal).toString(), QStringLiteral("Set"));
        QCOMPARE(table.headerData(PrintField, Qt::Horizontal).toString(), QStringLiteral("Print"));
        QVERIFY(!table.headerData(kAllCardFieldCount, Qt::Horizontal).isValid());
        QCOMPARE(table.data(table.index(0, GameField)).toString(), QString::fromUtf8("\xc3\xa9"));
        SortRowsByColumn(table, TradeField);
        QCOMPARE(table.Cell(0, NameField), std::string_view("a"));
        QCOMPARE(table.Cell(1, NameField), std::string_view("b"));
        QCOMPARE(table.Cell(2, TradeField), std::string_view("9"));
        QCOMPARE(table.RowCard(1), traded);
    }

    // A reorder changes cell texts only, so selections stay at positions.
    void reordersWithoutMovingPositions()
    {
        CardTableModel table;
        SetTableRows(table, {Named("a"), Named("b"), Named("c")});
        QSignalSpy layout(&table, &QAbstractItemModel::layoutChanged);
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        table.ReverseRows();
        QCOMPARE(layout.count(), 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(table.Cell(0, NameField), std::string_view("c"));
        QCOMPARE(table.Cell(2, DescriptionField), std::string_view("a description"));
    }
};

QTEST_MAIN(TestCardTableModel)
#include "test_card_table_model.moc"
