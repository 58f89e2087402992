#include "collection/file/DailyBackup.h"
#include "support/FileBytes.h"

#include "base/FileContents.h"
#include "base/FileStamp.h"
#include "collection/file/CollectionSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// The bytes of a file as the load gives them to the backup.
std::shared_ptr<const FileContents> Loaded(const QString& path)
{
    auto bytes = std::make_shared<FileContents>();
    if (bytes->Read(path) != FileRead::Read)
        qFatal("cannot read %s", qPrintable(path));
    return bytes;
}

// Bytes of the given size that differ from place to place, so that a copy
// cut short or put together wrongly shows.
QByteArray Patterned(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + (i * 7919) % 251);
    return bytes;
}

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

    // A start on a day older than every copy kept (a clock set back): today's
    // copy is made and kept, and the oldest of the later ones makes room.
    void clockSetBack()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath("qmk.dat"), "NAME=A\r\n");
        const QDate newest(2026, 6, 30);
        QString reason;
        for (int back = 0; back < kKeptBackups; ++back)
            QVERIFY(MakeDailyBackup(folder.path(), newest.addDays(-back), reason));
        const QDate today = newest.addDays(-100);
        WriteFileBytes(folder.filePath("qmk.dat"), "NAME=B\r\n");
        QVERIFY(MakeDailyBackup(folder.path(), today, reason));
        QList<int> kept;
        for (int back = 0; back < kKeptBackups - 1; ++back)
            kept << back;
        QStringList expected = Names(newest, kept);
        expected << BackupName(today);
        expected.sort();
        const QDir backups(folder.filePath("backups"));
        QCOMPARE(backups.entryList(QDir::Files, QDir::Name), expected);
        QCOMPARE(FileBytes(backups.filePath(BackupName(today))), QByteArray("NAME=B\r\n"));
    }

    // Fourteen copies dated in the future, and more: today's copy is made
    // and stays, however many later ones there are.
    void futureCopiesKeepToday()
    {
        QTemporaryDir folder;
        const QDir backups(folder.filePath("backups"));
        QVERIFY(QDir(folder.path()).mkdir("backups"));
        const QDate today(2026, 3, 1);
        for (int ahead = 1; ahead <= kKeptBackups + 3; ++ahead)
            WriteFileBytes(backups.filePath(BackupName(today.addDays(ahead))), "NAME=later\r\n");
        WriteFileBytes(folder.filePath("qmk.dat"), "NAME=today\r\n");
        QString reason;
        QVERIFY(MakeDailyBackup(folder.path(), today, reason));
        QCOMPARE(FileBytes(backups.filePath(BackupName(today))), QByteArray("NAME=today\r\n"));
        QCOMPARE(backups.entryList(QDir::Files).size(), kKeptBackups);
        // A second start the same day keeps it too.
        QVERIFY(MakeDailyBackup(folder.path(), today, reason));
        QVERIFY(backups.exists(BackupName(today)));
    }

    // The copy holds the bytes the load read, even when qmk.dat has changed
    // since, and is made once: started, waited for by several, or neither.
    void fromTheLoadedBytes()
    {
        QTemporaryDir folder;
        const QString collection = folder.filePath("qmk.dat");
        const QDir backups(folder.filePath("backups"));
        const QDate today(2026, 4, 2);
        const QByteArray loaded = Patterned(3 << 20, 'a');
        WriteFileBytes(collection, loaded);
        QStringList failures;
        {
            DailyBackup backup(folder.path(), today, Loaded(collection),
                               [&failures](const QString& why) { failures << why; });
            WriteFileBytes(collection, "NAME=changed meanwhile\r\n");
            QVERIFY(!backups.exists(BackupName(today)));
            backup.Start();
            backup.Start();
            backup.Wait();
            QCOMPARE(FileBytes(backups.filePath(BackupName(today))), loaded);
            backup.Wait();
        }
        // Never started: made when the object goes.
        const QDate tomorrow = today.addDays(1);
        { DailyBackup backup(folder.path(), tomorrow, Loaded(collection), {}); }
        QCOMPARE(FileBytes(backups.filePath(BackupName(tomorrow))), QByteArray("NAME=changed meanwhile\r\n"));
        QVERIFY(failures.isEmpty());
        QCOMPARE(backups.entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // The first save of the day waits for today's copy, whole and synced,
    // and makes it when nothing has started it: qmk.dat is never replaced
    // before the copy of the file it replaces is in place.
    void saveWaitsForTheBackup_data()
    {
        QTest::addColumn<bool>("started");
        QTest::newRow("started") << true;
        QTest::newRow("not started") << false;
    }
    void saveWaitsForTheBackup()
    {
        QFETCH(bool, started);
        QTemporaryDir folder;
        const QString collection = folder.filePath("qmk.dat");
        const QString copy = folder.filePath("backups/" + BackupName(QDate(2026, 5, 5)));
        const QByteArray before = Patterned(8 << 20, 'k');
        WriteFileBytes(collection, before);
        auto backup = std::make_shared<DailyBackup>(folder.path(), QDate(2026, 5, 5), Loaded(collection),
                                                    std::function<void(const QString&)>());
        CollectionSaver saver(collection);
        saver.Remember(StampOf(collection, Checksum(before)));
        saver.WaitBeforeWriting([backup] { backup->Wait(); });
        if (started)
            backup->Start();
        QByteArray seenBeforeWriting;
        const SaveOutcome outcome = saver.Save([&](QIODevice& device) {
            seenBeforeWriting = FileBytes(copy);
            return device.write("NAME=new\r\n") == 10;
        });
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QCOMPARE(seenBeforeWriting, before);
        QCOMPARE(FileBytes(collection), QByteArray("NAME=new\r\n"));
        QCOMPARE(FileBytes(copy), before);
    }

    // A kill at any moment of the copy, into a folder that already holds
    // the 14 copies kept: every copy there is whole, today's either missing
    // or whole, and the next copy leaves no temporary file behind.
    void killedWhileCopying()
    {
        QTemporaryDir folder;
        const QDir backups(folder.filePath("backups"));
        QVERIFY(QDir(folder.path()).mkdir("backups"));
        const QDate today(2026, 8, 20);
        QHash<QString, QByteArray> kept;
        for (int back = 1; back <= kKeptBackups; ++back) {
            const QString name = BackupName(today.addDays(-back));
            kept.insert(name, "NAME=Card of " + name.toLatin1() + "\r\n");
            WriteFileBytes(backups.filePath(name), kept.value(name));
        }
        const QByteArray bytes = Patterned(24 << 20, 'q');
        kept.insert(BackupName(today), bytes);
        const auto copyInChild = [&] {
            const pid_t child = ::fork();
            if (child == 0) {
                QString reason;
                ::_exit(WriteDailyBackup(folder.path(), today, std::string_view(bytes.constData(), bytes.size()),
                                         reason)
                            ? 0
                            : 1);
            }
            return child;
        };
        // How long a whole copy takes here; the kills fall all over it.
        QElapsedTimer whole;
        whole.start();
        pid_t child = copyInChild();
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const qint64 wholeUs = std::max<qint64>(whole.nsecsElapsed() / 1000, 1000);
        int cut = 0;
        for (int round = 0; round < 16; ++round) {
            QFile::remove(backups.filePath(BackupName(today)));
            WriteFileBytes(backups.filePath(BackupName(today.addDays(-kKeptBackups))),
                  kept.value(BackupName(today.addDays(-kKeptBackups))));
            child = copyInChild();
            ::usleep(useconds_t(wholeUs * round / 15));
            ::kill(child, SIGKILL);
            QCOMPARE(::waitpid(child, &status, 0), child);
            if (WIFSIGNALED(status))
                ++cut;
            for (const QString& name : backups.entryList({QStringLiteral("qmk-*.dat")}, QDir::Files))
                QCOMPARE(FileBytes(backups.filePath(name)), kept.value(name));
            const qsizetype copies = backups.entryList({QStringLiteral("qmk-*.dat")}, QDir::Files).size();
            QVERIFY(copies == kKeptBackups || copies == kKeptBackups + 1);
        }
        QVERIFY2(cut > 0, "no kill fell inside a copy");
        QFile::remove(backups.filePath(BackupName(today)));
        QString reason;
        QVERIFY(WriteDailyBackup(folder.path(), today, std::string_view(bytes.constData(), bytes.size()), reason));
        QCOMPARE(FileBytes(backups.filePath(BackupName(today))), bytes);
        QCOMPARE(backups.entryList(QDir::Files | QDir::Hidden).size(), kKeptBackups);
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
