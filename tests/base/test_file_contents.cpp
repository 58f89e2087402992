#include "base/FileContents.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Patterned(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char('A' + (i * 31) % 53);
    return bytes;
}

QByteArray Held(const FileContents& bytes)
{
    return QByteArray(bytes.View().data(), qsizetype(bytes.size()));
}

} // namespace

class TestFileBytes : public QObject {
    Q_OBJECT

private slots:
    // Small files and large ones, mapped or copied, read as they are.
    void readsWholeFiles_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("copied");
        for (const qsizetype size : {qsizetype(0), qsizetype(1), qsizetype(4095), qsizetype(4096),
                                     qsizetype(5 << 20), qsizetype((9 << 20) + 3)}) {
            QTest::addRow("%lld bytes, mapped", qint64(size)) << size << false;
            QTest::addRow("%lld bytes, copied", qint64(size)) << size << true;
        }
    }
    void readsWholeFiles()
    {
        QFETCH(qsizetype, size);
        QFETCH(bool, copied);
        QTemporaryDir folder;
        const QByteArray bytes = Patterned(size);
        Write(folder.filePath("file"), bytes);
        FileContents read;
        QCOMPARE(read.Read(folder.filePath("file"), nullptr,
                           copied ? FileContents::Way::Copied : FileContents::Way::MappedWhenLarge),
                 FileRead::Read);
        QCOMPARE(Held(read), bytes);
        QVERIFY(read.Whole());
        // Replaced by another file, as a safe save does: the bytes stay.
        Write(folder.filePath("other"), "new");
        QVERIFY(::rename(QFile::encodeName(folder.filePath("other")), QFile::encodeName(folder.filePath("file"))) == 0);
        QCOMPARE(Held(read), bytes);
        FileContents moved = std::move(read);
        QCOMPARE(Held(moved), bytes);
    }

    // What is not a regular file is refused with a reason, never waited on.
    void refusesWhatIsNoFile()
    {
        QTemporaryDir folder;
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath("fifo")), 0600) == 0);
        FileContents read;
        QString reason;
        QCOMPARE(read.Read(folder.filePath("fifo"), &reason), FileRead::NotRegular);
        QVERIFY(reason.contains("fifo"));
        QCOMPARE(read.Read(QStringLiteral("/dev/zero"), &reason), FileRead::NotRegular);
        QCOMPARE(read.Read(folder.filePath("missing"), &reason), FileRead::Missing);
        QVERIFY(reason.contains("missing"));
        QCOMPARE(read.size(), std::size_t(0));
    }

    // Another program cuts a mapped file short in place, while it is read
    // on two threads: what went reads as zeros, nothing ends the program,
    // and the bytes say they are no longer whole.
    void fileCutShortUnderTheMapping()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("file");
        const QByteArray bytes = Patterned(16 << 20);
        Write(path, bytes);
        FileContents read;
        QCOMPARE(read.Read(path), FileRead::Read);
        QVERIFY(read.Whole());
        QVERIFY(::truncate(QFile::encodeName(path), 1 << 20) == 0);
        std::size_t sums[2] = {0, 0};
        std::thread other([&] {
            for (std::size_t at = 0; at < read.size(); at += 4096)
                sums[1] += static_cast<unsigned char>(read.View()[at]);
        });
        for (std::size_t at = read.size(); at-- > 0;)
            sums[0] += static_cast<unsigned char>(read.View()[at]);
        other.join();
        QVERIFY(!read.Whole());
        QCOMPARE(QByteArray(read.View().data(), 1 << 20), bytes.left(1 << 20));
        QCOMPARE(read.View()[(8 << 20) + 5], '\0');
        // Read again, copied: whole, as the file now is.
        QCOMPARE(read.Read(path, nullptr, FileContents::Way::Copied), FileRead::Read);
        QVERIFY(read.Whole());
        QCOMPARE(Held(read), bytes.left(1 << 20));
    }
};

QTEST_GUILESS_MAIN(TestFileBytes)
#include "test_file_contents.moc"
