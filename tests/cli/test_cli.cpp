#include "collection/file/CollectionLock.h"
#include "pages/SampleTemplates.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray Sample(const char* name)
{
    return FileBytes(QStringLiteral(QUILLMARK_TEMPLATE_DIR "/") + QString::fromLatin1(name));
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

// Makes a named pipe at the path.
void MakePipe(const QString& path)
{
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
}

bool IsPipe(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Puts a file prepared beside the path in its place in one step, as a sync
// tool does.
void ReplaceAtOnce(const QString& path, const QByteArray& bytes)
{
    const QString prepared = path + QStringLiteral(".sync-tmp");
    QFile file(prepared);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(prepared));
    file.close();
    if (::rename(QFile::encodeName(prepared).constData(), QFile::encodeName(path).constData()) != 0)
        qFatal("cannot replace %s", qPrintable(path));
}

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
        const CliRun run = Cli({command, QStringLiteral("--folder"), folder.Path({})}, elsewhere.Path({}));
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
        const CliRun run = Cli({QStringLiteral("catalogue")});
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
        const CliRun run = Cli({QStringLiteral("catalogue")});
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
        const CliRun imported = Cli({QStringLiteral("import-csv"), QStringLiteral("cards.csv"), QStringLiteral("--folder"),
                                  QStringLiteral("new")});
        QVERIFY2(imported.exitCode == 0, imported.err.constData());
        for (const QString& command : {QStringLiteral("list"), QStringLiteral("catalogue")}) {
            const CliRun run = Cli({command, QStringLiteral("--folder"), QStringLiteral("new")});
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
        const CliRun empty = Cli({QStringLiteral("catalogue")});
        QCOMPARE(empty.exitCode, 1);
        QVERIFY(empty.out.isEmpty());
        QVERIFY2(empty.err.startsWith("quillmark-cli: CatalogueOutside.htm is empty, so the page would be empty; "
                                      "nothing was written."),
                 empty.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("catalogue.htm")), QByteArray("old page"));
        QCOMPARE(folder.Read(QStringLiteral("CatalogueOutside.htm")), QByteArray("\r\n"));

        folder.Write(QStringLiteral("ListInside.htm"), "");
        QVERIFY(QDir().mkdir(QStringLiteral("out")));
        const CliRun withoutCards = Cli({QStringLiteral("list")});
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
        const CliRun run = Cli({QStringLiteral("catalogue")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(folder.Exists(QStringLiteral("catalogue.htm")));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCollection);
    }

    void pageThatCannotBeWrittenFails()
    {
        TempFolder folder;
        Fill(folder);
        folder.Write(QStringLiteral("qmk.ini"), "CATALOGUE=no such folder/catalogue.htm\r\n");
        const CliRun run = Cli({QStringLiteral("catalogue")});
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
        const CliRun toOutput =
            Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), collection.Path({})}, here.Path({}));
        QCOMPARE(toOutput.exitCode, 0);
        QVERIFY(toOutput.err.isEmpty());
        QVERIFY(toOutput.out.startsWith(kCsvHeader + " Ember Wisp,Ashfall,Played,2003,\"1,50\",10,,\r\n"));
        QVERIFY(toOutput.out.endsWith(",\"A <b>bold</b>\rone\"\r\n"));
        const CliRun toFile = Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), collection.Path({}),
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
        const CliRun guarded = Cli({QStringLiteral("export-csv")});
        QCOMPARE(guarded.exitCode, 0);
        QCOMPARE(guarded.out, kCsvHeader + "'tis,'+44,,,,,,'\tnote\r\n"
                                           "\"'=HYPERLINK(\"\"http://x\"\")\",'-,''@1,,,,,\r\n");
        const CliRun raw = Cli({QStringLiteral("export-csv"), QStringLiteral("--raw")});
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
        const CliRun noFolder = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("no/cards.csv")});
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
        const CliRun run = Cli({QStringLiteral("import-csv"), QStringLiteral("cards.csv"), QStringLiteral("--folder"),
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
        const CliRun run = Cli(QStringList{QStringLiteral("import-csv"), QStringLiteral("in.csv")} + options);
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
        const CliRun run = Cli(QStringList{QStringLiteral("import-csv")} + arguments);
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
        const CliRun run = Cli({QStringLiteral("import-csv"), QStringLiteral("in.csv")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("already open"), run.err.constData());
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);
        const CliRun exported = Cli({QStringLiteral("export-csv")});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(exported.out.startsWith(kCsvHeader));
    }

    // Another program replaces qmk.dat while an import runs, after the
    // import read it: its file is kept beside as a conflict file and the
    // import says so; qmk.dat holds what the import read plus the import.
    void importKeepsAFileChangedMeanwhile()
    {
        TempFolder folder;
        const QByteArray before = CollectionBytes({{"Old", "S"}});
        folder.Write(QStringLiteral("qmk.dat"), before);
        QByteArray csv = "Name,Series\r\n";
        for (int row = 0; row < 150000; ++row)
            csv += "Imported " + QByteArray::number(row) + ",Set\r\n";
        folder.Write(QStringLiteral("in.csv"), csv);
        const QString path = folder.Path(QStringLiteral("qmk.dat"));
        // The import reads qmk.dat once, after the lock and before it reads
        // the rows; its file closes after that read.
        const int watch = ::inotify_init1(IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(path).constData(), IN_CLOSE_NOWRITE) >= 0);
        QProcess import;
        import.start(QStringLiteral(QUILLMARK_CLI), {QStringLiteral("import-csv"), QStringLiteral("in.csv")});
        QVERIFY(import.waitForStarted());
        pollfd event {watch, POLLIN, 0};
        QCOMPARE(::poll(&event, 1, 30000), 1);
        const QByteArray theirs = CollectionBytes({{"Theirs", "Elsewhere"}});
        ReplaceAtOnce(path, theirs);
        ::close(watch);
        QVERIFY(import.waitForFinished(60000));
        const QByteArray err = import.readAllStandardError();
        QVERIFY2(import.exitCode() == 0, err.constData());
        QCOMPARE(import.readAllStandardOutput(), QByteArray("150,000 Cards imported\n"));

        const QStringList kept = QDir(folder.Path({})).entryList({QStringLiteral("qmk.dat.conflict-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(folder.Read(kept.first()), theirs);
        QVERIFY2(err.contains("qmk.dat was changed by another program while quillmark-cli was working on it.\n"
                              "The file found was kept as " + folder.Path(kept.first()).toUtf8()),
                 err.constData());
        const QByteArray saved = folder.Read(QStringLiteral("qmk.dat"));
        QVERIFY(saved.contains("NAME=Imported 149999\r\n"));
        QVERIFY(saved.startsWith(before.left(before.size() - 2)));
        QVERIFY(!saved.contains("Theirs"));
    }

    // Only regular files are read: a named pipe where a file should be, or a
    // link to /dev/zero, is refused at once with what it is, and nothing is
    // written or replaced.
    void refusesSpecialFiles_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("special");
        const QStringList exportCsv{"export-csv"};
        const QStringList stats{"stats"};
        const QStringList import{"import-csv", "in.csv"};
        const QStringList catalogue{"catalogue"};
        QTest::newRow("export-csv, qmk.dat a pipe") << exportCsv << "qmk.dat" << "a named pipe";
        QTest::newRow("export-csv, qmk.dat /dev/zero") << exportCsv << "qmk.dat" << "a device";
        QTest::newRow("stats, qmk.dat a pipe") << stats << "qmk.dat" << "a named pipe";
        QTest::newRow("import-csv, qmk.dat a pipe") << import << "qmk.dat" << "a named pipe";
        QTest::newRow("import-csv, qmk.dat /dev/zero") << import << "qmk.dat" << "a device";
        QTest::newRow("import-csv, the CSV file a pipe") << import << "in.csv" << "a named pipe";
        QTest::newRow("import-csv, the CSV file /dev/zero") << import << "in.csv" << "a device";
        QTest::newRow("catalogue, a template a pipe") << catalogue << "CatalogueOutside.htm" << "a named pipe";
        QTest::newRow("catalogue, a template /dev/zero") << catalogue << "CatalogueInside.htm" << "a device";
        QTest::newRow("catalogue, qmk.ini a pipe") << catalogue << "qmk.ini" << "a named pipe";
    }
    void refusesSpecialFiles()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, file);
        QFETCH(QString, special);
        TempFolder folder;
        Fill(folder);
        folder.Write(QStringLiteral("in.csv"), "Name\r\nNew\r\n");
        QFile::remove(folder.Path(file));
        if (special == QLatin1String("a named pipe"))
            MakePipe(folder.Path(file));
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder.Path(file)));
        QElapsedTimer clock;
        clock.start();
        const CliRun run = Cli(command);
        QVERIFY(clock.elapsed() < 20000);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("%1: not a regular file but %2").arg(file, special).toUtf8()),
                 run.err.constData());
        QVERIFY(run.out.isEmpty());
        QVERIFY(special == QLatin1String("a named pipe") ? IsPipe(folder.Path(file)) : QFileInfo(folder.Path(file)).isSymLink());
        if (file != QLatin1String("qmk.dat"))
            QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCollection);
        QVERIFY(!folder.Exists(QStringLiteral("catalogue.htm")));
        QVERIFY(!folder.Exists(QStringLiteral("qmk.lock")));
    }

    // Where export-csv -o may write: standard output through /dev/stdout, a
    // pipe a program reads, never the collection's own qmk.dat; a pipe that
    // nobody reads is refused and a full device says so, each left as it is.
    void exportTargets()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        const QByteArray csv = Cli({QStringLiteral("export-csv")}).out;
        QVERIFY(csv.startsWith(kCsvHeader));

        const CliRun toStdout = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("/dev/stdout")});
        QVERIFY2(toStdout.exitCode == 0, toStdout.err.constData());
        QCOMPARE(toStdout.out, csv);

        QVERIFY(QFile::link(QStringLiteral("qmk.dat"), folder.Path(QStringLiteral("alias.csv"))));
        TempFolder elsewhere;
        for (const QString& own : {QStringLiteral("qmk.dat"), QStringLiteral("alias.csv")}) {
            const CliRun run = Cli({QStringLiteral("export-csv"), QStringLiteral("--folder"), folder.Path({}),
                                 QStringLiteral("-o"), folder.Path(own)},
                                elsewhere.Path({}));
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains("this collection's own qmk.dat"), run.err.constData());
            QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);
        }
        QDir::setCurrent(folder.Path({}));
        QCOMPARE(Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("qmk.dat")}).exitCode, 1);
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);

        const QString pipe = folder.Path(QStringLiteral("out.csv"));
        MakePipe(pipe);
        const CliRun unread = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("out.csv")});
        QCOMPARE(unread.exitCode, 1);
        QVERIFY2(unread.err.contains("a named pipe that no program reads from"), unread.err.constData());
        QVERIFY(IsPipe(pipe));
        // This test reads the pipe: the export goes into it.
        const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(reader >= 0);
        const CliRun read = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("out.csv")});
        QVERIFY2(read.exitCode == 0, read.err.constData());
        QByteArray received(csv.size() + 100, '\0');
        const ssize_t got = ::read(reader, received.data(), std::size_t(received.size()));
        ::close(reader);
        QCOMPARE(received.left(qsizetype(got)), csv);
        QVERIFY(IsPipe(pipe));

        // As root the test makes its own full device, which the old export
        // replaced with a file; otherwise it links to /dev/full.
        const QString full = folder.Path(QStringLiteral("full"));
        if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
        const CliRun onFull = Cli({QStringLiteral("export-csv"), QStringLiteral("-o"), QStringLiteral("full")});
        QCOMPARE(onFull.exitCode, 1);
        QVERIFY2(onFull.err.contains("No space left on device"), onFull.err.constData());
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(full).constData(), &info), 0);
        QVERIFY(S_ISCHR(info.st_mode));
    }

    // A page location whose file is not an HTML page is refused, as is one
    // of the collection's own files and a location holding a NUL; an old
    // page is replaced as ever.
    void pageTargets_data()
    {
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("not a page") << QByteArray("../home/.profile") << QByteArray("../home/.profile already exists and is not an HTML page");
        QTest::newRow("own collection") << QByteArray("qmk.dat") << QByteArray("qmk.dat is one of this collection's own files");
        QTest::newRow("own template") << QByteArray("CatalogueInside.htm") << QByteArray("CatalogueInside.htm is one of this collection's own files");
        QTest::newRow("NUL") << QByteArray("list\0.htm", 9) << QByteArray("holds a NUL character");
        QTest::newRow("a pipe nobody reads") << QByteArray("pipe.htm") << QByteArray("a named pipe that no program reads from");
        QTest::newRow("an old page") << QByteArray("old.htm") << QByteArray();
    }
    void pageTargets()
    {
        QFETCH(QByteArray, location);
        QFETCH(QByteArray, reason);
        TempFolder root;
        QVERIFY(QDir().mkpath(QStringLiteral("home")));
        QVERIFY(QDir().mkpath(QStringLiteral("data")));
        root.Write(QStringLiteral("home/.profile"), "export PATH=$HOME/bin:$PATH\n");
        root.Write(QStringLiteral("data/old.htm"), "<html>old</html>");
        const QString folder = root.Path(QStringLiteral("data"));
        // Every template is there, so that the command copies no sample in.
        for (const char* name : SampleTemplateNames())
            root.Write(QStringLiteral("data/") + QString::fromLatin1(name), Sample(name));
        root.Write(QStringLiteral("data/qmk.dat"), kCollection);
        root.Write(QStringLiteral("data/qmk.ini"), "CATALOGUE=" + location + "\r\n");
        MakePipe(root.Path(QStringLiteral("data/pipe.htm")));
        const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        const CliRun run = Cli({QStringLiteral("catalogue"), QStringLiteral("--folder"), folder});
        QCOMPARE(root.Read(QStringLiteral("home/.profile")), QByteArray("export PATH=$HOME/bin:$PATH\n"));
        QCOMPARE(root.Read(QStringLiteral("data/qmk.dat")), kCollection);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), before);
        QVERIFY(!run.err.contains("Broken filename"));
        if (reason.isEmpty()) {
            QVERIFY2(run.exitCode == 0, run.err.constData());
            QVERIFY(root.Read(QStringLiteral("data/old.htm")).contains("Ironbark Sentinel"));
            return;
        }
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.count(reason), 1);
        QCOMPARE(run.err.count("\n"), 1);
        QVERIFY(IsPipe(root.Path(QStringLiteral("data/pipe.htm"))));
        QCOMPARE(root.Read(QStringLiteral("data/old.htm")), QByteArray("<html>old</html>"));
    }

    // A folder that another import holds is said to be in use by
    // quillmark-cli, not open in a window.
    void importRefusedBesideAnotherImport()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("qmk.dat"), kCsvCollection);
        folder.Write(QStringLiteral("in.csv"), "Name\r\nNew\r\n");
        // A lock is a program's only while a process of its name runs.
        TempFolder programs;
        const QString holder = programs.Path(QStringLiteral("quillmark-cli"));
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), holder));
        QVERIFY(QFile::setPermissions(holder, QFile::permissions(holder) | QFileDevice::ExeOwner));
        QProcess other;
        other.start(holder, {QStringLiteral("30")});
        QVERIFY(other.waitForStarted());
        QFile lock(folder.Path(QStringLiteral("qmk.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(other.processId()) + "\nquillmark-cli\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        const CliRun run = Cli({QStringLiteral("import-csv"), QStringLiteral("in.csv")}, folder.Path({}));
        other.kill();
        other.waitForFinished();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("in use by quillmark-cli"), run.err.constData());
        QVERIFY(!run.err.contains("open in Quillmark"));
        QCOMPARE(folder.Read(QStringLiteral("qmk.dat")), kCsvCollection);
    }

    void usage()
    {
        TempFolder folder;
        const CliRun help = Cli({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("catalogue [--folder DIR]"));
        QVERIFY(help.out.contains("export-csv [--folder DIR] [-o FILE]"));
        const CliRun importHelp = Cli({QStringLiteral("import-csv"), QStringLiteral("--help")});
        QCOMPARE(importHelp.exitCode, 0);
        QVERIFY(importHelp.out.contains("close the window first"));
        const CliRun version = Cli({QStringLiteral("--version")});
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
