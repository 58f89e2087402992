#include "base/FileAccess.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QTest>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

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

    // A safe write replaces whatever the path names, and waits on none of
    // it: not even on a pipe that no program writes into.
    void replacesWhatIsThere_data()
    {
        QTest::addColumn<QString>("there");
        QTest::newRow("nothing") << QString();
        QTest::newRow("a file") << QStringLiteral("file");
        QTest::newRow("a pipe") << QStringLiteral("pipe");
    }

    void replacesWhatIsThere()
    {
        QFETCH(QString, there);
        TempFolder folder;
        const QString path = folder.Path(QStringLiteral("target"));
        if (there == QStringLiteral("file"))
            folder.Write(QStringLiteral("target"), Pattern(300001));
        if (there == QStringLiteral("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QByteArray bytes = Pattern(70000).mid(3);
        QVERIFY(WriteFileSafely(path, [&](QIODevice& device) { return device.write(bytes) == bytes.size(); }));
        QByteArray read;
        QVERIFY(ReadFile(path, read));
        QCOMPARE(read, bytes);
    }
};

QTEST_APPLESS_MAIN(TestFileAccess)
#include "test_file_access.moc"
