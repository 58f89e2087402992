#include "app/history/ChangesStep.h"
#include "collection/ChoiceListModel.h"
#include "support/TableRows.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QTest>

#include <vector>

namespace {

std::vector<Card> Rows(const CardTableModel& table)
{
    std::vector<Card> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows.push_back(table.RowCard(row));
    return rows;
}

Card Named(const std::string& name)
{
    Card card;
    card[NameField] = name;
    card[SourceField] = "App";
    return card;
}

} // namespace

class TestChangesStep : public QObject {
    Q_OBJECT

private slots:
    // Replacements, removals in runs and alone, at the top and the bottom,
    // and new Cards at the top: undo gives back the table as it was, row for
    // row, and redo the table as the change left it, again and again.
    void undoAndRedoGiveBackEachTable()
    {
        QRandomGenerator random(4242);
        for (int round = 0; round < 200; ++round) {
            CardTableModel table;
            QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
            std::vector<Card> before;
            for (int row = int(random.bounded(12)); row > 0; --row)
                before.push_back(Named("Card " + std::to_string(row)));
            SetTableRows(table, before);

            CollectionChanges changes;
            for (int row = 0; row < int(before.size()); ++row) {
                switch (random.bounded(4)) {
                case 0:
                    changes.replaced.emplace_back(row, Named("Changed " + std::to_string(row)));
                    break;
                case 1:
                    changes.removed.push_back(row);
                    break;
                default:
                    break;
                }
            }
            for (int added = int(random.bounded(4)); added > 0; --added)
                changes.added.Append(Named("New " + std::to_string(added)));
            ChoiceListModel series;
            ChoiceListModel conditions;
            ChangesStep step(table, ApplyCollectionChanges(std::move(changes), table, series, conditions),
                             QStringLiteral("step"));
            step.redo();
            const std::vector<Card> after = Rows(table);
            for (int pass = 0; pass < 2; ++pass) {
                step.undo();
                QCOMPARE(Rows(table), before);
                step.redo();
                QCOMPARE(Rows(table), after);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestChangesStep)
#include "test_changes_step.moc"
