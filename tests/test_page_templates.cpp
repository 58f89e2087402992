#include "collection/CardTableModel.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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

Card MakeCard(std::string name, std::string url = "u.jpg", std::string description = "d")
{
    return {std::move(name), "Series", "Mint", "1999", "1.50", "2", std::move(url), std::move(description)};
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestPageTemplates : public QObject {
    Q_OBJECT

private slots:
    void replacesEveryOccurrenceWithoutSearchingValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("every occurrence") << QByteArray("#NAME#, #NAME#!#NAME#") << QByteArray("Ann")
                                          << QByteArray("Ann, Ann!Ann");
        QTest::newRow("value holding the placeholder") << QByteArray("<#NAME#>") << QByteArray("#NAME##NAME#")
                                                       << QByteArray("<#NAME##NAME#>");
        QTest::newRow("other case stays") << QByteArray("#Name# #name# #NAME") << QByteArray("Ann")
                                          << QByteArray("#Name# #name# #NAME");
        QTest::newRow("empty value removes") << QByteArray("a#NAME#b#NAME#") << QByteArray() << QByteArray("ab");
        QTest::newRow("occurrences do not overlap") << QByteArray("#NAME#NAME#") << QByteArray("X")
                                                    << QByteArray("XNAME#");
        QTest::newRow("joined by a removal") << QByteArray("#NA#NAME#ME#") << QByteArray()
                                             << QByteArray("#NAME#");
    }

    void replacesEveryOccurrenceWithoutSearchingValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(QByteArray::fromStdString(Replaced(text.toStdString(), "#NAME#", value.toStdString())), expected);
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
            std::string placeholder = "#" + randomText(2) + "#";
            const std::string value = randomText(8);
            QCOMPARE(Replaced(text, placeholder, value), PlainReplaceAll(text, placeholder, value));
        }
    }

    // Each field is filled in its turn, seeing what the ones before put in.
    void fillsRowPlaceholdersInOrder()
    {
        const Card card{"N#URL#", "S", "C", "Y", "P", "Q", "http://x/p.jpg", "D #NAME# #DESCRIPTION#"};
        QCOMPARE(FillRow("#NAME#|#SERIES#|#CONDITION#|#YEAR#|#PRICE#|#QUANTITY#|#URL#|#DESCRIPTION#", card),
                 std::string("Nhttp://x/p.jpg|S|C|Y|P|Q|http://x/p.jpg|D #NAME# #DESCRIPTION#"));
        QCOMPARE(FillRow("#DATA# #PREFSEMAIL# #Name#", card), std::string("#DATA# #PREFSEMAIL# #Name#"));
        QCOMPARE(FillRow("<td>#DESCRIPTION#</td>", MakeCard("n", "u", "<b>bold</b> & \"q\"")),
                 std::string("<td><b>bold</b> & \"q\"</td>"));

        std::string out = "before ";
        std::string scratch = "left over from an earlier row";
        AppendFilledRow(out, "[#NAME#]", MakeCard("A"), scratch);
        AppendFilledRow(out, "[#NAME#]", MakeCard("B"), scratch);
        QCOMPARE(out, std::string("before [A][B]"));
    }

    // #DATA# first: the owner's details then reach rows and Card fields too;
    // without #DATA# there are no rows and no footer.
    void fillsThePageAfterTheData()
    {
        Preferences prefs;
        prefs.Name = "Ann #PREFSEMAIL#";
        prefs.Email = "ann@example.org";
        prefs.City = "";
        const std::string data = "<tr>#PREFSEMAIL# #DATA# #NAME#</tr>";
        QCOMPARE(FillPage("<p>#PREFSNAME#</p><table>#DATA#</table>#PREFSCITY#.", data, prefs),
                 std::string("<p>Ann ann@example.org</p><table><tr>ann@example.org #DATA# #NAME#</tr></table>."));
        QCOMPARE(FillPage("#DATA#|#DATA#", "r", prefs), std::string("r|r"));
        QCOMPARE(FillPage("<p>#PREFSCOUNTRY# #NAME#</p>", data, prefs), std::string("<p> #NAME#</p>"));
        QCOMPARE(FillPage("", data, prefs), std::string());
    }

    void buildsPageDataFromTheTableInItsOrder()
    {
        CardTableModel table;
        const std::string footer = FooterRow();
        QCOMPARE(PageData(table, "<tr>#NAME#</tr>"), footer);
        QCOMPARE(footer, "<tr><td colspan=6>Generated by <a href=" + std::string(kHomePageAddress)
                             + ">Quillmark</a>.</td></tr>");

        table.SetRows({MakeCard("Top", "a.png"), MakeCard("Middle", ""), MakeCard("Bottom", "c.png")});
        QCOMPARE(PageData(table, "<tr>#NAME#:#URL#:#NAME#</tr>\n"),
                 "<tr>Top:a.png:Top</tr>\n<tr>Middle::Middle</tr>\n<tr>Bottom:c.png:Bottom</tr>\n" + footer);
        QCOMPARE(PageData(table, ""), footer);
    }

    // Text mode: CR LF is a line feed, a lone CR stays, byte 26 ends the
    // template; a missing one is created empty; a folder cannot be read.
    void readsTemplateFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Row.htm"));
        std::string text = "stale";
        QVERIFY(ReadTemplateFile(path, text));
        QCOMPARE(text, std::string());
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a\r\nb\rc\n\r\n#NAME#\x1a" "after the end\r\n");
        file.close();
        QVERIFY(ReadTemplateFile(path, text));
        QCOMPARE(text, std::string("a\nb\rc\n\n#NAME#"));

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Folder.htm")));
        text = "stale";
        QVERIFY(!ReadTemplateFile(dir.filePath(QStringLiteral("Folder.htm")), text));
        QCOMPARE(text, std::string());
        QVERIFY(!ReadTemplateFile(dir.filePath(QStringLiteral("missing/Row.htm")), text));
    }

    // Line feeds become CR LF; the path is used as it stands, spaces and all;
    // a second page replaces the first; a failed write leaves no trace.
    void writesPagesSafely()
    {
        QTemporaryDir dir;
        const QString spaces = dir.filePath(QStringLiteral("   "));
        QVERIFY(WritePageFile(spaces, "<p>\nlong page\n</p>"));
        QCOMPARE(ReadBytes(spaces), QByteArray("<p>\r\nlong page\r\n</p>"));
        QVERIFY(WritePageFile(spaces, "short"));
        QCOMPARE(ReadBytes(spaces), QByteArray("short"));
        QVERIFY(WritePageFile(spaces, ""));
        QCOMPARE(ReadBytes(spaces), QByteArray());

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("page.htm")));
        QVERIFY(!WritePageFile(dir.filePath(QStringLiteral("page.htm")), "page"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("page.htm"))).isDir());
        QVERIFY(!WritePageFile(dir.filePath(QStringLiteral("missing/page.htm")), "page"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"   ", "page.htm"}));
    }
};

QTEST_GUILESS_MAIN(TestPageTemplates)
#include "test_page_templates.moc"
