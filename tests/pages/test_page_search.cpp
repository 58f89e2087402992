#include "collection/CardTableModel.h"
#include "pages/PageCommands.h"
#include "support/TableRows.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString kChromium = QStringLiteral("/usr/bin/chromium");

QByteArray SampleTemplate(const char* name)
{
    QFile file(QStringLiteral(QUILLMARK_TEMPLATE_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page after its scripts ran, serialised back to HTML; the address may
// carry a fragment. Scripts are turned off as a reader does, in the
// browser's settings: the browser's own switch for it stops the dump too.
QString RenderedDom(const QString& page, const QString& fragment = {}, bool scripts = true)
{
    QTemporaryDir profile;
    if (!scripts) {
        QDir(profile.path()).mkpath(QStringLiteral("Default"));
        QFile settings(profile.filePath(QStringLiteral("Default/Preferences")));
        if (!settings.open(QIODevice::WriteOnly)
            || settings.write(R"({"profile":{"default_content_setting_values":{"javascript":2}}})") < 0)
            return {};
    }
    QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(page));
    if (!fragment.isEmpty())
        url.setFragment(fragment, QUrl::StrictMode);
    QStringList arguments{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                          QStringLiteral("--disable-gpu"), QStringLiteral("--disable-background-networking"),
                          QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                          QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile.path(),
                          QStringLiteral("--virtual-time-budget=2000"), QStringLiteral("--dump-dom")};
    arguments << url.toString(QUrl::FullyEncoded);
    QProcess browser;
    browser.start(kChromium, arguments);
    if (!browser.waitForFinished(120000)) {
        browser.kill();
        browser.waitForFinished();
        return {};
    }
    return QString::fromUtf8(browser.readAllStandardOutput());
}

struct Row {
    QString name;
    bool hidden;
};

// The List's Card rows in document order: the first cell's text, and
// whether the row is hidden.
QList<Row> ListRows(const QString& dom)
{
    static const QRegularExpression row(QStringLiteral("<tr data-card=\"\"( hidden=\"\")?><td>(.*?)</td>"));
    QList<Row> rows;
    for (const QRegularExpressionMatch& match : row.globalMatch(dom))
        rows.append({match.captured(2), !match.captured(1).isEmpty()});
    return rows;
}

QStringList Shown(const QList<Row>& rows)
{
    QStringList names;
    for (const Row& row : rows) {
        if (!row.hidden)
            names << row.name;
    }
    return names;
}

QStringList Order(const QList<Row>& rows)
{
    QStringList names;
    for (const Row& row : rows)
        names << row.name;
    return names;
}

Card MakeCard(std::initializer_list<const char*> eight, std::initializer_list<std::pair<CardField, const char*>> details = {})
{
    Card card;
    std::size_t field = 0;
    for (const char* value : eight)
        card[field++] = value;
    for (const auto& [detail, value] : details)
        card[std::size_t(detail)] = value;
    return card;
}

const char* const kNasty = "x</script><!--\"q\"&<b>y\xe2\x80\xa8z";

// Five Cards of which some are held, wanted or for trade, one with markup
// and quotes in a detail the List does not show.
std::vector<Card> Cards()
{
    return {
        MakeCard({"Golden Quill", "Alpha Set", "Mint", "1998", "$40.00", "1"}, {{SetCodeField, "AL"}, {NumberField, "1"}}),
        MakeCard({"Ink Wyrm", "Alpha Set", "Played", "2001", "$3.50", "0"},
                 {{SetCodeField, "AL"}, {NumberField, "2"}, {WantField, "2"}}),
        MakeCard({"Caf\xc3\xa9 Owl", "Night & Day", "Good", "2004", "$1,200.00", "5"},
                 {{SetCodeField, "ND"}, {NumberField, "7"}, {TradeField, "2"}}),
        MakeCard({"Ember Fox", "Beta", "Mint", "1999", "$9.99", ""}, {{SetCodeField, kNasty}}),
        MakeCard({"Zeta Drake", "Gamma", "Poor", "2010", "$0.50", "3"}, {{TradeField, "1"}}),
    };
}

// Publishes a page of the sample templates, or of the given ones.
void Publish(const CardTableModel& table, const PageDescription& kind, const QString& path,
             QByteArray outer = {}, QByteArray row = {})
{
    PageTemplateTexts templates{(outer.isEmpty() ? SampleTemplate(kind.outerTemplate) : outer).toStdString(),
                                (row.isEmpty() ? SampleTemplate(kind.rowTemplate) : row).toStdString()};
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(PageWriter(templates, table, Preferences())(file));
}

// A published page with a script of the test's own after it, which reads
// what the page's engine did.
void WithScript(const QString& page, const QString& copy, const QByteArray& script)
{
    QFile from(page);
    QVERIFY(from.open(QIODevice::ReadOnly));
    QFile to(copy);
    QVERIFY(to.open(QIODevice::WriteOnly));
    QVERIFY(to.write(from.readAll() + script) > 0);
}

} // namespace

class TestPageSearch : public QObject {
    Q_OBJECT

private:
    TempFolder folder_;
    CardTableModel table_;

    QStringList ShownFor(const QString& fragment) { return Shown(ListRows(RenderedDom(QStringLiteral("list.htm"), fragment))); }

private slots:
    void initTestCase()
    {
        if (!QFile::exists(kChromium))
            QSKIP("Chromium is not installed");
        SetTableRows(table_, Cards());
        Publish(table_, kListPage, QStringLiteral("list.htm"));
        Publish(table_, kCataloguePage, QStringLiteral("catalogue.htm"));
    }

    // The search the address names is the one the rows show at load: words
    // in any field, all of them; phrases; a field's own words; letter case
    // and accents ignored; the Have, Want and For trade filters.
    void showsTheSearchInTheAddress_data()
    {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QStringList>("shown");
        const QString quill = QStringLiteral("Golden Quill"), wyrm = QStringLiteral("Ink Wyrm"),
                      owl = QStringLiteral("Café Owl"), fox = QStringLiteral("Ember Fox"),
                      drake = QStringLiteral("Zeta Drake");
        QTest::newRow("none") << QString() << QStringList{quill, wyrm, owl, fox, drake};
        QTest::newRow("word") << QStringLiteral("q=quill") << QStringList{quill};
        QTest::newRow("words in two fields") << QStringLiteral("q=alpha%20mint") << QStringList{quill};
        QTest::newRow("a word of no Card") << QStringLiteral("q=mint%20nowhere") << QStringList{};
        QTest::newRow("phrase") << QStringLiteral("q=%22alpha%20set%22") << QStringList{quill, wyrm};
        QTest::newRow("words of a phrase out of order") << QStringLiteral("q=%22set%20alpha%22") << QStringList{};
        QTest::newRow("open quote runs to the end") << QStringLiteral("q=%22night%20%26%20d") << QStringList{owl};
        QTest::newRow("field") << QStringLiteral("q=series:alpha") << QStringList{quill, wyrm};
        QTest::newRow("another field") << QStringLiteral("q=name:alpha") << QStringList{};
        QTest::newRow("heading and key") << QStringLiteral("q=Qty:5%20QUANTITY:5") << QStringList{owl};
        QTest::newRow("detail") << QStringLiteral("q=set:al") << QStringList{quill, wyrm};
        QTest::newRow("no match across fields") << QStringLiteral("q=%22quill%20alpha%22") << QStringList{};
        QTest::newRow("unknown field is text") << QStringLiteral("q=foo:bar") << QStringList{};
        QTest::newRow("case") << QStringLiteral("q=GOLDEN") << QStringList{quill};
        QTest::newRow("accent in the Card") << QStringLiteral("q=cafe") << QStringList{owl};
        QTest::newRow("accent in the search") << QStringLiteral("q=C%C3%80F%C3%89") << QStringList{owl};
        QTest::newRow("empty field word asks nothing") << QStringLiteral("q=series:") << QStringList{quill, wyrm, owl, fox, drake};
        QTest::newRow("have") << QStringLiteral("show=have") << QStringList{quill, owl, fox, drake};
        QTest::newRow("want") << QStringLiteral("show=want") << QStringList{wyrm};
        QTest::newRow("trade") << QStringLiteral("show=trade") << QStringList{owl, drake};
        QTest::newRow("trade and have") << QStringLiteral("q=a&show=trade,have") << QStringList{owl, drake};
        QTest::newRow("search and filter") << QStringLiteral("q=alpha&show=have") << QStringList{quill};
        // Markup and quotes in a value reach the engine whole, and every
        // row after it still has its own Card.
        QTest::newRow("markup in a value") << QStringLiteral("q=setcode:%3C/script%3E%3C!--") << QStringList{fox};
        QTest::newRow("ampersand and markup") << QStringLiteral("q=setcode:%26%3Cb%3Ey") << QStringList{fox};
        QTest::newRow("after that value") << QStringLiteral("q=drake") << QStringList{drake};
    }

    void showsTheSearchInTheAddress()
    {
        QFETCH(QString, fragment);
        QFETCH(QStringList, shown);
        const QString dom = RenderedDom(QStringLiteral("list.htm"), fragment);
        const QList<Row> rows = ListRows(dom);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(Shown(rows), shown);
        QVERIFY(dom.contains(QStringLiteral("id=\"quillmark-search\"")));
        QVERIFY(dom.contains(QStringLiteral(">%1 of 5 Cards</output>").arg(shown.size())));
    }

    // A column heading's order: prices as amounts, whatever their
    // separators; the same heading again reverses; hidden rows keep their
    // place in the order.
    void sortsByTheHeadingInTheAddress()
    {
        const QList<Row> byPrice = ListRows(RenderedDom(QStringLiteral("list.htm"), QStringLiteral("sort=price")));
        QCOMPARE(Order(byPrice), (QStringList{QStringLiteral("Zeta Drake"), QStringLiteral("Ink Wyrm"),
                                              QStringLiteral("Ember Fox"), QStringLiteral("Golden Quill"),
                                              QStringLiteral("Café Owl")}));
        const QList<Row> down = ListRows(RenderedDom(QStringLiteral("list.htm"), QStringLiteral("q=alpha&sort=-year")));
        QCOMPARE(Order(down).first(2), (QStringList{QStringLiteral("Zeta Drake"), QStringLiteral("Café Owl")}));
        QCOMPARE(Shown(down), (QStringList{QStringLiteral("Ink Wyrm"), QStringLiteral("Golden Quill")}));
        const QString dom = RenderedDom(QStringLiteral("list.htm"), QStringLiteral("sort=name"));
        QCOMPARE(Order(ListRows(dom)).first(2), (QStringList{QStringLiteral("Café Owl"), QStringLiteral("Ember Fox")}));
        QVERIFY(dom.contains(QStringLiteral("aria-sort=\"ascending\">Name</th>")));
    }

    // The Catalogue searches too, and counts each set's numbers held of
    // those it lists.
    void catalogueSearchesAndCountsSets()
    {
        const QString dom = RenderedDom(QStringLiteral("catalogue.htm"), QStringLiteral("q=series:alpha"));
        static const QRegularExpression row(
            QStringLiteral("<tr data-card=\"\"( hidden=\"\")?>.*?<div class=\"name\">(.*?)</div>"),
            QRegularExpression::DotMatchesEverythingOption);
        QStringList shown;
        int rows = 0;
        for (const QRegularExpressionMatch& match : row.globalMatch(dom)) {
            ++rows;
            if (match.captured(1).isEmpty())
                shown << match.captured(2);
        }
        QCOMPARE(rows, 5);
        QCOMPARE(shown, (QStringList{QStringLiteral("Golden Quill"), QStringLiteral("Ink Wyrm")}));
        QVERIFY(dom.contains(QStringLiteral(">AL 1/2</button>")));
        QVERIFY(dom.contains(QStringLiteral(">ND 1/1</button>")));
        QVERIFY(dom.contains(QStringLiteral(">2 of 5 Cards</output>")));
    }

    // The sample pages lay their rows out as grids, which would show a row
    // marked hidden unless the page says otherwise: what the search hides
    // takes no room, in either page, and what it shows does.
    void hiddenRowsTakeNoRoom()
    {
        for (const char* name : {"list.htm", "catalogue.htm"}) {
            WithScript(QString::fromLatin1(name), QStringLiteral("measured.htm"),
                       "<script>document.title = Array.prototype.map.call(document.querySelectorAll('[data-card]'),"
                       " function (row) { return (row.hidden ? 'h' : 's') + row.getBoundingClientRect().height; })"
                       ".join(' ');</script>");
            const QString dom = RenderedDom(QStringLiteral("measured.htm"), QStringLiteral("q=alpha"));
            static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"));
            const QStringList rows = title.match(dom).captured(1).split(u' ');
            QCOMPARE(rows.size(), 5);
            QCOMPARE(rows.filter(QStringLiteral("s")).size(), 2);
            for (const QString& row : rows)
                QVERIFY2(row.startsWith(u'h') ? row == QStringLiteral("h0") : row.mid(1).toDouble() > 10,
                         qPrintable(QString::fromLatin1(name) + u' ' + row));
        }
    }

    // The address follows the search as it is typed, and a new address
    // brings its own search; neither adds to the browser's history.
    void followsTheAddress()
    {
        WithScript(QStringLiteral("list.htm"), QStringLiteral("typed.htm"),
                   "<script>var before = history.length; quillmarkSearch.search('series:\"night & d');"
                   " document.title = location.hash + ' ' + (history.length - before);"
                   " setTimeout(function () { location.hash = 'q=drake&show=trade'; }, 10);</script>");
        const QString dom = RenderedDom(QStringLiteral("typed.htm"));
        QVERIFY2(dom.contains(QStringLiteral("<title>#q=series%3A%22night%20%26%20d 0</title>")),
                 qPrintable(dom.left(dom.indexOf(QStringLiteral("</title>")) + 8).section(u'>', -2)));
        QCOMPARE(Shown(ListRows(dom)), QStringList{QStringLiteral("Zeta Drake")});
        QVERIFY(dom.contains(QStringLiteral(">1 of 5 Cards</output>")));
        QVERIFY(dom.contains(QStringLiteral("aria-pressed=\"true\" data-show=\"trade\"")));
    }

    // Without scripts the page is the page as written: every Card, no controls.
    void withoutScriptsEveryCardShows()
    {
        const QString dom = RenderedDom(QStringLiteral("list.htm"), QStringLiteral("q=quill&show=want"), false);
        const QList<Row> rows = ListRows(dom);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(Shown(rows).size(), 5);
        QVERIFY(dom.contains(QStringLiteral("id=\"quillmark-cards\"")));
        QVERIFY(!dom.contains(QStringLiteral("id=\"quillmark-search\"")));
    }

    // A template may put the search above its rows: it waits for them.
    void searchesFromAboveTheRows()
    {
        Publish(table_, kListPage, QStringLiteral("above.htm"),
                "<!DOCTYPE html><html><head><meta charset=\"utf-8\">#CARDSEARCH#</head><body><table><thead><tr>"
                "<th>Name</th></tr></thead><tbody>#DATA#</tbody></table></body></html>",
                "<tr data-card><td>#NAME#</td></tr>");
        const QString dom = RenderedDom(QStringLiteral("above.htm"), QStringLiteral("q=quill"));
        QCOMPARE(ListRows(dom).size(), 5);
        QCOMPARE(Shown(ListRows(dom)), QStringList{QStringLiteral("Golden Quill")});
    }

    // Rows that do not pair off with the Cards are left alone; a Windows-1252
    // collection's letters are searched as letters.
    void leavesRowsItCannotPairAlone()
    {
        Publish(table_, kListPage, QStringLiteral("doubled.htm"), {},
                "<tr data-card><td>#NAME#</td></tr><tr data-card><td>again</td></tr>");
        const QString dom = RenderedDom(QStringLiteral("doubled.htm"), QStringLiteral("q=quill"));
        QCOMPARE(ListRows(dom).size(), 10);
        QCOMPARE(Shown(ListRows(dom)).size(), 10);
        QVERIFY(!dom.contains(QStringLiteral("id=\"quillmark-search\"")));

        CardTableModel windows;
        SetTableRows(windows, {MakeCard({"Caf\xe9 Owl", "\xc9" "cume"}), MakeCard({"Tea Owl", "Ecume"})});
        windows.SetEncoding(TextEncoding::Windows1252);
        Publish(windows, kListPage, QStringLiteral("windows.htm"));
        QCOMPARE(Shown(ListRows(RenderedDom(QStringLiteral("windows.htm"), QStringLiteral("q=caf%C3%A9%20%C3%A9cume")))),
                 QStringList{QStringLiteral("Café Owl")});
    }
};

QTEST_GUILESS_MAIN(TestPageSearch)
#include "test_page_search.moc"
