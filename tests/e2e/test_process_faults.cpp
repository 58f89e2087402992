#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "prefs/Preferences.h"
#include "support/FileBytes.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

// A collection as a hand editor might keep it: line feeds only, no header.
// Quillmark saves it in its own form, so the old and the new file differ.
QByteArray HandKeptCollection(int cards)
{
    QByteArray bytes;
    for (int card = 0; card < cards; ++card) {
        bytes += "NAME=Card " + QByteArray::number(card) + "\nSERIES=Series " + QByteArray::number(card % 40)
                 + "\nYEAR=19" + QByteArray::number(50 + card % 50) + "\nDESCRIPTION=" + QByteArray(60, 'd') + "\n";
    }
    return bytes;
}

const QByteArray kHandKeptPreferences = "NAME=Ann\nCITY=Leeds\n";

// The bytes Quillmark writes for what it reads from these files.
QByteArray SavedCollection(const QByteArray& file)
{
    CardTableModel table;
    CardTableModel::RowBuilder rows;
    ParseCollection(std::string_view(file.constData(), std::size_t(file.size())),
                    [&](const Card& card) { rows.Append(card); });
    table.SetRowsBottomFirst(std::move(rows));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCollection(buffer, table);
    return buffer.data();
}

QByteArray SavedPreferences(const QByteArray& file)
{
    Preferences prefs;
    ParsePreferences(std::string_view(file.constData(), std::size_t(file.size())), prefs);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WritePreferences(buffer, prefs);
    return buffer.data();
}

// Whether the process has set its own SIGTERM handler: Quillmark does so
// once its window is open, with the collection loaded.
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

// Quillmark running in a folder, without a display.
class Quillmark {
public:
    explicit Quillmark(const QString& folder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), folder);
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(folder);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(QUILLMARK_BINARY), {});
        // Until the program has replaced the forked copy of this test, the
        // copy's own signal handlers would show.
        process_.waitForStarted();
    }
    ~Quillmark()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

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
    void Signal(int signal) { ::kill(pid_t(process_.processId()), signal); }
    bool WaitForEnd() { return process_.waitForFinished(30000); }
    bool EndedNormally() const { return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0; }

private:
    QProcess process_;
};

} // namespace

class TestProcessFaults : public QObject {
    Q_OBJECT

private slots:
    // SIGTERM, as a desktop session's end or `kill` sends it, closes the
    // window the normal way: both files are written, preferences first.
    void terminationSavesBothFiles()
    {
        QTemporaryDir folder;
        const QByteArray collection = HandKeptCollection(3);
        WriteFileBytes(folder.filePath("qmk.dat"), collection);
        WriteFileBytes(folder.filePath("qmk.ini"), kHandKeptPreferences);
        Quillmark quillmark(folder.path());
        QVERIFY(quillmark.WaitUntilOpen());
        quillmark.Signal(SIGTERM);
        QVERIFY(quillmark.WaitForEnd());
        QVERIFY(quillmark.EndedNormally());
        QCOMPARE(FileBytes(folder.filePath("qmk.dat")), SavedCollection(collection));
        QCOMPARE(FileBytes(folder.filePath("qmk.ini")), SavedPreferences(kHandKeptPreferences));
    }

    // SIGKILL at random moments of the save at close: each file is always
    // whole, the old one or the new one.
    void killDuringSaveLeavesOldOrNew()
    {
        const QByteArray oldCollection = HandKeptCollection(20000);
        const QByteArray newCollection = SavedCollection(oldCollection);
        const QByteArray newPreferences = SavedPreferences(kHandKeptPreferences);
        QVERIFY(oldCollection != newCollection);

        // How long a whole save takes, to spread the kills over it.
        QTemporaryDir timing;
        WriteFileBytes(timing.filePath("qmk.dat"), oldCollection);
        Quillmark measured(timing.path());
        QVERIFY(measured.WaitUntilOpen());
        QElapsedTimer clock;
        clock.start();
        measured.Signal(SIGTERM);
        QVERIFY(measured.WaitForEnd());
        const qint64 saveMicroseconds = clock.nsecsElapsed() / 1000;
        QCOMPARE(FileBytes(timing.filePath("qmk.dat")), newCollection);

        QRandomGenerator random(20261207);
        int oldFiles = 0;
        int newFiles = 0;
        int leftovers = 0;
        constexpr int kKills = 30;
        for (int kill = 0; kill < kKills; ++kill) {
            QTemporaryDir folder;
            WriteFileBytes(folder.filePath("qmk.dat"), oldCollection);
            WriteFileBytes(folder.filePath("qmk.ini"), kHandKeptPreferences);
            Quillmark quillmark(folder.path());
            QVERIFY(quillmark.WaitUntilOpen());
            quillmark.Signal(SIGTERM);
            QThread::usleep(random.bounded(saveMicroseconds + saveMicroseconds / 5));
            quillmark.Signal(SIGKILL);
            QVERIFY(quillmark.WaitForEnd());

            const QByteArray collection = FileBytes(folder.filePath("qmk.dat"));
            QVERIFY2(collection == oldCollection || collection == newCollection,
                     qPrintable(QStringLiteral("kill %1 left a qmk.dat of %2 bytes").arg(kill).arg(collection.size())));
            const QByteArray preferences = FileBytes(folder.filePath("qmk.ini"));
            QVERIFY(preferences == kHandKeptPreferences || preferences == newPreferences);
            (collection == oldCollection ? oldFiles : newFiles) += 1;
            // Files beside the two and the lock the kill left: an unfinished
            // temporary file of a killed save.
            QStringList beside = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
            beside.removeOne(QStringLiteral("qmk.lock"));
            leftovers += int(beside.size()) - 2;
        }
        qInfo("%d kills over a save of %lld us: %d left the old qmk.dat, %d the new one; %d temporary files left",
              kKills, saveMicroseconds, oldFiles, newFiles, leftovers);
    }
};

QTEST_GUILESS_MAIN(TestProcessFaults)
#include "test_process_faults.moc"
