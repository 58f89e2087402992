#include "support/WindowTest.h"

#include "app/table/CardTableView.h"
#include "app/history/CollectionHistory.h"
#include "collection/CardEntry.h"
#include "collection/ChoiceListModel.h"
#include "collection/filter/FilteredCardTable.h"
#include "support/TableRows.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

// Three Cards, top row first: Ace, Bolt, Crow.
const QByteArray kThreeCards = CollectionBytes({{"Crow", "Jungle", "Poor", "1999"},
                                                {"Bolt", "Base Set", "Mint", "2004", "9.50", "2"},
                                                {"Ace", "Fossil", "Good", "2001", "12.00", "10"}});

QStringList Names(const MainWindow& window)
{
    QStringList names;
    for (int row = 0; row < window.CardTable().rowCount(); ++row) {
        const std::string_view name = window.CardTable().Cell(row, NameField);
        names << QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    return names;
}

void ClickHeading(const WindowFixture& f, int column)
{
    QHeaderView* header = f.Find<QTableView>("cardTable")->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

MainWindow& OpenActive(WindowFixture& f)
{
    MainWindow& window = f.Open();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("the window did not become active");
    return window;
}

// A key pressed where the keyboard focus is, as the user presses it.
void Press(QWidget* focus, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    focus->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT

private slots:
    // The menu holds the window's own actions, named after the step they
    // would undo or redo and greyed when there is none, with their keys.
    void menuNamesTheStepsAndGreysWhatCannotBeDone_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("step");
        QTest::newRow("Add") << "addButton" << "Dusk" << QStringLiteral("Add \u201cDusk\u201d");
        QTest::newRow("Update") << "updateButton" << "Dusk" << QStringLiteral("Update \u201cDusk\u201d");
        QTest::newRow("Delete") << "deleteButton" << "" << QStringLiteral("Delete \u201cBolt\u201d");
        QTest::newRow("header click") << "" << "" << QStringLiteral("Sort by Year");
        QTest::newRow("an ampersand is no mnemonic")
            << "addButton" << "Salt & Pepper" << QStringLiteral("Add \u201cSalt && Pepper\u201d");
        QTest::newRow("a long Name is cut")
            << "addButton" << QString(50, QLatin1Char('W'))
            << QStringLiteral("Add \u201c%1\u2026\u201d").arg(QString(39, QLatin1Char('W')));
    }

    void menuNamesTheStepsAndGreysWhatCannotBeDone()
    {
        QFETCH(QString, command);
        QFETCH(QString, typed);
        QFETCH(QString, step);
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        const QList<QAction*> entries = menu->actions();
        QVERIFY(entries.size() >= 4);
        QCOMPARE(entries[0], Action(window, "undoAction"));
        QCOMPARE(entries[1], Action(window, "redoAction"));
        QVERIFY(entries[entries.size() - 2]->isSeparator());
        QCOMPARE(entries.last()->text(), QStringLiteral("&About Quillmark..."));
        QCOMPARE(Action(window, "undoAction")->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
        QCOMPARE(Action(window, "redoAction")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
        QVERIFY(Action(window, "undoAction")->isShortcutVisibleInContextMenu());
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo"));
        QCOMPARE(Action(window, "redoAction")->text(), QStringLiteral("&Redo"));
        QVERIFY(!Action(window, "undoAction")->isEnabled());
        QVERIFY(!Action(window, "redoAction")->isEnabled());

        f.ClickRow(1);
        if (!typed.isEmpty())
            f.Type("nameEdit", typed);
        if (command.isEmpty())
            ClickHeading(f, YearField);
        else
            f.Click(command.toLatin1().constData());
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo ") + step);
        QVERIFY(Action(window, "undoAction")->isEnabled());
        QVERIFY(!Action(window, "redoAction")->isEnabled());

        Action(window, "undoAction")->trigger();
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        QCOMPARE(Action(window, "redoAction")->text(), QStringLiteral("&Redo ") + step);
        QVERIFY(Action(window, "redoAction")->isEnabled());
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo"));
        QVERIFY(!Action(window, "undoAction")->isEnabled());
    }

    // In a field with typing of its own, the undo and redo keys are the
    // field's; elsewhere, and in a field without typing, the collection's.
    void keysUndoTypingFirstThenTheCollection_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("edit box") << "nameEdit";
        QTest::newRow("combo box") << "seriesBox";
    }

    void keysUndoTypingFirstThenTheCollection()
    {
        QFETCH(QString, field);
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = OpenActive(f);
        QWidget* box = f.Find<QWidget>(field.toLatin1().constData());
        QLineEdit* edit = f.Field(field.toLatin1().constData());
        f.ClickRow(1);
        f.Click("deleteButton");
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        const QString shown = edit->text();

        box->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QCOMPARE(edit->text(), shown + QStringLiteral("x"));
        Press(box, Qt::Key_Z);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        Press(box, Qt::Key_Y);
        QCOMPARE(edit->text(), shown + QStringLiteral("x"));
        Press(box, Qt::Key_Z);
        QCOMPARE(edit->text(), shown);

        // Nothing of its own is left to undo: the Delete is undone.
        Press(box, Qt::Key_Z);
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Bolt"));
        Press(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        Press(f.Find<QPushButton>("deleteButton"), Qt::Key_Z);
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        Press(f.Find<QTableView>("cardTable"), Qt::Key_Y);
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("2"));
    }

    // Typing before a change to the collection is older than the change:
    // the keys in that field undo the change first.
    void aChangeIsNewerThanTheTypingBeforeIt()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = OpenActive(f);
        f.ClickRow(2);
        QLineEdit* name = f.Field("nameEdit");
        name->setFocus();
        name->end(false);
        QTest::keyClicks(name, QStringLiteral("s"));
        // Updated with the focus left in the field.
        window.OnUpdate();
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crows"}));
        Press(name, Qt::Key_Z);
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        QCOMPARE(name->text(), QStringLiteral("Crow"));
        Press(f.Field("countBox"), Qt::Key_Y);
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crows"}));
    }

    // The choice lists keep what an undone Add or Update brought.
    void choiceListsDoNotShrink()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.Type("seriesBox", QStringLiteral("Neo Genesis"));
        f.Type("conditionBox", QStringLiteral("Played"));
        f.Click("addButton");
        window.OnUndo();
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 4);
        QCOMPARE(f.Find<QComboBox>("conditionBox")->count(), 4);
        window.OnRedo();
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 4);
    }

    // Only a change to the rows is a step.
    void commandsThatChangeNoRowKeepNoStep()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Ace", "Fossil"}}));
        MainWindow& window = f.Open();
        f.Click("addButton");
        f.Type("nameEdit", QStringLiteral("Ace"));
        f.Type("seriesBox", QStringLiteral("Fossil"));
        f.Click("addButton");
        QCOMPARE(f.messages.shown.size(), 2);
        f.Click("updateButton");
        f.Click("deleteButton");
        f.ClickRow(0);
        f.Click("updateButton");
        ClickHeading(f, NameField);
        QCOMPARE(window.CardTable().rowCount(), 1);
        QVERIFY(!Action(window, "undoAction")->isEnabled());
        window.OnUndo();
        QCOMPARE(window.CardTable().rowCount(), 1);
    }

    // Beyond its budget the history forgets its oldest steps, never the
    // newest; what it can still undo puts the table back exactly.
    void oldestStepsAreForgottenBeyondTheBudget()
    {
        CardTableModel table;
        ChoiceListModel series;
        ChoiceListModel conditions;
        RecordingMessages messages;
        CardEntry entry(table, series, conditions, messages);
        CardTableView view;
        FilteredCardTable shown(table);
        view.SetCardTable(&table, &shown);
        std::vector<Card> rows;
        for (int i = 0; i < 1000; ++i) {
            Card card;
            card[NameField] = std::to_string((i * 7919) % 1000);
            card[SeriesField] = std::to_string((i * 104729) % 1009);
            rows.push_back(card);
        }
        SetTableRows(table, rows);
        // Room for about three sorts of 1,000 rows.
        CollectionHistory history(entry, table, view, 3 * 1000 * sizeof(int) + 2000);
        std::vector<std::vector<Card>> tables = {rows};
        for (int click = 0; click < 8; ++click) {
            history.SortByColumn(click % 2 == 0 ? NameField : SeriesField);
            std::vector<Card> now;
            for (int row = 0; row < table.rowCount(); ++row)
                now.push_back(table.RowCard(row));
            tables.push_back(now);
        }
        QVERIFY(history.Bytes() < 4 * 1000 * sizeof(int) + 8 * 1000);
        Card fields;
        int undone = 0;
        while (history.Undo(fields)) {
            ++undone;
            std::vector<Card> now;
            for (int row = 0; row < table.rowCount(); ++row)
                now.push_back(table.RowCard(row));
            QVERIFY(now == tables[std::size_t(8 - undone)]);
        }
        QCOMPARE(undone, 3);
        while (history.Redo(fields))
            ++undone;
        QCOMPARE(undone, 6);

        CollectionHistory tight(entry, table, view, 1);
        tight.SortByColumn(NameField);
        tight.SortByColumn(SeriesField);
        QVERIFY(tight.Undo(fields));
        QVERIFY(!tight.Undo(fields));
    }
};

QTEST_MAIN(TestUndoRedo)
#include "test_undo_redo.moc"
