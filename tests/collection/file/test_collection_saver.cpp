#include "base/FileStamp.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionSaver.h"
#include "support/FileBytes.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

Card MakeCard(std::string name, std::string description = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[DescriptionField] = std::move(description);
    return card;
}

template <typename Table>
QByteArray Written(const Table& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table))
        qFatal("write failed");
    return buffer.data();
}

CollectionSaver::Writer Writing(const QByteArray& bytes)
{
    return [bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
}

// A saver that has read the file as it is now, as the load does.
void Load(CollectionSaver& saver)
{
    saver.Remember(StampOf(saver.Path(), Checksum(FileBytes(saver.Path()))));
}

// Puts a file prepared beside the path in its place in one step, as a sync
// tool does.
void ReplaceAtOnce(const QString& path, const QByteArray& bytes)
{
    const QString prepared = path + QStringLiteral(".sync-tmp");
    WriteFileBytes(prepared, bytes);
    if (::rename(QFile::encodeName(prepared).constData(), QFile::encodeName(path).constData()) != 0)
        qFatal("cannot replace %s", qPrintable(path));
}

// A writer that writes the first half, lets another program do something,
// and writes the rest: the moment the window holds its save file open.
CollectionSaver::Writer WritingWhile(const QByteArray& bytes, const std::function<void()>& meanwhile)
{
    return [bytes, meanwhile](QIODevice& device) {
        const qsizetype half = bytes.size() / 2;
        if (device.write(bytes.left(half)) != half)
            return false;
        meanwhile();
        return device.write(bytes.mid(half)) == bytes.size() - half;
    };
}

QStringList Matching(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// Sets a file's modification time, to the nanosecond.
void SetModified(const QString& path, const timespec& when)
{
    const timespec times[2] = {when, when};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

timespec Modified(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

} // namespace

class TestCollectionSaver : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

private slots:
    void initTestCase() { qputenv("HOME", home_.path().toLocal8Bit()); }

    // An autosave writes a snapshot; the close writes the table: the bytes
    // must be the same, whatever the values hold.
    void snapshotWritesTheTablesBytes()
    {
        CardTableModel table;
        QCOMPARE(Written(table.Snapshot()), QByteArray());
        SetTableRows(table, {MakeCard("Alpha", "two\nlines"), MakeCard(std::string("nul\0in", 6), "\xff\xfe"),
                       MakeCard("Gamma", std::string(70000, 'g')), MakeCard("Empty")});
        const CardTableSnapshot snapshot = table.Snapshot();
        table.RemoveRow(0);
        table.InsertRow(0, MakeCard("Later"));
        QCOMPARE(snapshot.rowCount(), 4);
        QCOMPARE(snapshot.Cell(0, NameField), std::string_view("Alpha"));
        QCOMPARE(snapshot.Cell(4, NameField), std::string_view());
        table.SetRow(0, MakeCard("Alpha", "two\nlines"));
        QCOMPARE(Written(snapshot), Written(table));
    }

    // Saves over the file the saver itself last wrote are quiet.
    void savesOverItsOwnFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        CollectionSaver saver(path);
        Load(saver);
        for (const QByteArray& bytes : {QByteArray("NAME=One\r\n"), QByteArray("NAME=Two\r\n"), QByteArray()}) {
            const SaveOutcome outcome = saver.Save(Writing(bytes));
            QCOMPARE(outcome.kind, SaveOutcome::Written);
            QVERIFY(outcome.keptConflict.isEmpty());
            QCOMPARE(FileBytes(path), bytes);
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"qmk.dat"});
    }

    // Another program's version of the file is kept beside it before ours
    // replaces it, however it was written; the next save is quiet again.
    void keepsAFileChangedBehindItsBack_data()
    {
        QTest::addColumn<QByteArray>("theirs");
        QTest::addColumn<bool>("sameTime");
        QTest::newRow("longer") << QByteArray("NAME=Old\r\nNAME=Theirs\r\n") << false;
        QTest::newRow("same size") << QByteArray("NAME=Qld\r\n") << false;
        // A copy that keeps the size and the time is told by its bytes.
        QTest::newRow("same size and time") << QByteArray("NAME=Odd\r\n") << true;
        QTest::newRow("emptied") << QByteArray() << false;
    }
    void keepsAFileChangedBehindItsBack()
    {
        QFETCH(QByteArray, theirs);
        QFETCH(bool, sameTime);
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        CollectionSaver saver(path);
        Load(saver);
        const timespec loaded = Modified(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
        file.write(theirs);
        file.close();
        if (sameTime)
            SetModified(path, loaded);

        const SaveOutcome outcome = saver.Save(Writing("NAME=Ours\r\n"));
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QCOMPARE(FileBytes(path), QByteArray("NAME=Ours\r\n"));
        QVERIFY(QFileInfo(outcome.keptConflict).fileName().startsWith("qmk.dat.conflict-"));
        QCOMPARE(QFileInfo(outcome.keptConflict).absolutePath(), QFileInfo(path).absolutePath());
        QCOMPARE(FileBytes(outcome.keptConflict), theirs);

        QVERIFY(saver.Save(Writing("NAME=Ours again\r\n")).keptConflict.isEmpty());
        QCOMPARE(Matching(folder.path(), "qmk.dat.conflict-*").size(), 1);
    }

    // A file deleted behind its back has nothing to keep; two changes within
    // one second keep two files.
    void conflictNamesAreUnique()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        CollectionSaver saver(path);
        Load(saver);
        QFile::remove(path);
        QVERIFY(saver.Save(Writing("NAME=Ours\r\n")).keptConflict.isEmpty());
        QStringList kept;
        for (const QByteArray& theirs : {QByteArray("NAME=First\r\n"), QByteArray("NAME=Second\r\n")}) {
            QFile::remove(path);
            WriteFileBytes(path, theirs);
            kept << saver.Save(Writing("NAME=Ours\r\n")).keptConflict;
            QCOMPARE(FileBytes(kept.last()), theirs);
        }
        QVERIFY(kept[0] != kept[1]);
        QCOMPARE(Matching(folder.path(), "qmk.dat.conflict-*").size(), 2);
    }

    // Another program's file that lands while the save is being written is
    // kept beside, however it lands, every time: the look at the file comes
    // after the exchange, not before the write.
    void keepsAFileThatLandsDuringTheSave_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("replaced at once") << "replaced";
        QTest::newRow("rewritten in place") << "rewritten";
        QTest::newRow("deleted") << "deleted";
    }
    void keepsAFileThatLandsDuringTheSave()
    {
        QFETCH(QString, how);
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        CollectionSaver saver(path);
        Load(saver);
        for (int attempt = 1; attempt <= 5; ++attempt) {
            const QByteArray theirs = "NAME=Theirs " + QByteArray::number(attempt) + "\r\n";
            const QByteArray ours = "NAME=Ours " + QByteArray::number(attempt) + "\r\n" + QByteArray(100000, 'x');
            const SaveOutcome outcome = saver.Save(WritingWhile(ours, [&] {
                if (how == QLatin1String("replaced"))
                    ReplaceAtOnce(path, theirs);
                else if (how == QLatin1String("rewritten"))
                    WriteFileBytes(path, theirs);
                else
                    QFile::remove(path);
            }));
            QCOMPARE(outcome.kind, SaveOutcome::Written);
            QCOMPARE(FileBytes(path), ours);
            if (how == QLatin1String("deleted")) {
                QVERIFY(outcome.keptConflict.isEmpty());
                continue;
            }
            QVERIFY(QFileInfo(outcome.keptConflict).fileName().startsWith("qmk.dat.conflict-"));
            QCOMPARE(FileBytes(outcome.keptConflict), theirs);
            QCOMPARE(Matching(folder.path(), "qmk.dat.conflict-*").size(), attempt);
        }
        // The next save over its own file is quiet, and nothing else is left.
        QVERIFY(saver.Save(Writing("NAME=Last\r\n")).keptConflict.isEmpty());
        QVERIFY(saver.Unchanged());
        const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        QCOMPARE(left.size(), how == QLatin1String("deleted") ? 1 : 6);
    }

    // A change in place during the save that keeps the file's size and its
    // time to the nanosecond is still seen: its change time moved on.
    void keepsAFileChangedInPlaceDuringTheSave()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        CollectionSaver saver(path);
        Load(saver);
        const timespec loaded = Modified(path);
        const SaveOutcome outcome = saver.Save(WritingWhile("NAME=Ours\r\n", [&] {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write("NAME=Odd\r\n");
            file.close();
            SetModified(path, loaded);
        }));
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QCOMPARE(FileBytes(path), QByteArray("NAME=Ours\r\n"));
        QCOMPARE(FileBytes(outcome.keptConflict), QByteArray("NAME=Odd\r\n"));
    }

    // The other program's file lands at the last moment there is: after the
    // save file is written and closed, just before the swap.
    void keepsAFileThatLandsJustBeforeTheSwap()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        int swaps = 0;
        CollectionSaver saver(path, [&](const QByteArray& from, const QByteArray& to) {
            ++swaps;
            ReplaceAtOnce(path, "NAME=Theirs\r\n");
            return ExchangeFiles(from, to);
        });
        Load(saver);
        const SaveOutcome outcome = saver.Save(Writing("NAME=Ours\r\n"));
        QCOMPARE(swaps, 1);
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QCOMPARE(FileBytes(path), QByteArray("NAME=Ours\r\n"));
        QCOMPARE(FileBytes(outcome.keptConflict), QByteArray("NAME=Theirs\r\n"));
    }

    // Where the file system cannot exchange two files, the file is looked at
    // just before it is replaced, and a changed one kept under a second name.
    void checksBeforeReplacingWithoutExchange()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "NAME=Old\r\n");
        int asked = 0;
        CollectionSaver saver(path, [&asked](const QByteArray&, const QByteArray&) {
            ++asked;
            return EINVAL;
        });
        Load(saver);
        QVERIFY(saver.Save(Writing("NAME=One\r\n")).keptConflict.isEmpty());
        QCOMPARE(FileBytes(path), QByteArray("NAME=One\r\n"));
        WriteFileBytes(path, "NAME=Theirs\r\n");
        const SaveOutcome outcome = saver.Save(Writing("NAME=Two\r\n"));
        QCOMPARE(asked, 2);
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QCOMPARE(FileBytes(path), QByteArray("NAME=Two\r\n"));
        QCOMPARE(FileBytes(outcome.keptConflict), QByteArray("NAME=Theirs\r\n"));
        QFile::remove(path);
        QVERIFY(saver.Save(Writing("NAME=Three\r\n")).keptConflict.isEmpty());
        QCOMPARE(FileBytes(path), QByteArray("NAME=Three\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // A collection file that is a link is saved into the file it names, and
    // stays a link.
    void savesThroughALink()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("synced"));
        const QString real = folder.filePath("synced/qmk.dat");
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(real, "NAME=Old\r\n");
        QVERIFY(QFile::link("synced/qmk.dat", path));
        CollectionSaver saver(path);
        Load(saver);
        const SaveOutcome outcome = saver.Save(Writing("NAME=Ours\r\n"));
        QCOMPARE(outcome.kind, SaveOutcome::Written);
        QVERIFY(outcome.keptConflict.isEmpty());
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(FileBytes(real), QByteArray("NAME=Ours\r\n"));
        QVERIFY(saver.Unchanged());
    }

    // A file that could not be read is never written: its saves go to one
    // recovery file beside it, the latest Cards each time.
    void leavesAnUnreadableFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        WriteFileBytes(path, "kept as it was");
        CollectionSaver saver(path);
        saver.LeaveFile();
        QString recovery;
        for (const QByteArray& bytes : {QByteArray("NAME=One\r\n"), QByteArray("NAME=Two\r\n")}) {
            const SaveOutcome outcome = saver.Save(Writing(bytes));
            QCOMPARE(outcome.kind, SaveOutcome::LeftAsItWas);
            QVERIFY(recovery.isEmpty() || outcome.recovery == recovery);
            recovery = outcome.recovery;
            QCOMPARE(FileBytes(recovery), bytes);
        }
        QCOMPARE(QFileInfo(recovery).absolutePath(), QFileInfo(path).absolutePath());
        QCOMPARE(FileBytes(path), QByteArray("kept as it was"));
        QCOMPARE(RecoveryFolder(path), QFileInfo(path).absolutePath());
    }

    // Two runs failing within one second each keep their own recovery file;
    // a failed write leaves the file found as it was, and no copy of it.
    void recoveryNamesAreUnique()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("qmk.dat");
        QVERIFY(QDir(folder.path()).mkdir("qmk.dat"));
        CollectionSaver first(path);
        CollectionSaver second(path);
        const SaveOutcome one = first.Save(Writing("NAME=One\r\n"));
        const SaveOutcome two = second.Save(Writing("NAME=Two\r\n"));
        QCOMPARE(one.kind, SaveOutcome::Failed);
        QCOMPARE(two.kind, SaveOutcome::Failed);
        QVERIFY(!one.reason.isEmpty());
        QVERIFY(one.recovery != two.recovery);
        QCOMPARE(FileBytes(one.recovery), QByteArray("NAME=One\r\n"));
        QCOMPARE(FileBytes(two.recovery), QByteArray("NAME=Two\r\n"));
        QVERIFY(one.keptConflict.isEmpty());
        QCOMPARE(Matching(folder.path(), "qmk.dat.*").size(), 2);
    }

    // Without a home folder, and where the collection's folder takes no new
    // file, the recovery file goes to the system's temporary folder, never
    // to the root folder an unset HOME stands for.
    void recoversToTheTemporaryFolderWithoutAHome()
    {
        QTemporaryDir temporary;
        QTemporaryDir folder;
        const QByteArray home = qgetenv("HOME");
        const QByteArray tmpdir = qgetenv("TMPDIR");
        qunsetenv("HOME");
        qputenv("TMPDIR", temporary.path().toLocal8Bit());
        // A folder that is gone stands for one that takes no file: as root,
        // a read-only folder still takes them.
        const QString path = folder.filePath("gone/qmk.dat");
        CollectionSaver saver(path);
        saver.LeaveFile();
        const SaveOutcome outcome = saver.Save(Writing("NAME=Kept\r\n"));
        const QStringList folders = RecoveryFolders(path);
        const QString shown = RecoveryFolder(path);
        qputenv("HOME", home);
        tmpdir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir);

        QCOMPARE(folders, (QStringList{QFileInfo(path).absolutePath(), QDir::cleanPath(temporary.path())}));
        QCOMPARE(shown, QDir::cleanPath(temporary.path()));
        QCOMPARE(outcome.kind, SaveOutcome::LeftAsItWas);
        QCOMPARE(QFileInfo(outcome.recovery).absolutePath(), QDir::cleanPath(temporary.path()));
        QCOMPARE(FileBytes(outcome.recovery), QByteArray("NAME=Kept\r\n"));
        QVERIFY(Matching(QDir::rootPath(), "qmk.dat.recovered-*").isEmpty());

        // A failed save of a CLI import leaves no recovery file anywhere.
        CollectionSaver quiet(path);
        const SaveOutcome failed = quiet.Save(Writing("NAME=Lost\r\n"), CollectionSaver::Recovery::None);
        QCOMPARE(failed.kind, SaveOutcome::Failed);
        QVERIFY(failed.recovery.isEmpty());
        QVERIFY(failed.reason.contains("No such file or directory"));
    }
};

QTEST_GUILESS_MAIN(TestCollectionSaver)
#include "test_collection_saver.moc"
