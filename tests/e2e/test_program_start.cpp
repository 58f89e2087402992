#include "support/TempFolder.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

namespace {

struct Ended {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// Runs the program to its end; a window that opens is closed with SIGTERM,
// as the desktop's logout would, once it has written nothing yet.
Ended Run(const QStringList& arguments, bool display, int closeAfterMs = -1, const QString& folder = {})
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLMARK_BINARY), arguments);
    process.waitForStarted();
    if (closeAfterMs >= 0 && !process.waitForFinished(closeAfterMs))
        ::kill(pid_t(process.processId()), SIGTERM);
    if (!process.waitForFinished(30000))
        qFatal("quillmark did not end");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestProgramStart : public QObject {
    Q_OBJECT

private slots:
    // Help and version are answered without a display.
    void helpAndVersionNeedNoDisplay()
    {
        const Ended help = Run({QStringLiteral("--help")}, false);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: quillmark [FOLDER]"));
        const Ended version = Run({QStringLiteral("--version")}, false);
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith("quillmark 1."));
        QCOMPARE(Run({QStringLiteral("--colour")}, true).exitCode, 2);
        QCOMPARE(Run({QStringLiteral("a"), QStringLiteral("b")}, true).exitCode, 2);
    }

    // A folder named on the command line is created and given the sample
    // templates; a template of the collector's own is kept as it is.
    void opensAFolderGivenOnTheCommandLine()
    {
        TempFolder home;
        const QString folder = home.Path(QStringLiteral("cards/trade binder"));
        QVERIFY(QDir().mkpath(folder));
        WriteFileBytes(folder + QStringLiteral("/ListInside.htm"), "mine");
        const Ended run = Run({folder}, true, 1500);
        QCOMPARE(run.exitCode, 0);
        for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm", "qmk.dat", "qmk.ini"})
            QVERIFY2(QFile::exists(folder + QLatin1Char('/') + QLatin1String(name)), name);
        QCOMPARE(home.Read(QStringLiteral("cards/trade binder/ListInside.htm")), QByteArray("mine"));
        QVERIFY(!home.Read(QStringLiteral("cards/trade binder/CatalogueOutside.htm")).isEmpty());
        QVERIFY(!QFile::exists(home.Path(QStringLiteral("qmk.dat"))));
    }

    // Started without a folder, in one without templates, the program gives
    // it the samples too (never empty ones), and keeps the collector's own.
    void givesTheCurrentFolderTheSampleTemplates()
    {
        TempFolder home;
        const QString folder = home.Path(QStringLiteral("here"));
        QVERIFY(QDir().mkpath(folder));
        QFile own(folder + QStringLiteral("/CatalogueInside.htm"));
        QVERIFY(own.open(QIODevice::WriteOnly) && own.write("mine") == 4);
        own.close();
        const Ended run = Run({}, true, 1500, folder);
        QCOMPARE(run.exitCode, 0);
        for (const char* name : {"CatalogueOutside.htm", "ListOutside.htm", "ListInside.htm"})
            QVERIFY2(!home.Read(QStringLiteral("here/") + QLatin1String(name)).isEmpty(), name);
        QCOMPARE(home.Read(QStringLiteral("here/CatalogueInside.htm")), QByteArray("mine"));
    }

    void folderThatCannotBeCreated()
    {
        TempFolder home;
        home.Write(QStringLiteral("file"), "x");
        const Ended run = Run({home.Path(QStringLiteral("file/sub"))}, true);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("cannot be created"));
    }
};

QTEST_MAIN(TestProgramStart)
#include "test_program_start.moc"
