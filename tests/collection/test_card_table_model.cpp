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

    // A cell grows or shrinks in place of its old text; the texts after it
    // move with it, whichever the field.
    void setsOneCell()
    {
        CardTableModel table;
        const Card card{"name", "series", "", "1999", "$1", "2", "url", "text"};
        table.SetRows({card});
        for (int field = 0; field < kCardFieldCount; ++field) {
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
