#include "collection/pictures/PictureLocation.h"

#include <QTest>

using Kind = PictureLocation::Kind;
Q_DECLARE_METATYPE(PictureLocation::Kind)
Q_DECLARE_METATYPE(TextEncoding)

class TestPictureLocation : public QObject {
    Q_OBJECT

private slots:
    void locates_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("where");
        const auto row = [](const char* tag, const QByteArray& url, Kind kind, const QString& where,
                            TextEncoding encoding = TextEncoding::Utf8) {
            QTest::newRow(tag) << url << encoding << kind << where;
        };
        row("relative", QByteArray("cards/a.jpg"), Kind::File, QStringLiteral("/data/cards/a.jpg"));
        row("relative, up a folder", QByteArray("../pics/./a.jpg"), Kind::File, QStringLiteral("/pics/a.jpg"));
        row("relative, spaces around", QByteArray(" \ta b.png \r"), Kind::File, QStringLiteral("/data/a b.png"));
        row("relative, kept as typed", QByteArray("a%20b.png"), Kind::File, QStringLiteral("/data/a%20b.png"));
        row("relative, a colon inside", QByteArray("set 2: a.png"), Kind::File, QStringLiteral("/data/set 2: a.png"));
        row("relative, UTF-8", QByteArray("Pokémon.png"), Kind::File, QStringLiteral("/data/Pokémon.png"));
        row("drive letter is no scheme", QByteArray("C:/cards/a.png"), Kind::File, QStringLiteral("/data/C:/cards/a.png"));
        row("absolute", QByteArray("/srv/cards/a.png"), Kind::File, QStringLiteral("/srv/cards/a.png"));
        row("file URL", QByteArray("file:///srv/a%20b.png"), Kind::File, QStringLiteral("/srv/a b.png"));
        row("file URL, localhost", QByteArray("file://localhost/srv/a.png"), Kind::File, QStringLiteral("/srv/a.png"));
        row("file URL, upper case", QByteArray("FILE:///srv/a.png"), Kind::File, QStringLiteral("/srv/a.png"));
        row("file URL, another machine", QByteArray("file://server/a.png"), Kind::None, QString());
        row("http", QByteArray("http://img.example/a.jpg"), Kind::Web, QStringLiteral("http://img.example/a.jpg"));
        row("https, query", QByteArray("HTTPS://img.example/a?id=3"), Kind::Web, QStringLiteral("https://img.example/a?id=3"));
        row("https, space in path", QByteArray("https://img.example/a b.jpg"), Kind::Web, QStringLiteral("https://img.example/a%20b.jpg"));
        row("http without a host", QByteArray("http:///a.jpg"), Kind::None, QString());
        row("another scheme", QByteArray("ftp://img.example/a.jpg"), Kind::None, QString());
        row("data URL", QByteArray("data:image/png;base64,iVBO"), Kind::None, QString());
        row("blank", QByteArray("  "), Kind::None, QString());
        row("empty", QByteArray(), Kind::None, QString());
        // A collection kept in Windows-1252 names its pictures in its letters.
        row("Windows-1252 path", QByteArray("caf\xe9.png"), Kind::File, QStringLiteral("/data/café.png"), TextEncoding::Windows1252);
        row("Windows-1252 address", QByteArray("http://img.example/caf\xe9.jpg"), Kind::Web, QStringLiteral("http://img.example/caf%C3%A9.jpg"), TextEncoding::Windows1252);
        row("UTF-8 address", QByteArray("http://img.example/café.jpg"), Kind::Web, QStringLiteral("http://img.example/caf%C3%A9.jpg"));
    }

    void locates()
    {
        QFETCH(QByteArray, url);
        QFETCH(Kind, kind);
        QFETCH(QString, where);
        QFETCH(TextEncoding, encoding);
        const PictureLocation location = LocatePicture(std::string_view(url.constData(), std::size_t(url.size())),
                                                       encoding, QStringLiteral("/data"));
        QCOMPARE(location.kind, kind);
        if (kind == Kind::File)
            QCOMPARE(location.path, where);
        if (kind == Kind::Web)
            QCOMPARE(location.url.toString(QUrl::FullyEncoded), where);
    }
};

QTEST_APPLESS_MAIN(TestPictureLocation)
#include "test_picture_location.moc"
