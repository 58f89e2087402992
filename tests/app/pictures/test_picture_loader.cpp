#include "app/pictures/PictureCache.h"
#include "app/pictures/PictureLoader.h"
#include "app/pictures/PictureReader.h"
#include "support/FileBytes.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

#include <sys/resource.h>

namespace {

using State = PictureLoader::State;

// The size of a null image.
const QSize kNoImage(0, 0);

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Filled(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray PngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(Crc32(body), crc.data());
    return chunk + body + crc;
}

// A well-formed PNG of a few hundred bytes whose header claims width by
// height RGBA pixels: what it would take to decode is in the header alone.
QByteArray PngBomb(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8;
    header[9] = 6;
    // A zlib stream of the first rows' zero bytes (qCompress puts a length first).
    const QByteArray rows = qCompress(QByteArray(64 * 1024, '\0')).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", rows)
           + PngChunk("IEND", {});
}

// A JPEG whose header claims width by height pixels, its data long run out.
QByteArray JpegBomb(quint16 width, quint16 height)
{
    QByteArray bytes = Encoded(Filled(16, 16, Qt::red), "JPEG");
    const qsizetype frame = bytes.indexOf("\xff\xc0");
    qToBigEndian(height, bytes.data() + frame + 5);
    qToBigEndian(width, bytes.data() + frame + 7);
    return bytes;
}

QByteArray ProgressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

// A progressive JPEG of a few hundred bytes whose header claims width by
// height pixels: the decoder would hold the coefficients of all of them.
QByteArray ProgressiveJpegBomb(quint16 width, quint16 height)
{
    QByteArray bytes = ProgressiveJpeg(Filled(16, 16, Qt::red));
    const qsizetype frame = bytes.indexOf("\xff\xc2");
    qToBigEndian(height, bytes.data() + frame + 5);
    qToBigEndian(width, bytes.data() + frame + 7);
    return bytes;
}

// The most memory the process has held so far, in KiB.
long PeakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A web server on 127.0.0.1 that serves its pictures, answers 404 for any
// other path, or, when silent, takes each request and never answers.
class PictureServer : public QObject {
public:
    PictureServer()
    {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    received_.remove(socket);
                    socket->deleteLater();
                });
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            }
        });
    }

    QByteArray Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(path).toUtf8();
    }
    void Close() { server_.close(); }

    QHash<QString, QByteArray> pictures;
    bool silent = false;
    int requests = 0;
    QByteArray lastRequest;

private:
    void Answer(QTcpSocket* socket)
    {
        received_[socket] += socket->readAll();
        if (!received_[socket].contains("\r\n\r\n"))
            return;
        const QByteArray request = received_.take(socket);
        ++requests;
        lastRequest = request;
        if (silent)
            return;
        const QString path = QString::fromLatin1(request.split(' ').value(1)).mid(1);
        const bool found = pictures.contains(path);
        const QByteArray body = pictures.value(path, "not here");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") + QByteArray("Content-Length: ")
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    // Before the server: the sockets it deletes as it goes tell their
    // disconnection, which forgets their requests here.
    QHash<QTcpSocket*, QByteArray> received_;
    QTcpServer server_;
};

// A loader on a cache folder of the test's own, its data folder another.
struct LoaderFixture {
    QTemporaryDir data;
    QTemporaryDir cache;
    int timeoutMs = 20000;
    std::unique_ptr<PictureLoader> loader;

    PictureLoader& Open()
    {
        loader = std::make_unique<PictureLoader>(PictureOptions{cache.path(), data.path(), timeoutMs});
        return *loader;
    }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(data.filePath(name)).path());
        WriteFileBytes(data.filePath(name), bytes);
    }

    // The state the thumbnail settles in, asking for it as a view does.
    State Settled(const QByteArray& url, QImage* thumbnail = nullptr, int timeoutMs = 10000)
    {
        QImage image;
        State state = loader->Thumbnail(url, TextEncoding::Utf8, &image);
        QElapsedTimer clock;
        clock.start();
        while (state == State::Loading && clock.elapsed() < timeoutMs) {
            QTest::qWait(5);
            state = loader->Thumbnail(url, TextEncoding::Utf8, &image);
        }
        if (thumbnail)
            *thumbnail = image;
        return state;
    }

    int ThumbnailsKept() const
    {
        int files = 0;
        for (const QFileInfo& folder : QDir(cache.filePath(QStringLiteral("thumbnails"))).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            files += int(QDir(folder.filePath()).entryList(QDir::Files).size());
        return files;
    }
};

} // namespace

class TestPictureLoader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The server is on this machine; no proxy stands between.
        qunsetenv("http_proxy");
        qunsetenv("HTTP_PROXY");
    }

    void readsWithinTheLimit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("expected");
        const QImage tall = Filled(600, 840, Qt::darkGreen);
        QTest::newRow("PNG made to fit") << Encoded(tall, "PNG") << QSize(256, 256) << QSize(182, 256);
        QTest::newRow("JPEG made to fit") << Encoded(tall, "JPEG") << QSize(256, 256) << QSize(182, 256);
        QTest::newRow("smaller than the box kept") << Encoded(Filled(40, 50, Qt::red), "PNG") << QSize(256, 256)
                                                 << QSize(40, 50);
        QTest::newRow("whole") << Encoded(tall, "JPEG") << QSize() << QSize(600, 840);
        QTest::newRow("bomb, 30000 square") << PngBomb(30000, 30000) << QSize(256, 256) << kNoImage;
        QTest::newRow("bomb, whole") << PngBomb(30000, 30000) << QSize() << kNoImage;
        QTest::newRow("bomb, just over the limit") << PngBomb(6000, 6000) << QSize(256, 256) << kNoImage;
        // JPEG is decoded smaller as it goes, never whole.
        QTest::newRow("JPEG bomb") << JpegBomb(30000, 20000) << QSize(256, 256) << QSize(256, 170);
        QTest::newRow("JPEG bomb, whole at an eighth") << JpegBomb(30000, 30000) << QSize() << QSize(3750, 3750);
        QTest::newRow("JPEG bomb, whole at a quarter") << JpegBomb(20000, 12000) << QSize() << QSize(5000, 3000);
        // A progressive JPEG is held whole however small it is decoded:
        // refused from its header.
        QTest::newRow("progressive JPEG made to fit") << ProgressiveJpeg(tall) << QSize(256, 256) << QSize(182, 256);
        QTest::newRow("progressive JPEG bomb") << ProgressiveJpegBomb(30000, 30000) << QSize(256, 256) << kNoImage;
        QTest::newRow("progressive JPEG bomb, whole") << ProgressiveJpegBomb(40000, 40000) << QSize() << kNoImage;
        QTest::newRow("progressive JPEG bomb, just over") << ProgressiveJpegBomb(8000, 6000) << QSize(256, 256)
                                                          << kNoImage;
        QTest::newRow("progressive JPEG, within") << ProgressiveJpegBomb(2400, 2400) << QSize(256, 256)
                                                       << QSize(256, 256);
        QTest::newRow("not a picture") << QByteArray("GIF89a but not really") << QSize(256, 256) << kNoImage;
        QTest::newRow("cut short") << Encoded(tall, "PNG").left(60) << QSize(256, 256) << kNoImage;
        QTest::newRow("empty") << QByteArray() << QSize(256, 256) << kNoImage;
    }

    void readsWithinTheLimit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, box);
        QFETCH(QSize, expected);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QImage image = ReadPicture(buffer, box);
        QCOMPARE(image.size(), expected);
    }

    void fewColoursKeepTheirColour_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("two colours") << QImage::Format_Mono;
        QTest::newRow("a palette") << QImage::Format_Indexed8;
        QTest::newRow("grey") << QImage::Format_Grayscale8;
    }

    void fewColoursKeepTheirColour()
    {
        QFETCH(QImage::Format, format);
        QImage picture(630, 880, format);
        const QColor ink = format == QImage::Format_Grayscale8 ? QColor(90, 90, 90) : QColor(0, 0, 128);
        if (format != QImage::Format_Grayscale8)
            picture.setColorTable({ink.rgb(), qRgb(255, 255, 255)});
        picture.fill(format == QImage::Format_Grayscale8 ? 90u : 0u);
        QByteArray bytes = Encoded(picture, "PNG");
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QImage thumbnail = ReadPicture(buffer, QSize(256, 256));
        QCOMPARE(thumbnail.size(), QSize(183, 256));
        QCOMPARE(thumbnail.pixelColor(90, 128), ink);
    }

    // The bombs cost no memory: neither the picture nor the decoder's
    // buffers are allocated, from a file as from memory.
    void bombsAllocateNothing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("bomb.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ProgressiveJpegBomb(30000, 30000));
        file.close();
        const long before = PeakResidentKb();
        QVERIFY(ReadPicture(path, QSize(256, 256)).isNull());
        QVERIFY(ReadPicture(path, QSize()).isNull());
        QByteArray bytes = ProgressiveJpegBomb(40000, 40000);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(ReadPicture(buffer, QSize(256, 256)).isNull());
        QVERIFY2(PeakResidentKb() - before < 64 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 KiB").arg(PeakResidentKb() - before)));
    }

    void bombHeaderIsReadable()
    {
        // The bomb is refused for its size, not for a fault in its making.
        QByteArray bytes = PngBomb(30000, 30000);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        QCOMPARE(reader.size(), QSize(30000, 30000));
    }

    void onlyRegularFilesAreRead()
    {
        QCOMPARE(ReadPicture(QDir::tempPath(), QSize(64, 64)).isNull(), true);
        QCOMPARE(ReadPicture(QStringLiteral("/dev/zero"), QSize(64, 64)).isNull(), true);
    }

    void localPictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("state");
        const QImage picture = Filled(300, 420, Qt::blue);
        const QByteArray png = Encoded(picture, "PNG");
        const QByteArray jpeg = Encoded(picture, "JPEG");
        const auto ready = int(State::Ready);
        const auto failed = int(State::Failed);
        QTest::newRow("relative PNG") << "cards/a.png" << png << "cards/a.png" << ready;
        QTest::newRow("relative JPEG, spaces around") << "b.jpg" << jpeg << "  b.jpg " << ready;
        QTest::newRow("absolute path") << "c.png" << png << "DATA/c.png" << ready;
        QTest::newRow("file URL") << "d e.png" << png << "file://DATA/d%20e.png" << ready;
        QTest::newRow("PNG named .jpg") << "f.jpg" << png << "f.jpg" << ready;
        QTest::newRow("missing file") << "g.png" << png << "nothing-here.png" << failed;
        QTest::newRow("broken file") << "h.png" << QByteArray("\x89PNG\r\n\x1a\n garbage", 17) << "h.png" << failed;
        QTest::newRow("bomb") << "i.png" << PngBomb(30000, 30000) << "i.png" << failed;
        QTest::newRow("a folder") << "j/k.png" << png << "j" << failed;
        QTest::newRow("blank") << "l.png" << png << "   " << int(State::NoPicture);
        QTest::newRow("another scheme") << "m.png" << png << "ftp://example.org/m.png" << int(State::NoPicture);
    }

    void localPictures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, url);
        QFETCH(int, state);
        LoaderFixture f;
        f.Write(file, bytes);
        f.Open();
        QImage thumbnail;
        QCOMPARE(int(f.Settled(url.replace(QStringLiteral("DATA"), f.data.path()).toUtf8(), &thumbnail)), state);
        if (state == int(State::Ready)) {
            QCOMPARE(thumbnail.size(), QSize(182, 256));
            const QColor middle = thumbnail.pixelColor(90, 128);
            QVERIFY(middle.blue() > 250 && middle.red() < 5 && middle.green() < 5);
        }
    }

    void failureIsRememberedAndSignalled()
    {
        LoaderFixture f;
        PictureLoader& loader = f.Open();
        QSignalSpy changed(&loader, &PictureLoader::ThumbnailChanged);
        QCOMPARE(f.Settled("gone.png"), State::Failed);
        QCOMPARE(changed.count(), 1);
        // Written since: this run of the loader does not look again.
        f.Write(QStringLiteral("gone.png"), Encoded(Filled(10, 10, Qt::red), "PNG"));
        QImage image;
        QCOMPARE(loader.Thumbnail("gone.png", TextEncoding::Utf8, &image), State::Failed);
        QCOMPARE(changed.count(), 1);
    }

    void cacheServesTheNextOpening()
    {
        LoaderFixture f;
        f.Write(QStringLiteral("card.png"), Encoded(Filled(300, 420, Qt::blue), "PNG"));
        f.Open();
        QCOMPARE(f.Settled("card.png"), State::Ready);
        QCOMPARE(f.ThumbnailsKept(), 1);
        // Mark the kept thumbnail: the next opening shows the mark, not the file.
        const QString kept = PictureCache(f.cache.path()).ThumbnailPath(QFileInfo(f.data.filePath(QStringLiteral("card.png"))));
        QVERIFY(QFile::exists(kept));
        QVERIFY(Filled(50, 70, Qt::red).save(kept, "PNG"));
        f.Open();
        QImage thumbnail;
        QCOMPARE(f.Settled("card.png", &thumbnail), State::Ready);
        QCOMPARE(thumbnail.pixelColor(25, 35), QColor(Qt::red));
    }

    void changedPictureIsMadeAgain()
    {
        LoaderFixture f;
        const QString file = f.data.filePath(QStringLiteral("card.png"));
        f.Write(QStringLiteral("card.png"), Encoded(Filled(300, 420, Qt::blue), "PNG"));
        f.Open();
        QCOMPARE(f.Settled("card.png"), State::Ready);
        f.Write(QStringLiteral("card.png"), Encoded(Filled(300, 420, Qt::green), "PNG"));
        // Given a later time whatever the clock's grain.
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        touched.close();
        f.Open();
        QImage thumbnail;
        QCOMPARE(f.Settled("card.png", &thumbnail), State::Ready);
        QCOMPARE(thumbnail.pixelColor(90, 128), QColor(Qt::green));
        QCOMPARE(f.ThumbnailsKept(), 2);
    }

    void unwritableCacheStillShows()
    {
        LoaderFixture f;
        f.Write(QStringLiteral("card.png"), Encoded(Filled(30, 42, Qt::blue), "PNG"));
        // The cache folder's place is taken by a file.
        f.Write(QStringLiteral("blocked"), "a file");
        f.loader = std::make_unique<PictureLoader>(
            PictureOptions{f.data.filePath(QStringLiteral("blocked")), f.data.path(), 20000});
        QCOMPARE(f.Settled("card.png"), State::Ready);
    }

    void webPictures()
    {
        PictureServer server;
        server.pictures.insert(QStringLiteral("card.png"), Encoded(Filled(300, 420, Qt::blue), "PNG"));
        server.pictures.insert(QStringLiteral("junk.png"), "not a picture");
        LoaderFixture f;
        f.Open();
        const QByteArray card = server.Url(QStringLiteral("card.png"));
        QImage thumbnail;
        QCOMPARE(f.Settled(card, &thumbnail), State::Ready);
        QCOMPARE(thumbnail.size(), QSize(182, 256));
        QCOMPARE(f.Settled(server.Url(QStringLiteral("missing.png"))), State::Failed);
        QCOMPARE(f.Settled(server.Url(QStringLiteral("junk.png"))), State::Failed);
        QCOMPARE(server.requests, 3);
        // A server is told who asks, as the card databases' terms want.
        QVERIFY(server.lastRequest.contains("\r\nUser-Agent: Quillmark/"));

        // The next opening needs no server.
        server.Close();
        f.Open();
        QCOMPARE(f.Settled(card), State::Ready);
        QCOMPARE(server.requests, 3);
        // And the whole picture is the one kept.
        QSignalSpy read(f.loader.get(), &PictureLoader::PictureRead);
        f.loader->ReadWholePicture(card, TextEncoding::Utf8);
        QVERIFY(read.wait(5000));
        QCOMPARE(read.first().at(1).value<QImage>().size(), QSize(300, 420));
    }

    void silentServerTimesOutFourAtATime()
    {
        PictureServer server;
        server.silent = true;
        LoaderFixture f;
        f.timeoutMs = 800;
        PictureLoader& loader = f.Open();
        QList<QByteArray> urls;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 6; ++i) {
            urls << server.Url(QStringLiteral("card-%1.png").arg(i));
            QImage image;
            QCOMPARE(loader.Thumbnail(urls.last(), TextEncoding::Utf8, &image), State::Loading);
        }
        // Four asked at once; the others wait for one of them to end.
        QTRY_COMPARE(server.requests, 4);
        QTest::qWait(300);
        QCOMPARE(server.requests, 4);
        for (const QByteArray& url : urls)
            QCOMPARE(f.Settled(url), State::Failed);
        QCOMPARE(server.requests, 6);
        // Two rounds of the timeout, and no more.
        QVERIFY2(clock.elapsed() >= 1400 && clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    }

    void wholePictureOfEachKind()
    {
        LoaderFixture f;
        f.Write(QStringLiteral("card.jpg"), Encoded(Filled(600, 840, Qt::blue), "JPEG"));
        f.Write(QStringLiteral("bomb.png"), PngBomb(30000, 30000));
        PictureLoader& loader = f.Open();
        QSignalSpy read(&loader, &PictureLoader::PictureRead);
        for (const QByteArray& url : {QByteArray("card.jpg"), QByteArray("bomb.png"), QByteArray(""), QByteArray("no.png")})
            loader.ReadWholePicture(url, TextEncoding::Utf8);
        QTRY_COMPARE(read.count(), 4);
        QHash<QByteArray, QSize> sizes;
        for (const QList<QVariant>& signal : read)
            sizes.insert(signal.at(0).toByteArray(), signal.at(1).value<QImage>().size());
        QCOMPARE(sizes.value("card.jpg"), QSize(600, 840));
        QCOMPARE(sizes.value("bomb.png"), kNoImage);
        QCOMPARE(sizes.value(""), kNoImage);
        QCOMPARE(sizes.value("no.png"), kNoImage);
    }
};

QTEST_MAIN(TestPictureLoader)
#include "test_picture_loader.moc"
