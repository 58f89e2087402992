#include "collection/file/CollectionLock.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A lock file as a program that held the lock leaves it.
void WriteLockFile(const QString& folder, const QByteArray& bytes)
{
    WriteFileBytes(QDir(folder).filePath(QString::fromLatin1(kLockFileName)), bytes);
}

QByteArray HeldBy(qint64 pid, const QString& program)
{
    return QByteArray::number(pid) + "\n" + program.toUtf8() + "\n" + QSysInfo::machineHostName().toUtf8() + "\n";
}

} // namespace

class TestCollectionLock : public QObject {
    Q_OBJECT

private slots:
    // One holder at a time; the refusal names it; its end frees the folder.
    void oneHolderAtATime()
    {
        QTemporaryDir folder;
        QString refusal;
        {
            CollectionLock first(folder.path());
            QVERIFY(first.Take(refusal));
            CollectionLock second(folder.path());
            QVERIFY(!second.Take(refusal));
            QCOMPARE(refusal, QStringLiteral("This collection is already open in Quillmark (process %1 on %2).")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QSysInfo::machineHostName()));
            QTemporaryDir other;
            CollectionLock otherFolder(other.path());
            QVERIFY(otherFolder.Take(refusal));
        }
        QVERIFY(!QFile::exists(folder.filePath(kLockFileName)));
        CollectionLock after(folder.path());
        QVERIFY(after.Take(refusal));
    }

    // A lock left by a process that is gone, or cut short before it named
    // one, is taken over; one naming a running process of that name is not.
    void leftLocks_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("named");
        QTest::newRow("process gone") << false << true;
        QTest::newRow("empty lock file") << false << false;
        QTest::newRow("process running") << true << true;
    }
    void leftLocks()
    {
        QFETCH(bool, running);
        QFETCH(bool, named);
        QTemporaryDir folder;
        QProcess sleeper;
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(sleeper.waitForStarted());
        const qint64 pid = sleeper.processId();
        if (!running) {
            sleeper.kill();
            sleeper.waitForFinished();
        }
        WriteLockFile(folder.path(), named ? HeldBy(pid, QStringLiteral("sleep")) : QByteArray());

        CollectionLock lock(folder.path());
        QString refusal;
        QCOMPARE(lock.Take(refusal), !running);
        if (running) {
            QVERIFY2(refusal.contains(QStringLiteral("(process %1 on ").arg(pid)), qPrintable(refusal));
            sleeper.kill();
            sleeper.waitForFinished();
        }
    }

    // A folder held by quillmark-cli is said to be in use by it, not to be
    // open in a window the collector could go and close.
    void namesTheProgramThatHoldsIt_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("quillmark-cli") << "quillmark-cli" << "This collection is in use by quillmark-cli (process %1 on %2)";
        QTest::newRow("the window") << "quillmark" << "This collection is already open in Quillmark (process %1 on %2)";
    }
    void namesTheProgramThatHoldsIt()
    {
        QFETCH(QString, program);
        QFETCH(QString, refusal);
        QTemporaryDir folder;
        // A lock is the holder's only while a process of its name runs.
        const QString copy = folder.filePath(program);
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner));
        QProcess holder;
        holder.start(copy, {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        WriteLockFile(folder.path(), HeldBy(holder.processId(), program));
        CollectionLock lock(folder.path());
        QString said;
        QVERIFY(!lock.Take(said));
        QVERIFY2(said.startsWith(refusal.arg(holder.processId()).arg(QSysInfo::machineHostName())), qPrintable(said));
        holder.kill();
        holder.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCollectionLock)
#include "test_collection_lock.moc"
