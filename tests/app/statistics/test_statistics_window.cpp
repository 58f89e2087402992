#include "support/WindowTest.h"

#include "app/statistics/StatisticsWindow.h"
#include "support/TableRows.h"

#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QTextDocumentFragment>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Known totals. The file's first record is the table's bottom row, so the
// rows from the top are: Caf\xc3\xa9, Frost, Gale, Tide, Ember, Ironbark.
const QByteArray kCollection = CollectionBytes({
    {"Ironbark", "Skyforge", "Mint", "1999", "$4.25", "2"},
    {"Ember", "Ashfall", "Played", "2003", "4,25 \xe2\x82\xac", ""},
    {"Tide", "Skyforge", "Mint", "2003", "1.234,50 \xe2\x82\xac", "3"},
    {"Gale", "Ashfall", "Good", "1999", "about 5", "1"},
    {"Frost", "", "", "", "", "two"},
    {"Caf\xc3\xa9", "Skyforge", "Mint", "1999", "\xc2\xa3" "10", "1"},
});

StatisticsWindow* OpenStatistics(WindowFixture& f)
{
    std::unique_ptr<QMenu> menu(f.window->CreateWindowMenu());
    for (QAction* entry : menu->actions()) {
        if (entry->objectName() == QLatin1String("statisticsAction"))
            entry->trigger();
    }
    return f.window->findChild<StatisticsWindow*>();
}

QString Value(const StatisticsWindow& statistics, const char* name)
{
    return statistics.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

QTableView* List(const StatisticsWindow& statistics, const char* name)
{
    return statistics.findChild<QTableView*>(QString::fromLatin1(name));
}

QStringList Column(const QTableView& view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

void ClickListRow(StatisticsWindow& statistics, const char* name, int row)
{
    QTableView* view = List(statistics, name);
    statistics.findChild<QTabWidget*>()->setCurrentWidget(view->parentWidget());
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QVERIFY(cell.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QHorizontalBarSeries* BarSeries(const StatisticsWindow& statistics, const char* chart)
{
    QChart* shown = statistics.findChild<QChartView*>(QString::fromLatin1(chart))->chart();
    return qobject_cast<QHorizontalBarSeries*>(shown->series().value(0));
}

QStringList Categories(QHorizontalBarSeries& series)
{
    return qobject_cast<QBarCategoryAxis*>(series.attachedAxes().value(0))->categories();
}

QList<double> Bars(const QBarSet& set)
{
    QList<double> values;
    for (int i = 0; i < set.count(); ++i)
        values << set.at(i);
    return values;
}

// Whether the chart draws each label whole: its scene holds a text of each,
// and none cut short.
bool LabelsShown(const QChartView& chart, const QStringList& labels)
{
    QStringList drawn;
    for (const QGraphicsItem* item : chart.scene()->items()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item); text != nullptr && text->isVisible())
            drawn << text->toPlainText();
    }
    for (const QString& label : labels) {
        // The label as written: the axis shows it escaped, and marks of
        // duplicates are not drawn.
        QString plain = QTextDocumentFragment::fromHtml(label).toPlainText();
        plain.remove(QChar(0x200B));
        if (!drawn.contains(plain) && !drawn.contains(plain + QString(label.count(QChar(0x200B)), QChar(0x200B))))
            return false;
    }
    for (const QString& text : drawn) {
        if (text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026)))
            return false;
    }
    return true;
}

} // namespace

class TestStatisticsWindow : public QObject {
    Q_OBJECT

private slots:
    // The figures a collector checks by hand, from the window's menu; the
    // menu keeps About last, and a second call brings back the same window.
    void showsTheCollectionsTotals()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        std::unique_ptr<QMenu> menu(f.window->CreateWindowMenu());
        QAction* entry = nullptr;
        for (QAction* action : menu->actions())
            entry = action->objectName() == QLatin1String("statisticsAction") ? action : entry;
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->text(), QStringLiteral("&Statistics..."));
        QCOMPARE(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("&About Quillmark..."));

        StatisticsWindow* statistics = OpenStatistics(f);
        QVERIFY(statistics != nullptr);
        QVERIFY(statistics->isVisible());
        QVERIFY(!statistics->isModal());
        QCOMPARE(Value(*statistics, "cardsValue"), QStringLiteral("6"));
        QCOMPARE(Value(*statistics, "copiesValue"), QStringLiteral("8"));
        QCOMPARE(Value(*statistics, "paidValue"),
                 QStringLiteral("€3,707.75 (2 Cards)\n$8.50 (1 Card)\n£10.00 (1 Card)"));
        QCOMPARE(Value(*statistics, "unpricedValue"), QStringLiteral("1"));
        QCOMPARE(Value(*statistics, "unreadableValue"), QStringLiteral("2"));
        QVERIFY(statistics->findChild<QLabel*>(QStringLiteral("filterNote"))->isHidden());

        const QTableView* dearest = List(*statistics, "mostCostlyTable");
        QCOMPARE(Column(*dearest, 0), (QStringList{"4", "5", "6", "1"}));
        QCOMPARE(Column(*dearest, 1), (QStringList{"€1,234.50", "€4.25", "$4.25", "£10.00"}));
        QCOMPARE(Column(*dearest, 2), (QStringList{"Tide", "Ember", "Ironbark", "Café"}));
        const QTableView* unreadable = List(*statistics, "unreadableTable");
        QCOMPARE(Column(*unreadable, 0), (QStringList{"2", "3"}));
        QCOMPARE(Column(*unreadable, 1), (QStringList{"Frost", "Gale"}));
        QCOMPARE(Column(*unreadable, 2), (QStringList{"Quantity", "Price"}));
        QCOMPARE(Column(*unreadable, 3), (QStringList{"two", "about 5"}));
        const QTableView* series = List(*statistics, "seriesTable");
        QCOMPARE(Column(*series, 0), (QStringList{"(blank)", "Ashfall", "Skyforge"}));
        QCOMPARE(Column(*series, 3), (QStringList{"", "€4.25", "€3,703.50, $8.50, £10.00"}));
        QCOMPARE(Column(*List(*statistics, "yearTable"), 2), (QStringList{"0", "4", "4"}));

        QCOMPARE(OpenStatistics(f), statistics);
        QCOMPARE(f.window->findChildren<StatisticsWindow*>().size(), 1);
        QVERIFY(f.messages.shown.isEmpty());
    }

    // Without a market price the window is as it was; with them it tells
    // the value, the Cards not valued and the gains, which list the largest
    // first and select their Card when clicked.
    void valueAndGainsOnceCardsHaveAMarket()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        StatisticsWindow* plain = OpenStatistics(f);
        auto* tabs = plain->findChild<QTabWidget*>(QStringLiteral("statisticsTabs"));
        const int gainsTab = tabs->indexOf(List(*plain, "gainsTable")->parentWidget());
        QVERIFY(!tabs->isTabVisible(gainsTab));
        for (const char* name : {"valueValue", "notValuedValue", "gainValue"})
            QVERIFY(plain->findChild<QLabel*>(QString::fromLatin1(name))->isHidden());
        f.Quit();

        // The first record is the bottom row: from the top, Plain, High, Low.
        QList<QByteArray> records = CollectionBytes({{"Low", "", "", "", "$5.00", "2"},
                                                     {"High", "", "", "", "$1.00", "1"},
                                                     {"Plain", "", "", "", "$1.00", "1"}})
                                        .split('\n');
        QByteArray bytes;
        int record = 0;
        for (const QByteArray& line : records) {
            bytes += line + '\n';
            if (line.startsWith("DESCRIPTION=") && record++ < 2)
                bytes += record == 1 ? "MARKET=$4.00\r\nMARKETDATE=2026-11-01\r\n" : "MARKET=$4\r\n";
        }
        bytes.chop(1);
        WindowFixture g;
        g.folder.Write("qmk.dat", bytes);
        g.Open();
        StatisticsWindow* statistics = OpenStatistics(g);
        QCOMPARE(Value(*statistics, "valueValue"), QStringLiteral("$12.00 (2 Cards), of 2026-11-01 or later"));
        QCOMPARE(Value(*statistics, "notValuedValue"), QStringLiteral("1"));
        QCOMPARE(Value(*statistics, "gainValue"), QStringLiteral("+$1.00 on 2 Cards"));
        QCOMPARE(Value(*statistics, "paidValue"), QStringLiteral("$12.00 (3 Cards)"));
        QTableView* gains = List(*statistics, "gainsTable");
        QCOMPARE(Column(*gains, 0), (QStringList{"2", "3"}));
        QCOMPARE(Column(*gains, 4), (QStringList{"+$3.00", "-$2.00"}));
        gains->sortByColumn(4, Qt::AscendingOrder);
        QCOMPARE(Column(*gains, 1), (QStringList{"Low", "High"}));
        ClickListRow(*statistics, "gainsTable", 1);
        QCOMPARE(g.window->SelectionMark(), 1);
        QCOMPARE(g.Field("nameEdit")->text(), QStringLiteral("High"));
    }

    // Ctrl+I from the main window's fields opens it; closing it ends it.
    void shortcutOpensAndCloseEnds()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.Field("nameEdit"), Qt::Key_I, Qt::ControlModifier);
        QPointer<StatisticsWindow> statistics = f.window->findChild<StatisticsWindow*>();
        QVERIFY(statistics != nullptr);
        QVERIFY(statistics->isVisible());
        QVERIFY(f.Field("nameEdit")->text().isEmpty());
        QTest::mouseClick(statistics->findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
        QTRY_VERIFY(statistics.isNull());
    }

    // A click on a listed Card selects it in the main window and takes it
    // into the fields; after a sort the list follows the table.
    void listedCardsSelectTheirRow()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        StatisticsWindow* statistics = OpenStatistics(f);

        ClickListRow(*statistics, "unreadableTable", 1);
        QCOMPARE(f.window->SelectionMark(), 2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Gale"));
        ClickListRow(*statistics, "mostCostlyTable", 3);
        QCOMPARE(f.window->SelectionMark(), 0);
        QCOMPARE(f.Field("priceEdit")->text(), QStringLiteral("£10"));

        // By Name: Café, Ember, Frost, Gale, Ironbark, Tide.
        f.window->OnColumnClick(NameField);
        QTRY_COMPARE(Column(*List(*statistics, "unreadableTable"), 0), (QStringList{"3", "4"}));
        ClickListRow(*statistics, "unreadableTable", 1);
        QCOMPARE(f.window->SelectionMark(), 3);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Gale"));
        QVERIFY(f.window->findChild<QTableView*>(QStringLiteral("cardTable"))->selectionModel()->isRowSelected(3));
    }

    // A Card added while the window is open is counted once the Add is done.
    void followsTheTable()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        StatisticsWindow* statistics = OpenStatistics(f);
        f.Type("nameEdit", QStringLiteral("Zephyr"));
        f.Type("priceEdit", QStringLiteral("¥500"));
        f.Type("quantityEdit", QStringLiteral("4"));
        f.Click("addButton");
        QTRY_COMPARE(Value(*statistics, "cardsValue"), QStringLiteral("7"));
        QCOMPARE(Value(*statistics, "copiesValue"), QStringLiteral("12"));
        QCOMPARE(Value(*statistics, "paidValue"),
                 QStringLiteral("€3,707.75 (2 Cards)\n$8.50 (1 Card)\n£10.00 (1 Card)\n¥2,000.00 (1 Card)"));
        // The new top row moved the others down.
        QCOMPARE(Column(*List(*statistics, "unreadableTable"), 0), (QStringList{"3", "4"}));

        f.window->SelectRow(0);
        f.Click("deleteButton");
        QTRY_COMPARE(Value(*statistics, "cardsValue"), QStringLiteral("6"));
    }

    // With a filter's rows the window counts those and says so.
    void countsTheRowsAFilterShows()
    {
        CardTableModel table;
        SetTableRows(table, {{"A", "S", "", "", "$1", "1"}, {"B", "S", "", "", "$2", "2"}, {"C", "T", "", "", "x", "3"}});
        RecordingMessages messages;
        StatisticsWindow statistics(table, messages, std::vector<int>{2, 1});
        const QLabel* note = statistics.findChild<QLabel*>(QStringLiteral("filterNote"));
        QVERIFY(!note->isHidden());
        QCOMPARE(note->text(), QStringLiteral("Only the 2 of 3 Cards that the filter shows are counted."));
        QCOMPARE(Value(statistics, "cardsValue"), QStringLiteral("2"));
        QCOMPARE(Value(statistics, "paidValue"), QStringLiteral("$4.00 (1 Card)"));
        QCOMPARE(Column(*List(statistics, "unreadableTable"), 0), QStringList{"3"});

        statistics.SetShownRows(std::vector<int>{});
        QTRY_COMPARE(Value(statistics, "cardsValue"), QStringLiteral("0"));
        QVERIFY(!note->isHidden());
        QCOMPARE(Value(statistics, "paidValue"), QStringLiteral("0.00"));
        statistics.SetShownRows(std::nullopt);
        QTRY_COMPARE(Value(statistics, "cardsValue"), QStringLiteral("3"));
        QVERIFY(note->isHidden());
    }

    // Bars of Cards and copies, ordered by size, the largest group on top
    // (the axis lists its categories from the bottom up); of many groups
    // those of the most Cards.
    void chartsTheBreakdowns()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        StatisticsWindow* statistics = OpenStatistics(f);
        QHorizontalBarSeries* bars = BarSeries(*statistics, "seriesChart");
        QVERIFY(bars != nullptr);
        QCOMPARE(Categories(*bars), (QStringList{"(blank)", "Ashfall", "Skyforge"}));
        QCOMPARE(bars->barSets().size(), 2);
        QCOMPARE(Bars(*bars->barSets()[0]), (QList<double>{1, 2, 3}));
        QCOMPARE(Bars(*bars->barSets()[1]), (QList<double>{0, 2, 6}));
        QCOMPARE(Categories(*BarSeries(*statistics, "yearChart")), (QStringList{"(blank)", "2003", "1999"}));

        CardTableModel table;
        std::vector<Card> cards;
        for (int series = 1; series <= 25; ++series) {
            for (int card = 0; card < series; ++card)
                cards.push_back({"N", "S" + QByteArray::number(series).rightJustified(2, '0').toStdString()});
        }
        SetTableRows(table, cards);
        StatisticsWindow many(table, f.messages);
        QHorizontalBarSeries* largest = BarSeries(many, "seriesChart");
        const QStringList categories = Categories(*largest);
        QCOMPARE(categories.size(), StatisticsWindow::kChartBars);
        for (int at = 0; at < StatisticsWindow::kChartBars; ++at)
            QCOMPARE(categories[at], QStringLiteral("S%1").arg(6 + at, 2, 10, QLatin1Char('0')));
        QVERIFY2(largest->chart()->title().contains(QStringLiteral("the 20 largest of 25")),
                 qPrintable(largest->chart()->title()));
    }

    // Every category label is drawn whole, whatever the window's size and
    // however long the label, and so it is in the saved picture; one that
    // reads as markup is drawn as it is written.
    void chartLabelsAreWhole()
    {
        const QByteArray longest = "Moonlit Court of the Silver Queen and the Seventh Tide of Ravens, First Edition";
        QList<QList<QByteArray>> records;
        for (int card = 0; card < 60; ++card) {
            const QByteArray series = card % 3 == 0 ? longest
                                      : card % 3 == 1 ? "Verdant <b>Wilds</b> & Co"
                                                      : "Series " + QByteArray::number(card % 23);
            records.append({"Card", series, "Mint", QByteArray::number(1990 + card % 9)});
        }
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes(records));
        f.Open();
        StatisticsWindow* statistics = OpenStatistics(f);
        QVERIFY(QTest::qWaitForWindowExposed(statistics));
        auto* chart = statistics->findChild<QChartView*>(QStringLiteral("seriesChart"));
        auto* tabs = statistics->findChild<QTabWidget*>();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (tabs->widget(tab)->isAncestorOf(chart))
                tabs->setCurrentIndex(tab);
        }
        QVERIFY(chart->isVisible());
        const QStringList expected = Categories(*BarSeries(*statistics, "seriesChart"));
        QCOMPARE(expected.size(), StatisticsWindow::kChartBars);
        QVERIFY(expected.contains(QString::fromUtf8(longest)));
        for (const QSize size : {QSize(780, 640), QSize(400, 300), QSize(1600, 1000)}) {
            statistics->resize(size);
            const QByteArray shown = QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTRY_VERIFY2(LabelsShown(*chart, expected), shown.constData());
        }
        QVERIFY(statistics->SaveChart(StatisticsWindow::BySeries, f.folder.Path(QStringLiteral("series.png"))));
        QVERIFY(LabelsShown(*chart, expected));
        const QImage saved(f.folder.Path(QStringLiteral("series.png")), "PNG");
        QCOMPARE(saved.size(), chart->size() * chart->devicePixelRatio());
        QVERIFY(chart->width() >= chart->minimumWidth() && chart->height() >= chart->minimumHeight());
    }

    // The chart goes to a PNG file through the file dialog, or a box says
    // why it could not.
    void savesTheChartAsPng()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.Open();
        StatisticsWindow* statistics = OpenStatistics(f);

        bool dialogSeen = false;
        QTimer::singleShot(0, statistics, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                QApplication::activeModalWidget()->close();
                return;
            }
            dialogSeen = true;
            dialog->selectFile(f.folder.Path(QStringLiteral("condition")));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(statistics->findChild<QPushButton*>(QStringLiteral("conditionSaveButton")), Qt::LeftButton);
        QVERIFY(dialogSeen);
        const QImage saved(f.folder.Path(QStringLiteral("condition.png")), "PNG");
        QVERIFY(!saved.isNull());
        const QChartView* chart = statistics->findChild<QChartView*>(QStringLiteral("conditionChart"));
        QCOMPARE(saved.size(), chart->size() * chart->devicePixelRatio());

        QVERIFY(!statistics->SaveChart(StatisticsWindow::ByYear, f.folder.Path(QStringLiteral("none/year.png"))));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error Saving File."));
        QVERIFY(!f.folder.Exists(QStringLiteral("none")));
    }
};

QTEST_MAIN(TestStatisticsWindow)
#include "test_statistics_window.moc"
