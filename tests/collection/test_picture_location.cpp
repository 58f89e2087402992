#include "collection/PictureLocation.h"

#include <QTest>

using Kind = PictureLocation::Kind;
Q_DECLARE_METATYPE(PictureLocation::Kind)

class TestPictureLocation : public QObject {
    Q_OBJECT

private slots:
    void locates_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("where");
        QTest::newRow("relative") << QByteArray("cards/a.jpg") << Kind::File << "/data/cards/a.jpg";
        QTest::newRow("relative, up a folder") << QByteArray("../pics/./a.jpg") << Kind::File << "/pics/a.jpg";
        QTest::newRow("relative, spaces around") << QByteArray(" \ta b.png \r") << Kind::File << "/data/a b.png";
        QTest::newRow("relative, kept as typed") << QByteArray("a%20b.png") << Kind::File << "/data/a%20b.png";
        QTest::newRow("relative, a colon inside") << QByteArray("set 2: a.png") << Kind::File << "/data/set 2: a.png";
        QTest::newRow("relative, UTF-8") << QByteArray("Pokémon.png") << Kind::File << "/data/Pokémon.png";
        QTest::newRow("drive letter is no scheme") << QByteArray("C:/cards/a.png") << Kind::File << "/data/C:/cards/a.png";
        QTest::newRow("absolute") << QByteArray("/srv/cards/a.png") << Kind::File << "/srv/cards/a.png";
        QTest::newRow("file URL") << QByteArray("file:///srv/a%20b.png") << Kind::File << "/srv/a b.png";
        QTest::newRow("file URL, localhost") << QByteArray("file://localhost/srv/a.png") << Kind::File << "/srv/a.png";
        QTest::newRow("file URL, upper case") << QByteArray("FILE:///srv/a.png") << Kind::File << "/srv/a.png";
        QTest::newRow("file URL, another machine") << QByteArray("file://server/a.png") << Kind::None << "";
        QTest::newRow("http") << QByteArray("http://img.example/a.jpg") << Kind::Web << "http://img.example/a.jpg";
        QTest::newRow("https, query") << QByteArray("HTTPS://img.example/a?id=3") << Kind::Web
                                      << "https://img.example/a?id=3";
        QTest::newRow("https, space in path") << QByteArray("https://img.example/a b.jpg") << Kind::Web
                                              << "https://img.example/a%20b.jpg";
        QTest::newRow("http without a host") << QByteArray("http:///a.jpg") << Kind::None << "";
        QTest::newRow("another scheme") << QByteArray("ftp://img.example/a.jpg") << Kind::None << "";
        QTest::newRow("data URL") << QByteArray("data:image/png;base64,iVBO") << Kind::None << "";
        QTest::newRow("blank") << QByteArray("  ") << Kind::None << "";
        QTest::newRow("empty") << QByteArray() << Kind::None << "";
    }

    void locates()
    {
        QFETCH(QByteArray, url);
        QFETCH(Kind, kind);
        QFETCH(QString, where);
        const PictureLocation location = LocatePicture(std::string_view(url.constData(), std::size_t(url.size())),
                                                       QStringLiteral("/data"));
        QCOMPARE(location.kind, kind);
        if (kind == Kind::File)
            QCOMPARE(location.path, where);
        if (kind == Kind::Web)
            QCOMPARE(location.url.toString(QUrl::FullyEncoded), where);
    }
};

QTEST_APPLESS_MAIN(TestPictureLocation)
#include "test_picture_location.moc"
