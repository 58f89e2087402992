#include "support/RecordingMessages.h"
#include "support/TempFolder.h"

#include "collection/CardTableModel.h"
#include "collection/CollectionFile.h"
#include "pages/PageCommands.h"
#include "pages/PageTemplates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

const QByteArray kFooter = QByteArray::fromStdString(FooterRow());

QString Question(const QString& location)
{
    return QStringLiteral("Your Page Has Been Generated.\nYour page was written to:\n") + location
           + QStringLiteral("\nWould you like to view it?");
}

QUrl PageUrl(const QString& location)
{
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(location));
}

int BoxCount(const RecordingMessages& messages, const QString& text, const QString& caption)
{
    int count = 0;
    for (const RecordingMessages::Shown& box : messages.shown)
        count += box.text == text && box.caption == caption ? 1 : 0;
    return count;
}

// Three Cards, top row first.
void FillThreeCards(CardTableModel& table)
{
    table.SetRows(ParseCollection(
        CollectionBytes({{"Cyan", "S3", "Poor", "1992", "3", "3", "", "caf\xe9"},
                         {"Blue #URL#", "S2", "Good", "1991", "2", "2", "b.jpg", "#NAME#"},
                         {"Amber", "S1", "Mint", "1990", "1", "1", "a.jpg", "<b>first</b>"}})
            .toStdString()));
}

void Publish(const PageDescription& page, const CardTableModel& table, Preferences& prefs,
             RecordingMessages& messages)
{
    PublishPage(page, LoadPageTemplates(page, messages), table, prefs, messages);
}

} // namespace

class TestPageCommands : public QObject {
    Q_OBJECT

private slots:
    // Templates read in text mode, rows in table order, the owner's details,
    // the default location kept, the question, and the page opened on Yes.
    void generatesBothPagesFromTheTable()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        Preferences prefs;
        prefs.Name = "Ann";
        prefs.Email = "ann@example.org";
        prefs.City = "Oslo";
        folder.Write("CatalogueOutside.htm", "<h1>#PREFSNAME#</h1>\r\n<table>#DATA#</table>\r\n#PREFSEMAIL#\x1a gone");
        folder.Write("CatalogueInside.htm", "<tr><td>#NAME#</td><td>#URL#</td><td>#DESCRIPTION#</td></tr>\r\n");
        folder.Write("ListOutside.htm", "#DATA#");
        folder.Write("ListInside.htm", "#NAME#,#PREFSCITY#;");
        RecordingMessages messages;

        Publish(kCataloguePage, table, prefs, messages);
        const QByteArray catalogue = "<h1>Ann</h1>\r\n<table>"
                                     "<tr><td>Cyan</td><td></td><td>caf\xe9</td></tr>\r\n"
                                     "<tr><td>Blue b.jpg</td><td>b.jpg</td><td>#NAME#</td></tr>\r\n"
                                     "<tr><td>Amber</td><td>a.jpg</td><td><b>first</b></td></tr>\r\n"
                                     + kFooter + "</table>\r\nann@example.org";
        QCOMPARE(folder.Read("catalogue.htm"), catalogue);
        QCOMPARE(prefs.Catalogue, std::string("catalogue.htm"));
        QCOMPARE(prefs.List, std::string());
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, Question(QStringLiteral("catalogue.htm")));
        QCOMPARE(messages.shown[0].caption, QCoreApplication::applicationName());
        QVERIFY(messages.shown[0].question);
        QVERIFY(messages.opened.isEmpty());

        messages.answers = {true};
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read("list.htm"), "Cyan,Oslo;Blue b.jpg,Oslo;Amber,Oslo;" + kFooter);
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("list.htm")));
        QCOMPARE(messages.opened, QList<QUrl>{PageUrl(QStringLiteral("list.htm"))});
        QCOMPARE(prefs.List, std::string("list.htm"));
    }

    // Missing templates appear empty without a box; the page is then empty,
    // or the footer alone stands for the rows.
    void createsMissingTemplatesEmpty()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        Preferences prefs;
        RecordingMessages messages;
        Publish(kCataloguePage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].question);
        for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "catalogue.htm"}) {
            QVERIFY2(folder.Exists(QString::fromLatin1(name)), name);
            QCOMPARE(folder.Read(QString::fromLatin1(name)), QByteArray());
        }

        folder.Write("ListOutside.htm", "<table>\r\n#DATA#\r\n</table>");
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read("ListInside.htm"), QByteArray());
        QCOMPARE(folder.Read("list.htm"), "<table>\r\n" + kFooter + "\r\n</table>");
        QCOMPARE(messages.shown.size(), 2);
    }

    // A template that cannot be opened is reported once and counts as empty.
    // A page that cannot be written: its box, no question, nothing opened,
    // the default location kept.
    void reportsFoldersInPlaceOfFiles()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        Preferences prefs;
        RecordingMessages messages;
        folder.Write("ListOutside.htm", "[#DATA#]");
        for (const char* name : {"ListInside.htm", "list.htm"})
            QVERIFY(QDir().mkdir(QString::fromLatin1(name)));
        messages.answers = {true};
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(BoxCount(messages, QStringLiteral("Error loading file"), QStringLiteral("Error")), 1);
        QCOMPARE(BoxCount(messages, QStringLiteral("Save to File"), QStringLiteral("Error Saving File.")), 1);
        QVERIFY(messages.opened.isEmpty());
        QVERIFY(QFileInfo(QStringLiteral("list.htm")).isDir());
        QCOMPARE(prefs.List, std::string("list.htm"));

        QVERIFY(QDir().rmdir(QStringLiteral("list.htm")));
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read("list.htm"), "[" + kFooter + "]");
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("list.htm")));
    }

    // The location is used and named exactly as held, leading spaces and all.
    void usesTheLocationAsHeld()
    {
        TempFolder folder;
        CardTableModel table;
        Preferences prefs;
        prefs.List = "  my list.htm";
        folder.Write("ListOutside.htm", "#DATA#");
        RecordingMessages messages;
        messages.answers = {true};
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read("  my list.htm"), kFooter);
        QVERIFY(!folder.Exists(QStringLiteral("list.htm")));
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("  my list.htm")));
        QCOMPARE(messages.opened, QList<QUrl>{PageUrl(QStringLiteral("  my list.htm"))});
        QCOMPARE(prefs.List, std::string("  my list.htm"));
    }
};

QTEST_MAIN(TestPageCommands)
#include "test_page_commands.moc"
