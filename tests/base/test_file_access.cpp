#include "base/FileAccess.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>


#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A pipe-like device: no size, bytes in small pieces.
class Trickle : public QIODevice {
public:
    explicit Trickle(QByteArray bytes)
        : bytes_(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 size = std::min<qint64>({maxSize, 1000, bytes_.size() - at_});
        std::memcpy(data, bytes_.constData() + at_, std::size_t(size));
        at_ += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
};

// A socket bound at a path for as long as it lives.
class BoundSocket {
public:
    bool Bind(const QString& path)
    {
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (socket_ < 0 || std::size_t(name.size()) >= sizeof address.sun_path)
            return false;
        std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
        return ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket()
    {
        if (socket_ >= 0)
            ::close(socket_);
    }

private:
    int socket_ = -1;
};

// Puts a file in place of another in one step, as a sync tool does.
void ReplaceAtOnce(const QString& from, const QString& to)
{
    QCOMPARE(::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0);
}

QByteArray Pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

} // namespace

class TestFileAccess : public QObject {
    Q_OBJECT

private slots:
    void readsWholeFiles_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {0, 1, 65535, 65536, 65537, 300001})
            QTest::addRow("%d bytes", size) << size;
    }

    void readsWholeFiles()
    {
        QFETCH(int, size);
        TempFolder folder;
        folder.Write(QStringLiteral("file"), Pattern(size));
        QByteArray bytes("left over");
        QVERIFY(ReadFile(folder.Path(QStringLiteral("file")), bytes));
        QCOMPARE(bytes, Pattern(size));

        Trickle device(Pattern(size));
        QVERIFY(ReadAll(device, bytes));
        QCOMPARE(bytes, Pattern(size));
    }

    // Reading goes on from where the device is.
    void readsTheRestOfAnOpenDevice()
    {
        QByteArray data = Pattern(100000);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(40000);
        QByteArray bytes;
        QVERIFY(ReadAll(buffer, bytes));
        QCOMPARE(bytes, data.mid(40000));
    }

    // A safe write replaces a regular file, or makes one; a link is followed
    // to the file it names and stays a link.
    void replacesWhatIsThere_data()
    {
        QTest::addColumn<QString>("there");
        QTest::newRow("nothing") << QString();
        QTest::newRow("a file") << QStringLiteral("file");
        QTest::newRow("a link to a file") << QStringLiteral("link");
    }

    void replacesWhatIsThere()
    {
        QFETCH(QString, there);
        TempFolder folder;
        const QString path = folder.Path(QStringLiteral("target"));
        if (there == QStringLiteral("file"))
            folder.Write(QStringLiteral("target"), Pattern(300001));
        if (there == QStringLiteral("link")) {
            folder.Write(QStringLiteral("linked"), Pattern(300001));
            QVERIFY(QFile::link(QStringLiteral("linked"), path));
        }
        const QByteArray bytes = Pattern(70000).mid(3);
        QVERIFY(WriteFileSafely(path, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); }));
        QByteArray read;
        QVERIFY(ReadFile(path, read));
        QCOMPARE(read, bytes);
        QCOMPARE(QFileInfo(path).isSymLink(), there == QStringLiteral("link"));
        const QStringList expected = there == QStringLiteral("link") ? QStringList{"linked", "target"} : QStringList{"target"};
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), expected);
    }

    // Only regular files are read. A named pipe that no program writes, a
    // device or a link to one is refused at once, unread, and says what it
    // is; a folder is the system's own refusal.
    void readsOnlyRegularFiles_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("read");
        QTest::addColumn<QString>("reason");
        QTest::newRow("named pipe") << "pipe" << int(FileRead::NotRegular) << "not a regular file but a named pipe";
        QTest::newRow("link to a named pipe") << "pipe link" << int(FileRead::NotRegular) << "a named pipe";
        QTest::newRow("link to /dev/zero") << "zero" << int(FileRead::NotRegular) << "not a regular file but a device";
        QTest::newRow("socket") << "socket" << int(FileRead::NotRegular) << "not a regular file but a socket";
        QTest::newRow("folder") << "folder" << int(FileRead::Failed) << "Is a directory";
        QTest::newRow("nothing") << "nothing" << int(FileRead::Missing) << "No such file or directory";
        QTest::newRow("link to nothing") << "dangling" << int(FileRead::Missing) << "No such file or directory";
    }

    void readsOnlyRegularFiles()
    {
        QFETCH(QString, what);
        QFETCH(int, read);
        QFETCH(QString, reason);
        TempFolder folder;
        const QString path = folder.Path(QStringLiteral("file"));
        BoundSocket server;
        if (what.startsWith(QStringLiteral("pipe")))
            QCOMPARE(::mkfifo(QFile::encodeName(folder.Path(QStringLiteral("pipe"))).constData(), 0600), 0);
        if (what == QStringLiteral("pipe"))
            ReplaceAtOnce(folder.Path(QStringLiteral("pipe")), path);
        if (what == QStringLiteral("pipe link"))
            QVERIFY(QFile::link(QStringLiteral("pipe"), path));
        if (what == QStringLiteral("zero"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        if (what == QStringLiteral("socket"))
            QVERIFY(server.Bind(path));
        if (what == QStringLiteral("folder"))
            QVERIFY(QDir().mkdir(path));
        if (what == QStringLiteral("dangling"))
            QVERIFY(QFile::link(QStringLiteral("gone"), path));

        QElapsedTimer clock;
        clock.start();
        QByteArray bytes("left over");
        QString why;
        QCOMPARE(int(ReadRegularFile(path, bytes, &why)), read);
        QVERIFY(bytes.isEmpty());
        QVERIFY2(why.startsWith(path + QStringLiteral(": ")) && why.contains(reason), qPrintable(why));
        QVERIFY(!ReadFile(path, bytes));
        QCOMPARE(OpenRegularFile(path), -1);
        QVERIFY(clock.elapsed() < 5000);
    }

    // A target that is no regular file is never replaced: a pipe that a
    // program reads and the null device are written into, a pipe nobody
    // reads, a socket and a folder are refused; each stays what it was.
    void writesIntoSpecialFilesOrRefuses()
    {
        TempFolder folder;
        const QByteArray bytes = Pattern(200000);
        const auto writer = [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
        const QString pipe = folder.Path(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

        QString reason;
        QVERIFY(!WriteFileSafely(pipe, writer, &reason));
        QVERIFY2(reason.contains("a named pipe that no program reads from"), qPrintable(reason));

        // The test reads the pipe itself: what fits the pipe goes through.
        const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(reader >= 0);
        const QByteArray small = bytes.left(30000);
        QVERIFY2(WriteFileSafely(pipe, [&small](QIODevice& device) { return device.write(small) == small.size(); },
                                 &reason),
                 qPrintable(reason));
        QByteArray received(small.size() + 1, '\0');
        const ssize_t got = ::read(reader, received.data(), std::size_t(received.size()));
        QCOMPARE(received.left(qsizetype(got)), small);
        // A reader that goes away while the write runs makes it fail, and
        // does not end the program with SIGPIPE.
        QVERIFY(!WriteFileSafely(
            pipe,
            [&](QIODevice& device) {
                ::close(reader);
                return device.write(bytes) == bytes.size();
            },
            &reason));
        QVERIFY2(reason.contains("Broken pipe"), qPrintable(reason));
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());

        const QString null = folder.Path(QStringLiteral("null"));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), null));
        QVERIFY(WriteFileSafely(null, writer, &reason));
        QVERIFY(QFileInfo(null).isSymLink());

        BoundSocket server;
        const QString socket = folder.Path(QStringLiteral("socket"));
        QVERIFY(server.Bind(socket));
        QVERIFY(!WriteFileSafely(socket, writer, &reason));
        QVERIFY2(reason.contains("not a regular file but a socket"), qPrintable(reason));

        QVERIFY(QDir().mkdir(QStringLiteral("folder")));
        QVERIFY(!WriteFileSafely(folder.Path(QStringLiteral("folder")), writer, &reason));
        QVERIFY(reason.contains("Is a directory"));

        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                 (QStringList{"null", "pipe", "socket"}));
    }

    // A full device says so in the system's words, and stays a device. As
    // root the test makes its own full device, which the old safe write would
    // have replaced; otherwise it links to /dev/full.
    void aFullDeviceSaysSo()
    {
        TempFolder folder;
        const QString full = folder.Path(QStringLiteral("full"));
        if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), full));
        const QByteArray bytes = Pattern(100);
        QString reason;
        QVERIFY(!WriteFileSafely(full, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); },
                                 &reason));
        QVERIFY2(reason.contains("No space left on device"), qPrintable(reason));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(full).constData(), &info), 0);
        QVERIFY(S_ISCHR(info.st_mode));
    }

    // The exchange swaps the new file with whatever the target holds by then;
    // a missing target just takes it; a file system without exchange is told.
    void exchangesWithTheTarget()
    {
        TempFolder folder;
        const QString target = folder.Path(QStringLiteral("target"));
        folder.Write(QStringLiteral("target"), "old");
        const auto writing = [](const QByteArray& bytes) {
            return [bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); };
        };
        {
            PendingFile pending(target);
            QVERIFY(pending.Write(writing("new")));
            QCOMPARE(pending.WrittenSize(), qint64(3));
            // Another program's file lands after the write, before the swap.
            folder.Write(QStringLiteral("theirs"), "theirs");
            ReplaceAtOnce(folder.Path(QStringLiteral("theirs")), target);
            QCOMPARE(pending.ExchangeWithTarget(ExchangeFiles), PendingFile::Placed::Exchanged);
            QCOMPARE(folder.Read(QStringLiteral("target")), QByteArray("new"));
            QCOMPARE(folder.Read(QFileInfo(pending.Temporary()).fileName()), QByteArray("theirs"));
            // What came out is the caller's: it outlives the pending file.
        }
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden).size(), 2);
        for (const QString& name : QDir::current().entryList(QDir::Files | QDir::Hidden))
            QFile::remove(name);
        {
            PendingFile pending(target);
            QVERIFY(pending.Write(writing("first")));
            QCOMPARE(pending.ExchangeWithTarget(ExchangeFiles), PendingFile::Placed::New);
        }
        QCOMPARE(folder.Read(QStringLiteral("target")), QByteArray("first"));
        {
            PendingFile pending(target);
            QVERIFY(pending.Write(writing("second")));
            const auto noExchange = [](const QByteArray&, const QByteArray&) { return EINVAL; };
            QCOMPARE(pending.ExchangeWithTarget(noExchange), PendingFile::Placed::NoExchange);
            QCOMPARE(folder.Read(QStringLiteral("target")), QByteArray("first"));
            QVERIFY(pending.ReplaceTarget());
        }
        QCOMPARE(folder.Read(QStringLiteral("target")), QByteArray("second"));
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{"target"});
    }

    // A name that is taken is never replaced.
    void renamesWithoutReplacing()
    {
        TempFolder folder;
        folder.Write(QStringLiteral("a"), "a");
        folder.Write(QStringLiteral("b"), "b");
        QCOMPARE(RenameWithoutReplacing("a", "b"), EEXIST);
        QCOMPARE(folder.Read(QStringLiteral("b")), QByteArray("b"));
        QCOMPARE(RenameWithoutReplacing("a", "c"), 0);
        QCOMPARE(folder.Read(QStringLiteral("c")), QByteArray("a"));
        QVERIFY(!folder.Exists(QStringLiteral("a")));
        QVERIFY(SameFile(QStringLiteral("c"), folder.Path(QStringLiteral("c"))));
        QVERIFY(!SameFile(QStringLiteral("b"), QStringLiteral("c")));
        QVERIFY(!SameFile(QStringLiteral("gone"), QStringLiteral("gone")));
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "test_file_access.moc"
