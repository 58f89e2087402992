#include "support/WindowTest.h"

#include "../../collection/sets/CannedSets.h"
#include "app/sets/SetsWindow.h"
#include "collection/CardTableModel.h"
#include "collection/lookup/LookupService.h"
#include "support/FileBytes.h"
#include "support/ReplayServer.h"
#include "support/TableRows.h"

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

Card Printing(std::string name, std::string number, std::string quantity)
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = "Ixalan";
    card[QuantityField] = std::move(quantity);
    card[GameField] = "magic";
    card[SetCodeField] = "xln";
    card[NumberField] = std::move(number);
    return card;
}

QStringList Column(const QTableView& view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

void Click(const SetsWindow& window, const char* name)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestSetsWindow : public QObject {
    Q_OBJECT

private slots:
    // Sizes on command, the set's missing cards listed, saved as CSV behind
    // the formula guard, and handed on as wanted Cards.
    void fetchListExportAndWant()
    {
        ReplayServer server;
        server.Script("/scryfall/sets/xln", CannedSets::ScryfallXln);
        server.Script("/scryfall/cards/search?q=e:xln&unique=prints&order=set", CannedSets::ScryfallSearchFormula);
        LookupService service{CardSources(server.Base())};
        QTemporaryDir dir;
        CardTableModel table;
        SetTableRows(table, {Printing("Held", "002", "1"), Printing("Wanted", "3", "0")});
        RecordingMessages messages;
        SetsWindow window(table, messages, service, dir.filePath(QStringLiteral("sizes.txt")));
        auto* sets = window.findChild<QTableView*>(QStringLiteral("setsTable"));
        QCOMPARE(Column(*sets, 3), QStringList{"1 held, size not fetched"});
        QVERIFY(server.Requests().isEmpty());

        Click(window, "fetchSizesButton");
        QTRY_COMPARE(Column(*sets, 3), QStringList{"1 of 279"});
        QCOMPARE(Column(*sets, 4), QStringList{"1, 3-279"});
        QCOMPARE(sets->model()->index(0, 3).data(Qt::UserRole).toInt(), 3);
        QVERIFY(window.findChild<QProgressBar*>(QStringLiteral("fetchProgress"))->isHidden());

        sets->selectRow(0);
        Click(window, "listMissingButton");
        auto* missing = window.findChild<QTableView*>(QStringLiteral("missingTable"));
        QTRY_COMPARE(Column(*missing, 0), QStringList{"=Bolt"});
        QCOMPARE(Column(*missing, 2), QStringList{"$0.50"});

        const QString csv = dir.filePath(QStringLiteral("missing.csv"));
        QVERIFY(window.ExportMissing(csv));
        QCOMPARE(FileBytes(csv), QByteArray("Name,Number,Market Price\r\n'=Bolt,1,$0.50\r\n"));

        std::vector<Card> wanted;
        connect(&window, &SetsWindow::WantedCardsChosen, [&wanted](const std::vector<Card>& cards) { wanted = cards; });
        Click(window, "addWantedButton");
        QCOMPARE(int(wanted.size()), 1);
        QCOMPARE(wanted[0][NameField], std::string("=Bolt"));
        QVERIFY(messages.shown.isEmpty());
    }

    // View > Set Completion opens the window; wanted Cards go in at the top
    // as one step that one undo takes back.
    void wantedCardsAreOneUndoStep()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Kept", "", "", "", "$1", "1"}}));
        MainWindow& window = f.Open();
        Action(window, "setCompletionAction")->trigger();
        auto* sets = window.findChild<SetsWindow*>();
        QVERIFY(sets != nullptr);
        QVERIFY(sets->isVisible());
        emit sets->WantedCardsChosen({Printing("One", "1", "0"), Printing("Two", "2", "0")});
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("One"));
        QCOMPARE(window.CardTable().Cell(1, SetCodeField), std::string_view("xln"));
        QTRY_COMPARE(sets->Sets().size(), std::size_t(1));
        Action(window, "undoAction")->trigger();
        QCOMPARE(window.CardTable().rowCount(), 1);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("Kept"));
    }
};

QTEST_MAIN(TestSetsWindow)
#include "test_sets_window.moc"
