#include "collection/filter/CardFilterIndex.h"
#include "collection/CardTableModel.h"
#include "collection/filter/FilteredCardTable.h"
#include "support/TableRows.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <numeric>
#include <random>

namespace {

Card Named(const std::string& name, const std::string& series = "", const std::string& description = "")
{
    Card card;
    card[NameField] = name;
    card[SeriesField] = series;
    card[DescriptionField] = description;
    return card;
}

// What a fresh search of the whole table finds.
std::vector<int> Expected(const CardTableModel& table, const QString& text)
{
    return CardFilterIndex(table).Matching(ParseCardFilter(text));
}

// The shown rows are the matching table rows, in table order, with their texts.
void CheckShown(const FilteredCardTable& shown, const CardTableModel& table, const QString& text)
{
    const std::vector<int> expected = Expected(table, text);
    QCOMPARE(shown.rowCount(), int(expected.size()));
    for (int at = 0; at < shown.rowCount(); ++at) {
        const int row = expected[std::size_t(at)];
        QCOMPARE(shown.TableRow(at), row);
        QCOMPARE(shown.ShownRow(row), at);
        for (int column = 0; column < kCardFieldCount; ++column)
            QCOMPARE(shown.index(at, column).data(), table.index(row, column).data());
    }
    QVERIFY(shown.ShownRows() == expected);
}

} // namespace

class TestFilteredCardTable : public QObject {
    Q_OBJECT

private slots:
    void everyRowUntilFiltered()
    {
        CardTableModel table;
        SetTableRows(table, {Named("Alpha"), Named("Beta")});
        FilteredCardTable shown(table);
        QAbstractItemModelTester tester(&shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(shown.rowCount(), 2);
        QVERIFY(!shown.ShownRows());
        table.InsertRow(0, Named("Gamma"));
        table.SetRow(1, Named("Alpha 2"));
        table.RemoveRow(2);
        QCOMPARE(shown.rowCount(), 2);
        QCOMPARE(shown.index(1, NameField).data().toString(), QStringLiteral("Alpha 2"));
        QCOMPARE(shown.TableRow(1), 1);
        QCOMPARE(shown.TableRow(2), -1);
        // Words that all rows match still count as a filter; none do not.
        shown.SetFilterText(QStringLiteral("   "));
        QVERIFY(!shown.ShownRows());
        QVERIFY(shown.Filtering());
        shown.ClearFilter();
        QVERIFY(!shown.Filtering());
    }

    // Each change to the table, made while a filter is set, leaves exactly
    // the matching rows shown; the model stays a sound one throughout.
    void followsEveryChangeOfTheTable()
    {
        std::mt19937 random(12);
        const std::vector<std::string> words = {"sky", "Skyforge", "mint", "Pokémon", "pokemon", "dragon", "ōkami"};
        const auto randomCard = [&] {
            Card card;
            for (int field = 0; field < kCardFieldCount; ++field) {
                if (random() % 3 == 0)
                    card[field] = words[random() % words.size()] + " " + std::to_string(random() % 100);
            }
            return card;
        };
        CardTableModel table;
        std::vector<Card> cards;
        for (int row = 0; row < 40; ++row)
            cards.push_back(randomCard());
        SetTableRows(table, cards);
        FilteredCardTable shown(table);
        QAbstractItemModelTester tester(&shown, QAbstractItemModelTester::FailureReportingMode::QtTest);

        for (const QString& text : {QStringLiteral("sky"), QStringLiteral("pokemon"), QStringLiteral("name:dragon")}) {
            shown.SetFilterText(text);
            CheckShown(shown, table, text);
            for (int step = 0; step < 60; ++step) {
                const int rows = table.rowCount();
                switch (random() % 6) {
                case 0:
                    table.InsertRow(int(random() % std::uint32_t(rows + 1)), randomCard());
                    break;
                case 1:
                    table.RemoveRow(int(random() % std::uint32_t(rows)));
                    break;
                case 2:
                    table.SetRow(int(random() % std::uint32_t(rows)), randomCard());
                    break;
                case 3:
                    table.SetCell(int(random() % std::uint32_t(rows)), NameField, words[random() % words.size()]);
                    break;
                case 4: {
                    std::vector<int> order(std::size_t(table.rowCount()));
                    std::iota(order.begin(), order.end(), 0);
                    std::shuffle(order.begin(), order.end(), random);
                    table.Reorder(order);
                    break;
                }
                case 5:
                    table.ReverseRows();
                    break;
                }
                CheckShown(shown, table, text);
            }
            cards.clear();
            for (int row = 0; row < 30; ++row)
                cards.push_back(randomCard());
            SetTableRows(table, cards);
            CheckShown(shown, table, text);
        }
    }

    // A longer filter searches only the rows the last one kept; rows that
    // came or changed in between are among them when they match.
    void narrowsAfterChanges()
    {
        CardTableModel table;
        SetTableRows(table, {Named("Sky Dragon"), Named("Frost Golem"), Named("Skyline")});
        FilteredCardTable shown(table);
        shown.SetFilterText(QStringLiteral("sky"));
        table.InsertRow(0, Named("Skyforge Titan"));
        table.SetRow(2, Named("Skyforge Golem"));
        table.SetRow(1, Named("Sky Wisp"));
        for (const QString& text : {QStringLiteral("skyf"), QStringLiteral("skyfo golem"), QStringLiteral("sky")}) {
            shown.SetFilterText(text);
            CheckShown(shown, table, text);
        }
    }

    // Keys typed and taken back show what each filter showed before, unless
    // the table changed in between.
    void takingKeysBack()
    {
        CardTableModel table;
        SetTableRows(table, {Named("Sky Dragon"), Named("Frost Golem"), Named("Skyline")});
        FilteredCardTable shown(table);
        QAbstractItemModelTester tester(&shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char* text : {"s", "sk", "sky", "skyl", "sky", "sk", "sky", "skyl"}) {
            shown.SetFilterText(QString::fromUtf8(text));
            CheckShown(shown, table, QString::fromUtf8(text));
        }
        table.InsertRow(0, Named("Sea Serpent"));
        table.SetRow(3, Named("Frost Skyline"));
        for (const char* text : {"sky", "s", "frost", "s"}) {
            shown.SetFilterText(QString::fromUtf8(text));
            CheckShown(shown, table, QString::fromUtf8(text));
        }
    }

    void marksFollowTheirCards()
    {
        CardTableModel table;
        SetTableRows(table, {Named("Sky Dragon"), Named("Frost Golem"), Named("Skyline"), Named("Ember Sky")});
        FilteredCardTable shown(table);
        const QPersistentModelIndex frost = shown.index(1, 0);
        const QPersistentModelIndex ember = shown.index(3, 2);
        shown.SetFilterText(QStringLiteral("sky"));
        QVERIFY(!frost.isValid());
        QCOMPARE(ember.row(), 2);
        QCOMPARE(ember.column(), 2);
        const QPersistentModelIndex skyline = shown.index(1, 0);
        shown.SetFilterText(QStringLiteral("sky e"));
        QCOMPARE(ember.row(), 1);
        QCOMPARE(skyline.row(), 0);
        shown.ClearFilter();
        QCOMPARE(ember.row(), 3);
        QCOMPARE(skyline.row(), 2);
        QVERIFY(!frost.isValid());
    }

    void tellsOfRowsItHides()
    {
        CardTableModel table;
        SetTableRows(table, {Named("Sky Dragon"), Named("Frost Golem")});
        FilteredCardTable shown(table);
        QSignalSpy added(&shown, &FilteredCardTable::AddedRowsHidden);
        QSignalSpy changed(&shown, &FilteredCardTable::ChangedRowHidden);
        QSignalSpy counts(&shown, &FilteredCardTable::CountsChanged);
        table.InsertRow(0, Named("Unseen"));
        QCOMPARE(added.count(), 0);
        shown.SetFilterText(QStringLiteral("sky"));
        table.InsertRow(0, Named("Skyline"));
        QCOMPARE(added.count(), 0);
        table.InsertRow(0, Named("Moon"));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.first().first().toInt(), 1);
        table.SetRow(1, Named("Skyline 2"));
        QCOMPARE(changed.count(), 0);
        table.SetRow(1, Named("Moonline"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(shown.rowCount(), 1);
        table.RemoveRow(2);
        QVERIFY(counts.count() >= 6);
    }

    // The table's order is the only order: a filtered view neither sorts nor
    // moves a selection when the table is reordered.
    void keepsTheTablesOrder()
    {
        CardTableModel table;
        SetTableRows(table, {Named("b sky"), Named("c"), Named("a sky"), Named("d sky")});
        FilteredCardTable shown(table);
        shown.SetFilterText(QStringLiteral("sky"));
        const QPersistentModelIndex second = shown.index(1, 0);
        table.Reorder({3, 1, 0, 2});
        QCOMPARE(second.row(), 1);
        QStringList names;
        for (int row = 0; row < shown.rowCount(); ++row)
            names << shown.index(row, NameField).data().toString();
        QCOMPARE(names, (QStringList{"d sky", "b sky", "a sky"}));
        table.ReverseRows();
        names.clear();
        for (int row = 0; row < shown.rowCount(); ++row)
            names << shown.index(row, NameField).data().toString();
        QCOMPARE(names, (QStringList{"a sky", "b sky", "d sky"}));
    }
};

QTEST_GUILESS_MAIN(TestFilteredCardTable)
#include "test_filtered_card_table.moc"
