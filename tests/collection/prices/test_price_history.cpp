#include "collection/prices/PriceHistory.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

constexpr const char* kWriterEnvironment = "QUILLMARK_TEST_HISTORY_WRITER";
constexpr int kPrintings = 500;

MarketValue Usd(const char* amount)
{
    return {QStringLiteral("USD"), QString::fromLatin1(amount)};
}

// Rows of each day in a database, read by a connection of the test's own.
std::map<QString, int> RowsByDay(const QString& path, QString& integrity)
{
    std::map<QString, int> days;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        database.setDatabaseName(path);
        if (!database.open())
            qFatal("the history cannot be opened");
        QSqlQuery query(database);
        query.exec(QStringLiteral("PRAGMA integrity_check"));
        query.next();
        integrity = query.value(0).toString();
        query.exec(QStringLiteral("SELECT date, count(*) FROM prices GROUP BY date"));
        while (query.next())
            days[query.value(0).toString()] = query.value(1).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return days;
}

} // namespace

class TestPriceHistory : public QObject {
    Q_OBJECT

private slots:
    void appendedAndReplacedByDay()
    {
        TempFolder folder;
        PriceHistory history(folder.Path(QStringLiteral("prices.sqlite")));
        // Reading a history that is not there makes none.
        QVERIFY(history.Of(QStringLiteral("a")).empty());
        QVERIFY(!folder.Exists(QStringLiteral("prices.sqlite")));

        QString reason;
        QVERIFY(history.Record(QDate(2026, 12, 1), {{"a", Usd("1.00")}, {"b", Usd("5.00")}}, reason));
        QVERIFY(history.Record(QDate(2026, 12, 5), {{"a", Usd("1.50")}, {"b", Usd("4.00")}}, reason));
        QVERIFY(history.Record(QDate(2026, 12, 9), {{"a", Usd("2.00")}, {"c", Usd("9.00")}}, reason));
        // A second refresh the same day replaces that day's price.
        QVERIFY(history.Record(QDate(2026, 12, 9), {{"a", {QStringLiteral("EUR"), QStringLiteral("1.80")}}}, reason));

        const std::vector<PricePoint> a = history.Of(QStringLiteral("a"));
        QCOMPARE(int(a.size()), 3);
        QCOMPARE(a[0].date, QDate(2026, 12, 1));
        QCOMPARE(a[2].value, (MarketValue{"EUR", "1.80"}));

        // Since the 4th: a was 1.00 then (and is now in euros: no change to
        // tell), b fell from 5 to 4, c has one day only.
        PriceHistory reader(folder.Path(QStringLiteral("prices.sqlite")));
        const std::vector<PriceChange> changes = reader.ChangesSince(QDate(2026, 12, 4));
        QCOMPARE(int(changes.size()), 1);
        QCOMPARE(changes[0].key, QStringLiteral("b"));
        QCOMPARE(changes[0].then.date, QDate(2026, 12, 1));
        QCOMPARE(changes[0].change, -1.0);
        // A printing younger than the date counts from its first price.
        QVERIFY(history.Record(QDate(2026, 12, 10), {{"c", Usd("12.00")}}, reason));
        const std::vector<PriceChange> later = reader.ChangesSince(QDate(2026, 12, 8));
        QCOMPARE(int(later.size()), 2);
        QCOMPARE(later[1].key, QStringLiteral("c"));
        QCOMPARE(later[1].change, 3.0);
    }

    // A writer killed at any moment leaves every day's refresh whole or
    // absent, never half written.
    void survivesAKillDuringAWrite()
    {
        TempFolder folder;
        const QString path = folder.Path(QStringLiteral("prices.sqlite"));
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kWriterEnvironment), path);
        writer.setProcessEnvironment(environment);
        writer.start(QCoreApplication::applicationFilePath(), {QStringLiteral("writeUntilKilled")});
        QVERIFY(writer.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(path).size() > 64 * 1024; }, 20000));
        QTest::qWait(150);
        writer.kill();
        writer.waitForFinished();

        QString integrity;
        const std::map<QString, int> days = RowsByDay(path, integrity);
        QCOMPARE(integrity, QStringLiteral("ok"));
        QVERIFY(!days.empty());
        for (const auto& [day, rows] : days)
            QCOMPARE(rows, kPrintings);
        // And it takes the next refresh.
        PriceHistory history(path);
        QString reason;
        QVERIFY2(history.Record(QDate(2100, 1, 1), {{"a", Usd("1")}}, reason), qPrintable(reason));
    }

    // Run as the child of the test above: one day's refresh after another.
    void writeUntilKilled()
    {
        const QString path = qEnvironmentVariable(kWriterEnvironment);
        if (path.isEmpty())
            QSKIP("run by survivesAKillDuringAWrite");
        PriceHistory history(path);
        std::vector<PriceEntry> entries;
        for (int i = 0; i < kPrintings; ++i)
            entries.push_back({QStringLiteral("scryfall:%1:nonfoil").arg(i), Usd("1.25")});
        QString reason;
        for (QDate day(2000, 1, 1);; day = day.addDays(1)) {
            if (!history.Record(day, entries, reason))
                qFatal("%s", qPrintable(reason));
        }
    }
};

QTEST_GUILESS_MAIN(TestPriceHistory)
#include "test_price_history.moc"
