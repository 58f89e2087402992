#include "support/ReplayServer.h"

#include <QDate>
#include <QFile>
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
Run Prices(const QStringList& arguments, const QString& sources)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLMARK_CARD_SOURCES"), sources);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLMARK_CLI), QStringList{QStringLiteral("prices")} + arguments);
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000))
        qFatal("quillmark-cli did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QByteArray Record(const QList<QByteArray>& fields, const QByteArray& details = {})
{
    static const char* const keys[] = {"NAME", "SERIES", "CONDITION", "YEAR",
                                       "PRICE", "QUANTITY", "URL", "DESCRIPTION"};
    QByteArray bytes = "\r\n";
    for (int field = 0; field < 8; ++field)
        bytes += QByteArray(keys[field]) + '=' + fields.value(field) + "\r\n";
    return bytes + details;
}

const QByteArray kPlain = Record({"Plain", "Skyforge", "Mint", "1999", "$4.25", "2"});
const QByteArray kUnknown = Record({"Unknown", "Darkness Ablaze"}, "PRINT=tcgdex:swsh3-999\r\n");
const QByteArray kPriced = Record({"Kitesail Freebooter", "Ixalan"}, "FINISH=foil\r\nPRINT=scryfall:abc\r\n");

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliPrices : public QObject {
    Q_OBJECT

private slots:
    void refreshWritesWhatItLearnt()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/collection",
                      R"({"object": "list", "data": [{"id": "abc", "prices": {"usd": "1", "usd_foil": "2.25"}}]})");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("qmk.dat"));
        const QByteArray header = "CREATOR=QMK 1.0\r\n";
        Write(file, header + kPlain + kUnknown + kPriced);
        const QString folder = QStringLiteral("--folder=") + dir.path();

        // One Card could not be priced: 1, with the reason; the other is written.
        const Run run = Prices({QStringLiteral("refresh"), folder}, server.Base());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray("1 Cards valued, 1 could not be priced, 0 already valued today.\n"));
        QVERIFY(run.err.contains("Unknown: TCGdex does not know this printing"));
        QVERIFY(run.err.contains("of 2 requests answered"));
        const QByteArray today = QDate::currentDate().toString(Qt::ISODate).toLatin1();
        const QByteArray written = Read(file);
        QVERIFY(written.contains(kPlain));
        QVERIFY(written.contains(kUnknown));
        QVERIFY(written.contains("PRINT=scryfall:abc\r\nMARKET=$2.25\r\nMARKETDATE=" + today + "\r\n"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("prices.sqlite"))));

        // Values of today are not asked again, unless --all.
        Write(file, header + kPlain + kPriced);
        QCOMPARE(Prices({QStringLiteral("refresh"), folder}, server.Base()).exitCode, 0);
        const QByteArray once = Read(file);
        const int asked = server.Count("/scryfall/");
        const Run again = Prices({QStringLiteral("refresh"), folder}, server.Base());
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, QByteArray("0 Cards valued, 0 could not be priced, 1 already valued today.\n"));
        QCOMPARE(server.Count("/scryfall/"), asked);
        QCOMPARE(Read(file), once);
        QCOMPARE(Prices({QStringLiteral("refresh"), folder, QStringLiteral("--all")}, server.Base()).exitCode, 0);
        QCOMPARE(server.Count("/scryfall/"), asked + 1);
    }

    // A collection with nothing priced keeps its bytes and gets no history.
    void nothingPricedNothingWritten()
    {
        ReplayServer server;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("qmk.dat"));
        const QByteArray bytes = "CREATOR=QMK 1.0\r\n" + kPlain + kUnknown;
        Write(file, bytes);
        const Run run = Prices({QStringLiteral("refresh"), QStringLiteral("--folder=") + dir.path()}, server.Base());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(Read(file), bytes);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("prices.sqlite"))));
    }

    void calledWrongly()
    {
        QCOMPARE(Prices({}, {}).exitCode, 2);
        QCOMPARE(Prices({QStringLiteral("refresh"), QStringLiteral("--everything")}, {}).exitCode, 2);
        QTemporaryDir dir;
        // No collection there: a failure, not an empty success.
        QCOMPARE(Prices({QStringLiteral("refresh"), QStringLiteral("--folder=") + dir.path()}, {}).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestCliPrices)
#include "test_cli_prices.moc"
