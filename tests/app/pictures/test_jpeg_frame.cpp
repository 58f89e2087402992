#include "app/pictures/JpegFrame.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray Word(int value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(quint16(value), bytes.data());
    return bytes;
}

QByteArray Segment(int marker, const QByteArray& body)
{
    return QByteArray(1, '\xFF') + char(marker) + Word(int(body.size()) + 2) + body;
}

// A frame marker of components sampled h by v each (as "22", "11", "11").
QByteArray Frame(int marker, int width, int height, const QList<QByteArray>& sampling)
{
    QByteArray body = QByteArray(1, 8) + Word(height) + Word(width) + char(sampling.size());
    for (int c = 0; c < sampling.size(); ++c) {
        body += char(c + 1);
        body += char((sampling[c][0] - '0') << 4 | (sampling[c][1] - '0'));
        body += char(0);
    }
    return Segment(marker, body);
}

QByteArray Scan(int components)
{
    QByteArray body(1, char(components));
    for (int c = 0; c < components; ++c) {
        body += char(c + 1);
        body += char(0);
    }
    return Segment(0xDA, body + QByteArray("\x00\x3F\x00", 3)) + QByteArray(40, '\x55') + "\xFF\xD9";
}

const QByteArray kStart("\xFF\xD8", 2);
const QByteArray kApp0 = Segment(0xE0, QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14));

JpegFrame Read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadJpegFrame(buffer);
}

} // namespace

class TestJpegFrame : public QObject {
    Q_OBJECT

private slots:
    void readsTheFrame_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<qint64>("coefficients");
        const QList<QByteArray> yuv420 = {"22", "11", "11"};
        // 4:2:0 of 30000 square: luma 3750 by 3750 blocks, chroma 1875 by 1875 each, 128 bytes a block.
        const qint64 bomb420 = (3750LL * 3750 + 2 * 1875LL * 1875) * 128;
        QTest::newRow("baseline, one scan") << kStart + kApp0 + Frame(0xC0, 30000, 30000, yuv420) + Scan(3) << true
                                            << QSize(30000, 30000) << false << false << bomb420;
        QTest::newRow("extended sequential") << kStart + Frame(0xC1, 640, 480, {"11"}) + Scan(1) << true
                                             << QSize(640, 480) << false << false << qint64(80 * 60 * 128);
        QTest::newRow("progressive") << kStart + kApp0 + Frame(0xC2, 30000, 30000, yuv420) + Scan(1) << true
                                     << QSize(30000, 30000) << true << true << bomb420;
        QTest::newRow("progressive, 4:4:4") << kStart + Frame(0xC2, 40000, 40000, {"11", "11", "11"}) + Scan(3)
                                            << true << QSize(40000, 40000) << true << true
                                            << qint64(3 * 5000LL * 5000 * 128);
        QTest::newRow("progressive, arithmetic") << kStart + Frame(0xCA, 800, 600, {"11"}) + Scan(1) << true
                                                 << QSize(800, 600) << true << true << qint64(100 * 75 * 128);
        // Blocks rounded up to whole units of the component's sampling.
        QTest::newRow("odd size") << kStart + Frame(0xC2, 17, 9, yuv420) + Scan(1) << true << QSize(17, 9) << true
                                  << true << qint64((4 * 2 + 2 * (2 * 1)) * 128);
        QTest::newRow("sequential, colours in separate scans")
            << kStart + Frame(0xC0, 30000, 30000, yuv420) + Scan(1) << true << QSize(30000, 30000) << false << true
            << bomb420;
        // An Exif thumbnail holds a frame of its own: it is skipped whole.
        const QByteArray thumbnail = kStart + Frame(0xC2, 60000, 60000, {"11"}) + Scan(1);
        QTest::newRow("thumbnail in APP1") << kStart + Segment(0xE1, QByteArray("Exif\0\0", 6) + thumbnail)
                                                  + Frame(0xC0, 320, 240, {"11"}) + Scan(1)
                                           << true << QSize(320, 240) << false << false << qint64(40 * 30 * 128);
        QTest::newRow("fill bytes and stray bytes")
            << kStart + "\xFF\xFF\xFF" + kApp0 + "ab" + Frame(0xC2, 64, 64, {"11"}) + Scan(1) << true << QSize(64, 64)
            << true << true << qint64(64 * 128);
        QTest::newRow("tables before the frame")
            << kStart + Segment(0xDB, QByteArray(65, '\1')) + Segment(0xC4, QByteArray(20, '\0'))
                   + Segment(0xCC, QByteArray(2, '\0')) + Frame(0xC2, 8, 8, {"11"}) + Scan(1)
            << true << QSize(8, 8) << true << true << qint64(128);
        QTest::newRow("no frame before the scan") << kStart + kApp0 + Scan(1) << false << QSize(0, 0) << false << false
                                                  << qint64(0);
        QTest::newRow("cut short in the frame") << (kStart + Frame(0xC2, 8, 8, {"11"})).left(10) << false
                                                << QSize(0, 0) << false << false << qint64(0);
        QTest::newRow("frame without components") << kStart + Segment(0xC2, QByteArray(6, '\1')) + Scan(1) << false
                                                  << QSize(0, 0) << false << false << qint64(0);
        QTest::newRow("no JPEG") << QByteArray("\x89PNG\r\n\x1a\n") << false << QSize(0, 0) << false << false
                                 << qint64(0);
        QTest::newRow("empty") << QByteArray() << false << QSize(0, 0) << false << false << qint64(0);
    }

    void readsTheFrame()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, found);
        QFETCH(QSize, size);
        QFETCH(bool, progressive);
        QFETCH(bool, whole);
        QFETCH(qint64, coefficients);
        const JpegFrame frame = Read(bytes);
        QCOMPARE(frame.found, found);
        QCOMPARE(QSize(frame.width, frame.height), size);
        QCOMPARE(frame.progressive, progressive);
        QCOMPARE(frame.wholeImageBuffers, whole);
        QCOMPARE(frame.coefficientBytes, coefficients);
    }

    // What Qt writes is read, and the device is left where it was, be it
    // a file or a stream.
    void readsQtsPicturesAndLeavesTheDevice()
    {
        QImage image(600, 840, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        for (const bool progressive : {false, true}) {
            QByteArray bytes;
            QBuffer out(&bytes);
            out.open(QIODevice::WriteOnly);
            QImageWriter writer(&out, "JPEG");
            writer.setProgressiveScanWrite(progressive);
            QVERIFY(writer.write(image));
            bytes.prepend("junk");
            QBuffer in(&bytes);
            in.open(QIODevice::ReadOnly);
            in.seek(4);
            const JpegFrame frame = ReadJpegFrame(in);
            QVERIFY(frame.found);
            QCOMPARE(QSize(frame.width, frame.height), QSize(600, 840));
            QCOMPARE(frame.progressive, progressive);
            QCOMPARE(frame.wholeImageBuffers, progressive);
            QCOMPARE(in.pos(), qint64(4));
        }
    }
};

QTEST_MAIN(TestJpegFrame)
#include "test_jpeg_frame.moc"
