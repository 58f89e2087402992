#include "collection/file/CollectionLock.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Run Cli(const QStringList& arguments, const QString& folder = QDir::currentPath())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    if (!process.waitForFinished(30000))
        qFatal("quillmark-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QByteArray Sample(const char* name)
{
    QFile file(QStringLiteral(QUILLMARK_TEMPLATE_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kCollection = CollectionBytes({
    {"Ironbark Sentinel", "Skyforge", "Mint", "1999", "$4.25", "2", "pics/iron.png", "A <b>bold</b> one"},
    {"Ember Wisp", "Ashfall", "Played", "2003", "", "", "", "caf\xc3\xa9 & \xe9 byte"},
});

const QByteArray kPreferences = "CREATOR=QMK 1.0\r\nNAME=Ada\r\nEMAIL=ada@example.org\r\nLIST=out/my list.htm\r\n";

// Values that stay valid UTF-8 and that CSV must quote or keep as they are.
const QByteArray kCsvCollection = CollectionBytes({
    {"Ironbark, \"Sentinel\"", "Sky;forge", "Mint", "1999", "$4.25", "2", "pics/iron.png", "A <b>bold</b>\rone"},
    {"=1+2", "", "", "", "", "", "", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x83\x8f\tend"},
    {" Ember Wisp", "Ashfall", "Played", "2003", "1,50", "10", "", ""},
});

const QByteArray kCsvHeader = "Name,Series,Condition,Year,Price,Quantity,URL,Description\r\n";

void Fill(const TempFolder& folder)
{
    for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm", "ListInside.htm"})
        folder.Write(QString::fromLatin1(name), Sample(name));
    folder.Write(QStringLiteral("qmk.dat"), kCollection);
    folder.Write(QStringLiteral("qmk.ini"), kPreferences);
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    // The command line writes the very page the window's button writes, at
    // the same place, and touches neither qmk.dat nor qmk.ini.
    void pagesMatchTheWindows_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("page");
        QTest::newRow("catalogue") << "catalogue" << "catalogue.htm";
        QTest::newRow("list") << "list" << "out/my list.htm";
    }
    void pagesMatchTheWindows()
    {
        QFETCH(QString, command);
        QFETCH(QString, page);
        QByteArray windowPage;
        {
            WindowFixture f;
            Fill(f.folder);
            QDir().mkdir(QStringLiteral("out"));
            f.Open();
            command == QLatin1String("catalogue") ? f.window->OnCatalogue() : f.window->OnList();
            windowPage = f.folder.Read(page);
        }
        QVERIFY(!windowPage.isEmpty());

        TempFolder elsewhere;
        TempFolder folder;
        Fill(folder);
        QDir(folder.Path({})).mkdir(QStringLiteral("out"));
        const Run run = Cli({command, QStringLiteral("--folder"), folder.Path({})}, elsewhere.Path({}));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), QDir::cleanPath(folder.Path(page)).toUtf8());
        QCOMPARE(folder.Read(page), windowPage);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCollection);
        QCOMPARE(folder.Read(QStringLiteral("qmk.ini")), kPreferences);
        QVERIFY(run.err.isEmpty());
    }

    // A missing collection is reported, and nothing is written or created.
    void missingCollectionWritesNothing()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.ini"), kPreferences);
        const Run run = Cli({QStringLiteral("catalogue")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("qmk.dat"), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QDir(folder.Path({})).entryList(QDir::Files), QStringList{QStringLiteral("qmk.ini")});
    }

    // Missing templates are copied in from the samples, as the window does,
    // and the page is written from them; templates of the folder's own stay.
    void missingTemplatesAreCopied_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::newRow("outer template") << "CatalogueOutside.htm";
        QTest::newRow("row template") << "CatalogueInside.htm";
    }
    void missingTemplatesAreCopied()
    {
        QFETCH(QString, missing);
        TempFolder folder;
        Fill(folder);
        folder.Write(QStringLiteral("ListOutside.htm"), "mine");
        QFile::remove(folder.Path(missing));
        const Run run = Cli({QStringLiteral("catalogue")});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.err.isEmpty());
        QCOMPARE(folder.Read(missing), Sample(missing.toLatin1().constData()));
        QCOMPARE(folder.Read(QStringLiteral("ListOutside.htm")), QByteArray("mine"));
        QVERIFY(folder.Read(QStringLiteral("catalogue.htm")).contains("Ironbark Sentinel"));
    }

    // A folder that holds only the collection import-csv made is published
    // with the sample templates.
    void publishesAFolderMadeByImport()
    {
        TempFolder here;
        here.Write(QStringLiteral("cards.csv"), kCsvHeader + "Ember Wisp,Ashfall,Played,2003,$1.50,2,,\r\n");
        QVERIFY(QDir().mkdir(QStringLiteral("new")));
        const Run imported = Cli({QStringLiteral("import-csv"), QStringLiteral("cards.csv"), QStringLiteral("--folder"),
                                  QStringLiteral("new")});
        QVERIFY2(imported.exitCode == 0, imported.err.constData());
        for (const QString& command : {QStringLiteral("list"), QStringLiteral("catalogue")}) {
            const Run run = Cli({command, QStringLiteral("--folder"), QStringLiteral("new")});
            QVERIFY2(run.exitCode == 0, run.err.constData());
            QVERIFY(run.err.isEmpty());
        }
        QVERIFY(here.Read(QStringLiteral("new/list.htm")).contains("Ember Wisp"));
        QVERIFY(here.Read(QStringLiteral("new/catalogue.htm")).contains("Ember Wisp"));
        for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm", "ListInside.htm"})
            QCOMPARE(here.Read(QStringLiteral("new/") + QLatin1String(name)), Sample(name));
    }

    // A page that would be empty because its outer template is is not
    // written, the old page kept; one whose row template is empty is written
    // with a warning that it shows no Cards.
    void emptyTemplatesAreNamed()
    {
        TempFolder folder;
        Fill(folder);
        folder.Write(QStringLiteral("CatalogueOutside.htm"), "\r\n");
        folder.Write(QStringLiteral("catalogue.htm"), "old page");
        const Run empty = Cli({QStringLiteral("catalogue")});
        QCOMPARE(empty.exitCode, 1);
        QVERIFY(empty.out.isEmpty());
        QVERIFY2(empty.err.startsWith("quillmark-cli: CatalogueOutside.htm is empty, so the page would be empty; "
                                      "nothing was written."),
                 empty.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("catalogue.htm")), QByteArray("old page"));
        QCOMPARE(folder.Read(QStringLiteral("CatalogueOutside.htm")), QByteArray("\r\n"));

        folder.Write(QStringLiteral("ListInside.htm"), "");
        QVERIFY(QDir().mkdir(QStringLiteral("out")));
        const Run withoutCards = Cli({QStringLiteral("list")});
        QCOMPARE(withoutCards.exitCode, 0);
        QCOMPARE(withoutCards.err,
                 QByteArray("quillmark-cli: ListInside.htm is empty, so the page shows none of the Cards\n"));
        QVERIFY(!folder.Read(QStringLiteral("out/my list.htm")).contains("Ironbark"));
    }

    // The man page says what the import does with line breaks inside
    // quoted values: a line feed, or CR LF, becomes a space; a CR alone is
    // kept, as qmk.dat keeps it.
    void manPageTellsWhatBecomesOfLineBreaks()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("in.csv"),
                     "Name,Notes\r\nA,\"one\ntwo\"\r\nB,\"one\r\ntwo\"\r\nC,\"one\rtwo\"\r\n");
        QCOMPARE(Cli({QStringLiteral("import-csv"), QStringLiteral("in.csv")}).exitCode, 0);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")),
                 CollectionBytes({{"C", "", "", "", "", "", "", "one\rtwo"},
                                  {"B", "", "", "", "", "", "", "one two"},
                                  {"A", "", "", "", "", "", "", "one two"}}));
        QFile page(QStringLiteral(QUILLMARK_TEMPLATE_DIR "/../resources/man/quillmark-cli.1"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll()).simplified();
        QVERIFY(!text.contains(QStringLiteral("a line break and byte 26 become spaces")));
        QVERIFY(text.contains(QStringLiteral("In each value a line feed, or a CR LF, inside quotes becomes a space")));
        QVERIFY(text.contains(QStringLiteral("a CR alone is kept")));
    }

    // Commands that only read qmk.dat run while a window holds the folder.
    void readersRunBesideAWindow()
    {
        TempFolder folder;
        Fill(folder);
        CollectionLock window(folder.Path({}));
        QString refusal;
        QVERIFY(window.Take(refusal));
        const Run run = Cli({QStringLiteral("catalogue")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(folder.Exists(QStringLiteral("catalogue.htm")));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCollection);
    }

    void pageThatCannotBeWrittenFails()
    {
        TempFolder folder;
        Fill(folder);
        folder.Write(QStringLiteral("qmk.ini"), "CATALOGUE=no such folder/catalogue.htm\r\n");
        const Run run = Cli({QStringLiteral("catalogue")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("no such folder"));
    }

    // Standard output and -o give the same bytes, the top row first; -o is
    // relative to where the command runs; the collection is only read.
    void exportsCsv()
    {
        TempFolder here;
        TempFolder collection;
        collection.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        const Run toOutput =
            Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), collection.Path({})}, here.Path({}));
        QCOMPARE(toOutput.exitCode, 0);
        QVERIFY(toOutput.err.isEmpty());
        QVERIFY(toOutput.out.startsWith(kCsvHeader + " Ember Wisp,Ashfall,Played,2003,\"1,50\",10,,\r\n"));
        QVERIFY(toOutput.out.endsWith(",\"A <b>bold</b>\rone\"\r\n"));
        const Run toFile = Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), collection.Path({}),
                                QStringLiteral("-o"), QStringLiteral("cards.csv")},
                               here.Path({}));
        QCOMPARE(toFile.exitCode, 0);
        QVERIFY(toFile.out.isEmpty());
        QCOMPARE(here.Read(QStringLiteral("cards.csv")), toOutput.out);
        QVERIFY(!collection.Exists(QStringLiteral("cards.csv")));
        QCOMPARE(collection.Read(QStringLiteral("qmk.dat")), kCsvCollection);
    }

    // A value that begins like a formula goes out behind an apostrophe,
    // unless --raw is given; the import takes the apostrophe off again.
    void exportsFormulasGuardedOrRaw()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), CollectionBytes({{"=HYPERLINK(\"http://x\")", "-", "'@1"},
                                                                   {"'tis", "+44", "", "", "", "", "", "\tnote"}}));
        const Run guarded = Cli({QStringLiteral("export-csv")});
        QCOMPARE(guarded.exitCode, 0);
        QCOMPARE(guarded.out, kCsvHeader + "'tis,'+44,,,,,,'\tnote\r\n"
                                           "\"'=HYPERLINK(\"\"http://x\"\")\",'-,''@1,,,,,\r\n");
        const Run raw = Cli({QStringLiteral("export-csv"), QStringLiteral("--raw")});
        QCOMPARE(raw.exitCode, 0);
        QCOMPARE(raw.out, kCsvHeader + "'tis,+44,,,,,,\tnote\r\n"
                                       "\"=HYPERLINK(\"\"http://x\"\")\",-,'@1,,,,,\r\n");
        QCOMPARE(Cli({QStringLiteral("export-csv"), QStringLiteral("--raw"), QStringLiteral("-o"),
                      QStringLiteral("raw.csv")})
                     .exitCode,
                 0);
        QCOMPARE(folder.Read(QStringLiteral("raw.csv")), raw.out);
        QVERIFY(Cli({QStringLiteral("export-csv"), QStringLiteral("--help")}).out.contains("--raw"));

        TempFolder second;
        second.Write(QStringLiteral("cards.csv"), guarded.out);
        QCOMPARE(Cli({QStringLiteral("import-csv"), QStringLiteral("cards.csv")}).exitCode, 0);
        QCOMPARE(second.Read(QStringLiteral("qmk.dat")), folder.Read(QStringLiteral("qmk.dat")));
    }

    void exportFailures()
    {
        TempFolder folder;
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        folder.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        full.start(QStringLiteral(QUILLMARK_CLI), {QStringLiteral("export-csv")});
        QVERIFY(full.waitForFinished(30000));
        QCOMPARE(full.exitCode(), 1);
        const Run noFolder = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("no/cards.csv")});
        QCOMPARE(noFolder.exitCode, 1);
        QVERIFY(!folder.Exists(QStringLiteral("no")));
        QFile::remove(folder.Path(QStringLiteral("qmk.dat")));
        QCOMPARE(Cli({QStringLiteral("export-csv")}).exitCode, 1);
    }

    // Export, then import into an empty folder, writes the very collection
    // file the first folder holds.
    void roundTrips()
    {
        TempFolder here;
        TempFolder first;
        TempFolder second;
        first.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        QCOMPARE(Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), first.Path({}), QStringLiteral("-o"),
                      QStringLiteral("cards.csv")},
                     here.Path({}))
                     .exitCode,
                 0);
        const Run run = Cli({QStringLiteral("import-csv"), QStringLiteral("cards.csv"), QStringLiteral("--folder"),
                             second.Path({})},
                            here.Path({}));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("3 Cards imported\n"));
        QCOMPARE(second.Read(QStringLiteral("qmk.dat")), kCsvCollection);
    }

    // The options reach the import: repeats, separator and encoding.
    void importsWithOptions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<QByteArray>("collection");
        const QByteArray repeats = "Name,Series,Quantity\r\nNew,S,1\r\nOld,S,4\r\nNew,S,2\r\n";
        QTest::newRow("repeats added as rows") << QStringList() << repeats
                                               << QByteArray("3 Cards imported; 2 repeats added as rows\n")
                                               << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"New", "S", "", "", "", "2"},
                                                                   {"Old", "S", "", "", "", "4"}, {"New", "S", "", "", "", "1"}});
        QTest::newRow("merged") << QStringList{"--duplicates", "merge"} << repeats
                                << QByteArray("1 Card imported; 2 repeats added to quantities\n")
                                << CollectionBytes({{"Old", "S", "", "", "", "7"}, {"New", "S", "", "", "", "3"}});
        QTest::newRow("skipped") << QStringList{"--duplicates=skip"} << repeats
                                 << QByteArray("1 Card imported; 2 repeats skipped\n")
                                 << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"New", "S", "", "", "", "1"}});
        QTest::newRow("separator and encoding given")
            << QStringList{"--separator", "|", "--encoding", "WINDOWS-1252"} << QByteArray("Qty|Card Name\r\n2|Caf\xe9\r\n")
            << QByteArray("1 Card imported\n")
            << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"Caf\xc3\xa9", "", "", "", "", "2"}});
        QTest::newRow("tab") << QStringList{"--separator", "tab"} << QByteArray("Name\tSet\r\na,b\tc\r\n")
                             << QByteArray("1 Card imported\n")
                             << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"a,b", "c"}});
        // Told, an almost-UTF-8 file is read as Windows-1252 all the same.
        QTest::newRow("almost all UTF-8, read as told")
            << QStringList{"--encoding", "windows-1252"}
            << QByteArray("Name\r\n\xc3\xa9\xc3\xa9\xc3\xa9\r\nCaf\xe9\r\n")
            << QByteArray("2 Cards imported\n")
            << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"Caf\xc3\xa9"},
                                {"\xc3\x83\xc2\xa9\xc3\x83\xc2\xa9\xc3\x83\xc2\xa9"}});
        QTest::newRow("detected") << QStringList() << QByteArray("Name;Price\r\nEuro;1,50 \x80\r\n")
                                  << QByteArray("1 Card imported\n")
                                  << CollectionBytes({{"Old", "S", "", "", "", "3"}, {"Euro", "", "", "", "1,50 \xe2\x82\xac"}});
    }

    void importsWithOptions()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, csv);
        QFETCH(QByteArray, summary);
        QFETCH(QByteArray, collection);
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), CollectionBytes({{"Old", "S", "", "", "", "3"}}));
        folder.Write(QStringLiteral("in.csv"), csv);
        const Run run = Cli(QStringList{QStringLiteral("import-csv"), QStringLiteral("in.csv")} + options);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, summary);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), collection);
    }

    // A file that cannot be read is refused with its line, and qmk.dat stays
    // as it was; wrong options are refused before anything is read.
    void importRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("quote never closed") << QStringList{"in.csv"} << kCsvHeader + "A\r\nB\r\n\"C,\r\nD\r\n" << 1
                                            << QByteArray("in.csv: line 4: a quote in this row is never closed");
        QTest::newRow("not UTF-8 as told") << QStringList{"in.csv", "--encoding", "utf-8"}
                                           << kCsvHeader + "A\r\n\"B\r\nCaf\xe9\"\r\n" << 1
                                           << QByteArray("in.csv: line 4: this line is not valid UTF-8");
        // Almost all UTF-8: not garbled as Windows-1252, but refused at the
        // line of the first byte that is not UTF-8, early or late in the file.
        QByteArray accented;
        for (int i = 0; i < 3000; ++i)
            accented += "Caf\xc3\xa9 " + QByteArray::number(i) + ",\xc3\x89" "dition\r\n";
        QTest::newRow("almost all UTF-8") << QStringList{"in.csv"} << kCsvHeader + accented + "Caf\xe9,Base\r\n" << 1
                                          << QByteArray("in.csv: line 3002: this line is not valid UTF-8, though "
                                                        "almost all of the file is; nothing was imported");
        QTest::newRow("almost all UTF-8, early") << QStringList{"in.csv"}
                                                 << kCsvHeader + "Caf\xe9,Base\r\n" + accented << 1
                                                 << QByteArray("in.csv: line 2: this line is not valid UTF-8, though "
                                                               "almost all of the file is; nothing was imported");
        QTest::newRow("no Name column") << QStringList{"in.csv"} << QByteArray("\r\nTeam,Set\r\nA,B\r\n") << 1
                                        << QByteArray("line 2: no column is headed Name");
        QTest::newRow("missing file") << QStringList{"none.csv"} << QByteArray() << 1 << QByteArray("none.csv");
        QTest::newRow("no file") << QStringList() << QByteArray() << 2 << QByteArray("one FILE");
        QTest::newRow("two files") << QStringList{"in.csv", "in.csv"} << QByteArray() << 2 << QByteArray("one FILE");
        QTest::newRow("repeats") << QStringList{"in.csv", "--duplicates", "sum"} << QByteArray() << 2
                                 << QByteArray("add, skip or merge");
        QTest::newRow("separator") << QStringList{"in.csv", "--separator", "\"\""} << QByteArray() << 2
                                   << QByteArray("one character");
        QTest::newRow("separator quote") << QStringList{"in.csv", "--separator", "\""} << QByteArray() << 2
                                         << QByteArray("one character");
        QTest::newRow("encoding") << QStringList{"in.csv", "--encoding", "latin1"} << QByteArray() << 2
                                  << QByteArray("utf-8 or windows-1252");
    }

    void importRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, csv);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, reason);
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        folder.Write(QStringLiteral("in.csv"), csv);
        const Run run = Cli(QStringList{QStringLiteral("import-csv")} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);
        QCOMPARE(QDir(folder.Path({})).entryList(QDir::Files).size(), 2);
    }

    // An import waits for no window: a folder a window holds is refused and
    // left as it was, while an export only reads it.
    void importRefusedBesideAWindow()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        folder.Write(QStringLiteral("in.csv"), "Name\r\nNew\r\n");
        CollectionLock window(folder.Path({}));
        QString refusal;
        QVERIFY(window.Take(refusal));
        const Run run = Cli({QStringLiteral("import-csv"), QStringLiteral("in.csv")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("already open"), run.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);
        const Run exported = Cli({QStringLiteral("export-csv")});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(exported.out.startsWith(kCsvHeader));
    }

    void usage()
    {
        TempFolder folder;
        const Run help = Cli({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("catalogue [--folder DIR]"));
        QVERIFY(help.out.contains("export-csv [--folder DIR] [-o FILE]"));
        const Run importHelp = Cli({QStringLiteral("import-csv"), QStringLiteral("--help")});
        QCOMPARE(importHelp.exitCode, 0);
        QVERIFY(importHelp.out.contains("close the window first"));
        const Run version = Cli({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith("quillmark-cli "));
        QCOMPARE(Cli({}).exitCode, 2);
        QCOMPARE(Cli({QStringLiteral("bind")}).exitCode, 2);
        QCOMPARE(Cli({QStringLiteral("list"), QStringLiteral("--folder")}).exitCode, 2);
        QCOMPARE(Cli({QStringLiteral("list"), QStringLiteral("--colour")}).exitCode, 2);
        QCOMPARE(Cli({QStringLiteral("list"), QStringLiteral("--folder"), folder.Path(QStringLiteral("none"))}).exitCode, 1);
    }
};

QTEST_MAIN(TestCli)
#include "test_cli.moc"
