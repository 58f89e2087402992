#include "support/ReplayServer.h"
#include "support/WindowTest.h"

#include "collection/prices/PriceHistory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

QByteArray Record(const QByteArray& name, const QByteArray& details = {})
{
    return "NAME=" + name
           + "\r\nSERIES=Ixalan\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n" + details;
}

// Top row first: Freebooter, Plain, Lost, Duress. The file's first record is
// the bottom row.
const QByteArray kCollection = "CREATOR=QMK 1.0\r\n" + Record("Duress", "FINISH=foil\r\nPRINT=scryfall:ddd\r\n")
                               + "\r\n" + Record("Lost", "PRINT=scryfall:lost\r\n") + "\r\n" + Record("Plain") + "\r\n"
                               + Record("Freebooter", "PRINT=scryfall:fff\r\n");

template <typename T>
T* InDialog(const char* dialogName, const char* objectName)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String(dialogName) && top->isVisible())
            return top->findChild<T*>(QString::fromLatin1(objectName));
    }
    return nullptr;
}

std::string Cell(const MainWindow& window, int row, int column)
{
    return std::string(window.CardTable().Cell(row, column));
}

} // namespace

class TestMarketWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The window's requests go to this server for the whole process.
        qputenv("QUILLMARK_CARD_SOURCES", server_.Base().toUtf8());
        server_.Script("/scryfall/cards/collection", R"({"object": "list", "data": [
            {"id": "fff", "prices": {"usd": "0.30"}},
            {"id": "ddd", "prices": {"usd": "1.00", "usd_foil": null, "eur_foil": "2.40"}}]})");
    }

    // The refresh runs while the window goes on; the Cards it valued change
    // in place, the one it could not is listed, and one undo takes it back.
    void refreshValuesTheShownCardsAsOneStep()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        MainWindow& window = f.Open();
        Action(window, "refreshMarketAction")->trigger();
        QLabel* status = InDialog<QLabel>("refreshMarketDialog", "refreshMarketStatus");
        QVERIFY(status);
        QCOMPARE(status->text(), QStringLiteral("3 Cards shown name a printing to price."));
        QTest::mouseClick(InDialog<QPushButton>("refreshMarketDialog", "refreshMarketStart"), Qt::LeftButton);
        QVERIFY(InDialog<QProgressBar>("refreshMarketDialog", "refreshMarketProgress")->isVisible());
        QTRY_VERIFY(status->text().startsWith(QStringLiteral("2 Cards valued, 1 could not be priced")));

        const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
        QCOMPARE(Cell(window, 0, MarketField), std::string("$0.30"));
        QCOMPARE(Cell(window, 0, MarketDateField), today);
        QCOMPARE(Cell(window, 3, MarketField), std::string("€2.40"));
        QCOMPARE(Cell(window, 1, MarketField), std::string());
        QTableWidget* unpriced = InDialog<QTableWidget>("refreshMarketDialog", "refreshMarketUnpriced");
        QCOMPARE(unpriced->rowCount(), 1);
        QCOMPARE(unpriced->item(0, 0)->text(), QStringLiteral("Lost"));
        QVERIFY(f.folder.Exists(QStringLiteral("prices.sqlite")));

        QTest::mouseClick(InDialog<QPushButton>("refreshMarketDialog", "refreshMarketCancel"), Qt::LeftButton);
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo Refresh Market Values"));
        Action(window, "undoAction")->trigger();
        QCOMPARE(Cell(window, 0, MarketField), std::string());
        QCOMPARE(Cell(window, 3, MarketField), std::string());
        QCOMPARE(Cell(window, 3, PrintField), std::string("scryfall:ddd"));
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
    }

    // Risers and fallers since the date chosen; a double-click selects the Card.
    void moversFromTheHistory()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        {
            PriceHistory history(f.folder.Path(QStringLiteral("prices.sqlite")));
            QString reason;
            QVERIFY(history.Record(QDate(2026, 1, 1), {{"scryfall:fff", {"USD", "1.00"}},
                                                        {"scryfall:ddd:foil", {"USD", "5.00"}}}, reason));
            QVERIFY(history.Record(QDate(2026, 2, 1), {{"scryfall:fff", {"USD", "1.50"}},
                                                        {"scryfall:ddd:foil", {"USD", "4.00"}}}, reason));
        }
        MainWindow& window = f.Open();
        Action(window, "marketMoversAction")->trigger();
        QDateEdit* since = InDialog<QDateEdit>("marketMoversWindow", "marketMoversSince");
        QVERIFY(since);
        since->setDate(QDate(2026, 1, 15));
        QTableWidget* risers = InDialog<QTableWidget>("marketMoversWindow", "marketMoversRisers");
        QTableWidget* fallers = InDialog<QTableWidget>("marketMoversWindow", "marketMoversFallers");
        QCOMPARE(risers->rowCount(), 1);
        QCOMPARE(risers->item(0, 0)->text(), QStringLiteral("Freebooter"));
        QCOMPARE(risers->item(0, 2)->text(), QStringLiteral("$1.00"));
        QCOMPARE(risers->item(0, 3)->text(), QStringLiteral("$1.50"));
        QCOMPARE(risers->item(0, 4)->text(), QStringLiteral("+$0.50 (+50%)"));
        QCOMPARE(fallers->rowCount(), 1);
        QCOMPARE(fallers->item(0, 4)->text(), QStringLiteral("-$1.00 (-20%)"));
        emit fallers->itemDoubleClicked(fallers->item(0, 0));
        QCOMPARE(window.SelectionMark(), 3);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Duress"));
        // Before any price was known there is nothing to compare.
        since->setDate(QDate(2025, 1, 1));
        QCOMPARE(risers->rowCount(), 1);
        since->setDate(QDate(2026, 3, 1));
        QCOMPARE(risers->rowCount(), 0);
    }

private:
    ReplayServer server_;
};

QTEST_MAIN(TestMarketWindows)
#include "test_market_windows.moc"
