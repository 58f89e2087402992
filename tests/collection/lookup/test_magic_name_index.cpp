#include "collection/lookup/JsonArraySplitter.h"
#include "collection/lookup/LookupService.h"
#include "collection/lookup/MagicIndexDownload.h"
#include "collection/lookup/MagicNameIndex.h"
#include "support/ReplayServer.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray OracleCards(const QStringList& names)
{
    QJsonArray cards;
    for (const QString& name : names) {
        cards.append(QJsonObject{{"object", "card"}, {"id", "x"}, {"name", name}, {"layout", "normal"},
                                 {"card_faces", QJsonArray{QJsonObject{{"name", "[not] {this}"}}}}});
    }
    return QJsonDocument(cards).toJson();
}

QByteArray BulkList(const QString& oracleCards)
{
    const QJsonArray files{
        QJsonObject{{"object", "bulk_data"}, {"type", "default_cards"}, {"download_uri", "http://127.0.0.1:1/x.json"}},
        QJsonObject{{"object", "bulk_data"}, {"type", "oracle_cards"}, {"download_uri", oracleCards}}};
    return QJsonDocument(QJsonObject{{"object", "list"}, {"has_more", false}, {"data", files}}).toJson();
}

const QStringList kNames{"Lightning Bolt", "Lightning Helix", "Chain Lightning", "Lightmine Field",
                         "Bolt of \"Keranos\"", "\u00c6ther Vial", "Lightning Bolt"};

bool Build(const QByteArray& json, const QString& target, QString& reason, int* names = nullptr)
{
    QBuffer buffer;
    buffer.setData(json);
    buffer.open(QIODevice::ReadOnly);
    return MagicNameIndex::Build(buffer, target, reason, names);
}

} // namespace

class TestMagicNameIndex : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!MagicNameIndex::Available())
            QSKIP("Qt's SQLite driver is not installed");
    }

    // However the text is cut, each element comes whole, brackets and
    // commas inside strings included.
    void splitsInAnyPieces()
    {
        const QByteArray json = " [ {\"a\": \"x,]}\\\"y\"}, [1, [2]] ,\"s\" , 3 ] ";
        for (const int size : {1, 2, 7, 1000}) {
            QList<QByteArray> elements;
            JsonArraySplitter splitter([&elements](const QByteArray& element) {
                elements << element;
                return true;
            });
            for (qsizetype at = 0; at < json.size(); at += size)
                QVERIFY(splitter.Feed(json.mid(at, size)));
            QVERIFY(splitter.Finish());
            QCOMPARE(elements, (QList<QByteArray>{"{\"a\": \"x,]}\\\"y\"}", "[1, [2]]", "\"s\"", "3"}));
        }
        for (const QByteArray& broken : {QByteArray("{\"object\": \"list\"}"), QByteArray("[{\"a\": 1}"),
                                         QByteArray("[1] 2"), QByteArray("[1}]"), QByteArray()}) {
            JsonArraySplitter splitter([](const QByteArray&) { return true; });
            QVERIFY2(!(splitter.Feed(broken) && splitter.Finish()), broken.constData());
            QVERIFY(!splitter.Fault().isEmpty());
        }
    }

    void completesWordsAsTyped()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("names.sqlite"));
        QString reason;
        int names = 0;
        QVERIFY2(Build(OracleCards(kNames), path, reason, &names), qPrintable(reason));
        QCOMPARE(names, 6);

        const MagicNameIndex index(path);
        QVERIFY(index.IsOpen());
        // Names that begin with the text first, then the shorter.
        QCOMPARE(index.Complete(QStringLiteral("light")),
                 (QStringList{"Lightning Bolt", "Lightmine Field", "Lightning Helix", "Chain Lightning"}));
        QCOMPARE(index.Complete(QStringLiteral("lightning b")), QStringList{"Lightning Bolt"});
        QCOMPARE(index.Complete(QStringLiteral("bolt")), (QStringList{"Bolt of \"Keranos\"", "Lightning Bolt"}));
        QCOMPARE(index.Complete(QStringLiteral("light"), 2), (QStringList{"Lightning Bolt", "Lightmine Field"}));
        QCOMPARE(index.Complete(QStringLiteral("\u00e6ther")), QStringList{"\u00c6ther Vial"});
        // Text that means something to the index's own syntax is just text.
        QCOMPARE(index.Complete(QStringLiteral("\"keranos")), QStringList{"Bolt of \"Keranos\""});
        QCOMPARE(index.Complete(QStringLiteral("bolt OR helix NEAR(")), QStringList());
        QCOMPARE(index.Complete(QStringLiteral(" - ")), QStringList());
        QVERIFY(!MagicNameIndex(folder.filePath(QStringLiteral("none.sqlite"))).IsOpen());
    }

    // A file that is not the list of cards leaves the index there as it was.
    void badFileKeepsTheIndex()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("names.sqlite"));
        QString reason;
        QVERIFY(Build(OracleCards({QStringLiteral("Opt")}), path, reason));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        for (const QByteArray& bad : {QByteArray("{\"object\": \"error\"}"), QByteArray("[{\"name\": \"Shock\"}, {\"id\": 1}]"),
                                      OracleCards({QStringLiteral("Shock")}).trimmed().chopped(1)}) {
            reason.clear();
            QVERIFY(!Build(bad, path, reason));
            QVERIFY(!reason.isEmpty());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
            file.close();
        }
        // Stopped, as a download cancelled while its index is built is.
        QBuffer buffer;
        buffer.setData(OracleCards({QStringLiteral("Shock")}));
        buffer.open(QIODevice::ReadOnly);
        const std::atomic<bool> stop = true;
        QVERIFY(!MagicNameIndex::Build(buffer, path, reason, nullptr, &stop));
        QCOMPARE(MagicNameIndex(path).Complete(QStringLiteral("o")), QStringList{"Opt"});
    }

    void downloadedFromTheBulkList()
    {
        ReplayServer server;
        server.Script("/scryfall/bulk-data", BulkList(server.Base() + QStringLiteral("/files/oracle.json")));
        ReplayServer::Reply file;
        file.body = OracleCards(kNames);
        server.Script("/files/oracle.json", file);
        LookupService service{CardSources(server.Base())};
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("names.sqlite"));

        MagicIndexDownload download(service, path);
        QSignalSpy finished(&download, &MagicIndexDownload::Finished);
        download.Start();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished[0][0].toString(), QString());
        QCOMPARE(finished[0][1].toInt(), 6);
        QCOMPARE(MagicNameIndex(path).Complete(QStringLiteral("chain")), QStringList{"Chain Lightning"});
        QCOMPARE(server.Count("/files/oracle.json"), 1);
        QCOMPARE(server.Requests().last().headers.value("user-agent"), "Quillmark/" QUILLMARK_VERSION);
    }

    // A list without the oracle cards, or naming a file that is not on the
    // web, gives a message and asks nothing more.
    void bulkListWithoutTheFile()
    {
        ReplayServer server;
        server.Script("/scryfall/bulk-data", BulkList(QStringLiteral("file:///etc/passwd")));
        LookupService service{CardSources(server.Base())};
        QTemporaryDir folder;
        MagicIndexDownload download(service, folder.filePath(QStringLiteral("names.sqlite")));
        QSignalSpy finished(&download, &MagicIndexDownload::Finished);
        download.Start();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished[0][0].toString(), QStringLiteral("Scryfall lists no file of its cards to download."));
        QCOMPARE(server.Requests().size(), 1);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("names.sqlite"))));
    }
};

QTEST_GUILESS_MAIN(TestMagicNameIndex)
#include "test_magic_name_index.moc"
