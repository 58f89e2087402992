#include "app/cards/CardDetailsDialog.h"
#include "app/cards/CardDetailsFeature.h"
#include "app/window/WindowActions.h"
#include "collection/prices/PriceHistory.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QChartView>
#include <QLineSeries>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <optional>

namespace {

QLineEdit* Box(QDialog& dialog, const char* key)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("detail") + QLatin1String(key));
}

struct Fixture {
    explicit Fixture(TextEncoding encoding)
        : feature(actions, questions, window, [this] { return held; }, [encoding] { return encoding; },
                  [] { return QDir::currentPath(); })
    {
    }
    // Runs Edit > Card Details with the script answering the dialog; the
    // details it gave, or none when it gave none.
    std::optional<CardDetails> Run(const std::function<bool(QDialog&)>& script)
    {
        questions.dialogScript = script;
        QSignalSpy chosen(&feature, &CardDetailsFeature::DetailsChosen);
        actions.Action("cardDetailsAction")->trigger();
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen.first().first().value<CardDetails>();
    }

    QWidget window;
    WindowActions actions{window};
    RecordingMessages messages;
    ScriptedQuestions questions{messages};
    Card held;
    CardDetailsFeature feature;
};

} // namespace

Q_DECLARE_METATYPE(CardDetails)

class TestCardDetails : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<CardDetails>(); }

    // The dialog shows the held Card's details; what was typed comes back in
    // the collection's encoding, stored as a line keeps it, and a detail
    // left alone keeps its bytes even where they are no valid text.
    void editsInTheCollectionsEncoding_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("typedLocation");
        QTest::newRow("UTF-8") << int(TextEncoding::Utf8) << QByteArray("Binder 2, p\xC3\xA1gina 3");
        QTest::newRow("Windows-1252") << int(TextEncoding::Windows1252) << QByteArray("Binder 2, p\xE1gina 3");
    }
    void editsInTheCollectionsEncoding()
    {
        QFETCH(int, encoding);
        QFETCH(QByteArray, typedLocation);
        Fixture f{TextEncoding(encoding)};
        f.held[NameField] = "Kitesail Freebooter";
        f.held[SetCodeField] = "xln";
        f.held[TagsField] = "odd \xFF bytes";
        QString shownSet;
        const auto details = f.Run([&](QDialog& dialog) {
            shownSet = Box(dialog, "SETCODE")->text();
            Box(dialog, "LOCATION")->setText(QStringLiteral("Binder 2, p\u00e1gina 3  "));
            Box(dialog, "TRADE")->setText(QStringLiteral("2"));
            dialog.accept();
            return true;
        });
        QVERIFY(details.has_value());
        QCOMPARE(shownSet, QStringLiteral("xln"));
        const CardDetails& got = *details;
        QCOMPARE(got[SetCodeField - kCardFieldCount], std::string("xln"));
        QCOMPARE(got[LocationField - kCardFieldCount], typedLocation.toStdString());
        QCOMPARE(got[TradeField - kCardFieldCount], std::string("2"));
        QCOMPARE(got[TagsField - kCardFieldCount], std::string("odd \xFF bytes"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    // Cancelled, nothing changes; counts take digits only.
    void cancelAndCounts()
    {
        Fixture f{TextEncoding::Utf8};
        f.held[TradeField] = "1";
        QVERIFY(!f.Run([](QDialog& dialog) {
                      Box(dialog, "TRADE")->setText(QStringLiteral("5"));
                      return false;
                  }).has_value());
        QString afterTyping;
        f.Run([&](QDialog& dialog) {
            QLineEdit* want = Box(dialog, "WANT");
            QTest::keyClicks(want, QStringLiteral("x3y"));
            afterTyping = want->text();
            return false;
        });
        QCOMPARE(afterTyping, QStringLiteral("3"));
    }

    // A character a Windows-1252 collection cannot hold is refused while
    // typing, with a box that says so, and the box keeps its text.
    void unstorableRefused()
    {
        Fixture f{TextEncoding::Windows1252};
        QString afterTyping;
        f.Run([&](QDialog& dialog) {
            QLineEdit* tags = Box(dialog, "TAGS");
            tags->setFocus();
            TypeKeys(tags, QStringLiteral("a\u4e00"));
            afterTyping = tags->text();
            // The box comes once the edit is over, while the dialog is open.
            // Checked below, once the dialog is closed.
            static_cast<void>(QTest::qWaitFor([&f] { return !f.messages.shown.isEmpty(); }, 2000));
            return false;
        });
        QCOMPARE(afterTyping, QStringLiteral("a"));
        QCOMPARE(f.messages.shown.size(), 1);
    }

    // The Card's price history is charted; a Card without one shows none.
    void priceHistoryChart()
    {
        TempFolder folder;
        PriceHistory history(folder.Path(QStringLiteral("prices.sqlite")));
        QString reason;
        QVERIFY(history.Record(QDate(2026, 12, 1), {{"scryfall:abc:foil", {"USD", "1.50"}}}, reason));
        QVERIFY(history.Record(QDate(2026, 12, 8), {{"scryfall:abc:foil", {"USD", "2.25"}}}, reason));
        Fixture f{TextEncoding::Utf8};
        f.held[PrintField] = "scryfall:abc";
        f.held[FinishField] = "foil";
        const auto chart = [&f] {
            int points = -1;
            f.Run([&points](QDialog& dialog) {
                const auto* view = dialog.findChild<QChartView*>(QStringLiteral("priceHistoryChart"));
                if (view && !view->isHidden() && view->chart() && !view->chart()->series().isEmpty())
                    points = int(static_cast<QLineSeries*>(view->chart()->series().first())->count());
                else if (view)
                    points = 0;
                return false;
            });
            return points;
        };
        QCOMPARE(chart(), 2);
        // The nonfoil copy of the same printing has a history of its own.
        f.held[FinishField] = "nonfoil";
        QCOMPARE(chart(), 0);
    }
};

QTEST_MAIN(TestCardDetails)
#include "test_card_details.moc"
