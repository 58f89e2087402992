#include "app/table/CardTableView.h"
#include "support/WindowTest.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const char* const kFieldNames[] = {"nameEdit", "seriesBox", "conditionBox", "yearEdit",
                                   "priceEdit", "quantityEdit", "urlEdit", "descriptionEdit"};

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

QStringList ComboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QList<int> Widths(const QTableView* view)
{
    QList<int> widths;
    for (int column = 0; column < view->horizontalHeader()->count(); ++column)
        widths << view->columnWidth(column);
    return widths;
}

QStringList Fields(const WindowFixture& f)
{
    QStringList texts;
    for (const char* name : kFieldNames)
        texts << f.Field(name)->text();
    return texts;
}

void ClickHeading(const WindowFixture& f, int column)
{
    QHeaderView* header = f.Find<QTableView>("cardTable")->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

} // namespace

class TestCardEntry : public QObject {
    Q_OBJECT

private slots:
    // Add

    void addRefusesOnlyAnEmptyName()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.Type("seriesBox", QStringLiteral("New Series"));
        f.Click("addButton");
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("Name Blank.\r\nNo entry added."));
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error"));
        QVERIFY(!f.messages.shown[0].question);
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 3);
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("New Series"));

        // The file could not give a Name of white space back: it is empty.
        f.Field("nameEdit")->setText(QStringLiteral(" \t "));
        f.Click("addButton");
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[1].text, QStringLiteral("Name Blank.\r\nNo entry added."));
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(f.Field("nameEdit")->text(), QString());

        f.Type("nameEdit", QStringLiteral(" x"));
        f.Click("addButton");
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(Names(window), (QStringList{" x", "Ace", "Bolt", "Crow"}));
        QCOMPARE(window.CardTable().Cell(0, SeriesField), std::string_view("New Series"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("4"));
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("New Series"));
    }

    // Add and Update keep what the next start brings back: the table, the
    // lists and the fields never show trailing white space, and the file
    // is the same after a second start.
    void trailingWhiteSpaceGoesBeforeTheCardIsShown()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("Dusk  "));
        f.Field("seriesBox")->setText(QStringLiteral("Jungle \t"));
        f.Field("descriptionEdit")->setText(QStringLiteral(" Foil\r"));
        f.Click("addButton");
        QCOMPARE(window.CardTable().RowCard(0)[NameField], std::string("Dusk"));
        QCOMPARE(window.CardTable().RowCard(0)[SeriesField], std::string("Jungle"));
        QCOMPARE(window.CardTable().RowCard(0)[DescriptionField], std::string(" Foil"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Dusk"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral(" Foil"));
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 3);

        f.ClickRow(1);
        f.Field("conditionBox")->setText(QStringLiteral("Mint\n"));
        f.Click("updateButton");
        QCOMPARE(window.CardTable().Cell(1, ConditionField), std::string_view("Mint"));
        QCOMPARE(f.Field("conditionBox")->text(), QStringLiteral("Mint"));

        // A Name of white space alone is empty: Update changes nothing.
        f.Type("nameEdit", QStringLiteral("   "));
        f.Click("updateButton");
        QCOMPARE(window.CardTable().Cell(1, NameField), std::string_view("Ace"));
        QVERIFY(f.messages.shown.isEmpty());
        const Card top = window.CardTable().RowCard(0);
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.dat");

        WindowFixture again;
        again.folder.Write("qmk.dat", saved);
        MainWindow& reopened = again.Open();
        QCOMPARE(reopened.CardTable().rowCount(), 4);
        QCOMPARE(reopened.CardTable().RowCard(0), top);
        again.Quit();
        QCOMPARE(again.folder.Read("qmk.dat"), saved);
    }

    void addAsksBeforeADuplicate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("series");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Yes") << "Bolt" << "Base Set" << true << true << QStringList{"Bolt", "Ace", "Bolt", "Crow"};
        QTest::newRow("No") << "Bolt" << "Base Set" << true << false << QStringList{"Ace", "Bolt", "Crow"};
        QTest::newRow("Name differs in case") << "bolt" << "Base Set" << false << false
                                              << QStringList{"bolt", "Ace", "Bolt", "Crow"};
        QTest::newRow("Series differs") << "Bolt" << "base set" << false << false
                                        << QStringList{"Bolt", "Ace", "Bolt", "Crow"};
    }

    void addAsksBeforeADuplicate()
    {
        QFETCH(QString, name);
        QFETCH(QString, series);
        QFETCH(bool, asked);
        QFETCH(bool, yes);
        QFETCH(QStringList, names);
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.messages.answers = {yes};
        f.Type("nameEdit", name);
        f.Type("seriesBox", series);
        f.Type("yearEdit", QStringLiteral("1990"));
        f.Click("addButton");
        QCOMPARE(f.messages.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(f.messages.shown[0].text,
                     QStringLiteral("This entry is already in the list.\r\nDo you really want to add this item?"));
            QCOMPARE(f.messages.shown[0].caption, QCoreApplication::applicationName());
            QVERIFY(f.messages.shown[0].question);
        }
        QCOMPARE(Names(window), names);
        QCOMPARE(f.Field("nameEdit")->text(), name);
        QCOMPARE(f.Field("yearEdit")->text(), QStringLiteral("1990"));
        QCOMPARE(f.Field("countBox")->text(), QString::number(names.size()));
    }

    void addGoesToTheTopOfASortedTableAndKeepsTheWidths()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        ClickHeading(f, YearField);
        QCOMPARE(Names(window), (QStringList{"Crow", "Ace", "Bolt"}));
        const QList<int> widths = Widths(view);
        f.Type("nameEdit", QStringLiteral("Zapdos, a name far wider than any column of this table"));
        f.Type("seriesBox", QStringLiteral("A series far wider than the Series heading"));
        f.Click("addButton");
        QCOMPARE(Names(window).mid(1), (QStringList{"Crow", "Ace", "Bolt"}));
        QCOMPARE(window.CardTable().Cell(0, SeriesField), std::string_view("A series far wider than the Series heading"));
        QCOMPARE(Widths(view), widths);
    }

    // The lists keep one entry per text ignoring case, in alphabetical order
    // ignoring case; the rows and fields keep the text as it was typed.
    void choiceListsGrowIgnoringCaseAndNeverShrink()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        auto* series = f.Find<QComboBox>("seriesBox");
        auto* conditions = f.Find<QComboBox>("conditionBox");
        const QStringList typed[] = {{"Base Set", "near mint"}, {"base set", "Good"}, {"Base", "Near Mint"},
                                     {"fossil", "mint"}};
        for (const QStringList& card : typed) {
            f.Type("nameEdit", QStringLiteral("Card"));
            f.Type("seriesBox", card[0]);
            f.Type("conditionBox", card[1]);
            f.Click("addButton");
            QCOMPARE(f.Field("seriesBox")->text(), card[0]);
            QCOMPARE(f.Field("conditionBox")->text(), card[1]);
        }
        QCOMPARE(window.CardTable().Cell(2, SeriesField), std::string_view("base set"));
        QCOMPARE(window.CardTable().Cell(1, SeriesField), std::string_view("Base"));
        QCOMPARE(ComboItems(series), (QStringList{"Base", "Base Set", "fossil"}));
        QCOMPARE(ComboItems(conditions), (QStringList{"Good", "mint", "near mint"}));

        for (int row = 0; row < 4; ++row) {
            f.ClickRow(0);
            f.Click("deleteButton");
        }
        QCOMPARE(window.CardTable().rowCount(), 0);
        QCOMPARE(ComboItems(series), (QStringList{"Base", "Base Set", "fossil"}));
    }

    // Neither Enter nor leaving the box makes it take a list entry that
    // differs from the typed text, even if only in case.
    void comboBoxesKeepTheTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a list entry begins with it") << "Base";
        QTest::newRow("a list entry differs in case") << "base set";
        QTest::newRow("a list entry") << "Base Set";
    }

    void comboBoxesKeepTheTypedText()
    {
        QFETCH(QString, typed);
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.Type("seriesBox", typed);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(f.Field("seriesBox"), &leave);
        f.Click("addButton");
        QCOMPARE(window.CardTable().Cell(0, SeriesField), std::string_view(typed.toStdString()));
        QCOMPARE(f.Field("seriesBox")->text(), typed);

        std::string held;
        connect(&window, &QDialog::accepted, this, [&] { held = window.HeldCard()[SeriesField]; });
        QTest::keyClick(f.Field("seriesBox"), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QCOMPARE(held, typed.toStdString());
        QCOMPARE(window.CardTable().rowCount(), 4);
    }

    // Enter is the Quit button's, except on a button that has the focus.
    void enterQuitsFromEveryEntryField()
    {
        {
            WindowFixture f;
            MainWindow& window = f.Open();
            f.Type("nameEdit", QStringLiteral("Dusk"));
            auto* add = f.Find<QPushButton>("addButton");
            add->setFocus();
            QTest::keyClick(add, Qt::Key_Return);
            QVERIFY(window.isVisible());
            QCOMPARE(window.CardTable().rowCount(), 1);
        }
        for (const char* name : kFieldNames) {
            WindowFixture f;
            f.folder.Write("qmk.dat", kThreeCards);
            MainWindow& window = f.Open();
            f.Type("nameEdit", QStringLiteral("Dusk"));
            QTest::keyClick(f.Field(name), Qt::Key_Return);
            QVERIFY2(!window.isVisible(), name);
            QCOMPARE(window.CardTable().rowCount(), 3);
            QVERIFY(f.messages.shown.isEmpty());
        }
    }

    // Update

    void updateRewritesTheMarkedRowInPlace()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.ClickRow(2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Crow"));
        f.Type("nameEdit", QStringLiteral("Ace"));
        f.Type("seriesBox", QStringLiteral("Fossil"));
        f.Type("conditionBox", QStringLiteral("Good"));
        f.Type("yearEdit", QStringLiteral("2001"));
        f.Type("priceEdit", QStringLiteral("12.00"));
        f.Type("quantityEdit", QStringLiteral("10"));
        f.Click("updateButton");
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Ace"}));
        QCOMPARE(window.CardTable().RowCard(2), window.CardTable().RowCard(0));
        QVERIFY(f.messages.shown.isEmpty());

        f.Type("nameEdit", QString());
        f.Type("seriesBox", QStringLiteral("Never written"));
        f.Click("updateButton");
        QCOMPARE(window.CardTable().RowCard(2), window.CardTable().RowCard(0));
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 3);
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The widths after an Update or a Delete are those a fresh load of the
    // same Cards gives, though only the changed row was measured.
    void updateAndDeleteFitTheWidthsAsALoadDoes()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        f.Open();
        const QString wide = QStringLiteral("A Series wider than any other text in the table");
        f.ClickRow(1);
        f.Type("seriesBox", wide);
        f.Click("updateButton");
        const QList<int> widened = Widths(f.Find<QTableView>("cardTable"));
        f.ClickRow(0);
        f.Type("seriesBox", wide);
        f.Click("updateButton");
        f.ClickRow(1);
        f.Click("deleteButton");
        QCOMPARE(Widths(f.Find<QTableView>("cardTable"))[SeriesField], widened[SeriesField]);
        f.ClickRow(0);
        f.Type("seriesBox", QStringLiteral("X"));
        f.Click("updateButton");
        const QList<int> narrowed = Widths(f.Find<QTableView>("cardTable"));
        QVERIFY(narrowed[SeriesField] < widened[SeriesField]);
        f.Quit();

        WindowFixture reopened;
        reopened.folder.Write("qmk.dat", f.folder.Read("qmk.dat"));
        reopened.Open();
        reopened.Find<CardTableView>("cardTable")->FitColumns();
        QCOMPARE(Widths(reopened.Find<QTableView>("cardTable")), narrowed);
    }

    // No fitted column is narrower than the view needs to show its cells
    // whole: kerning, ligatures and overhanging last letters count.
    void fittedColumnsShowEveryTextWhole()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Office fluff_ Wa", "Ba\xc3\xa9se \xe6\x97\xa5\xe6\x9c\xac", "M",
                                                    "1999", "\t12", "1", "e\xcc\x81" "f", "AV To Wa \xd7\x90\xd7\x91"},
                                                   {"iiiiiiiiiiiiiiiiiiiiiiiiiiii", "", "Near Mint",
                                                    "\xd0\x96\xd0\x96\xd0\x96", "", "12345678", "x", "y"}}));
        f.Open();
        f.ClickRow(0);
        f.Type("conditionBox", QStringLiteral("Gem Mint \u00c5\u00c5\u00c5"));
        f.Click("updateButton");
        QAbstractItemView* view = f.Find<QTableView>("cardTable");
        QHeaderView* header = f.Find<QTableView>("cardTable")->horizontalHeader();
        for (int column = 0; column < kCardFieldCount; ++column) {
            QVERIFY2(header->sectionSize(column) >= view->sizeHintForColumn(column),
                     qPrintable(QStringLiteral("column %1: %2 < %3")
                                    .arg(column)
                                    .arg(header->sectionSize(column))
                                    .arg(view->sizeHintForColumn(column))));
        }
    }

    // Delete

    // The fields keep the deleted Card, so that Add can put it back; its row
    // is gone, and no other row is marked in its place: a second Delete and
    // an Update write nothing until a row is chosen.
    void deleteRemovesTheMarkedRowAndKeepsTheFields()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        f.ClickRow(1);
        f.Click("deleteButton");
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("2"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Bolt"));
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("Base Set"));
        QCOMPARE(window.SelectionMark(), -1);
        QVERIFY(view->selectionModel()->selectedRows().isEmpty());
        QVERIFY(f.messages.shown.isEmpty());

        f.Click("updateButton");
        f.Click("deleteButton");
        QCOMPARE(Names(window), (QStringList{"Ace", "Crow"}));
        QCOMPARE(window.CardTable().RowCard(1)[SeriesField], std::string("Jungle"));
        QVERIFY(f.messages.shown.isEmpty());

        f.Click("addButton");
        QCOMPARE(Names(window), (QStringList{"Bolt", "Ace", "Crow"}));
        QCOMPARE(window.SelectionMark(), 0);
    }

    // Update asks before it rewrites a row with fields that were not read
    // from it: the Card of a deleted row, or fields cleared and typed anew.
    // No keeps the row; Yes rewrites it.
    void updateAsksBeforeAnotherCardsFields_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void updateAsksBeforeAnotherCardsFields()
    {
        QFETCH(bool, yes);
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        f.ClickRow(1);
        f.Click("deleteButton");
        // Something marks the top row without reading it.
        view->selectionModel()->setCurrentIndex(view->model()->index(0, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(window.SelectionMark(), 0);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Bolt"));
        f.messages.answers = {yes};
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text,
                 QStringLiteral("The fields hold \u201cBolt\u201d, the Card you deleted.\r\n"
                                "Do you really want to replace the selected Card, \u201cAce\u201d, with it?"));
        QCOMPARE(f.messages.shown[0].caption, QCoreApplication::applicationName());
        QVERIFY(f.messages.shown[0].question);
        QCOMPARE(Names(window), yes ? (QStringList{"Bolt", "Crow"}) : (QStringList{"Ace", "Crow"}));
        QCOMPARE(window.CardTable().RowCard(0)[SeriesField], yes ? std::string("Base Set") : std::string("Fossil"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Bolt"));

        // Cleared fields are no row's Card either.
        f.ClickRow(1);
        f.Click("clearButton");
        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.messages.answers = {yes};
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[1].text,
                 QStringLiteral("The fields do not hold the selected Card, \u201cCrow\u201d, but \u201cDusk\u201d.\r\n"
                                "Do you really want to replace \u201cCrow\u201d with what the fields hold?"));
        QCOMPARE(window.CardTable().Cell(1, NameField), yes ? std::string_view("Dusk") : std::string_view("Crow"));

        // Once rewritten the row is the fields' own: no more questions.
        f.Type("yearEdit", QStringLiteral("1990"));
        f.messages.answers = {true};
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), yes ? 2 : 3);
        QCOMPARE(window.CardTable().Cell(1, NameField), std::string_view("Dusk"));
        QCOMPARE(window.CardTable().Cell(1, YearField), std::string_view("1990"));
    }

    // An Add undone puts the mark back on the row it was on, while the
    // fields keep the Card that was added: Update asks before it rewrites
    // that row. An Update undone leaves the fields and the mark on one Card.
    void updateAfterAnUndoneAddAsks()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        f.ClickRow(2);
        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.Click("addButton");
        window.OnUndo();
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        QCOMPARE(window.SelectionMark(), 2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Dusk"));
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].question);
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));

        f.ClickRow(1);
        f.Type("yearEdit", QStringLiteral("1990"));
        f.Click("updateButton");
        window.OnUndo();
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(window.HeldCard(), window.CardTable().RowCard(1));
        f.Type("yearEdit", QStringLiteral("1991"));
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(window.CardTable().Cell(1, YearField), std::string_view("1991"));
    }

    // A Card added is the top row and the fields' Card: the mark moves to
    // it, and Update then rewrites it, not the row marked before.
    void addMarksTheNewCard()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        f.ClickRow(2);
        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.Click("addButton");
        QCOMPARE(Names(window), (QStringList{"Dusk", "Ace", "Bolt", "Crow"}));
        QCOMPARE(window.SelectionMark(), 0);
        QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 0);
        f.Type("priceEdit", QStringLiteral("$1"));
        f.Click("updateButton");
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(window.CardTable().Cell(0, PriceField), std::string_view("$1"));
        QCOMPARE(window.CardTable().RowCard(3)[NameField], std::string("Crow"));
        QCOMPARE(window.CardTable().Cell(3, PriceField), std::string_view(""));

        // An Add refused leaves the mark and the row read as they were.
        f.Type("nameEdit", QString());
        f.Click("addButton");
        QCOMPARE(window.SelectionMark(), 0);
    }

    // Without a marked row Update and Delete write nothing, and Delete
    // still shows the true count. Giving the table the keyboard focus
    // marks no row.
    void nothingIsMarkedBeforeARowIsSelected()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(view, &enter);
        QCOMPARE(window.SelectionMark(), -1);

        f.Type("nameEdit", QStringLiteral("Dusk"));
        f.Click("updateButton");
        f.Field("countBox")->setText(QStringLiteral("7"));
        f.Click("deleteButton");
        QCOMPARE(Names(window), (QStringList{"Ace", "Bolt", "Crow"}));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("3"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Dusk"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    // A click on the table

    // Below the rows no row is picked: before any selection the fields
    // empty; after one, the row last selected keeps the mark and is read.
    void clickBelowTheRows()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        for (const char* name : kFieldNames)
            f.Type(name, QStringLiteral("typed"));
        auto* view = f.Find<QTableView>("cardTable");
        const QRect last = view->visualRect(view->model()->index(2, 0));
        QVERIFY(last.bottom() + 5 < view->viewport()->height());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, last.bottom() + 5));
        QCOMPARE(Fields(f), QStringList(8, QString()));
        QCOMPARE(window.HeldCard(), Card());

        f.ClickRow(1);
        f.Type("nameEdit", QStringLiteral("typed"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, last.bottom() + 5));
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(window.HeldCard(), window.CardTable().RowCard(1));
    }

    // The keys and a right-click read the row they move the mark to, as a
    // click does; a key that moves nothing reads nothing.
    void keysAndRightClickReadTheRow()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        f.ClickRow(2);
        QCOMPARE(Fields(f), (QStringList{"Crow", "Jungle", "Poor", "1999", "", "", "", ""}));
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(Fields(f), (QStringList{"Bolt", "Base Set", "Mint", "2004", "9.50", "2", "", ""}));
        QCOMPARE(window.HeldCard(), window.CardTable().RowCard(1));
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(window.SelectionMark(), 0);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Ace"));
        f.Type("priceEdit", QStringLiteral("typed"));
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(window.SelectionMark(), 0);
        QCOMPARE(f.Field("priceEdit")->text(), QStringLiteral("typed"));
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(window.SelectionMark(), 2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Crow"));

        QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->visualRect(view->model()->index(1, 0)).center());
        QCOMPARE(window.SelectionMark(), 1);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Bolt"));
        QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 1);

        // Update after the keys rewrites the row they read, without a question.
        QTest::keyClick(view, Qt::Key_Down);
        f.Type("descriptionEdit", QStringLiteral("read by the keys"));
        f.Click("updateButton");
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(window.CardTable().Cell(2, DescriptionField), std::string_view("read by the keys"));
        QCOMPARE(window.CardTable().Cell(1, DescriptionField), std::string_view(""));
    }

    // The column sort, as the window runs it

    // A heading click sorts the rows; the mark follows the Card the fields
    // were read from, and the fields keep what was typed.
    void headingClickMovesOnlyTheRows()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kThreeCards);
        MainWindow& window = f.Open();
        auto* view = f.Find<QTableView>("cardTable");
        f.ClickRow(2);
        f.Type("nameEdit", QStringLiteral("typed, not applied"));
        f.Field("countBox")->setText(QStringLiteral("7"));
        const QList<int> widths = Widths(view);

        ClickHeading(f, YearField);
        QCOMPARE(Names(window), (QStringList{"Crow", "Ace", "Bolt"}));
        QCOMPARE(window.SelectionMark(), 0);
        QVERIFY(view->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(Fields(f), (QStringList{"typed, not applied", "Jungle", "Poor", "1999", "", "", "", ""}));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("3"));
        QCOMPARE(Widths(view), widths);

        ClickHeading(f, YearField);
        QCOMPARE(Names(window), (QStringList{"Bolt", "Ace", "Crow"}));
        QCOMPARE(window.SelectionMark(), 2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("typed, not applied"));

        // Update rewrites the Card the fields were read from, where it is now.
        f.Click("updateButton");
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(Names(window), (QStringList{"Bolt", "Ace", "typed, not applied"}));

        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), CollectionBytes({{"typed, not applied", "Jungle", "Poor", "1999"},
                                                            {"Ace", "Fossil", "Good", "2001", "12.00", "10"},
                                                            {"Bolt", "Base Set", "Mint", "2004", "9.50", "2"}}));
    }
};

QTEST_MAIN(TestCardEntry)
#include "test_card_entry.moc"
