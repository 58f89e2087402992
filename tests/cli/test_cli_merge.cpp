#include "support/CliRun.h"
#include "support/TempFolder.h"

#include <QTest>

namespace {

const QByteArray kHeader = "Name,Series,Condition,Quantity,Location,Print,Source\r\n";
const QByteArray kFirstExport = kHeader + "Drake,Ixalan,NM,1,B1,p1,Moxfield\r\n"
                                          "Wisp,Ashfall,NM,2,B1,p2,Moxfield\r\n"
                                          "Golem,Ashfall,LP,1,B2,p3,Moxfield\r\n";
const QByteArray kNewerExport = kHeader + "Drake,Ixalan,NM,1,B1,p1,Moxfield\r\n"
                                          "Wisp,Ashfall,NM,3,B1,p2,Moxfield\r\n";

} // namespace

class TestCliMerge : public QObject {
    Q_OBJECT

private slots:
    // --preview tells and writes nothing; the same export imported twice
    // leaves qmk.dat as the first import wrote it, byte for byte.
    void appImportPreviewsAndImportsOnce()
    {
        TempFolder folder;
        const QByteArray typed = CollectionBytes({{"Wisp", "Ashfall", "NM", "", "", "5"}});
        folder.Write(QStringLiteral("qmk.dat"), typed);
        folder.Write(QStringLiteral("first.csv"), kFirstExport);
        folder.Write(QStringLiteral("newer.csv"), kNewerExport);

        CliRun run = Cli({QStringLiteral("import-csv"), QStringLiteral("first.csv"), QStringLiteral("--preview")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("+ Drake (Ixalan, NM)\n+ Wisp (Ashfall, NM)\n+ Golem (Ashfall, LP)\n"
                                     "Cards: 3 added, 0 changed, 0 removed\n"));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), typed);

        QCOMPARE(Cli({QStringLiteral("import-csv"), QStringLiteral("first.csv")}).exitCode, 0);
        const QByteArray once = folder.Read(QStringLiteral("qmk.dat"));
        run = Cli({QStringLiteral("import-csv"), QStringLiteral("first.csv"), QStringLiteral("--duplicates"),
                   QStringLiteral("merge")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Cards: 0 added, 0 changed, 0 removed\n"));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), once);

        run = Cli({QStringLiteral("import-csv"), QStringLiteral("newer.csv"), QStringLiteral("--preview")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("~ Wisp (Ashfall, NM): Qty: 2 -> 3\n- Golem (Ashfall, LP)\n"
                                     "Cards: 0 added, 1 changed, 1 removed\n"));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), once);
        QCOMPARE(Cli({QStringLiteral("import-csv"), QStringLiteral("newer.csv")}).exitCode, 0);
        const QByteArray saved = folder.Read(QStringLiteral("qmk.dat"));
        QVERIFY(!saved.contains("NAME=Golem"));
        // The Wisp typed in by hand keeps its count.
        QVERIFY(saved.contains("NAME=Wisp\r\nSERIES=Ashfall\r\nCONDITION=NM\r\nYEAR=\r\nPRICE=\r\nQUANTITY=5\r\n"));
        QVERIFY(saved.contains("QUANTITY=3\r\n"));
    }

    // Conflicts stop a merge: they are listed, nothing is written, and the
    // exit status says so; --preview lists and writes nothing either way.
    // A merge without conflicts writes, and renames a merged conflict file.
    void mergeStopsAtConflicts()
    {
        TempFolder folder;
        const QByteArray mine = CollectionBytes({{"Both"}, {"Differs", "", "", "", "$1"}});
        folder.Write(QStringLiteral("qmk.dat"), mine);
        folder.Write(QStringLiteral("other.dat"), CollectionBytes({{"Theirs"}, {"Differs", "", "", "", "$2"}, {"Both"}}));

        CliRun run = Cli({QStringLiteral("merge"), QStringLiteral("other.dat")});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QByteArray("+ Theirs\n! Differs: Price: $1 -> $2\n"
                                     "other.dat. Cards: 1 to add, 1 in both, 0 only here, 1 in conflict\n"));
        QVERIFY2(run.err.contains("nothing was merged"), run.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), mine);
        run = Cli({QStringLiteral("merge"), QStringLiteral("other.dat"), QStringLiteral("--preview")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), mine);

        const QString conflict = QStringLiteral("qmk.dat.conflict-20261208-101500");
        folder.Write(conflict, CollectionBytes({{"Theirs"}, {"Both"}}));
        run = Cli({QStringLiteral("merge"), conflict});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), CollectionBytes({{"Both"}, {"Differs", "", "", "", "$1"}, {"Theirs"}}));
        QVERIFY(!folder.Exists(conflict));
        QVERIFY(folder.Exists(conflict + QStringLiteral(".merged")));
        QCOMPARE(Cli({QStringLiteral("merge"), QStringLiteral("missing.dat")}).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestCliMerge)
#include "test_cli_merge.moc"
