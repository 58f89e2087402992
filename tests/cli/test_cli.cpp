#include "collection/CollectionLock.h"
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

    // A missing file is reported, and nothing is written or created.
    void missingFilesWriteNothing_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::newRow("outer template") << "CatalogueOutside.htm";
        QTest::newRow("row template") << "CatalogueInside.htm";
        QTest::newRow("collection") << "qmk.dat";
    }
    void missingFilesWriteNothing()
    {
        QFETCH(QString, missing);
        TempFolder folder;
        Fill(folder);
        QFile::remove(folder.Path(missing));
        QFile::remove(folder.Path(QStringLiteral("qmk.ini")));
        const Run run = Cli({QStringLiteral("catalogue")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(missing.toUtf8()), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QVERIFY(!folder.Exists(missing));
        QVERIFY(!folder.Exists(QStringLiteral("catalogue.htm")));
        QVERIFY(!folder.Exists(QStringLiteral("qmk.ini")));
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

    void usage()
    {
        TempFolder folder;
        const Run help = Cli({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("catalogue [--folder DIR]"));
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
