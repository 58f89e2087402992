#include "support/CliRun.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Record(const QList<QByteArray>& fields)
{
    static const char* const keys[] = {"NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL", "DESCRIPTION"};
    QByteArray bytes;
    for (int field = 0; field < 8; ++field)
        bytes += QByteArray(keys[field]) + '=' + fields.value(field) + "\r\n";
    return bytes;
}

// Known totals. The file's first record is the table's bottom row, so the
// rows from the top are: Caf\xe9, Frost, Gale, Tide, Ember, Ironbark.
const QByteArray kCollection = Record({"Ironbark", "Skyforge", "Mint", "1999", "$4.25", "2"})
                               + Record({"Ember", "Ashfall", "Played", "2003", "4,25 \xe2\x82\xac", ""})
                               + Record({"Tide", "Skyforge", "Mint", "2003", "1.234,50 \xe2\x82\xac", "3"})
                               + Record({"Gale", "Ashfall", "Good", "1999", "about 5", "1"})
                               + Record({"Frost", "", "", "", "", "two"})
                               + Record({"Caf\xe9", "Skyforge", "Mint", "1999", "\xc2\xa3" "10", "1"});

QStringList Listing(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestCliStats : public QObject {
    Q_OBJECT

private slots:
    // The figures a collector can check by hand; the folder is only read.
    void jsonOfAKnownCollection()
    {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), kCollection);
        const CliRun run = Cli({QStringLiteral("stats"), QStringLiteral("--json"), QStringLiteral("--folder"), dir.path()},
                            elsewhere.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QJsonParseError error;
        const QJsonObject stats = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);

        QCOMPARE(stats["cards"].toInteger(), 6);
        QCOMPARE(stats["copies"].toInteger(), 2 + 1 + 3 + 1 + 1);
        QCOMPARE(stats["unpriced"].toInteger(), 1);
        QCOMPARE(stats["filtered"].toBool(true), false);
        const QJsonArray paid = stats["paid"].toArray();
        QCOMPARE(paid.size(), 3);
        QCOMPARE(paid[0]["currency"].toString(), "EUR");
        QCOMPARE(paid[0]["amount"].toDouble(), 3707.75);
        QCOMPARE(paid[0]["cards"].toInteger(), 2);
        QCOMPARE(paid[1]["currency"].toString(), "$");
        QCOMPARE(paid[1]["amount"].toDouble(), 8.5);
        QCOMPARE(paid[2]["currency"].toString(), "GBP");
        QCOMPARE(paid[2]["amount"].toDouble(), 10.0);
        QCOMPARE(stats["unreadable"].toArray(),
                 (QJsonArray{QJsonObject{{"row", 2}, {"field", "Quantity"}, {"value", "two"}},
                             QJsonObject{{"row", 3}, {"field", "Price"}, {"value", "about 5"}}}));
        // A byte that is not UTF-8 still gives valid JSON.
        const QJsonArray dearest = stats["mostCostly"].toArray();
        QCOMPARE(dearest.size(), 4);
        QCOMPARE(dearest[3].toObject(),
                 (QJsonObject{{"row", 1}, {"name", QStringLiteral("Caf\ufffd")}, {"currency", "GBP"}, {"price", 10}}));
        const QJsonArray series = stats["bySeries"].toArray();
        QCOMPARE(series.size(), 3);
        QCOMPARE(series[2].toObject()["value"].toString(), "Skyforge");
        QCOMPARE(series[2].toObject()["copies"].toInteger(), 6);

        QCOMPARE(Listing(dir), QStringList{"qmk.dat"});
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("qmk.dat"))), kCollection);
    }

    void textForPeople()
    {
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), kCollection);
        const CliRun run = Cli({QStringLiteral("stats")}, dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith("Cards: 6\nCopies: 8\nPaid: \xe2\x82\xac" "3,707.75, $8.50, \xc2\xa3" "10.00\n"),
                 run.out.constData());
        QVERIFY(run.out.contains("\nUnreadable:\n  row 2  Quantity  two\n  row 3  Price  about 5\n"));

        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), {});
        const CliRun empty = Cli({QStringLiteral("stats")}, dir.path());
        QCOMPARE(empty.exitCode, 0);
        QVERIFY2(empty.out.startsWith("Cards: 0\nCopies: 0\nPaid: 0.00\n"), empty.out.constData());
    }

    // What the Cards are worth, beside what they cost; the text tells it
    // only once some Card has a market price.
    void valueBesidePaid()
    {
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), kCollection);
        const CliRun plain = Cli({QStringLiteral("stats")}, dir.path());
        QVERIFY(!plain.out.contains("Value"));
        QCOMPARE(QJsonDocument::fromJson(Cli({QStringLiteral("stats"), QStringLiteral("--json")}, dir.path()).out)
                     .object()["value"]
                     .toArray(),
                 QJsonArray());

        WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")),
                       kCollection + Record({"Gust", "Ashfall", "Mint", "2003", "$1.00", "4"})
                           + "MARKET=$2.50\r\nMARKETDATE=2026-11-30\r\n");
        const CliRun run = Cli({QStringLiteral("stats")}, dir.path());
        QVERIFY2(run.out.contains("\nValue: $10.00 (prices of 2026-11-30 or later)\nNot valued: 6 Cards\n"
                                  "Gain: +$6.00 on 1 Card\n"),
                 run.out.constData());
        const QJsonObject stats =
            QJsonDocument::fromJson(Cli({QStringLiteral("stats"), QStringLiteral("--json")}, dir.path()).out).object();
        QCOMPARE(stats["value"].toArray(), (QJsonArray{QJsonObject{{"currency", "$"}, {"amount", 10}, {"cards", 1}}}));
        QCOMPARE(stats["notValued"].toInteger(), 6);
    }

    // Wrong calls and a missing collection fail without creating anything.
    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("withCollection");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no qmk.dat") << QStringList{"stats"} << false << 1;
        QTest::newRow("no such folder") << QStringList{"stats", "--folder", "none"} << true << 1;
        QTest::newRow("argument") << QStringList{"stats", "qmk.dat"} << true << 2;
        QTest::newRow("switch with a value") << QStringList{"stats", "--json=yes"} << true << 2;
        QTest::newRow("folder without a value") << QStringList{"stats", "--folder"} << true << 2;
        QTest::newRow("unknown option") << QStringList{"stats", "--csv"} << true << 2;
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, withCollection);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        if (withCollection)
            WriteFileBytes(dir.filePath(QStringLiteral("qmk.dat")), kCollection);
        const QStringList before = Listing(dir);
        const CliRun run = Cli(arguments, dir.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("quillmark-cli: "));
        QCOMPARE(Listing(dir), before);
    }

    void listedInTheHelp()
    {
        QTemporaryDir dir;
        const CliRun help = Cli({QStringLiteral("--help")}, dir.path());
        QVERIFY(help.out.contains("stats [--folder DIR] [--json]"));
        const CliRun own = Cli({QStringLiteral("stats"), QStringLiteral("--help")}, dir.path());
        QCOMPARE(own.exitCode, 0);
        QVERIFY(own.out.startsWith("Usage: quillmark-cli stats [--folder DIR] [--json]\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliStats)
#include "test_cli_stats.moc"
