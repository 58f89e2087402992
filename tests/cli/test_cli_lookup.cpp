#include "collection/lookup/CannedAnswers.h"
#include "collection/lookup/MagicNameIndex.h"
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

// The program's sources are the test's own server, which must go on
// answering while the program runs: the wait keeps the event loop turning.
Run Command(const QStringList& arguments, const QString& sources)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLMARK_CARD_SOURCES"), sources);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLMARK_CLI), arguments);
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000))
        qFatal("quillmark-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

Run Cli(const QStringList& arguments, const QString& sources)
{
    return Command(QStringList{QStringLiteral("lookup")} + arguments, sources);
}

} // namespace

class TestCliLookup : public QObject {
    Q_OBJECT

private slots:
    void matchesAsJsonAndText()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/96", Canned::ScryfallCard);
        server.Script("/tcgdex/v2/en/cards/swsh3-136", Canned::TcgdexCard);
        server.Script("/tcgdex/v2/en/sets/swsh3", Canned::TcgdexSwsh3);

        const Run json = Cli({QStringLiteral("--json"), QStringLiteral("xln"), QStringLiteral("96")}, server.Base());
        QCOMPARE(json.exitCode, 0);
        QCOMPARE(json.err, QByteArray());
        QJsonParseError error;
        const QJsonArray matches = QJsonDocument::fromJson(json.out, &error).array();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(matches.size(), 1);
        const QJsonObject match = matches[0].toObject();
        QCOMPARE(match.keys(), (QStringList{"finish", "game", "language", "name", "number", "picture", "print", "series",
                                            "setcode", "year"}));
        QCOMPARE(match["name"].toString(), "Kitesail Freebooter");
        QCOMPARE(match["print"].toString(), "scryfall:0a1b2c3d-0000-4000-8000-000000000096");

        const Run text = Cli({QStringLiteral("--game"), QStringLiteral("pokemon"), QStringLiteral("swsh3-136")},
                             server.Base());
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(text.out, QByteArray("Furret\tDarkness Ablaze\t2020\tswsh3\t136\n"));

        // A database's tab or line break never shifts a column or adds a line.
        server.Script("/scryfall/cards/tst/1", R"({"object": "card", "id": "1", "name": "Odd\tName\nHere",
                                                    "set": "tst", "set_name": "Test\r\nSet", "collector_number": "1"})");
        const Run odd = Cli({QStringLiteral("--game=magic"), QStringLiteral("tst 1")}, server.Base());
        QCOMPARE(odd.exitCode, 0);
        QCOMPARE(odd.out, QByteArray("Odd Name Here\tTest  Set\t\ttst\t1\n"));
    }

    void failures()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/xln/999", Canned::ScryfallNotFound, 404);
        const Run missing = Cli({QStringLiteral("--game=magic"), QStringLiteral("xln 999")}, server.Base());
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(missing.out, QByteArray());
        QCOMPARE(missing.err, QByteArray("quillmark-cli: No card was found for \xe2\x80\x9cxln 999\xe2\x80\x9d.\n"));

        // Nothing listens on a port just closed.
        QString closed;
        {
            ReplayServer gone;
            closed = gone.Base();
        }
        const Run unreachable = Cli({QStringLiteral("--game"), QStringLiteral("yugioh"), QStringLiteral("Kuriboh")},
                                    closed);
        QCOMPARE(unreachable.exitCode, 1);
        QVERIFY2(unreachable.err.startsWith("quillmark-cli: YGOPRODeck could not be reached"), unreachable.err);
        QCOMPARE(unreachable.err.count('\n'), 1);
    }

    void wrongCalls_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no query") << QStringList{QStringLiteral("--json")};
        QTest::newRow("unknown game") << QStringList{QStringLiteral("--game"), QStringLiteral("chess"), QStringLiteral("x")};
        QTest::newRow("empty game") << QStringList{QStringLiteral("--game="), QStringLiteral("x")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast"), QStringLiteral("x")};
    }

    void wrongCalls()
    {
        QFETCH(QStringList, arguments);
        ReplayServer server;
        const Run run = Cli(arguments, server.Base());
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QCOMPARE(server.Requests().size(), 0);
    }

    // The index is downloaded to the file named, then completes from it
    // without the network.
    void cardIndex()
    {
        if (!MagicNameIndex::Available())
            QSKIP("Qt's SQLite driver is not installed");
        ReplayServer server;
        const QJsonArray files{QJsonObject{{"object", "bulk_data"}, {"type", "oracle_cards"},
                                           {"download_uri", server.Base() + QStringLiteral("/oracle.json")}}};
        server.Script("/scryfall/bulk-data", QJsonDocument(QJsonObject{{"object", "list"}, {"data", files}}).toJson());
        ReplayServer::Reply oracle;
        oracle.body = R"([{"name": "Lightning Bolt"}, {"name": "Lightning Helix"}, {"name": "Opt"}])";
        server.Script("/oracle.json", oracle);
        QTemporaryDir folder;
        const QString index = folder.filePath(QStringLiteral("cache/names.sqlite"));

        const Run missing = Command({QStringLiteral("card-index"), QStringLiteral("--index"), index,
                                     QStringLiteral("complete"), QStringLiteral("light")}, server.Base());
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains("card-index download"));

        const Run made = Command({QStringLiteral("card-index"), QStringLiteral("--index"), index,
                                  QStringLiteral("download")}, server.Base());
        QCOMPARE(made.exitCode, 0);
        QCOMPARE(made.out, "3 card names in " + index.toUtf8() + "\n");

        const Run names = Command({QStringLiteral("card-index"), QStringLiteral("--index"), index,
                                   QStringLiteral("complete"), QStringLiteral("lightning"), QStringLiteral("h")},
                                  QString());
        QCOMPARE(names.exitCode, 0);
        QCOMPARE(names.out, QByteArray("Lightning Helix\n"));
        QCOMPARE(Command({QStringLiteral("card-index")}, QString()).exitCode, 2);
    }

    void help()
    {
        const Run run = Cli({QStringLiteral("--help")}, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Usage: quillmark-cli lookup [--game GAME] QUERY [--json]\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliLookup)
#include "test_cli_lookup.moc"
