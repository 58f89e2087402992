#include "support/WindowTest.h"

#include "app/table/SortHeader.h"
#include "app/window/CollectionView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

// Four Cards, top row first, whose Prices, Years and Quantities sort
// otherwise as numbers than as text.
const QByteArray kCards = CollectionBytes({
    {"Card 10", "Skyforge", "Mint", "2003", "", "10"},
    {"Card 2", "Skyforge", "Mint", "1999", "$38.00", "2"},
    {"Card 1", "Ashfall", "Played", "987", "$4", "1"},
    {"card 9", "Ashfall", "Good", "2011", "$12.50", ""},
});

// The preferences file as the program writes it.
const QByteArray kPreferences = "CREATOR=QMK 1.0\r\nNAME=Robin\r\nEMAIL=\r\nADDRESS1=\r\nADDRESS2=\r\nCITY=\r\n"
                                "STATE=\r\nCOUNTRY=\r\nCATALOGUE=catalogue.htm\r\nLIST=list.htm\r\nREPORT=\r\n"
                                "VALREPORT=\r\nTOOLTIPS=no\r\n\r\n";

QTableView* Table(const WindowFixture& f)
{
    return f.Find<QTableView>("cardTable");
}

QStringList Column(const MainWindow& window, int column)
{
    QStringList texts;
    for (int row = 0; row < window.CardTable().rowCount(); ++row) {
        const std::string_view text = window.CardTable().Cell(row, column);
        texts << QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    return texts;
}

void ClickHeading(const WindowFixture& f, int column)
{
    QHeaderView* header = Table(f)->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

// Right-clicks the column's heading and chooses "Sort ... as Numbers" in the menu that opens.
void ChooseSortAsNumbers(const WindowFixture& f, int column, bool expectedChecked)
{
    QHeaderView* header = Table(f)->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, middle, header->viewport()->mapToGlobal(middle));
    QApplication::sendEvent(header->viewport(), &event);
    QMenu* menu = header->findChild<QMenu*>(QStringLiteral("columnMenu"));
    QVERIFY(menu != nullptr);
    QTRY_VERIFY(menu->isVisible());
    QAction* numbers = menu->findChild<QAction*>(QStringLiteral("sortAsNumbersAction"));
    QVERIFY(numbers != nullptr);
    QVERIFY(numbers->isCheckable());
    QCOMPARE(numbers->isChecked(), expectedChecked);
    numbers->trigger();
    menu->close();
    QTRY_VERIFY(header->findChild<QMenu*>(QStringLiteral("columnMenu")) == nullptr);
}

// The arrow on the heading: its column and order, or -1 when none shows.
int ArrowColumn(const WindowFixture& f)
{
    QHeaderView* header = Table(f)->horizontalHeader();
    return header->isSortIndicatorShown() ? header->sortIndicatorSection() : -1;
}

Qt::SortOrder ArrowOrder(const WindowFixture& f)
{
    return Table(f)->horizontalHeader()->sortIndicatorOrder();
}

QList<int> Widths(const QTableView* view)
{
    QList<int> widths;
    for (int column = 0; column < view->horizontalHeader()->count(); ++column)
        widths << view->columnWidth(column);
    return widths;
}

QStringList Entries(const TempFolder& folder)
{
    return QDir(folder.Path(QStringLiteral("."))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestCollectionView : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        config_.emplace();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_->path());
    }

    // Without the option a heading click sorts by the bytes, as always;
    // the arrow shows the column and the order.
    void sortsTextWithoutTheOption()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        MainWindow& window = f.Open();
        QCOMPARE(ArrowColumn(f), -1);
        ClickHeading(f, PriceField);
        QCOMPARE(Column(window, PriceField), (QStringList{"", "$12.50", "$38.00", "$4"}));
        QCOMPARE(ArrowColumn(f), int(PriceField));
        QCOMPARE(ArrowOrder(f), Qt::AscendingOrder);
        ClickHeading(f, PriceField);
        QCOMPARE(Column(window, PriceField), (QStringList{"$4", "$38.00", "$12.50", ""}));
        QCOMPARE(ArrowOrder(f), Qt::DescendingOrder);
        ClickHeading(f, YearField);
        QCOMPARE(Column(window, YearField), (QStringList{"1999", "2003", "2011", "987"}));
        QCOMPARE(ArrowColumn(f), int(YearField));
    }

    // The header's menu has a column sort as numbers: Prices as amounts,
    // Years and Quantities as whole numbers, Names by the collator.
    void sortsAsNumbersWhenChosen()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        MainWindow& window = f.Open();
        ClickHeading(f, PriceField);
        QCOMPARE(ArrowColumn(f), int(PriceField));
        ChooseSortAsNumbers(f, PriceField, false);
        // The rows are not in the column's new order: the arrow goes.
        QCOMPARE(ArrowColumn(f), -1);
        QCOMPARE(Column(window, PriceField), (QStringList{"", "$12.50", "$38.00", "$4"}));
        ClickHeading(f, PriceField);
        QCOMPARE(Column(window, PriceField), (QStringList{"$4", "$12.50", "$38.00", ""}));
        QCOMPARE(ArrowColumn(f), int(PriceField));
        QCOMPARE(ArrowOrder(f), Qt::AscendingOrder);
        ClickHeading(f, PriceField);
        QCOMPARE(Column(window, PriceField), (QStringList{"", "$38.00", "$12.50", "$4"}));
        QCOMPARE(ArrowOrder(f), Qt::DescendingOrder);
        // Undone, the rows leave the order the arrow shows.
        window.OnUndo();
        QCOMPARE(Column(window, PriceField), (QStringList{"$4", "$12.50", "$38.00", ""}));
        QCOMPARE(ArrowColumn(f), -1);

        for (const int column : {int(YearField), int(QuantityField), int(NameField)})
            ChooseSortAsNumbers(f, column, false);
        ClickHeading(f, YearField);
        QCOMPARE(Column(window, YearField), (QStringList{"987", "1999", "2003", "2011"}));
        ClickHeading(f, NameField);
        QCOMPARE(Column(window, NameField), (QStringList{"Card 1", "Card 2", "card 9", "Card 10"}));
        ClickHeading(f, QuantityField);
        QCOMPARE(Column(window, QuantityField), (QStringList{"1", "2", "10", ""}));
        QCOMPARE(ArrowColumn(f), int(QuantityField));

        // An Add leaves the order; a Delete keeps it.
        f.ClickRow(1);
        f.Click("deleteButton");
        QCOMPARE(ArrowColumn(f), int(QuantityField));
        f.Type("nameEdit", QStringLiteral("Card 5"));
        f.Click("addButton");
        QCOMPARE(ArrowColumn(f), -1);

        // Chosen again, the option goes: the column sorts by its bytes.
        ChooseSortAsNumbers(f, YearField, true);
        ClickHeading(f, YearField);
        QCOMPARE(Column(window, YearField), (QStringList{"1999", "2003", "2011", "987"}));
    }

    // The option is remembered for the collection, outside its folder: the
    // folder's files keep their bytes and no file is added.
    void remembersTheOptionPerCollection()
    {
        WindowFixture plain;
        plain.folder.Write("qmk.dat", kCards);
        plain.folder.Write("qmk.ini", kPreferences);
        plain.Open();
        ClickHeading(plain, YearField);
        plain.Quit();

        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        f.folder.Write("qmk.ini", kPreferences);
        f.Open();
        ChooseSortAsNumbers(f, PriceField, false);
        ClickHeading(f, YearField);
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.ini"), kPreferences);
        QCOMPARE(f.folder.Read("qmk.dat"), plain.folder.Read("qmk.dat"));
        QCOMPARE(Entries(f.folder), Entries(plain.folder));

        f.window.reset();
        MainWindow& again = f.Open();
        QCOMPARE(f.window->findChild<SortHeader*>()->Order(PriceField), ColumnOrder::Numbers);
        QCOMPARE(f.window->findChild<SortHeader*>()->Order(YearField), ColumnOrder::Text);
        ClickHeading(f, PriceField);
        QCOMPARE(Column(again, PriceField), (QStringList{"$4", "$12.50", "$38.00", ""}));

        // Another collection has its own.
        WindowFixture other;
        other.folder.Write("qmk.dat", kCards);
        other.Open();
        QCOMPARE(other.window->findChild<SortHeader*>()->NumberColumns(), QList<int>());
    }

    // The title names the folder after the program's caption, and follows
    // the window to another folder.
    void titleNamesTheFolder()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillmark - Velmora - ") + QDir::current().dirName());
        const QString folder = f.folder.Path(QStringLiteral("Trade Binder"));
        QVERIFY(QDir().mkdir(folder));
        window.OpenFolder(folder);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillmark - Velmora - Trade Binder"));
        const QString odd = f.folder.Path(QStringLiteral("Odd [*] name"));
        QVERIFY(QDir().mkdir(odd));
        window.OpenFolder(odd);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillmark - Velmora - Odd [*][*] name"));
    }

    // The size and the widths set by hand come back for the collection; a
    // folder never shown starts as a first start does, and the columns not
    // set by hand are fitted to the texts they hold now.
    void remembersSizeAndWidthsPerCollection()
    {
        WindowFixture first;
        first.folder.Write("qmk.dat", kCards);
        first.Open();
        const QSize firstStart = first.window->size();
        const QList<int> fitted = Widths(Table(first));
        first.Quit();

        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        f.folder.Write("qmk.ini", kPreferences);
        f.Open();
        QCOMPARE(f.window->size(), firstStart);
        QCOMPARE(Widths(Table(f)), fitted);
        f.window->resize(firstStart + QSize(210, 130));
        Table(f)->horizontalHeader()->resizeSection(SeriesField, fitted[SeriesField] + 77);
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.ini"), kPreferences);
        QCOMPARE(Entries(f.folder), Entries(first.folder));

        // Another program makes the Names wider meanwhile.
        f.folder.Write("qmk.dat", kCards + CollectionBytes({{"A Name far wider than any of the others"}}).mid(17));
        f.window.reset();
        f.Open();
        QCOMPARE(f.window->size(), firstStart + QSize(210, 130));
        QCOMPARE(Table(f)->columnWidth(SeriesField), fitted[SeriesField] + 77);
        QVERIFY(Table(f)->columnWidth(NameField) > fitted[NameField]);
        QCOMPARE(Table(f)->columnWidth(YearField), fitted[YearField]);

        // Maximised, it opens maximised, and keeps its size for when it is not.
        f.window->showMaximized();
        QTRY_VERIFY(f.window->isMaximized());
        f.Quit();
        f.window.reset();
        f.Open();
        QTRY_VERIFY(f.window->isMaximized());
        f.window->showNormal();
        QTRY_COMPARE(f.window->size(), firstStart + QSize(210, 130));

        // A size larger than the screen is kept within it.
        f.window->resize(20000, 20000);
        f.Quit();
        f.window.reset();
        f.Open();
        QVERIFY(f.window->width() <= f.window->screen()->availableSize().width());
        QVERIFY(f.window->height() <= f.window->screen()->availableSize().height());
    }

    // The printing details stay hidden: a collection with details shows the
    // eight columns at the widths it would have without them, a click on a
    // heading finds the same column, and nothing more is remembered.
    void detailColumnsStayHidden()
    {
        WindowFixture plain;
        plain.folder.Write("qmk.dat", kCards);
        plain.Open();
        const QList<int> fitted = Widths(Table(plain));
        plain.Quit();

        WindowFixture f;
        QByteArray detailed = kCards;
        detailed.replace("DESCRIPTION=\r\n", "DESCRIPTION=\r\nGAME=A game name wider than any other text\r\n");
        f.folder.Write("qmk.dat", detailed);
        MainWindow& window = f.Open();
        QCOMPARE(window.CardTable().columnCount(), kAllCardFieldCount);
        QCOMPARE(Widths(Table(f)), fitted);
        for (int column = 0; column < kAllCardFieldCount; ++column)
            QCOMPARE(Table(f)->isColumnHidden(column), column >= kCardFieldCount);
        ClickHeading(f, DescriptionField);
        QCOMPARE(ArrowColumn(f), int(DescriptionField));
        Table(f)->horizontalHeader()->resizeSection(SeriesField, fitted[SeriesField] + 5);
        f.Quit();
        QCOMPARE(CollectionView::Recall(f.folder.Path(QStringLiteral("."))).handWidths.size(), kCardFieldCount);
        QCOMPARE(f.folder.Read("qmk.dat").count("\r\nGAME=A game name wider than any other text\r\n"), 4);

        // A reload keeps them hidden.
        f.window.reset();
        f.Open();
        for (int column = kCardFieldCount; column < kAllCardFieldCount; ++column)
            QVERIFY(Table(f)->isColumnHidden(column));
        QCOMPARE(Table(f)->columnWidth(SeriesField), fitted[SeriesField] + 5);
    }

    // Moving to another folder brings its size and widths; one never shown
    // keeps the window as it is.
    void eachFolderHasItsOwn()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        MainWindow& window = f.Open();
        const QSize start = window.size();
        const QString a = f.folder.Path(QStringLiteral("a"));
        const QString b = f.folder.Path(QStringLiteral("b"));
        QVERIFY(QDir().mkdir(a) && QDir().mkdir(b));
        window.OpenFolder(a);
        window.resize(start + QSize(60, 40));
        window.OpenFolder(b);
        QCOMPARE(window.size(), start + QSize(60, 40));
        window.resize(start + QSize(20, 100));
        window.OpenFolder(a);
        QCOMPARE(window.size(), start + QSize(60, 40));
        window.OpenFolder(b);
        QCOMPARE(window.size(), start + QSize(20, 100));
    }

private:
    std::optional<QTemporaryDir> config_;
};

QTEST_MAIN(TestCollectionView)
#include "test_collection_view.moc"
