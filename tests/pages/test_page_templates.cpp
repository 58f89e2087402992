#include "pages/PageTemplates.h"

#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"
#include "pages/PageStream.h"
#include "support/TableRows.h"
#include "support/FilledPage.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <array>

namespace {

// The replacement written the plain way: a new string, searched left to right.
std::string PlainReplaceAll(std::string_view text, std::string_view placeholder, std::string_view value)
{
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(placeholder); at != std::string_view::npos; at = text.find(placeholder, start)) {
        out.append(text.substr(start, at - start));
        out.append(value);
        start = at + placeholder.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string Replaced(std::string text, std::string_view placeholder, std::string_view value)
{
    ReplaceAll(text, placeholder, value);
    return text;
}

} // namespace

class TestPageTemplates : public QObject {
    Q_OBJECT

private slots:
    // Every occurrence, left to right, never searching an inserted value,
    // exact case; an empty value removes; a removal may join a new one.
    void replacesEveryOccurrenceOnce()
    {
        QCOMPARE(Replaced("#NAME#, #NAME#!#NAME#", "#NAME#", "Ann"), std::string("Ann, Ann!Ann"));
        QCOMPARE(Replaced("<#NAME#>", "#NAME#", "#NAME##NAME#"), std::string("<#NAME##NAME#>"));
        QCOMPARE(Replaced("#Name# #name# #NAME", "#NAME#", "Ann"), std::string("#Name# #name# #NAME"));
        QCOMPARE(Replaced("#NAME#NAME#", "#NAME#", "X"), std::string("XNAME#"));
        QCOMPARE(Replaced("#NA#NAME#ME#", "#NAME#", ""), std::string("#NAME#"));
    }

    // The replacement works in place, shifting text both ways; on texts dense
    // with near-misses it must give what the plain way gives.
    void inPlaceReplacementMatchesThePlainWay()
    {
        QRandomGenerator random(20261207);
        const auto randomText = [&](int maxLength) {
            std::string text(std::size_t(random.bounded(maxLength + 1)), ' ');
            for (char& c : text)
                c = "#AB"[random.bounded(3)];
            return text;
        };
        for (int i = 0; i < 20000; ++i) {
            const std::string text = randomText(40);
            const std::string placeholder = "#" + randomText(2) + "#";
            const std::string value = randomText(8);
            QCOMPARE(Replaced(text, placeholder, value), PlainReplaceAll(text, placeholder, value));
        }
    }

    // Each field is filled in its turn, seeing what the ones before put in.
    void fillsRowPlaceholdersInOrder()
    {
        const Card card{"N#URL#", "S", "C", "Y", "P", "Q", "http://x/p.jpg", "D #NAME# #DESCRIPTION#"};
        QCOMPARE(FilledRow("#NAME#|#SERIES#|#CONDITION#|#YEAR#|#PRICE#|#QUANTITY#|#URL#|#DESCRIPTION#", card),
                 std::string("Nhttp://x/p.jpg|S|C|Y|P|Q|http://x/p.jpg|D #NAME# #DESCRIPTION#"));
        QCOMPARE(FilledRow("#DATA# #PREFSEMAIL# #Name#", card), std::string("#DATA# #PREFSEMAIL# #Name#"));
        QCOMPARE(FilledRow("<td>#DESCRIPTION#</td>", {"", "", "", "", "", "", "", "<b>x</b> & \"q\""}),
                 std::string("<td><b>x</b> & \"q\"</td>"));
    }

    // The details come after the eight and only where the row template
    // names them: a row without their placeholders is filled as it always was.
    void fillsDetailsOnlyWhereTheRowNamesThem()
    {
        Card card{"N #GAME#", "S", "", "", "", "", "", "#SETCODE#"};
        for (int detail = 0; detail < kCardDetailCount; ++detail)
            card[std::size_t(kCardFieldCount + detail)] = "d" + std::to_string(detail);
        card[GameField] = "G #NAME#";
        QCOMPARE(FilledRow("#GAME#|#SETCODE#|#NUMBER#|#FINISH#|#LANGUAGE#|#LOCATION#|#TAGS#|#TRADE#|#WANT#|#PRINT#", card),
                 std::string("G #NAME#|d1|d2|d3|d4|d5|d6|d7|d8|d9"));
        QCOMPARE(FilledRow("#NAME#|#DESCRIPTION#", card), std::string("N #GAME#|#SETCODE#"));
        QCOMPARE(FilledRow("#NAME#|#DESCRIPTION#|#SETCODE#", card), std::string("N #GAME#|d1|d1"));
        QCOMPARE(FilledRow("#NAME#|#GAME#", card), std::string("N G #NAME#|G #NAME#"));
        QCOMPARE(FilledRow("#Game# #GAME #SET#", card), std::string("#Game# #GAME #SET#"));
        QCOMPARE(DetailPlaceholdersIn("#NAME# #PRINT# #GAME#"), (1u << (PrintField - kCardFieldCount)) | 1u);
    }

    // A page reads only the details its row names, and they go in as the
    // eight do: a Windows-1252 collection's bytes become UTF-8 on a UTF-8 page.
    void pagesFillDetailsFromTheTable()
    {
        CardTableModel table;
        Card card{"Caf\xe9"};
        card[LocationField] = "Binder \xe9";
        card[PrintField] = "p1";
        SetTableRows(table, {card});
        table.SetEncoding(TextEncoding::Windows1252);
        const PageTemplateTexts templates{"<meta charset=utf-8>#DATA#", "#NAME#/#LOCATION#;"};
        QBuffer page;
        page.open(QIODevice::WriteOnly);
        QVERIFY(PageWriter(templates, table, Preferences())(page));
        QCOMPARE(page.data(), "<meta charset=utf-8>Caf\xc3\xa9/Binder \xc3\xa9;" + QByteArray::fromStdString(FooterRow()));
    }

    // #DATA# first: the owner's details then reach rows and Card fields too;
    // without #DATA# there are no rows and no footer.
    void fillsThePageAfterTheData()
    {
        Preferences prefs;
        prefs.Name = "Ann #PREFSEMAIL#";
        prefs.Email = "ann@example.org";
        const std::string data = "<tr>#PREFSEMAIL# #DATA# #NAME#</tr>";
        QCOMPARE(FilledPage("<p>#PREFSNAME#</p><table>#DATA#</table>#PREFSCITY#.", data, prefs, {}),
                 std::string("<p>Ann ann@example.org</p><table><tr>ann@example.org #DATA# #NAME#</tr></table>."));
        QCOMPARE(FilledPage("#DATA#|#DATA#", "r", prefs, {}), std::string("r|r"));
        QCOMPARE(FilledPage("<p>#PREFSCOUNTRY# #NAME#</p>", data, prefs, {}), std::string("<p> #NAME#</p>"));
    }

    // The totals come after the owner's details, cards, copies, paid: each
    // sees what the ones before put in, and none is searched again.
    void fillsTheTotalsLast()
    {
        Preferences prefs;
        prefs.Name = "#TOTALPAID#";
        const PageTotals totals{"#PREFSCITY# #TOTALCOPIES#", "2 #TOTALCARDS#", "$1.00"};
        QCOMPARE(FilledPage("#PREFSNAME#|#TOTALCARDS#|#TOTALCOPIES#|#TOTALPAID#|#DATA#", "#TOTALCARDS#", prefs, totals),
                 std::string("$1.00|#PREFSCITY# 2 #TOTALCARDS#|2 #TOTALCARDS#|$1.00|#PREFSCITY# 2 #TOTALCARDS#"));
        QCOMPARE(FilledPage("#TotalCards# #TOTALCARDS #TOTAL#", "", prefs, totals), std::string("#TotalCards# #TOTALCARDS #TOTAL#"));
    }

    // A page counts the whole table once, whatever its order or size.
    void pagesShowTheTablesTotals()
    {
        CardTableModel table;
        SetTableRows(table, {{"A", "", "", "", "$4.25", "2"},
                       {"B", "", "", "", "1.234,50 \xe2\x82\xac", "1,000"},
                       {"C", "", "", "", "about 5", ""},
                       {"D", "", "", "", "$0.50", "x"}});
        const PageTemplateTexts templates{"<p>#TOTALCARDS# Cards, #TOTALCOPIES# copies, #TOTALPAID#</p>#DATA#",
                                          "#NAME#"};
        const Preferences prefs;
        QBuffer page;
        page.open(QIODevice::WriteOnly);
        QVERIFY(PageWriter(templates, table, prefs)(page));
        QCOMPARE(page.data(), "<p>4 Cards, 1,003 copies, $8.50, \xe2\x82\xac" "1,234,500.00</p>ABCD"
                                  + QByteArray::fromStdString(FooterRow()));

        SetTableRows(table, {});
        QBuffer empty;
        empty.open(QIODevice::WriteOnly);
        QVERIFY(PageWriter(templates, table, prefs)(empty));
        QCOMPARE(empty.data(), "<p>0 Cards, 0 copies, 0.00</p>" + QByteArray::fromStdString(FooterRow()));
    }

    // The market value and its date fill their placeholders; a page without
    // them is the page it was before Cards had a market price.
    void pagesShowTheMarketValue()
    {
        const std::vector<Card> plain = {{"A", "", "", "", "$4.25", "2"}, {"B", "", "", "", "", "3"}, {"C"}};
        std::vector<Card> valued = plain;
        valued[0][MarketField] = "$5.00";
        valued[0][MarketDateField] = "2026-11-20";
        valued[1][MarketField] = "0,50 \xe2\x82\xac";
        valued[1][MarketDateField] = "2026-11-02";
        const Preferences prefs;
        const auto page = [&prefs](const std::vector<Card>& rows, const char* outer) {
            CardTableModel table;
            SetTableRows(table, rows);
            const PageTemplateTexts templates{outer, "#NAME#"};
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            return PageWriter(templates, table, prefs)(buffer) ? buffer.data() : QByteArray("failed");
        };
        const char* withValue = "<p>#TOTALPAID# worth #TOTALVALUE# (#VALUEDATE#)</p>#DATA#";
        QCOMPARE(page(valued, withValue), "<p>$8.50 worth $10.00, \xe2\x82\xac" "1.50 (2026-11-02)</p>ABC"
                                               + QByteArray::fromStdString(FooterRow()));
        QCOMPARE(page(plain, withValue), "<p>$8.50 worth 0.00 ()</p>ABC" + QByteArray::fromStdString(FooterRow()));
        const char* without = "<p>#TOTALCARDS# #TOTALCOPIES# #TOTALPAID# #TOTAL# #VALUE#</p>#DATA#";
        QCOMPARE(page(valued, without), page(plain, without));
    }

    // The footer never links to an address the build was not given.
    void footerLinksOnlyAGivenHomePage_data()
    {
        QTest::addColumn<QByteArray>("homePage");
        QTest::addColumn<QByteArray>("footer");
        QTest::newRow("none") << QByteArray() << QByteArray("<tr><td colspan=6>Generated by Quillmark.</td></tr>");
        QTest::newRow("given") << QByteArray("https://example.org/qm/")
                               << QByteArray("<tr><td colspan=6>Generated by <a href=https://example.org/qm/>"
                                             "Quillmark</a>.</td></tr>");
    }

    void footerLinksOnlyAGivenHomePage()
    {
        QFETCH(QByteArray, homePage);
        QFETCH(QByteArray, footer);
        QCOMPARE(QByteArray::fromStdString(FooterRow(homePage.toStdString())), footer);
        QCOMPARE(HomePageAddress(), std::string_view(BUILD_HOME_PAGE));
        QCOMPARE(FooterRow(), FooterRow(BUILD_HOME_PAGE));
    }

    // The page goes out in pieces; wherever they break, even inside a
    // placeholder or one a replacement makes, the page is the one that
    // replacing in turn over the whole text gives.
    void piecesJoinToTheWholePage()
    {
        QRandomGenerator random(7);
        Preferences prefs;
        prefs.Name = "#PREFS";
        prefs.City = "CITY#";
        prefs.Email = "#PREFSNAME#@";
        PageTotals totals{"#TOTAL", "PAID#", "#PREFSCITY#"};
        totals.value = "#VALUEDATE#";
        totals.valueDate = "#TOTALVALUE#";
        const std::array<std::string_view, 14> words = {"#PREFSNAME#", "#PREFSCITY#", "#PREFSEMAIL#", "#PREFS",
                                                        "CITY#",       "#",           "PREFS",        "x",
                                                        "#TOTALCARDS#", "#TOTALPAID#", "#TOTAL",      "COPIES#",
                                                        "#TOTALVALUE#", "#VALUEDATE#"};
        for (int i = 0; i < 2000; ++i) {
            std::string text;
            // Short pieces break placeholders; long ones, mostly of rows
            // without a '#', pass whole stretches of text on as they are.
            const bool longPieces = i % 2 == 1;
            for (int word = random.bounded(longPieces ? 80 : 12); word > 0; --word) {
                if (longPieces && random.bounded(4) > 0)
                    text += "<td>a row's plain text</td>";
                else
                    text += words[random.bounded(int(words.size()))];
            }
            std::string whole = text;
            for (const auto& [placeholder, value] : {std::pair<std::string_view, std::string_view>{"#PREFSNAME#", prefs.Name},
                                                     {"#PREFSCITY#", prefs.City},
                                                     {"#PREFSEMAIL#", prefs.Email},
                                                     {"#TOTALCARDS#", totals.cards},
                                                     {"#TOTALCOPIES#", totals.copies},
                                                     {"#TOTALPAID#", totals.paid},
                                                     {"#TOTALVALUE#", totals.value},
                                                     {"#VALUEDATE#", totals.valueDate}})
                whole = PlainReplaceAll(whole, placeholder, value);

            std::string streamed;
            PageStream stream(prefs, totals, [&](std::string_view piece) {
                streamed += piece;
                return true;
            });
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t length = std::size_t(random.bounded(1, longPieces ? 400 : 16));
                stream.Write(std::string_view(text).substr(at, length));
                at += length;
            }
            stream.Finish();
            QCOMPARE(streamed, whole);
        }
    }
};

QTEST_GUILESS_MAIN(TestPageTemplates)
#include "test_page_templates.moc"
