#include "app/table/ColumnMenu.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

class TestColumnMenu : public QObject {
    Q_OBJECT

private slots:
    // Each column has a ticked entry while shown; unticking hides it and
    // says so, ticking shows it again; the last column shown cannot go.
    void showsAndHidesColumns()
    {
        QStandardItemModel model(2, 3);
        model.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Set"), QStringLiteral("Tags")});
        QTableView view;
        view.setModel(&model);
        view.horizontalHeader()->hideSection(2);
        QList<QPair<int, bool>> changes;
        ColumnMenu columns(*view.horizontalHeader(), [&](int column, bool shown) { changes.append({column, shown}); });

        QMenu menu;
        columns.Fill(menu);
        QCOMPARE(menu.actions().size(), 3);
        QCOMPARE(menu.actions()[2]->text(), QStringLiteral("Tags"));
        QVERIFY(menu.actions()[0]->isChecked() && !menu.actions()[2]->isChecked());
        menu.actions()[2]->trigger();
        menu.actions()[1]->trigger();
        QVERIFY(!view.horizontalHeader()->isSectionHidden(2));
        QVERIFY(view.horizontalHeader()->isSectionHidden(1));
        QCOMPARE(changes, (QList<QPair<int, bool>>{{2, true}, {1, false}}));

        view.horizontalHeader()->hideSection(2);
        QMenu alone;
        columns.Fill(alone);
        QVERIFY(!alone.actions()[0]->isEnabled());
        QVERIFY(alone.actions()[1]->isEnabled());
    }
};

QTEST_MAIN(TestColumnMenu)
#include "test_column_menu.moc"
