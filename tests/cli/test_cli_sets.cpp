#include "collection/sets/CannedSets.h"
#include "support/FileBytes.h"
#include "support/ReplayServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// The sources are the test's server, which must go on answering while the
// program runs; the sizes are kept in a cache of the test's own.
Run Sets(const QStringList& arguments, const QString& folder, const QString& sources, const QString& cache)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLMARK_CARD_SOURCES"), sources);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLMARK_CLI),
                  QStringList{QStringLiteral("sets"), QStringLiteral("--folder"), folder} + arguments);
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000))
        qFatal("quillmark-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

const QByteArray kCollection =
    "NAME=Bolt\r\nSERIES=Ixalan\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=1\r\nURL=\r\nDESCRIPTION=\r\n"
    "GAME=magic\r\nSETCODE=xln\r\nNUMBER=012\r\n\r\n"
    "NAME=Furret\r\nSERIES=\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=2\r\nURL=\r\nDESCRIPTION=\r\n"
    "PRINT=tcgdex:swsh3-136\r\n";

} // namespace

class TestCliSets : public QObject {
    Q_OBJECT

private slots:
    // Without --fetch nothing is asked; with it the sizes come and stay.
    void completionBeforeAndAfterFetching()
    {
        ReplayServer server;
        server.Script("/scryfall/sets/xln", CannedSets::ScryfallXln);
        server.Script("/tcgdex/v2/en/sets/swsh3", CannedSets::TcgdexSwsh3);
        QTemporaryDir dir;
        QTemporaryDir cache;
        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), kCollection);

        const Run before = Sets({}, dir.path(), server.Base(), cache.path());
        QCOMPARE(before.exitCode, 0);
        QCOMPARE(before.out, QByteArray("magic\txln\tIxalan\t1 held, size unknown\t\n"
                                        "pokemon\tswsh3\t\t1 held, size unknown\t\n"));
        QCOMPARE(before.err, QByteArray());
        QVERIFY(server.Requests().isEmpty());

        const Run fetched = Sets({QStringLiteral("--fetch"), QStringLiteral("--json")}, dir.path(), server.Base(),
                                 cache.path());
        QCOMPARE(fetched.exitCode, 0);
        const QJsonArray sets = QJsonDocument::fromJson(fetched.out).array();
        QCOMPARE(sets.size(), 2);
        QCOMPARE(sets[0]["held"].toInt(), 1);
        QCOMPARE(sets[0]["size"].toInt(), 279);
        QCOMPARE(sets[0]["missing"].toArray().size(), 278);
        QCOMPARE(sets[1]["name"].toString(), QStringLiteral("Darkness Ablaze"));
        QCOMPARE(sets[1]["size"].toInt(), 189);

        const int asked = int(server.Requests().size());
        const Run again = Sets({QStringLiteral("--fetch")}, dir.path(), server.Base(), cache.path());
        QVERIFY2(again.out.startsWith("magic\txln\tIxalan\t1 of 279\t1-11, 13-279\n"), again.out.constData());
        QCOMPARE(int(server.Requests().size()), asked);
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("qmk.dat"))), kCollection);
    }
};

QTEST_GUILESS_MAIN(TestCliSets)
#include "test_cli_sets.moc"
