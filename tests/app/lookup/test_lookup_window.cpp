#include "app/lookup/LookupDialog.h"
#include "collection/lookup/CardSources.h"
#include "collection/lookup/LookupService.h"
#include "collection/lookup/MagicNameIndex.h"
#include "support/ReplayServer.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QAbstractItemModel>
#include <QBuffer>
#include <QCompleter>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A Scryfall card whose picture is served by the test's own server.
QByteArray ScryfallCard(const QString& base)
{
    return QStringLiteral(R"({"object": "card", "id": "0a1b2c3d-0000-4000-8000-000000000096", "lang": "en",
        "name": "Kitesail Freebooter", "released_at": "2017-09-29", "set": "xln", "set_name": "Ixalan",
        "collector_number": "96", "finishes": ["nonfoil", "foil"],
        "image_uris": {"normal": "%1/pictures/96.png"}})")
        .arg(base)
        .toUtf8();
}

QByteArray Png()
{
    QImage image(4, 6, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Answers the dialog as a collector would: waits for the list to fill, then
// takes the first match, or cancels when none came.
bool ChooseFirst(QDialog& dialog)
{
    auto& lookup = static_cast<LookupDialog&>(dialog);
    if (!QTest::qWaitFor([&lookup] { return !lookup.Searching(); }, 10000) || lookup.MatchCount() == 0)
        return false;
    dialog.accept();
    return true;
}

} // namespace

class TestLookupWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The window's lookups go to this server for the whole process.
        qputenv("QUILLMARK_CARD_SOURCES", server_.Base().toUtf8());
        server_.Script("/scryfall/cards/xln/96", ScryfallCard(server_.Base()));
        server_.Script("/pictures/96.png", {200, Png(), {{"Content-Type", "image/png"}}});
        server_.Script("/scryfall/cards/zzz/999",
                       R"({"object": "error", "code": "not_found", "status": 404, "details": "No card found."})", 404);
    }

    // Choosing a match fills Name, Series, Year and the printing details,
    // and, once stored in the collection folder, the picture; what the
    // collector typed in Condition, Price, Quantity and Description stays.
    // The details reach the file with the Card.
    void fillsTheHeldCard()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("xln 96"));
        f.Type("conditionBox", QStringLiteral("Near Mint"));
        f.Type("priceEdit", QStringLiteral("$2.00"));
        f.Type("quantityEdit", QStringLiteral("3"));
        f.Type("descriptionEdit", QStringLiteral("from the prerelease"));
        f.questions.dialogScript = ChooseFirst;
        Action(window, "lookupAction")->trigger();

        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Kitesail Freebooter"));
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("Ixalan"));
        QCOMPARE(f.Field("yearEdit")->text(), QStringLiteral("2017"));
        QCOMPARE(f.Field("conditionBox")->text(), QStringLiteral("Near Mint"));
        QCOMPARE(f.Field("priceEdit")->text(), QStringLiteral("$2.00"));
        QCOMPARE(f.Field("quantityEdit")->text(), QStringLiteral("3"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral("from the prerelease"));
        QCOMPARE(window.HeldCard()[SetCodeField], std::string("xln"));
        QCOMPARE(window.HeldCard()[NumberField], std::string("96"));
        QCOMPARE(window.HeldCard()[GameField], std::string("magic"));
        QCOMPARE(window.HeldCard()[PrintField], std::string("scryfall:0a1b2c3d-0000-4000-8000-000000000096"));
        QTRY_VERIFY(f.Field("urlEdit")->text().startsWith(QStringLiteral("pictures/")));
        QVERIFY(f.folder.Exists(f.Field("urlEdit")->text()));
        QCOMPARE(server_.Count("/pictures/96.png"), 1);

        f.Click("addButton");
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.dat");
        QVERIFY2(saved.contains("NAME=Kitesail Freebooter\r\n") && saved.contains("\r\nSETCODE=xln\r\n")
                     && saved.contains("\r\nNUMBER=96\r\n"),
                 saved.constData());
        QVERIFY(f.messages.shown.isEmpty());
    }

    // Nothing found: the dialog says why, and the fields stay as typed.
    void nothingFound()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("zzz 999"));
        QString said;
        f.questions.dialogScript = [&said](QDialog& dialog) {
            const bool chosen = ChooseFirst(dialog);
            said = dialog.findChild<QLabel*>(QStringLiteral("lookupStatus"))->text();
            return chosen;
        };
        Action(window, "lookupAction")->trigger();
        QVERIFY2(!said.isEmpty(), "the dialog said nothing");
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("zzz 999"));
        QVERIFY(window.HeldCard()[PrintField].empty());
    }

    // With the name index on this machine, the search box offers the names
    // whose words begin as the typed ones do, from the index alone.
    void completesFromTheIndex()
    {
        QTemporaryDir folder;
        QByteArray cards = R"([{"name": "Lightning Bolt"}, {"name": "Lightning Helix"}, {"name": "Bolt Bend"}])";
        QBuffer file(&cards);
        file.open(QIODevice::ReadOnly);
        QString reason;
        const QString path = folder.filePath(QStringLiteral("names.sqlite"));
        QVERIFY2(MagicNameIndex::Build(file, path, reason), qPrintable(reason));
        MagicNameIndex index(path);
        LookupService service{CardSources(server_.Base())};
        LookupDialog dialog(service, QString(), CardGame::Any, &index);
        auto* query = dialog.findChild<QLineEdit*>(QStringLiteral("lookupQuery"));
        QTest::keyClicks(query, QStringLiteral("lightning b"));
        QAbstractItemModel* offered = query->completer()->model();
        QCOMPARE(offered->rowCount(), 1);
        QCOMPARE(offered->index(0, 0).data().toString(), QStringLiteral("Lightning Bolt"));
        const int asked = int(server_.Requests().size());
        QTest::keyClick(query, Qt::Key_Backspace);
        QCOMPARE(offered->rowCount(), 2);
        QCOMPARE(int(server_.Requests().size()), asked);
    }

private:
    ReplayServer server_;
};

QTEST_MAIN(TestLookupWindow)
#include "test_lookup_window.moc"
