#include "support/CliRun.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

// Ash for trade, Cedar wanted with no copy, Birch neither; the file keeps
// the bottom row first.
const QByteArray kCollection = "CREATOR=QMK 1.0\r\n"
                               "NAME=Cedar\r\nSERIES=Beta\r\nCONDITION=\r\nYEAR=\r\nPRICE=$3.00\r\nQUANTITY=0\r\n"
                               "URL=\r\nDESCRIPTION=\r\nSETCODE=BET\r\nWANT=2\r\n"
                               "\r\n"
                               "NAME=Birch\r\nSERIES=Alpha\r\nCONDITION=Mint\r\nYEAR=\r\nPRICE=\r\nQUANTITY=1\r\n"
                               "URL=\r\nDESCRIPTION=\r\n"
                               "\r\n"
                               "NAME=Ash\r\nSERIES=Alpha\r\nCONDITION=Mint\r\nYEAR=\r\nPRICE=$1.50\r\nQUANTITY=4\r\n"
                               "URL=\r\nDESCRIPTION=\r\nSETCODE=ALP\r\nNUMBER=7\r\nTRADE=3\r\n";

const QByteArray kPreferences = "CREATOR=QMK 1.0\r\nNAME=Ada\r\n";

void Fill(const TempFolder& folder)
{
    folder.Write(QStringLiteral("qmk.dat"), kCollection);
    folder.Write(QStringLiteral("qmk.ini"), kPreferences);
}

} // namespace

class TestCliLists : public QObject {
    Q_OBJECT

private slots:
    // The command line writes the very page the window's command writes,
    // from the sample templates it copies in, and touches neither qmk.dat
    // nor qmk.ini.
    void pagesMatchTheWindows_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QByteArray>("listed");
        QTest::addColumn<QByteArray>("left");
        QTest::newRow("trade") << "trade" << "trade.htm" << QByteArray(">Ash<") << QByteArray(">Cedar<");
        QTest::newRow("want") << "want" << "want.htm" << QByteArray(">Cedar<") << QByteArray(">Ash<");
    }
    void pagesMatchTheWindows()
    {
        QFETCH(QString, command);
        QFETCH(QString, page);
        QFETCH(QByteArray, listed);
        QFETCH(QByteArray, left);
        QByteArray windowPage;
        {
            WindowFixture f;
            Fill(f.folder);
            MainWindow& window = f.Open();
            Action(window, command == QLatin1String("trade") ? "publishTradeListAction" : "publishWantListAction")
                ->trigger();
            windowPage = f.folder.Read(page);
        }
        QVERIFY(windowPage.contains(listed));
        QVERIFY(!windowPage.contains(left));
        QVERIFY(!windowPage.contains(">Birch<"));

        TempFolder elsewhere;
        TempFolder folder;
        Fill(folder);
        const CliRun run = Cli({command, QStringLiteral("--folder"), folder.Path({})}, elsewhere.Path({}));
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out.trimmed(), QDir::cleanPath(folder.Path(page)).toUtf8());
        QCOMPARE(folder.Read(page), windowPage);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCollection);
        QCOMPARE(folder.Read(QStringLiteral("qmk.ini")), kPreferences);
    }

    // --output names the file, from where the command was given; the
    // collection's own files are refused there.
    void writesToOutput()
    {
        TempFolder here;
        QVERIFY(QDir().mkdir(QStringLiteral("cards")));
        here.Write(QStringLiteral("cards/qmk.dat"), kCollection);
        const CliRun run = Cli({QStringLiteral("want"), QStringLiteral("--folder"), QStringLiteral("cards"),
                             QStringLiteral("--output=wanted.html")});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out.trimmed(), here.Path(QStringLiteral("wanted.html")).toUtf8());
        QVERIFY(here.Read(QStringLiteral("wanted.html")).contains(">Cedar<"));
        QVERIFY(!here.Exists(QStringLiteral("cards/want.htm")));

        for (const char* own : {"cards/qmk.dat", "cards/TradeInside.htm"}) {
            const CliRun refused = Cli({QStringLiteral("trade"), QStringLiteral("--folder"), QStringLiteral("cards"),
                                     QStringLiteral("--output"), QString::fromLatin1(own)});
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(refused.err.contains("own files"), refused.err.constData());
        }
        QCOMPARE(here.Read(QStringLiteral("cards/qmk.dat")), kCollection);
    }

    // With no Card marked the command fails, says how to mark one, and
    // writes no page.
    void noCardMarkedWritesNothing()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), CollectionBytes({{"Birch", "Alpha"}}));
        folder.Write(QStringLiteral("trade.htm"), "old");
        const CliRun trade = Cli({QStringLiteral("trade")});
        QCOMPARE(trade.exitCode, 1);
        QVERIFY(trade.out.isEmpty());
        QCOMPARE(trade.err, QByteArray("quillmark-cli: no Card is marked for trade, so nothing was written; set a "
                                       "Card's Trade count in Card Details\n"));
        QCOMPARE(folder.Read(QStringLiteral("trade.htm")), QByteArray("old"));
        const CliRun want = Cli({QStringLiteral("want"), QStringLiteral("--output"), QStringLiteral("w.htm")});
        QCOMPARE(want.exitCode, 1);
        QVERIFY(want.err.contains("no Card is marked as wanted"));
        QVERIFY(!folder.Exists(QStringLiteral("w.htm")));
        QVERIFY(!folder.Exists(QStringLiteral("want.htm")));
    }

    void usage()
    {
        TempFolder folder;
        QVERIFY(Cli({QStringLiteral("--help")}).out.contains("trade [--folder DIR] [--output FILE]"));
        QCOMPARE(Cli({QStringLiteral("trade"), QStringLiteral("--output")}).exitCode, 2);
        QCOMPARE(Cli({QStringLiteral("want"), QStringLiteral("extra")}).exitCode, 2);
        // The Catalogue and the List keep their place from Preferences.
        QCOMPARE(Cli({QStringLiteral("list"), QStringLiteral("--output"), QStringLiteral("x.htm")}).exitCode, 2);
    }
};

QTEST_MAIN(TestCliLists)
#include "test_cli_lists.moc"
