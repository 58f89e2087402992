#include "support/RecordingMessages.h"
#include "support/TableRows.h"
#include "support/TempFolder.h"

#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"
#include "pages/PageTemplates.h"
#include "pages/SampleTemplates.h"
#include "pages/lists/CardLists.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QByteArray kFooter = QByteArray::fromStdString(FooterRow());

Card MakeCard(const char* name, const char* series, const char* quantity, const char* trade, const char* want)
{
    Card card;
    card[NameField] = name;
    card[SeriesField] = series;
    card[PriceField] = "$2.00";
    card[QuantityField] = quantity;
    card[TradeField] = trade;
    card[WantField] = want;
    return card;
}

// Top row first: Cards for trade, wanted ones (one with no copy at all),
// one with both and one with neither.
void FillCollection(CardTableModel& table)
{
    SetTableRows(table, {
                            MakeCard("Ash", "Alpha", "3", "2", ""),
                            MakeCard("Birch", "Alpha", "1", "", ""),
                            MakeCard("Cedar", "Beta", "0", "", "4"),
                            MakeCard("Dogwood", "Beta", "5", "1", "1"),
                            MakeCard("Elm", "Alpha", "2", "0", "0"),
                        });
}

QByteArray Page(const CardListPage& list, const CardTableModel& table, const PageTemplateTexts& templates)
{
    const std::vector<int> rows = ListRows(list, table);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Preferences prefs;
    prefs.Name = "Ann";
    if (!PageWriter(templates, table, rows, prefs)(buffer))
        return "(not written)";
    return bytes;
}

} // namespace

class TestCardLists : public QObject {
    Q_OBJECT

private slots:
    // Only a count above 0 puts a Card on a list: blank, 0 and what is no
    // count keep it off, as a blank Quantity never does.
    void countsAboveZero_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<bool>("above");
        QTest::newRow("one") << QByteArray("1") << true;
        QTest::newRow("spaced") << QByteArray(" 3 ") << true;
        QTest::newRow("grouped") << QByteArray("1,000") << true;
        QTest::newRow("blank") << QByteArray("") << false;
        QTest::newRow("spaces") << QByteArray("  ") << false;
        QTest::newRow("zero") << QByteArray("0") << false;
        QTest::newRow("negative") << QByteArray("-2") << false;
        QTest::newRow("words") << QByteArray("two") << false;
        QTest::newRow("fraction") << QByteArray("1.5") << false;
    }
    void countsAboveZero()
    {
        QFETCH(QByteArray, count);
        QFETCH(bool, above);
        QCOMPARE(CountAboveZero(count.toStdString()), above);
    }

    // Each list takes its Cards in table order; a wanted Card with no copy
    // is on the Want List, a Card with neither count on none; the totals
    // count the Cards on the page, and a new Series marks its first row.
    void pagesHoldTheirCardsOnly()
    {
        TempFolder folder;
        CardTableModel table;
        FillCollection(table);
        QCOMPARE(ListRows(kTradeList, table), (std::vector<int>{0, 3}));
        QCOMPARE(ListRows(kWantList, table), (std::vector<int>{2, 3}));

        PageTemplateTexts templates;
        templates.outer = "#PREFSNAME#:#TOTALCARDS#/#TOTALCOPIES#/#TOTALPAID#|#DATA#";
        templates.row = "<#NEWSET#>#NAME# #TRADE# #WANT#;";
        QCOMPARE(Page(kTradeList, table, templates),
                 "Ann:2/8/$16.00|<new-set>Ash 2 ;<new-set>Dogwood 1 1;" + kFooter);
        QCOMPARE(Page(kWantList, table, templates),
                 "Ann:2/5/$10.00|<new-set>Cedar  4;<>Dogwood 1 1;" + kFooter);
    }

    // The sets are told apart by the Cards on the page, not in the table:
    // Cards of one Series with others between them in the table follow
    // each other on the page; a value holding the placeholder is kept.
    void newSetFollowsThePage()
    {
        TempFolder folder;
        CardTableModel table;
        SetTableRows(table, {MakeCard("#NEWSET#", "Alpha", "1", "1", ""), MakeCard("B", "Beta", "1", "", ""),
                             MakeCard("C", "Alpha", "1", "1", ""), MakeCard("D", "Gamma", "1", "2", "")});
        PageTemplateTexts templates{"#DATA#", "[#NEWSET#]#NAME#;"};
        QCOMPARE(Page(kTradeList, table, templates), "[new-set]#NEWSET#;[]C;[new-set]D;" + kFooter);
    }

    // With no Card to list a box says so and nothing is written, not even
    // the templates; otherwise the page goes to its own file in the
    // collection's folder, the samples copied in, and Preferences untouched.
    void publishesOrSaysNone()
    {
        TempFolder folder;
        CardTableModel table;
        SetTableRows(table, {MakeCard("Ash", "Alpha", "3", "", "")});
        Preferences prefs;
        const Preferences before = prefs;
        RecordingMessages messages;
        PublishCardList(kTradeList, table, prefs, messages);
        PublishCardList(kWantList, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[0].text, QString::fromUtf8(Text::NoCardForTrade));
        QCOMPARE(messages.shown[0].kind, MessageKind::Information);
        QCOMPARE(messages.shown[1].text, QString::fromUtf8(Text::NoCardWanted));
        QVERIFY(QDir().entryList(QDir::Files).isEmpty());

        FillCollection(table);
        messages.answers = {true};
        PublishCardList(kWantList, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 3);
        QCOMPARE(messages.shown[2].text, QStringLiteral("Your Page Has Been Generated.\nYour page was written to:\n"
                                                        "want.htm\nWould you like to view it?"));
        QCOMPARE(messages.opened, QList<QUrl>{QUrl::fromLocalFile(QDir::current().absoluteFilePath("want.htm"))});
        const QByteArray page = folder.Read("want.htm");
        QVERIFY(page.contains("Cedar") && page.contains("Dogwood"));
        QVERIFY(!page.contains("Ash") && !page.contains("Elm"));
        QVERIFY(!folder.Exists("trade.htm"));
        for (const char* name : {"TradeOutside.htm", "TradeInside.htm", "WantOutside.htm", "WantInside.htm"}) {
            QFile sample(QDir(SampleTemplatesFolder()).filePath(QString::fromLatin1(name)));
            QVERIFY2(sample.open(QIODevice::ReadOnly), name);
            QCOMPARE(folder.Read(QString::fromLatin1(name)), sample.readAll());
        }
        QCOMPARE(prefs.Catalogue, before.Catalogue);
        QCOMPARE(prefs.List, before.List);
    }

    // The list's own templates are the collection's files, never a page's
    // place; the list's page file is one.
    void templatesAreRefusedAsPages()
    {
        TempFolder folder;
        QString reason;
        for (const char* name : {"TradeOutside.htm", "TradeInside.htm", "WantOutside.htm", "./WantInside.htm"})
            QCOMPARE(CheckPageTarget(QString::fromLatin1(name), reason), PageTarget::Refused);
        QCOMPARE(CheckPageTarget(QStringLiteral("trade.htm"), reason), PageTarget::Free);
    }

    // The sample rows are what the pages' search and print view count on:
    // the row's element carries data-card and the set mark, the outer
    // template the search box just before the end of the body.
    void samplesFillAsPagesExpect()
    {
        for (const CardListPage* list : {&kTradeList, &kWantList}) {
            const QDir samples(SampleTemplatesFolder());
            QFile outer(samples.filePath(QString::fromLatin1(list->page.outerTemplate)));
            QFile row(samples.filePath(QString::fromLatin1(list->page.rowTemplate)));
            QVERIFY(outer.open(QIODevice::ReadOnly) && row.open(QIODevice::ReadOnly));
            QVERIFY(outer.readAll().simplified().endsWith("#CARDSEARCH# </body> </html>"));
            Card card = MakeCard("Ash", "Alpha", "3", "2", "5");
            card[SetCodeField] = "LEA";
            card[NumberField] = "161";
            const QByteArray filled = QByteArray::fromStdString(FilledRowOf(row.readAll().toStdString(), card));
            QVERIFY2(filled.startsWith("<tr data-card class=\"\">"), filled.constData());
            const char* count = list == &kTradeList ? ">2<" : ">5<";
            for (const char* value : {">Ash<", ">Alpha<", ">LEA<", ">161<", ">$2.00<", count})
                QVERIFY2(filled.contains(value), value);
            QVERIFY(!filled.contains('#'));
        }
    }

private:
    // The row as a page fills it, #NEWSET# left empty.
    static std::string FilledRowOf(std::string rowTemplate, const Card& card)
    {
        ReplaceAll(rowTemplate, "#NEWSET#", "");
        std::string out;
        std::string scratch;
        AppendFilledRow(out, rowTemplate, card, scratch);
        return out;
    }
};

QTEST_MAIN(TestCardLists)
#include "test_card_lists.moc"
