#include "collection/lookup/MatchPictures.h"
#include "support/ReplayServer.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kJpeg = QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11) + QByteArray(64, 'x');

CardMatch Match(const std::string& print, const QString& picture)
{
    CardMatch match;
    match.print = print;
    match.picture = picture.toStdString();
    return match;
}

QStringList Everything(const QString& folder)
{
    QStringList names;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        names << info.fileName();
        if (info.isDir())
            for (const QString& inner : Everything(info.filePath()))
                names << info.fileName() + QLatin1Char('/') + inner;
    }
    return names;
}

} // namespace

class TestMatchPictures : public QObject {
    Q_OBJECT

private slots:
    // A print's picture is fetched once, into pictures/ under a name that
    // cannot lead out of it.
    void storedOnceInsideTheFolder()
    {
        ReplayServer server;
        ReplayServer::Reply picture;
        picture.body = kJpeg;
        server.Script("/normal/96", picture);
        QTemporaryDir folder;
        const CardMatch match = Match("scryfall:../../x/..\\y 1", server.Base() + QStringLiteral("/normal/96"));
        const QString expected = QStringLiteral("pictures/scryfall_______x____y_1.jpg");

        MatchPictures pictures(folder.path());
        QSignalSpy stored(&pictures, &MatchPictures::Stored);
        QVERIFY(pictures.StoredPath(match).isEmpty());
        pictures.Store(match);
        pictures.Store(match);
        QVERIFY(stored.wait(5000));
        QCOMPARE(stored[0][0].toString(), QString::fromStdString(match.print));
        QCOMPARE(stored[0][1].toString(), expected);
        QCOMPARE(Everything(folder.path()), (QStringList{"pictures", "pictures/scryfall_______x____y_1.jpg"}));
        QFile file(QDir(folder.path()).filePath(expected));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kJpeg);

        // Asked again, here or by another store of the same folder, it is
        // not fetched again.
        MatchPictures later(folder.path());
        QSignalSpy storedLater(&later, &MatchPictures::Stored);
        QCOMPARE(later.StoredPath(match), expected);
        later.Store(match);
        QVERIFY(storedLater.wait(5000));
        QCOMPARE(storedLater[0][1].toString(), expected);
        QTest::qWait(50);
        QCOMPARE(server.Requests().size(), 1);
        QCOMPARE(stored.size(), 1);
    }

    // What is not a picture, or not on the web, is never stored.
    void refused()
    {
        ReplayServer server;
        server.Script("/page", "<html>not found</html>");
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        QFile secret(QDir(elsewhere.path()).filePath(QStringLiteral("secret.png")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("\x89PNG\r\n\x1a\n");
        secret.close();

        MatchPictures pictures(folder.path());
        QSignalSpy failed(&pictures, &MatchPictures::Failed);
        pictures.Store(Match("tcgdex:swsh3-136", server.Base() + QStringLiteral("/page")));
        pictures.Store(Match("tcgdex:swsh3-137", QUrl::fromLocalFile(secret.fileName()).toString()));
        pictures.Store(Match("tcgdex:swsh3-138", QString()));
        QVERIFY(QTest::qWaitFor([&] { return failed.size() == 3; }, 5000));
        QStringList reasons;
        for (const QList<QVariant>& failure : failed)
            reasons << failure[0].toString() + QLatin1Char(' ') + failure[1].toString();
        reasons.sort();
        QCOMPARE(reasons, (QStringList{"tcgdex:swsh3-136 What the card database sent is not a picture.",
                                       "tcgdex:swsh3-137 The card database has no picture of this card.",
                                       "tcgdex:swsh3-138 The card database has no picture of this card."}));
        QVERIFY(!QDir(folder.path()).exists(QStringLiteral("pictures/tcgdex_swsh3-136.jpg")));
        QVERIFY(Everything(folder.path()).filter(QStringLiteral(".")).isEmpty());
    }

    void kinds()
    {
        QCOMPARE(PictureKind(kJpeg), QStringLiteral("jpg"));
        QCOMPARE(PictureKind(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)), QStringLiteral("png"));
        QCOMPARE(PictureKind("GIF89a..."), QStringLiteral("gif"));
        QCOMPARE(PictureKind(QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16)), QStringLiteral("webp"));
        QCOMPARE(PictureKind(QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16)), QString());
        QCOMPARE(PictureKind("<svg/>"), QString());
        QCOMPARE(PictureFileStem(std::string(300, 'a')).size(), 100);
    }
};

QTEST_GUILESS_MAIN(TestMatchPictures)
#include "test_match_pictures.moc"
