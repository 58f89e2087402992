#include "app/lookup/LookupDialog.h"
#include "app/lookup/MatchThumbnails.h"
#include "collection/lookup/CardSources.h"
#include "collection/lookup/LookupService.h"
#include "resources/StringTable.h"
#include "support/ReplayServer.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace {

// A Scryfall search answer of one card for each picture path, served by the
// test's own server.
QByteArray ScryfallList(const QString& base, const QStringList& pictures)
{
    QStringList cards;
    for (int k = 0; k < pictures.size(); ++k) {
        cards << QStringLiteral(R"({"object": "card", "id": "00000000-0000-4000-8000-%1", "lang": "en",
            "name": "Lightning Bolt", "released_at": "2010-07-16", "set": "m11", "set_name": "Magic 2011",
            "collector_number": "%2", "finishes": ["nonfoil"], "image_uris": {"normal": "%3%4"}})")
                     .arg(k, 12, 10, QLatin1Char('0'))
                     .arg(k + 1)
                     .arg(base, pictures[k]);
    }
    return QStringLiteral(R"({"object": "list", "has_more": false, "data": [%1]})")
        .arg(cards.join(QLatin1Char(',')))
        .toUtf8();
}

QByteArray Png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

ReplayServer::Reply Picture(int delayMs = 0)
{
    ReplayServer::Reply reply{200, Png(5, 7), {{"Content-Type", "image/png"}}};
    reply.delayMs = delayMs;
    return reply;
}

QTreeWidget* Matches(LookupDialog& dialog)
{
    return dialog.findChild<QTreeWidget*>(QStringLiteral("lookupMatches"));
}

bool HasIcon(LookupDialog& dialog, int row)
{
    const QTreeWidgetItem* item = Matches(dialog)->topLevelItem(row);
    return item != nullptr && !item->icon(0).isNull();
}

bool AnyMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(widget) != nullptr)
            return true;
    }
    return false;
}

} // namespace

class TestLookupThumbnails : public QObject {
    Q_OBJECT

private slots:
    // Each match in sight gets its picture, made small; one address shared
    // by two matches is fetched once, and again not at all by a second
    // lookup in the same dialog. A picture the source does not have leaves
    // its row without, and says nothing.
    void thumbnailsOfTheMatches()
    {
        ReplayServer server;
        server.Script("/scryfall/cards/search?q=bolt&unique=prints",
                      ScryfallList(server.Base(), {"/pictures/a.png", "/pictures/a.png", "/pictures/b.png",
                                                   "/pictures/gone.png"}));
        server.Script("/pictures/a.png", Picture());
        server.Script("/pictures/b.png", Picture());
        server.Script("/pictures/gone.png", "not found", 404);
        LookupService service{CardSources(server.Base())};
        LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
        dialog.show();

        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 0) && HasIcon(dialog, 1) && HasIcon(dialog, 2), 10000);
        QTRY_COMPARE(service.Outstanding(), 0);
        QTRY_COMPARE(server.Count("/pictures/gone.png"), 1);
        QVERIFY(!HasIcon(dialog, 3));
        const QSize shown = Matches(dialog)->topLevelItem(0)->icon(0).availableSizes().value(0);
        QCOMPARE(shown.height(), qRound(MatchThumbnails::kHeight * dialog.devicePixelRatioF()));
        QCOMPARE(server.Count("/pictures/a.png"), 1);
        QCOMPARE(server.Count("/pictures/b.png"), 1);
        for (const ReplayServer::Request& request : server.Requests())
            QVERIFY(request.headers.value("user-agent").startsWith("Quillmark/"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lookupStatus"))->text(),
                 QString::fromUtf8(Text::LookupFound).arg(4));
        QVERIFY(!AnyMessageBox());

        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("lookupSearch")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 0) && HasIcon(dialog, 1) && HasIcon(dialog, 2), 10000);
        QTest::qWait(200);
        QVERIFY(!HasIcon(dialog, 3));
        QCOMPARE(server.Count("/pictures/"), 3);
    }

    // A long answer asks only for the rows in sight, a few at a time; the
    // rest come as they are scrolled to.
    void longAnswerAsksAsScrolled()
    {
        ReplayServer server;
        QStringList pictures;
        for (int k = 0; k < 100; ++k) {
            pictures << QStringLiteral("/pictures/%1.png").arg(k);
            server.Script(pictures.last().toUtf8(), Picture(30));
        }
        server.Script("/scryfall/cards/search?q=bolt&unique=prints", ScryfallList(server.Base(), pictures));
        LookupService service{CardSources(server.Base())};
        LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
        dialog.resize(640, 600);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Searching(), 10000);
        QCOMPARE(dialog.MatchCount(), 100);

        // Counted from the service's side: a turn booked at the source's pace
        // is asked for as much as one sent.
        int mostAtOnce = 0;
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, this,
                [&] { mostAtOnce = std::max(mostAtOnce, service.Outstanding()); });
        sampler.start(1);
        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 0) && service.Outstanding() == 0, 10000);
        sampler.stop();
        const int asked = server.Count("/pictures/");
        QVERIFY2(asked < 20, qPrintable(QString::number(asked)));
        QVERIFY2(mostAtOnce <= MatchThumbnails::kMaxRunning && mostAtOnce < asked,
                 qPrintable(QString::number(mostAtOnce)));
        QVERIFY(!HasIcon(dialog, 99));

        Matches(dialog)->scrollToBottom();
        QTRY_VERIFY_WITH_TIMEOUT(HasIcon(dialog, 99), 10000);
        QTRY_COMPARE(service.Outstanding(), 0);
        QVERIFY2(server.Count("/pictures/") < 40, qPrintable(QString::number(server.Count("/pictures/"))));
    }

    // Closing the dialog, starting another lookup or destroying the dialog
    // lets go of every picture still asked for: nothing is left with the
    // service, and nothing reaches a dialog that is gone.
    void picturesLetGo()
    {
        ReplayServer server;
        ReplayServer::Reply endless{200, {}, {{"Content-Type", "image/png"}}};
        endless.endless = true;
        QStringList pictures;
        for (int k = 0; k < 8; ++k) {
            pictures << QStringLiteral("/pictures/%1.png").arg(k);
            server.Script(pictures.last().toUtf8(), endless);
        }
        server.Script("/scryfall/cards/search?q=bolt&unique=prints", ScryfallList(server.Base(), pictures));
        server.Script("/scryfall/cards/search?q=zzz&unique=prints",
                      R"({"object": "error", "code": "not_found", "status": 404})", 404);
        server.Script("/scryfall/cards/named?fuzzy=zzz",
                      R"({"object": "error", "code": "not_found", "status": 404})", 404);
        LookupService service{CardSources(server.Base())};

        {
            LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
            dialog.show();
            QTRY_VERIFY_WITH_TIMEOUT(server.Count("/pictures/") >= 1, 10000);
            dialog.reject();
            QCOMPARE(service.Outstanding(), 0);
            QTest::qWait(300);
            QVERIFY(server.Count("/pictures/") <= MatchThumbnails::kMaxRunning);
        }

        {
            LookupDialog dialog(service, QStringLiteral("bolt"), CardGame::Magic);
            dialog.show();
            QTRY_VERIFY_WITH_TIMEOUT(service.Outstanding() > 0 && !dialog.Searching(), 10000);
            dialog.findChild<QLineEdit*>(QStringLiteral("lookupQuery"))->setText(QStringLiteral("zzz"));
            dialog.Search();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.Searching(), 10000);
            QCOMPARE(dialog.MatchCount(), 0);
            QCOMPARE(service.Outstanding(), 0);
        }

        auto dialog = std::make_unique<LookupDialog>(service, QStringLiteral("bolt"), CardGame::Magic);
        dialog->show();
        QTRY_VERIFY_WITH_TIMEOUT(service.Outstanding() > 0 && !dialog->Searching(), 10000);
        dialog.reset();
        QCOMPARE(service.Outstanding(), 0);
        QTest::qWait(200);
    }

    // Any picture becomes one of the thumbnail's height, keeping its shape
    // within reason; bytes that are no picture become none.
    void thumbnailShapes()
    {
        const QImage card = ThumbnailOf(Png(63, 88), 48);
        QCOMPARE(card.height(), 48);
        QVERIFY2(qAbs(card.width() - 34) <= 1, qPrintable(QString::number(card.width())));
        QCOMPARE(ThumbnailOf(Png(5, 7), 48).height(), 48);
        const QImage banner = ThumbnailOf(Png(4000, 10), 48);
        QVERIFY(!banner.isNull());
        QVERIFY2(banner.width() <= 3 * 48, qPrintable(QString::number(banner.width())));
        QVERIFY(ThumbnailOf("<html>not found</html>", 48).isNull());
        QVERIFY(ThumbnailOf({}, 48).isNull());
    }
};

QTEST_MAIN(TestLookupThumbnails)
#include "test_lookup_thumbnails.moc"
