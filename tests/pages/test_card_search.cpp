#include "pages/search/CardSearch.h"

#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"
#include "pages/PageTemplates.h"
#include "support/FilledPage.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

std::string Json(std::string_view bytes, bool utf8Page = true)
{
    std::string out;
    AppendJsonText(out, bytes, utf8Page);
    return out;
}

constexpr unsigned kEveryField = (1u << kAllCardFieldCount) - 1;

// The block for every field of every row, its pieces joined.
std::string Block(const CardTableModel& table, bool utf8Page, int* pieces = nullptr)
{
    std::string block;
    WriteCardSearchBlock(table, nullptr, kEveryField, utf8Page, true, [&block, pieces](std::string_view piece) {
        block.append(piece);
        if (pieces != nullptr)
            ++*pieces;
        return true;
    });
    return block;
}

QByteArray Written(const PageTemplateTexts& templates, const CardTableModel& table, const Preferences& prefs = {})
{
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    if (!PageWriter(templates, table, prefs)(page))
        return "write failed";
    return page.data();
}

QByteArray Written(const PageTemplateTexts& templates, const CardTableModel& table, std::span<const int> rows)
{
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    if (!PageWriter(templates, table, rows, Preferences{})(page))
        return "write failed";
    return page.data();
}

// The JSON between the data block's tags, as a browser hands it to the script.
QJsonArray DataOf(const QByteArray& page)
{
    const QByteArray open = "<script type=\"application/json\" id=\"quillmark-cards\">";
    const qsizetype from = page.indexOf(open);
    if (from < 0)
        return {};
    const qsizetype begin = from + open.size();
    const qsizetype end = page.indexOf("</script>", begin);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(page.mid(begin, end - begin), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << error.errorString();
    return document.array();
}

} // namespace

class TestCardSearch : public QObject {
    Q_OBJECT

private slots:
    // Nothing in a value can close the data block, open a comment in it or
    // end its string; what JSON reads back is the value itself.
    void escapesValuesForAScriptElement()
    {
        QCOMPARE(Json("plain"), std::string("plain"));
        QCOMPARE(Json("</script><!--x-->"), std::string("\\u003c/script\\u003e\\u003c!--x--\\u003e"));
        QCOMPARE(Json("a & \"b\" \\ c"), std::string("a \\u0026 \\\"b\\\" \\\\ c"));
        QCOMPARE(Json("1\n2\r3\t4\x01" "5\x1f"), std::string("1\\n2\\r3\\t4\\u00015\\u001f"));
        QCOMPARE(Json(std::string_view("a\0b", 3)), std::string("a\\u0000b"));
        // The line and paragraph separators of a UTF-8 page, and only of one.
        QCOMPARE(Json("x\xe2\x80\xa8y\xe2\x80\xa9z"), std::string("x\\u2028y\\u2029z"));
        QCOMPARE(Json("x\xe2\x80\xa8y", false), std::string("x\xe2\x80\xa8y"));
        // Other letters, and a separator cut short at the end, stay as they are.
        QCOMPARE(Json("Caf\xc3\xa9 \xe2\x82\xac \xe2\x80"), std::string("Caf\xc3\xa9 \xe2\x82\xac \xe2\x80"));

        const std::string nasty = "</script><script>alert(1)</script><!-- \"q\" & 'a' \\ \xe2\x80\xa8\n";
        const QByteArray json = QByteArray("[\"") + QByteArray::fromStdString(Json(nasty)) + "\"]";
        QVERIFY(!json.contains('<') && !json.contains('>') && !json.contains('&'));
        QCOMPARE(QJsonDocument::fromJson(json).array().at(0).toString(), QString::fromStdString(nasty));
    }

    // A Card: the eight always, the details only when set, under their keys.
    void writesOneObjectPerCard()
    {
        Card card{"Quill", "Alpha", "Mint", "1998", "$4.25", "2", "q.png", ""};
        card[SetCodeField] = "AL";
        card[WantField] = "1";
        std::string out;
        AppendCardJson(out, card, kEveryField, true);
        QCOMPARE(out, std::string("{\"name\":\"Quill\",\"series\":\"Alpha\",\"condition\":\"Mint\",\"year\":\"1998\","
                                  "\"price\":\"$4.25\",\"quantity\":\"2\",\"picture\":\"q.png\",\"description\":\"\","
                                  "\"setcode\":\"AL\",\"want\":\"1\"}"));
    }

    // The block holds the table's Cards in row order, a Windows-1252
    // collection's letters as UTF-8 on a UTF-8 page and as its own bytes
    // on another, then the engine.
    void blockHoldsTheTableInRowOrder()
    {
        CardTableModel table;
        Card second{"Caf\xe9", "\x80" "5"};
        second[TagsField] = "a</script>b";
        SetTableRows(table, {{"First"}, second});
        table.SetEncoding(TextEncoding::Windows1252);
        const std::string block = Block(table, true);
        const QJsonArray cards = DataOf(QByteArray::fromStdString(block));
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards.at(0).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("First"));
        QCOMPARE(cards.at(0).toObject().size(), 8);
        QCOMPARE(cards.at(1).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("Café"));
        QCOMPARE(cards.at(1).toObject().value(QStringLiteral("series")).toString(), QStringLiteral("€5"));
        QCOMPARE(cards.at(1).toObject().value(QStringLiteral("tags")).toString(), QStringLiteral("a</script>b"));
        QVERIFY(block.ends_with(std::string("<script>\n") + std::string(CardSearchEngine()) + "</script>"));
        QVERIFY(Block(table, false).find("Caf\xe9") != std::string::npos);

        SetTableRows(table, {});
        QCOMPARE(DataOf(QByteArray::fromStdString(Block(table, true))).size(), 0);

        // Many Cards come in several pieces that join to the same data.
        std::vector<Card> many(3000, Card{"Name", "Series"});
        for (std::size_t at = 0; at < many.size(); ++at)
            many[at][DescriptionField] = std::string(400, 'a') + std::to_string(at);
        SetTableRows(table, many);
        int pieces = 0;
        const QJsonArray all = DataOf(QByteArray::fromStdString(Block(table, true, &pieces)));
        QVERIFY(pieces > 1);
        QCOMPARE(all.size(), 3000);
        QVERIFY(all.at(2999).toObject().value(QStringLiteral("description")).toString().endsWith(QStringLiteral("a2999")));
    }

    // A page publishes in its data no more of a Card than its rows show,
    // besides the counts and the set and number the engine's filters need;
    // a page of some rows carries those rows alone, in their order.
    void dataHoldsWhatTheRowsShow()
    {
        CardTableModel table;
        Card first{"Quill", "Alpha", "Mint", "1998", "$4.25", "2", "q.png", "kept in the desk"};
        first[LocationField] = "safe 3";
        first[TradeField] = "1";
        first[SetCodeField] = "AL";
        Card second{"Ink", "Beta"};
        second[TradeField] = "2";
        SetTableRows(table, {first, {"Nib"}, second});
        const PageTemplateTexts templates{"<table>#DATA#</table>#CARDSEARCH#",
                                          "<tr data-card><td>#NAME#</td><td>#TRADE#</td></tr>"};

        const QJsonArray all = DataOf(Written(templates, table));
        QCOMPARE(all.size(), 3);
        const QJsonObject quill = all.at(0).toObject();
        QCOMPARE(quill.keys(), (QStringList{"name", "quantity", "setcode", "trade"}));
        QCOMPARE(quill.value(QStringLiteral("trade")).toString(), QStringLiteral("1"));

        const std::vector<int> rows{2, 0};
        const QJsonArray some = DataOf(Written(templates, table, rows));
        QCOMPARE(some.size(), 2);
        QCOMPARE(some.at(0).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("Ink"));
        QCOMPARE(some.at(1).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("Quill"));
    }

    // The engine stands inline in every page: nothing in it may end its
    // element or depend on the page's charset.
    void engineIsSafeInline()
    {
        const std::string_view engine = CardSearchEngine();
        QVERIFY(engine.size() > 1000);
        QVERIFY(engine.find("</") == std::string_view::npos);
        QVERIFY(engine.find("<!--") == std::string_view::npos);
        QVERIFY(engine.find("#CARDSEARCH#") == std::string_view::npos);
        for (const char c : engine)
            QVERIFY2(static_cast<unsigned char>(c) < 0x80, "the engine holds a byte beyond ASCII");
    }

    // #CARDSEARCH# is filled last: the owner's details and the totals
    // before it never reach into the data, whatever a Card holds; a page
    // without it is written as it always was, even where a value holds it.
    void fillsTheSearchLastAndOnlyWhereAsked()
    {
        CardTableModel table;
        SetTableRows(table, {{"#PREFSNAME# #TOTALCARDS#", "#CARDSEARCH#"}});
        Preferences prefs;
        prefs.Name = "Ann";
        const PageTemplateTexts without{"<meta charset=utf-8><h1>#PREFSNAME#</h1>#DATA#", "<tr data-card>#SERIES#</tr>"};
        const QByteArray plain = Written(without, table, prefs);
        QCOMPARE(plain, "<meta charset=utf-8><h1>Ann</h1><tr data-card>#CARDSEARCH#</tr>"
                            + QByteArray::fromStdString(FooterRow()));
        QCOMPARE(plain.toStdString(), FilledPage(without.outer, "<tr data-card>#CARDSEARCH#</tr>" + FooterRow(), prefs, {}));

        const PageTemplateTexts with{"<meta charset=utf-8>#PREFSNAME#|#DATA#|#CARDSEARCH#|#TOTALCARDS#", "#NAME#;"};
        const QByteArray page = Written(with, table, prefs);
        QVERIFY2(page.startsWith("<meta charset=utf-8>Ann|Ann 1;"), page.left(80).constData());
        QCOMPARE(page.count("id=\"quillmark-cards\""), 1);
        QVERIFY(page.endsWith("</script>|1"));
        const QJsonArray cards = DataOf(page);
        QCOMPARE(cards.size(), 1);
        QCOMPARE(cards.at(0).toObject().value(QStringLiteral("name")).toString(),
                 QStringLiteral("#PREFSNAME# #TOTALCARDS#"));
        // The rows leave the Series out, and so does the data.
        QVERIFY(!cards.at(0).toObject().contains(QStringLiteral("series")));

        // A row template that shows no Card gives the data none either.
        const QByteArray blankRows = Written({with.outer, " \r\n"}, table, prefs);
        QCOMPARE(DataOf(blankRows).size(), 0);
        QVERIFY(!blankRows.contains("TOTALCARDS# #"));
    }

    // The stream replaces the placeholder wherever the pieces break it, and
    // gives it to no earlier stage.
    void streamFindsThePlaceholderAcrossPieces()
    {
        // Written in two pieces, neither looked through again.
        const auto search = [](const PageStream::Sink& sink) { return sink("[#PREFS") && sink("NAME#]"); };
        Preferences prefs;
        prefs.Name = "#CARD";
        const std::string text = "a#CARDSEARCH#b#PREFSNAME#SEARCH#c#CARDSEARCH";
        for (std::size_t piece = 1; piece <= text.size(); ++piece) {
            std::string streamed;
            PageStream stream(prefs, {}, [&](std::string_view part) {
                streamed += part;
                return true;
            }, search);
            for (std::size_t at = 0; at < text.size(); at += piece)
                stream.Write(std::string_view(text).substr(at, piece));
            stream.Finish();
            QCOMPARE(streamed, std::string("a[#PREFSNAME#]b[#PREFSNAME#]c#CARDSEARCH"));
        }
        // A search that could not be written fails the page.
        PageStream failing(prefs, {}, [](std::string_view) { return true; }, [](const PageStream::Sink&) { return false; });
        QVERIFY(!(failing.Write("a#CARDSEARCH#b") && failing.Finish()));
    }
};

QTEST_GUILESS_MAIN(TestCardSearch)
#include "test_card_search.moc"
