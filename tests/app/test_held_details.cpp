#include "support/WindowTest.h"

#include <QAction>
#include <QTest>

namespace {

// Two Cards, top row first: Ace with details, Bolt without.
const QByteArray kCards = "CREATOR=QMK 1.0\r\nNAME=Bolt\r\nSERIES=Base Set\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\n"
                          "QUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n\r\nNAME=Ace\r\nSERIES=Fossil\r\nCONDITION=\r\n"
                          "YEAR=2001\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\nSETCODE=FO\r\nFINISH=Holo\r\n"
                          "TRADE=2\r\n";

CardDetails AceDetails()
{
    CardDetails details;
    details[SetCodeField - kCardFieldCount] = "FO";
    details[FinishField - kCardFieldCount] = "Holo";
    details[TradeField - kCardFieldCount] = "2";
    return details;
}

CardDetails DetailsOfRow(const MainWindow& window, int row)
{
    CardDetails details;
    for (int detail = 0; detail < kCardDetailCount; ++detail)
        details[std::size_t(detail)] = std::string(window.CardTable().Cell(row, kCardFieldCount + detail));
    return details;
}

} // namespace

// The entry fields show the eight fields only; the details of the held Card
// go with it through every command all the same.
class TestHeldDetails : public QObject {
    Q_OBJECT

private slots:
    // An Update through the fields keeps the row's details; undo and redo
    // bring back the row and the held Card whole.
    void updateKeepsTheRowsDetails()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        MainWindow& window = f.Open();
        f.ClickRow(0);
        QCOMPARE(window.HeldDetails(), AceDetails());
        f.Type("yearEdit", QStringLiteral("2002"));
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), 0);
        QCOMPARE(window.CardTable().Cell(0, YearField), std::string_view("2002"));
        QCOMPARE(DetailsOfRow(window, 0), AceDetails());

        Action(window, "undoAction")->trigger();
        QCOMPARE(window.CardTable().Cell(0, YearField), std::string_view("2001"));
        QCOMPARE(DetailsOfRow(window, 0), AceDetails());
        Action(window, "redoAction")->trigger();
        QCOMPARE(window.HeldCard(), window.CardTable().RowCard(0));
        QCOMPARE(window.HeldDetails(), AceDetails());

        // Reading the other row takes its (empty) details in their place.
        f.ClickRow(1);
        QCOMPARE(window.HeldDetails(), CardDetails());
        f.Quit();
        QVERIFY(f.folder.Read("qmk.dat").contains("YEAR=2002\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n"
                                                  "SETCODE=FO\r\nFINISH=Holo\r\nTRADE=2\r\n"));
    }

    // Add adds the held Card with its details, as set from outside the
    // fields and made storable as the fields are; Clear empties them.
    void addCarriesAndClearEmptiesTheDetails()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCards);
        MainWindow& window = f.Open();
        f.ClickRow(0);
        f.Type("nameEdit", QStringLiteral("Ace copy"));
        CardDetails details = AceDetails();
        details[TagsField - kCardFieldCount] = "two\nlines  ";
        window.SetHeldDetails(details);
        f.Click("addButton");
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("Ace copy"));
        details[TagsField - kCardFieldCount] = "two lines";
        QCOMPARE(DetailsOfRow(window, 0), details);
        QCOMPARE(window.HeldDetails(), details);

        f.Click("clearButton");
        QCOMPARE(window.HeldDetails(), CardDetails());
        f.Type("nameEdit", QStringLiteral("Plain"));
        f.Click("addButton");
        QCOMPARE(DetailsOfRow(window, 0), CardDetails());
        QCOMPARE(DetailsOfRow(window, 1), details);
    }
};

QTEST_MAIN(TestHeldDetails)
#include "test_held_details.moc"
