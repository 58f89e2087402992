#include "base/FileStamp.h"

#include <QBuffer>
#include <QTest>

#include <algorithm>

class TestFileStamp : public QObject {
    Q_OBJECT

private slots:
    // The sum of xxHash64 with seed 0, as xxhsum -H64 prints it: below a
    // stripe, a stripe and a tail, and many stripes.
    void sumsAsXxHash64_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("sum");
        QTest::addRow("empty") << QByteArray() << QByteArray("ef46db3751d8e999");
        QTest::addRow("one byte") << QByteArray("a") << QByteArray("d24ec4f1a98c6e5b");
        QTest::addRow("three bytes") << QByteArray("abc") << QByteArray("44bc2cf5ad770999");
        QTest::addRow("stripe and tail") << QByteArray("0123456789abcdef0123456789abcdefXYZ12345")
                                         << QByteArray("2206b063b06869c8");
        QTest::addRow("1000 bytes") << QByteArray(1000, 'q') << QByteArray("53c289a550b16c0f");
    }

    void sumsAsXxHash64()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, sum);
        QCOMPARE(Checksum(bytes).toHex(), sum);
    }

    // What is written in pieces of any size sums as the whole.
    void sumsWritesInAnyPieces()
    {
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i)
            bytes += char(i * 7 + i / 13);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QByteArray sum;
        const auto writer = Checksummed(
            [&bytes](QIODevice& device) {
                qsizetype at = 0;
                for (qsizetype piece = 1; at < bytes.size(); piece = piece * 3 % 97 + 1) {
                    const qsizetype size = std::min(piece, bytes.size() - at);
                    if (device.write(bytes.constData() + at, size) != size)
                        return false;
                    at += size;
                }
                return true;
            },
            sum);
        QVERIFY(writer(buffer));
        QCOMPARE(buffer.data(), bytes);
        QCOMPARE(sum, Checksum(bytes));
        bytes[4321] = char(bytes[4321] ^ 1);
        QVERIFY(sum != Checksum(bytes));
    }
};

QTEST_MAIN(TestFileStamp)
#include "test_file_stamp.moc"
