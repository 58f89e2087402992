#include "app/lookup/LookupDialog.h"
#include "app/lookup/MatchThumbnails.h"
#include "collection/lookup/CardSources.h"
#include "collection/lookup/LookupService.h"
#include "support/ReplayServer.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

// A Scryfall search for "bolt" answered with one card for each picture
// address; a path is served by the test's own server.
void ScriptBolts(ReplayServer& server, const QStringList& pictures)
{
    QStringList cards;
    for (int k = 0; k < pictures.size(); ++k)
        cards << QStringLiteral(R"({"object": "card", "id": "bolt-%1", "name": "Lightning Bolt", "set": "m11",
            "collector_number": "%1", "image_uris": {"normal": "%2"}})")
                     .arg(k)
                     .arg(pictures[k].startsWith(QLatin1Char('/')) ? server.Base() + pictures[k] : pictures[k]);
    server.Script("/scryfall/cards/search?q=bolt&unique=prints",
                  QStringLiteral(R"({"object": "list", "data": [%1]})").arg(cards.join(QLatin1Char(','))).toUtf8());
}

ReplayServer::Reply Png(int delayMs = 0)
{
    QImage image(5, 7, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {200, bytes, {{"Content-Type", "image/png"}}, delayMs};
}

bool HasIcon(LookupDialog& dialog, int row)
{
    const QTreeWidgetItem* item = dialog.findChild<QTreeWidget*>(QStringLiteral("lookupMatches"))->topLevelItem(row);
    return item != nullptr && !item->icon(0).isNull();
}

} // namespace

class TestLookupThumbnails : public QObject {
    Q_OBJECT

private slots:
    // One address shared by two matches is fetched once, and not again by a
    // second lookup in the dialog; a picture the source lacks, or one on
    // this machine, leaves its row without and says nothing.
    void thumbnailsOfTheMatches()
    {
        ReplayServer server;
        ScriptBolts(server, {"/a.png", "/a.png", "/b.png", "/gone.png", "file:///etc/hostname"});
        server.Script("/a.png", Png());
        server.Script("/b.png", Png());
        LookupService service{CardSources(server.Base())};
        LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
        dialog.show();
        for (int search = 0; search < 2; ++search) {
            if (search == 1)
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("lookupSearch")), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 0) && HasIcon(dialog, 1) && HasIcon(dialog, 2), 10000);
            QTRY_VERIFY(server.Count("/gone.png") == 1 && service.Outstanding() == 0);
            QVERIFY(!HasIcon(dialog, 3) && !HasIcon(dialog, 4));
        }
        QCOMPARE(server.Count("/a.png"), 1);
        QCOMPARE(server.Count("/b.png"), 1);
        QCOMPARE(server.Count("/gone.png"), 1);
        for (const ReplayServer::Request& request : server.Requests())
            QVERIFY(request.headers.value("user-agent").startsWith("Quillmark/"));
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(qobject_cast<QMessageBox*>(widget) == nullptr);
    }

    // A long answer asks only for the rows in sight, a few at a time (a turn
    // booked at the source's pace counts as asked); the rest come as they are
    // scrolled to.
    void longAnswerAsksAsScrolled()
    {
        ReplayServer server;
        QStringList pictures;
        for (int k = 0; k < 100; ++k) {
            pictures << QStringLiteral("/p/%1.png").arg(k);
            server.Script(pictures.last().toUtf8(), Png(30));
        }
        ScriptBolts(server, pictures);
        LookupService service{CardSources(server.Base())};
        LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
        dialog.resize(640, 600);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Searching(), 10000);
        int mostAtOnce = 0;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this, [&] { mostAtOnce = std::max(mostAtOnce, service.Outstanding()); });
        sampler.start(1);
        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 0) && service.Outstanding() == 0, 10000);
        const int asked = server.Count("/p/");
        QVERIFY2(asked < 20 && mostAtOnce <= MatchThumbnails::kMaxRunning && mostAtOnce < asked,
                 qPrintable(QStringLiteral("%1 asked, %2 at once").arg(asked).arg(mostAtOnce)));
        QVERIFY(!HasIcon(dialog, 99));
        dialog.findChild<QTreeWidget*>(QStringLiteral("lookupMatches"))->scrollToBottom();
        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 99), 10000);
    }

    // Closing the dialog, a new lookup, or destroying the dialog lets go of
    // every picture still asked for; nothing reaches a dialog that is gone.
    void picturesLetGo()
    {
        ReplayServer server;
        ReplayServer::Reply endless{200, {}, {{"Content-Type", "image/png"}}};
        endless.endless = true;
        server.Script("/0.png", endless);
        server.Script("/1.png", endless);
        ScriptBolts(server, {"/0.png", "/1.png"});
        LookupService service{CardSources(server.Base())};
        for (int way = 0; way < 3; ++way) {
            auto dialog = std::make_unique<LookupDialog>(service, QStringLiteral("bolt"), CardGame::Magic);
            dialog->show();
            QTRY_VERIFY_WITH_TIMEOUT(service.Outstanding() > 0 && !dialog->Searching(), 10000);
            if (way == 0) {
                dialog->reject();
            } else if (way == 1) {
                dialog->findChild<QLineEdit*>(QStringLiteral("lookupQuery"))->clear();
                dialog->Search();
            } else {
                dialog.reset();
            }
            QCOMPARE(service.Outstanding(), 0);
            QTest::qWait(100);
        }
    }
};

QTEST_MAIN(TestLookupThumbnails)
#include "test_lookup_thumbnails.moc"
