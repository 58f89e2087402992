#include "app/table/CardTableView.h"
#include "app/statistics/StatisticsWindow.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include <algorithm>

namespace {

// Five Cards, top row first.
const QList<QList<QByteArray>> kCards = {
    {"Pok\xc3\xa9mon Pikachu", "Skyforge", "Mint", "1999", "$4.25", "2", "", "Holo"},
    {"Sky Dragon", "Base Set", "Near Mint", "2001", "$10.00", "1", "", "light whitening"},
    {"Frost Golem", "\xc3\x89" "DITION Premi\xc3\xa8re", "Played", "1999", "", "", "", "signed by the artist"},
    {"Ember Drake", "Skyforge", "Good", "2004", "", "3", "", "a mint find"},
    {"Crow", "Jungle", "Poor", "1999"},
};

// The file keeps the bottom row first.
QByteArray FileOf(QList<QList<QByteArray>> topFirst)
{
    std::reverse(topFirst.begin(), topFirst.end());
    return CollectionBytes(topFirst);
}

MainWindow& OpenOn(WindowFixture& f, const QList<QList<QByteArray>>& cards = kCards)
{
    f.folder.Write("qmk.dat", FileOf(cards));
    MainWindow& window = f.Open();
    QApplication::setActiveWindow(&window);
    return window;
}

QTableView* Table(const WindowFixture& f)
{
    return f.Find<QTableView>("cardTable");
}

// The names in the card table's rows as shown.
QStringList ShownNames(const WindowFixture& f)
{
    const QAbstractItemModel* shown = Table(f)->model();
    QStringList names;
    for (int row = 0; row < shown->rowCount(); ++row)
        names << shown->index(row, NameField).data().toString();
    return names;
}

QStringList TableNames(const MainWindow& window)
{
    QStringList names;
    for (int row = 0; row < window.CardTable().rowCount(); ++row)
        names << QString::fromStdString(window.CardTable().RowCard(row)[NameField]);
    return names;
}

// Ctrl+F from the Name field, then the text typed into the bar.
void Filter(const WindowFixture& f, const QString& text)
{
    if (f.Find<QWidget>("filterBar")->isHidden())
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
    f.Type("filterEdit", text);
    // The keystrokes are searched for once the typing has been taken in.
    QCoreApplication::processEvents();
}

QString CountText(const WindowFixture& f)
{
    return f.Find<QLabel>("filterCount")->text();
}

QList<int> Widths(const QTableView* view)
{
    QList<int> widths;
    for (int column = 0; column < view->horizontalHeader()->count(); ++column)
        widths << view->columnWidth(column);
    return widths;
}

void ClickHeading(const WindowFixture& f, int column)
{
    QHeaderView* header = Table(f)->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

} // namespace

class TestFilterBar : public QObject {
    Q_OBJECT

private slots:
    void ctrlFAndTheMenuOpenTheBar()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        auto* bar = f.Find<QWidget>("filterBar");
        QVERIFY(bar->isHidden());
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.Field("filterEdit"));
        QCOMPARE(CountText(f), QStringLiteral("5 of 5 Cards"));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);

        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        QVERIFY(menu->actions().contains(Action(window, "findAction")));
        QCOMPARE(Action(window, "findAction")->text(), QStringLiteral("&Find..."));
        QCOMPARE(Action(window, "findAction")->shortcut(), QKeySequence(QKeySequence::Find));
        Action(window, "findAction")->trigger();
        QVERIFY(bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), f.Field("filterEdit"));
    }

    // The bar follows the table in the Tab order; hidden, it is skipped.
    void tabOrderPassesThroughTheBar()
    {
        WindowFixture f;
        OpenOn(f);
        const auto tabsFromDescription = [&](Qt::Key key, int count) {
            f.Field("descriptionEdit")->setFocus();
            QTest::keyClick(f.Field("descriptionEdit"), Qt::Key_Tab);
            for (int tab = 0; tab < count; ++tab)
                QTest::keyClick(QApplication::focusWidget(), key);
            return QApplication::focusWidget();
        };
        QCOMPARE(tabsFromDescription(Qt::Key_Tab, 1), f.Find<QWidget>("addButton"));
        Filter(f, QStringLiteral("sky"));
        QCOMPARE(tabsFromDescription(Qt::Key_Tab, 1), f.Field("filterEdit"));
        QCOMPARE(tabsFromDescription(Qt::Key_Tab, 2), f.Find<QWidget>("addButton"));
        QCOMPARE(tabsFromDescription(Qt::Key_Backtab, 1), f.Field("descriptionEdit"));
        QCOMPARE(tabsFromDescription(Qt::Key_Tab, 1), f.Field("filterEdit"));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), Table(f));
    }

    void wordsPhrasesAndFields_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        const QString pikachu = QStringLiteral("Pok\u00e9mon Pikachu");
        QTest::newRow("nothing") << "" << QStringList{pikachu, "Sky Dragon", "Frost Golem", "Ember Drake", "Crow"};
        QTest::newRow("accent not typed") << "pokemon" << QStringList{pikachu};
        QTest::newRow("case and accent typed") << QStringLiteral("PIK POK\u00c9") << QStringList{pikachu};
        QTest::newRow("accents in the Card") << "edition premiere" << QStringList{"Frost Golem"};
        QTest::newRow("part of a word, any field") << "sky" << QStringList{pikachu, "Sky Dragon", "Ember Drake"};
        QTest::newRow("words in any order") << "dragon sky" << QStringList{"Sky Dragon"};
        QTest::newRow("a phrase") << "\"sky dragon\"" << QStringList{"Sky Dragon"};
        QTest::newRow("a phrase out of order") << "\"dragon sky\"" << QStringList{};
        QTest::newRow("a phrase with others") << "\"by the\" 1999" << QStringList{"Frost Golem"};
        QTest::newRow("any field") << "mint" << QStringList{pikachu, "Sky Dragon", "Ember Drake"};
        QTest::newRow("field by heading") << "condition:mint" << QStringList{pikachu, "Sky Dragon"};
        QTest::newRow("field by file key") << "description:mint" << QStringList{"Ember Drake"};
        QTest::newRow("field named in capitals") << "SERIES:SKY" << QStringList{pikachu, "Ember Drake"};
        QTest::newRow("the Qty heading") << "qty:3" << QStringList{"Ember Drake"};
        QTest::newRow("year") << "year:1999" << QStringList{pikachu, "Frost Golem", "Crow"};
        QTest::newRow("two fields") << "series:skyforge name:drake" << QStringList{"Ember Drake"};
        QTest::newRow("no such field is text") << "nosuch:mint" << QStringList{};
    }

    void wordsPhrasesAndFields()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, typed);
        QCOMPARE(ShownNames(f), names);
        QCOMPARE(CountText(f), QStringLiteral("%1 of 5 Cards").arg(names.size()));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("5"));
        if (typed.isEmpty())
            QVERIFY(!window.ShownRows());
        else
            QCOMPARE(int(window.ShownRows()->size()), names.size());
    }

    // Typing narrows as it goes and widens again as it is taken back.
    void typingAndTakingBack()
    {
        WindowFixture f;
        OpenOn(f);
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
        QLineEdit* edit = f.Field("filterEdit");
        const QList<QPair<QString, int>> steps = {{"s", 4}, {"sk", 3}, {"sky", 3}, {"skyf", 2}, {"skyfo d", 1}};
        for (const auto& [text, count] : steps) {
            QTest::keyClicks(edit, text.right(text.size() - edit->text().size()));
            QCoreApplication::processEvents();
            QCOMPARE(Table(f)->model()->rowCount(), count);
        }
        for (int back = 0; back < 5; ++back)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QCoreApplication::processEvents();
        QCOMPARE(edit->text(), QStringLiteral("sk"));
        QCOMPARE(Table(f)->model()->rowCount(), 3);
    }

    void escapeClearsAndHidesTheBar()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, QStringLiteral("sky"));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QVERIFY(f.Find<QWidget>("filterBar")->isHidden());
        QCOMPARE(ShownNames(f).size(), 5);
        QVERIFY(!window.ShownRows());
        // The focus goes back where Ctrl+F found it.
        QCOMPARE(QApplication::focusWidget(), f.Field("nameEdit"));

        // The mark stays on its Card; the bar opens empty again.
        Filter(f, QStringLiteral("sky"));
        f.ClickRow(1);
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(ShownNames(f).size(), 5);
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(f.Field("filterEdit")->text(), QString());
        // Elsewhere Escape ends the run as it always has, bar or no bar.
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(f.folder.Read("qmk.dat"), FileOf(kCards));
    }

    void enterReadsTheFirstShownCard()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, QStringLiteral("year:1999 o"));
        QCOMPARE(ShownNames(f), (QStringList{QStringLiteral("Pok\u00e9mon Pikachu"), "Frost Golem", "Crow"}));
        // Typed and Enter at once: the Card is the first of what was typed.
        QTest::keyClicks(f.Field("filterEdit"), QStringLiteral("le"));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Return);
        QVERIFY(window.isVisible());
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Frost Golem"));
        QCOMPARE(window.SelectionMark(), 2);
        QVERIFY(Table(f)->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(QApplication::focusWidget(), f.Field("filterEdit"));

        // Nothing shown: nothing is read.
        Filter(f, QStringLiteral("zzz"));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Enter);
        QVERIFY(window.isVisible());
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Frost Golem"));

        // Enter in an entry field still quits, the bar open.
        QTest::keyClick(f.Field("yearEdit"), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QCOMPARE(f.folder.Read("qmk.dat"), FileOf(kCards));
    }

    // A click, Update and Delete on a shown row act on that row's Card; the
    // file holds every Card, in table order.
    void commandsActOnTheShownCard()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, QStringLiteral("1999"));
        f.ClickRow(1);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Frost Golem"));
        QCOMPARE(window.SelectionMark(), 2);

        f.Type("descriptionEdit", QStringLiteral("signed, 1999 print"));
        f.Click("updateButton");
        QCOMPARE(window.CardTable().Cell(2, DescriptionField), std::string_view("signed, 1999 print"));
        QCOMPARE(ShownNames(f).size(), 3);

        f.ClickRow(2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Crow"));
        f.Click("deleteButton");
        QCOMPARE(TableNames(window),
                 (QStringList{QStringLiteral("Pok\u00e9mon Pikachu"), "Sky Dragon", "Frost Golem", "Ember Drake"}));
        QCOMPARE(ShownNames(f), (QStringList{QStringLiteral("Pok\u00e9mon Pikachu"), "Frost Golem"}));
        QCOMPARE(CountText(f), QStringLiteral("2 of 4 Cards"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("4"));
        // The mark goes with its row, as it does unfiltered: no row beside
        // takes it while the fields hold the deleted Card.
        QCOMPARE(window.SelectionMark(), -1);
        QVERIFY(Table(f)->selectionModel()->selectedRows().isEmpty());

        // An Update that makes the Card miss the filter hides it, and says so.
        f.ClickRow(0);
        f.Type("yearEdit", QStringLiteral("2000"));
        f.Click("updateButton");
        QCOMPARE(ShownNames(f), (QStringList{"Frost Golem"}));
        QCOMPARE(CountText(f), QStringLiteral("1 of 4 Cards - the Card changed is hidden by the filter"));
        QCOMPARE(window.CardTable().Cell(0, YearField), std::string_view("2000"));

        f.Quit();
        QList<QList<QByteArray>> expected = kCards.mid(0, 4);
        expected[0][YearField] = "2000";
        expected[2][DescriptionField] = "signed, 1999 print";
        QCOMPARE(f.folder.Read("qmk.dat"), FileOf(expected));
    }

    void pagesHoldEveryCard()
    {
        WindowFixture f;
        f.folder.Write("ListOutside.htm", "#DATA#");
        f.folder.Write("ListInside.htm", "#NAME#;");
        OpenOn(f);
        Filter(f, QStringLiteral("sky"));
        f.Click("listButton");
        QVERIFY(QString::fromUtf8(f.folder.Read("list.htm"))
                    .startsWith(QStringLiteral("Pok\u00e9mon Pikachu;Sky Dragon;Frost Golem;Ember Drake;Crow;<")));
    }

    // The Statistics window counts the Cards shown; a Card chosen there that
    // the filter hides is shown again, the bar closed.
    void statisticsFollowTheFilter()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, QStringLiteral("sky"));
        Action(window, "statisticsAction")->trigger();
        auto* statistics = window.findChild<StatisticsWindow*>();
        QCOMPARE(statistics->Totals().cards, 3);
        Filter(f, QStringLiteral("skyforge"));
        QTRY_COMPARE(statistics->Totals().cards, 2);
        window.SelectRow(4);
        QVERIFY(f.Find<QWidget>("filterBar")->isHidden());
        QCOMPARE(window.SelectionMark(), 4);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Crow"));
        QTRY_COMPARE(statistics->Totals().cards, 5);
        QApplication::setActiveWindow(&window);
        Filter(f, QStringLiteral("skyforge"));
        window.SelectRow(3);
        QVERIFY(f.Find<QWidget>("filterBar")->isVisible());
        QCOMPARE(window.SelectionMark(), 3);
        QVERIFY(Table(f)->selectionModel()->isRowSelected(1, {}));
    }

    void addHiddenByTheFilter()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        Filter(f, QStringLiteral("sky"));
        f.ClickRow(1);
        f.Type("nameEdit", QStringLiteral("Crow II"));
        f.Type("seriesBox", QStringLiteral("Jungle"));
        f.Click("addButton");
        QCOMPARE(TableNames(window).first(), QStringLiteral("Crow II"));
        QCOMPARE(ShownNames(f), (QStringList{QStringLiteral("Pok\u00e9mon Pikachu"), "Sky Dragon", "Ember Drake"}));
        QCOMPARE(CountText(f), QStringLiteral("3 of 6 Cards - the Card added is hidden by the filter"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("6"));
        // The mark follows the fields to the new Card, which the filter
        // hides: no row is marked, and none selected.
        QCOMPARE(window.SelectionMark(), -1);
        QVERIFY(Table(f)->selectionModel()->selectedRows().isEmpty());

        f.Type("nameEdit", QStringLiteral("Skyline"));
        f.Click("addButton");
        QCOMPARE(ShownNames(f).first(), QStringLiteral("Skyline"));
        QCOMPARE(CountText(f), QStringLiteral("4 of 7 Cards"));
        QCOMPARE(window.SelectionMark(), 0);
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        QCOMPARE(ShownNames(f).mid(0, 2), (QStringList{"Skyline", "Crow II"}));
    }

    // Undo and redo reach the table past the filter; the shown rows follow
    // each step, and the mark a step restores is on a shown Card or none.
    void undoAndRedoWhileFiltered()
    {
        WindowFixture f;
        MainWindow& window = OpenOn(f);
        const QString pikachu = QStringLiteral("Pok\u00e9mon Pikachu");
        Filter(f, QStringLiteral("sky"));
        f.ClickRow(1);
        f.Click("deleteButton");
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Ember Drake"}));
        window.OnUndo();
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Sky Dragon", "Ember Drake"}));
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(CountText(f), QStringLiteral("3 of 5 Cards"));

        // An Update that hid its Card, undone, shows it again.
        f.Type("nameEdit", QStringLiteral("Dragon"));
        f.Type("seriesBox", QStringLiteral("Base"));
        f.Click("updateButton");
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Ember Drake"}));
        window.OnUndo();
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Sky Dragon", "Ember Drake"}));
        window.OnRedo();
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Ember Drake"}));
        // As after the Update itself, the mark went with its hidden row.
        QCOMPARE(window.SelectionMark(), -1);
        window.OnUndo();

        // An Add the filter hides, undone and redone.
        f.Type("nameEdit", QStringLiteral("Moon"));
        f.Click("addButton");
        QCOMPARE(CountText(f), QStringLiteral("3 of 6 Cards - the Card added is hidden by the filter"));
        window.OnUndo();
        QCOMPARE(CountText(f), QStringLiteral("3 of 5 Cards"));
        window.OnRedo();
        QCOMPARE(TableNames(window).first(), QStringLiteral("Moon"));
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Sky Dragon", "Ember Drake"}));
        window.OnUndo();

        // A sort, undone, puts the rows back; the shown ones follow.
        ClickHeading(f, NameField);
        QCOMPARE(ShownNames(f), (QStringList{"Ember Drake", pikachu, "Sky Dragon"}));
        window.OnUndo();
        QCOMPARE(ShownNames(f), (QStringList{pikachu, "Sky Dragon", "Ember Drake"}));
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), FileOf(kCards));
    }

    // A heading click sorts the whole table as it would unfiltered; the
    // shown rows follow, and the widths stay those of every Card.
    void sortWhileFiltered()
    {
        WindowFixture f;
        QList<QList<QByteArray>> cards = kCards;
        cards[4] = {"Crow", "Jungle", "Poor", "1999", "", "", "", "a description wider than any other, by far"};
        MainWindow& window = OpenOn(f, cards);
        const QList<int> widths = Widths(Table(f));
        Filter(f, QStringLiteral("name:o"));
        QCOMPARE(ShownNames(f), (QStringList{QStringLiteral("Pok\u00e9mon Pikachu"), "Sky Dragon", "Frost Golem",
                                             "Crow"}));
        f.ClickRow(1);
        ClickHeading(f, NameField);
        QCOMPARE(TableNames(window), (QStringList{"Crow", "Ember Drake", "Frost Golem", QStringLiteral("Pok\u00e9mon Pikachu"),
                                                  "Sky Dragon"}));
        QCOMPARE(ShownNames(f), (QStringList{"Crow", "Frost Golem", QStringLiteral("Pok\u00e9mon Pikachu"),
                                             "Sky Dragon"}));
        // The mark follows its Card, as it does unfiltered.
        QCOMPARE(window.SelectionMark(), 4);
        QVERIFY(Table(f)->selectionModel()->isRowSelected(3, {}));
        ClickHeading(f, NameField);
        QCOMPARE(window.SelectionMark(), 0);
        QCOMPARE(ShownNames(f), (QStringList{"Sky Dragon", QStringLiteral("Pok\u00e9mon Pikachu"), "Frost Golem",
                                             "Crow"}));
        QCOMPARE(Widths(Table(f)), widths);

        // The widest Card hidden, an Update still fits every Card.
        Filter(f, QStringLiteral("sky"));
        f.ClickRow(0);
        f.Click("updateButton");
        QCOMPARE(Widths(Table(f)), widths);
        Filter(f, QStringLiteral("no such Card"));
        QCOMPARE(Table(f)->model()->rowCount(), 0);
        QCOMPARE(Widths(Table(f)), widths);
        QTest::keyClick(f.Field("filterEdit"), Qt::Key_Escape);
        QCOMPARE(Widths(Table(f)), widths);
        QCOMPARE(TableNames(window).first(), QStringLiteral("Sky Dragon"));
    }
};

QTEST_MAIN(TestFilterBar)
#include "test_filter_bar.moc"
