#include "base/FileStamp.h"
#include "collection/CardEntry.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/ColumnSort.h"
#include "support/FileBytes.h"
#include "support/RecordingMessages.h"

#include <QBuffer>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QThread>

#include <csignal>
#include <ctime>

namespace {

qint64 Now()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

QByteArray Written(const CardTableModel& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCollection(buffer, table);
    return buffer.data();
}

// A collection in Quillmark's own form, so that loading and saving it again
// gives the same bytes.
QByteArray OwnCollection(int cards)
{
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    for (int card = 0; card < cards; ++card) {
        Card values;
        values[NameField] = "Held " + std::to_string(card);
        values[SeriesField] = "Series " + std::to_string(card % 40);
        values[YearField] = std::to_string(1950 + card % 70);
        values[DescriptionField] = std::string(60, 'd');
        rows.Append(values);
    }
    table.SetRowsBottomFirst(std::move(rows));
    return Written(table);
}

// Whether the process has set its own SIGTERM handler: Quillmark does so
// once its window is open with the collection loaded, or its refusal shown.
bool HandlesTerm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

// How many bytes the process has written so far, to any file.
qint64 WrittenBytes(qint64 pid)
{
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("wchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return 0;
}

// The real quillmark in a folder, without a display; with a session of
// commands played into it when one is given.
class Quillmark {
public:
    explicit Quillmark(const QString& folder, const QString& session = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), folder);
        if (!session.isEmpty()) {
            environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(QUILLMARK_SESSION_DRIVER));
            environment.insert(QStringLiteral("QUILLMARK_SESSION"), session);
            // A sanitized build would refuse a library loaded ahead of its runtime.
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
        }
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.start(QStringLiteral(QUILLMARK_BINARY), {});
        process_.waitForStarted();
    }
    ~Quillmark()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    qint64 Pid() const { return process_.processId(); }
    bool WaitUntilOpen()
    {
        const QDeadlineTimer deadline(20000);
        while (!HandlesTerm(process_.processId())) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(5);
        }
        return true;
    }
    // The lines written on standard output so far.
    QByteArrayList NewLines(int waitMs)
    {
        process_.waitForReadyRead(waitMs);
        out_ += process_.readAllStandardOutput();
        QByteArrayList lines = out_.split('\n');
        out_ = lines.takeLast();
        return lines;
    }
    QByteArray ErrorOutput()
    {
        process_.waitForReadyRead(50);
        return err_ += process_.readAllStandardError();
    }
    void Signal(int signal) { ::kill(pid_t(process_.processId()), signal); }
    bool WaitForEnd() { return process_.waitForFinished(30000); }
    int ExitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }

private:
    QProcess process_;
    QByteArray out_;
    QByteArray err_;
};

// A random session of commands for the driver, and the collection as the
// window must hold it after each one: states[n] after the first n commands.
struct Script {
    QByteArray text;
    std::vector<QByteArray> states;
    qint64 length = 0;
};

Script MakeScript(const QByteArray& collection, int commands, QRandomGenerator& random)
{
    Script script;
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    ParseCollection(std::string_view(collection.constData(), std::size_t(collection.size())),
                    [&rows](const Card& card) { rows.Append(card); });
    table.SetRowsBottomFirst(std::move(rows));
    ChoiceListModel series;
    ChoiceListModel conditions;
    RecordingMessages messages;
    CardEntry entry(table, series, conditions, messages);
    Card fields;
    script.states.push_back(Written(table));
    for (int command = 0; command < commands; ++command) {
        const int pause = 100 + int(random.bounded(800));
        script.length += pause;
        const int row = int(random.bounded(4));
        const std::string name = "Typed-" + std::to_string(command);
        const int kind = int(random.bounded(100));
        QByteArray line = QByteArray::number(pause);
        if (kind < 50) {
            line += " add " + QByteArray::fromStdString(name);
            fields[NameField] = name;
            entry.Add(fields);
        } else if (kind < 70) {
            line += " update " + QByteArray::number(row) + " " + QByteArray::fromStdString(name);
            fields = table.RowCard(row);
            fields[NameField] = name;
            entry.Update(row, fields);
        } else if (kind < 85) {
            line += " delete " + QByteArray::number(row);
            fields = table.RowCard(row);
            entry.Delete(row);
        } else {
            const int column = int(random.bounded(kCardFieldCount));
            line += " sort " + QByteArray::number(column);
            SortRowsByColumn(table, column);
        }
        script.text += line + "\n";
        script.states.push_back(Written(table));
    }
    return script;
}

// The files of a folder with their bytes, to see that nothing changed.
QMap<QString, QByteArray> Contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        files[entry.fileName()] = entry.isDir() ? QByteArray("(folder)") : FileBytes(entry.filePath());
    return files;
}

} // namespace

class TestSessionSafety : public QObject {
    Q_OBJECT

private slots:
    // SIGKILL at random moments of a session of commands, half of them aimed
    // at a save being written; then a fresh start. Every change made more
    // than 2 s before the kill is in qmk.dat, which is always exactly the
    // collection as it stood after some command: never a mix.
    void killDuringASessionKeepsOlderChanges()
    {
        const QByteArray collection = OwnCollection(20000);
        QRandomGenerator random(20261208);
        constexpr int kRounds = 16;
        int inWrite = 0;
        int inSync = 0;
        int behind = 0;
        qint64 oldestLost = 0;
        for (int round = 0; round < kRounds; ++round) {
            QTemporaryDir folder;
            WriteFileBytes(folder.filePath("qmk.dat"), collection);
            const Script script = MakeScript(collection, 16, random);
            QCOMPARE(script.states.front(), collection);
            WriteFileBytes(folder.filePath("session.txt"), script.text);
            Quillmark quillmark(folder.path(), folder.filePath("session.txt"));

            std::vector<qint64> done;
            qint64 ready = 0;
            const auto take = [&](const QByteArrayList& lines) {
                for (const QByteArray& line : lines) {
                    const QByteArrayList words = line.split(' ');
                    if (words.value(0) == "ready")
                        ready = words.value(1).toLongLong();
                    else if (words.value(0) == "done")
                        done.push_back(words.value(2).toLongLong());
                }
            };
            // Every other kill is aimed into the first save: once the
            // program has written a random part of a file's worth of bytes.
            const bool aimed = round % 2 == 1;
            const qint64 aim = 64 * 1024 + qint64(random.bounded(int(collection.size() * 6 / 5)));
            qint64 killAt = 0;
            qint64 writtenAtReady = -1;
            qint64 writtenAtKill = 0;
            const qint64 started = Now();
            while (true) {
                take(quillmark.NewLines(ready == 0 || !aimed ? 5 : 0));
                if (ready == 0) {
                    QVERIFY2(Now() < started + 20000, "the window did not open");
                    continue;
                }
                if (aimed) {
                    writtenAtKill = WrittenBytes(quillmark.Pid());
                    if (writtenAtReady < 0)
                        writtenAtReady = writtenAtKill;
                    if (writtenAtKill - writtenAtReady >= aim)
                        break;
                } else {
                    if (killAt == 0)
                        killAt = ready + 300 + qint64(random.bounded(int(script.length)));
                    if (Now() >= killAt)
                        break;
                }
                QVERIFY2(Now() < ready + script.length + 20000, "the session did not play");
            }
            const qint64 killed = Now();
            quillmark.Signal(SIGKILL);
            QVERIFY(quillmark.WaitForEnd());
            take(quillmark.NewLines(0));
            if (aimed)
                (writtenAtKill - writtenAtReady < collection.size() ? inWrite : inSync) += 1;

            std::size_t required = 0;
            while (required < done.size() && done[required] <= killed - 2000)
                ++required;
            const QByteArray found = FileBytes(folder.filePath("qmk.dat"));
            std::size_t state = script.states.size();
            for (std::size_t n = required; n <= std::min(done.size() + 1, script.states.size() - 1); ++n) {
                if (script.states[n] == found)
                    state = n;
            }
            QVERIFY2(state < script.states.size(),
                     qPrintable(QStringLiteral("round %1: qmk.dat of %2 bytes is no state from command %3 on "
                                               "(%4 commands done)")
                                    .arg(round)
                                    .arg(found.size())
                                    .arg(required)
                                    .arg(done.size())));
            if (state < done.size()) {
                ++behind;
                oldestLost = std::max(oldestLost, killed - done[state]);
            }

            // The lock left by the killed program is taken over, and the
            // fresh start loads what was saved and writes it back unchanged.
            Quillmark fresh(folder.path());
            QVERIFY(fresh.WaitUntilOpen());
            fresh.Signal(SIGTERM);
            QVERIFY(fresh.WaitForEnd());
            QCOMPARE(fresh.ExitCode(), 0);
            QCOMPARE(FileBytes(folder.filePath("qmk.dat")), found);
            QVERIFY(!QFile::exists(folder.filePath("qmk.lock")));
        }
        qInfo("%d kills in sessions of 16 commands over 20,000 Cards (%lld bytes): %d while a save was being "
              "written, %d once it was written but not yet in place; %d left qmk.dat behind the last command, the "
              "newest change not yet saved then being %lld ms old",
              kRounds, qint64(collection.size()), inWrite, inSync, behind, oldestLost);
    }

    // A second quillmark on the folder says which process has it, and ends
    // without reading or writing anything; the first one is undisturbed.
    void secondWindowOnOneFolder()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath("qmk.dat"), OwnCollection(3));
        Quillmark first(folder.path());
        QVERIFY(first.WaitUntilOpen());
        // Today's backup copy is made once the window is on the screen.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(folder.filePath(QStringLiteral("backups/qmk-%1.dat")
                                              .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))))),
            20000);
        const QMap<QString, QByteArray> before = Contents(folder.path());

        Quillmark second(folder.path());
        const QByteArray refusal = QStringLiteral("quillmark: This collection is already open in Quillmark "
                                                  "(process %1 on %2).\n")
                                       .arg(first.Pid())
                                       .arg(QSysInfo::machineHostName())
                                       .toUtf8();
        const QDeadlineTimer deadline(20000);
        while (!second.ErrorOutput().contains(refusal) || !HandlesTerm(second.Pid()))
            QVERIFY2(!deadline.hasExpired(), second.ErrorOutput().constData());
        QCOMPARE(Contents(folder.path()), before);
        second.Signal(SIGTERM);
        QVERIFY(second.WaitForEnd());
        QCOMPARE(second.ExitCode(), 1);
        QCOMPARE(Contents(folder.path()), before);

        first.Signal(SIGTERM);
        QVERIFY(first.WaitForEnd());
        QCOMPARE(first.ExitCode(), 0);
        QCOMPARE(FileBytes(folder.filePath("qmk.dat")), OwnCollection(3));
    }

    // A folder where no new file can be made, though qmk.dat itself could
    // be written over: refused at start, with nothing read or written.
    void refusesAFolderWithoutNewFiles()
    {
        QTemporaryDir folder;
        WriteFileBytes(folder.filePath("qmk.dat"), OwnCollection(3));
        QFile::setPermissions(folder.filePath("qmk.dat"), QFile::ReadOwner | QFile::WriteOwner);
        const auto run = [](const QString& program, const QStringList& arguments) {
            return QProcess::execute(program, arguments) == 0;
        };
        if (!run("mount", {"--bind", folder.path(), folder.path()}))
            QSKIP("this machine does not allow a bind mount");
        const bool readOnly = run("mount", {"-o", "remount,bind,ro", folder.path()});
        const QMap<QString, QByteArray> before = Contents(folder.path());
        int exitCode = -1;
        QByteArray said;
        if (readOnly) {
            Quillmark quillmark(folder.path());
            const QDeadlineTimer deadline(20000);
            while (!HandlesTerm(quillmark.Pid()) && !deadline.hasExpired())
                QThread::msleep(5);
            quillmark.Signal(SIGTERM);
            quillmark.WaitForEnd();
            exitCode = quillmark.ExitCode();
            said = quillmark.ErrorOutput();
        }
        const QMap<QString, QByteArray> after = Contents(folder.path());
        run("umount", {"-l", folder.path()});
        if (!readOnly)
            QSKIP("this machine does not allow remounting read-only");
        QCOMPARE(exitCode, 1);
        QVERIFY2(said.contains("quillmark: Quillmark cannot create files in " + folder.path().toUtf8()), said.constData());
        QCOMPARE(after, before);
    }
};

QTEST_GUILESS_MAIN(TestSessionSafety)
#include "test_session_safety.moc"
