#include "collection/file/DailyBackup.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Names(const QDate& newest, const QList<int>& daysBack)
{
    QStringList names;
    for (const int back : daysBack)
        names << BackupName(newest.addDays(-back));
    names.sort();
    return names;
}

} // namespace

class TestDailyBackup : public QObject {
    Q_OBJECT

private slots:
    // Started on 40 days over two months, with gaps and a day started twice:
    // one copy a day, of qmk.dat as it was at that day's first start, the
    // newest 14 kept, the collector's own files in backups/ left alone.
    void rotatesAcrossDays()
    {
        QTemporaryDir folder;
        const QDir backups(folder.filePath("backups"));
        const QString collection = folder.filePath("qmk.dat");
        const QDate first(2026, 1, 20);
        QList<int> started;
        for (int day = 0; day < 40; ++day) {
            if (day % 7 == 3)
                continue;
            started << day;
            const QDate today = first.addDays(day);
            WriteFileBytes(collection, "NAME=Card of " + today.toString(Qt::ISODate).toLatin1() + "\r\n");
            QString reason;
            QVERIFY(MakeDailyBackup(folder.path(), today, reason));
            if (day == 5)
                QVERIFY(QFile::copy(collection, backups.filePath("qmk-mine.dat")));
            WriteFileBytes(collection, "NAME=later the same day\r\n");
            QVERIFY(MakeDailyBackup(folder.path(), today, reason));
            QCOMPARE(FileBytes(backups.filePath(BackupName(today))), "NAME=Card of " + today.toString(Qt::ISODate).toLatin1() + "\r\n");
        }
        const QDate last = first.addDays(started.last());
        QList<int> kept;
        for (qsizetype i = started.size() - 1; kept.size() < kKeptBackups; --i)
            kept << started.last() - started[i];
        QStringList expected = Names(last, kept);
        expected << "qmk-mine.dat";
        expected.sort();
        QCOMPARE(backups.entryList(QDir::Files, QDir::Name), expected);
        QCOMPARE(backups.entryList(QDir::Files).size(), kKeptBackups + 1);
    }

    // A start on a day older than every copy kept (a clock set back, or
    // copies dated ahead) pushes out none of them, and keeps its own copy.
    void clockSetBack()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath("qmk.dat"), "NAME=A\r\n");
        const QDate newest(2026, 6, 30);
        QString reason;
        for (int back = 0; back < kKeptBackups; ++back)
            QVERIFY(MakeDailyBackup(folder.path(), newest.addDays(-back), reason));
        QVERIFY(MakeDailyBackup(folder.path(), newest.addDays(-100), reason));
        QList<int> kept;
        for (int back = 0; back < kKeptBackups; ++back)
            kept << back;
        QCOMPARE(QDir(folder.filePath("backups")).entryList(QDir::Files, QDir::Name),
                 QStringList{BackupName(newest.addDays(-100))} + Names(newest, kept));
    }

    // Nothing to keep: no folder is made.
    void nothingToKeep_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::newRow("no qmk.dat") << QString();
        QTest::newRow("empty qmk.dat") << QStringLiteral("file");
        QTest::newRow("qmk.dat a folder") << QStringLiteral("folder");
    }
    void nothingToKeep()
    {
        QFETCH(QString, collection);
        QTemporaryDir folder;
        if (collection == QLatin1String("file"))
            WriteFileBytes(folder.filePath("qmk.dat"), {});
        if (collection == QLatin1String("folder"))
            QDir(folder.path()).mkdir("qmk.dat");
        QString reason;
        QVERIFY(MakeDailyBackup(folder.path(), QDate(2026, 1, 1), reason));
        QVERIFY(!QFileInfo::exists(folder.filePath("backups")));
    }

    // A file where the folder should be: the copy is refused with a reason.
    void backupsFolderBlocked()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath("qmk.dat"), "NAME=A\r\n");
        WriteFileBytes(folder.filePath("backups"), "not a folder");
        QString reason;
        QVERIFY(!MakeDailyBackup(folder.path(), QDate(2026, 1, 1), reason));
        QVERIFY(reason.contains("backups"));
    }
};

QTEST_GUILESS_MAIN(TestDailyBackup)
#include "test_daily_backup.moc"
