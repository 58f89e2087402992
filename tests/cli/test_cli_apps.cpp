#include "support/CliRun.h"
#include "support/TempFolder.h"

#include <QTest>

namespace {

const QByteArray kMoxfieldHeader = "Count,Tradelist Count,Name,Edition,Condition,Language,Foil,Tags,Last Modified,"
                                   "Collector Number,Alter,Proxy,Purchase Price\r\n";
const QByteArray kMoxfieldRows = "4,1,Lightning Bolt,m11,Good (Lightly Played),English,foil,burn,,146,False,False,"
                                 "1.25\r\n"
                                 "1,0,Counterspell,mh2,Played,Japanese,,,,267,False,False,\r\n"
                                 "2,0,\"Jace, the Mind Sculptor\",wwk,Near Mint,English,etched,,,31,False,False,80.00\r\n";

} // namespace

class TestCliApps : public QObject {
    Q_OBJECT

private slots:
    // A Moxfield export is named on standard error as it is imported,
    // changes nothing when imported again, and goes back out in Moxfield's
    // columns and words as it came.
    void importsAndExportsMoxfield()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("moxfield.csv"), kMoxfieldHeader + kMoxfieldRows);
        const CliRun imported = Cli({QStringLiteral("import-csv"), QStringLiteral("moxfield.csv")}, folder.Path({}));
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(imported.err, QByteArray("quillmark-cli: moxfield.csv: read as a Moxfield collection export\n"));
        QCOMPARE(imported.out, QByteArray("Cards: 3 added, 0 changed, 0 removed\n"));
        const QByteArray once = folder.Read(QStringLiteral("qmk.dat"));
        QVERIFY(once.contains("SOURCE=Moxfield\r\n"));
        const CliRun again = Cli({QStringLiteral("import-csv"), QStringLiteral("moxfield.csv")}, folder.Path({}));
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, QByteArray("Cards: 0 added, 0 changed, 0 removed\n"));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), once);

        const CliRun exported =
            Cli({QStringLiteral("export-csv"), QStringLiteral("--format"), QStringLiteral("moxfield")}, folder.Path({}));
        QCOMPARE(exported.exitCode, 0);
        QCOMPARE(exported.out, kMoxfieldHeader + kMoxfieldRows);
    }

    void exportsDeckboxAndRefusesOtherFormats()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"),
                     CollectionBytes({{"Sol Ring", "Commander 2021", "Excellent", "", "$1.99", "", "", ""}})
                         + "GAME=magic\r\nSETCODE=C21\r\nNUMBER=263\r\nFINISH=nonfoil\r\nLANGUAGE=de\r\n");
        const CliRun deckbox = Cli({QStringLiteral("export-csv"), QStringLiteral("--format"), QStringLiteral("deckbox"),
                                    QStringLiteral("-o"), QStringLiteral("deckbox.csv")},
                                   folder.Path({}));
        QCOMPARE(deckbox.exitCode, 0);
        QCOMPARE(folder.Read(QStringLiteral("deckbox.csv")),
                 QByteArray("Count,Tradelist Count,Name,Edition,Edition Code,Card Number,Condition,Language,Foil,"
                            "Signed,Artist Proof,Altered Art,Misprint,Promo,Textless,My Price\r\n"
                            "1,0,Sol Ring,Commander 2021,C21,263,Good (Lightly Played),German,,,,,,,,$1.99\r\n"));
        const CliRun wrong =
            Cli({QStringLiteral("export-csv"), QStringLiteral("--format"), QStringLiteral("excel")}, folder.Path({}));
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY(wrong.err.contains("--format takes quillmark, moxfield or deckbox"));
        QVERIFY(!folder.Exists(QStringLiteral("excel")));
    }
};

QTEST_GUILESS_MAIN(TestCliApps)
#include "test_cli_apps.moc"
