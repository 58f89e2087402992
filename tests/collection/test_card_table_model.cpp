#include "collection/CardTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

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
        table.SetRows({Named("a"), Named("b"), Named("c")});
        table.InsertRow(0, Named("top"));
        table.SetCell(1, SeriesField, "S");
        table.RemoveRow(2);
        table.ReverseRows();
        table.Reorder({2, 0, 1});
        table.RemoveRow(-1);
        table.RemoveRow(9);
        QCOMPARE(table.rowCount(), 3);
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
        table.SetRows({other, bolt, bolt, Named("Ace"), Named("Ace")});
        QCOMPARE(table.FindRow(name.toStdString(), series.toStdString()), row);
    }

    // A reorder changes cell texts only, so selections stay at positions.
    void reordersWithoutMovingPositions()
    {
        CardTableModel table;
        table.SetRows({Named("a"), Named("b"), Named("c")});
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
