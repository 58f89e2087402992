#include "support/RecordingMessages.h"
#include "support/TempFolder.h"

#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "pages/PageCharset.h"
#include "pages/PageCommands.h"
#include "pages/PageFiles.h"
#include "pages/PageTemplates.h"
#include "pages/SampleTemplates.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

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
    SetTableRows(table, ParseCollection(
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

    // Missing templates are copied in from the samples, never made empty;
    // a template of the folder's own is kept as it is.
    void copiesMissingSampleTemplates()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        Preferences prefs;
        RecordingMessages messages;
        folder.Write("ListInside.htm", "#NAME#;");
        Publish(kCataloguePage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, Question(QStringLiteral("catalogue.htm")));
        const QDir samples(SampleTemplatesFolder());
        for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm"}) {
            QFile sample(samples.filePath(QString::fromLatin1(name)));
            QVERIFY2(sample.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = sample.readAll();
            QVERIFY(!bytes.isEmpty());
            QCOMPARE(folder.Read(QString::fromLatin1(name)), bytes);
            QVERIFY(QFileInfo(QString::fromLatin1(name)).isWritable());
        }
        QCOMPARE(folder.Read("ListInside.htm"), QByteArray("#NAME#;"));
        const QByteArray page = folder.Read("catalogue.htm");
        QVERIFY(page.contains("Amber") && page.contains("Cyan"));
    }

    // A page that would be empty because its outer template is empty is not
    // written, the page already there kept, and a box says why; an empty row
    // template leaves the Cards out, and the offer to view the page says so.
    void saysSoWhenATemplateIsEmpty()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        Preferences prefs;
        RecordingMessages messages;
        folder.Write("CatalogueOutside.htm", " \r\n\t");
        folder.Write("catalogue.htm", "<p>the page of yesterday</p>");
        Publish(kCataloguePage, table, prefs, messages);
        QCOMPARE(folder.Read("catalogue.htm"), QByteArray("<p>the page of yesterday</p>"));
        QCOMPARE(folder.Read("CatalogueOutside.htm"), QByteArray(" \r\n\t"));
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text,
                 QStringLiteral("The page was not written: its template CatalogueOutside.htm is missing or empty, so "
                                "the page would be empty.\r\nPut your page's HTML into CatalogueOutside.htm, or delete "
                                "CatalogueOutside.htm to have Quillmark copy its sample template in again."));
        QVERIFY(!messages.shown[0].question);
        QVERIFY(messages.opened.isEmpty());
        QCOMPARE(prefs.Catalogue, std::string());

        // Deleted, it comes back from the samples.
        QVERIFY(QFile::remove(QStringLiteral("CatalogueOutside.htm")));
        Publish(kCataloguePage, table, prefs, messages);
        QVERIFY(folder.Read("catalogue.htm").contains("Amber"));
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("catalogue.htm")));

        folder.Write("ListOutside.htm", "<table>\r\n#DATA#\r\n</table>");
        folder.Write("ListInside.htm", "\r\n");
        messages.answers = {true};
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read("list.htm"), "<table>\r\n\r\n\r\n\r\n" + kFooter + "\r\n</table>");
        QCOMPARE(messages.shown.last().text,
                 QStringLiteral("Your Page Has Been Generated, but without your Cards: its row template ListInside.htm "
                                "is empty.\nYour page was written to:\nlist.htm\nWould you like to view it?"));
        QVERIFY(messages.shown.last().question);
        QCOMPARE(messages.opened, QList<QUrl>{PageUrl(QStringLiteral("list.htm"))});

        // Without Cards an empty row template leaves nothing out.
        CardTableModel none;
        Publish(kListPage, none, prefs, messages);
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("list.htm")));
    }

    // Samples that cannot be copied are named, and nothing is copied over a
    // template of the folder's own, even an empty one or a link.
    void reportsSamplesThatCannotBeCopied()
    {
        TempFolder folder;
        QString reason;
        QVERIFY(!CopySampleTemplates(folder.Path("no samples here"), folder.Path({}), reason));
        QVERIFY2(reason.contains(QStringLiteral("CatalogueOutside.htm")), qPrintable(reason));
        QVERIFY(!folder.Exists("CatalogueOutside.htm"));

        folder.Write("CatalogueOutside.htm", "");
        QVERIFY(QFile::link(QStringLiteral("nowhere.htm"), QStringLiteral("ListInside.htm")));
        QVERIFY(CopySampleTemplates(SampleTemplatesFolder(), folder.Path({}), reason));
        QCOMPARE(folder.Read("CatalogueOutside.htm"), QByteArray());
        QVERIFY(QFileInfo(QStringLiteral("ListInside.htm")).isSymLink());
        QVERIFY(!folder.Read("CatalogueInside.htm").isEmpty());
        QVERIFY(IsBlankTemplate(" \t\r\n\f\v"));
        QVERIFY(IsBlankTemplate(""));
        QVERIFY(!IsBlankTemplate(" x "));
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
        QVERIFY(messages.shown.last().text.startsWith(
            QStringLiteral("Your Page Has Been Generated, but without your Cards: its row template ListInside.htm")));
    }

    void knowsAUtf8Page_data()
    {
        QTest::addColumn<QByteArray>("outer");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("meta charset") << QByteArray("<head><meta charset=\"utf-8\">") << true;
        QTest::newRow("any case, no quotes") << QByteArray("<META CHARSET = UTF8>") << true;
        QTest::newRow("Content-Type") << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                                                    "charset=UTF-8\">") << true;
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf<p>#DATA#</p>") << true;
        QTest::newRow("Windows-1252") << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                                                    "charset=windows-1252\">") << false;
        QTest::newRow("none declared") << QByteArray("<p>#DATA#</p>") << false;
        QTest::newRow("the first declaration decides")
            << QByteArray("<!-- no charset here --><meta charset=iso-8859-1><meta charset=utf-8>") << false;
    }

    void knowsAUtf8Page()
    {
        QFETCH(QByteArray, outer);
        QFETCH(bool, utf8);
        QCOMPARE(PageIsUtf8(std::string_view(outer.constData(), std::size_t(outer.size()))), utf8);
    }

    // A collection and preferences kept on Windows: their letters go into a
    // page that declares UTF-8 as UTF-8, and into any other page as they
    // are. A UTF-8 collection's bytes always go in as they are.
    void windows1252TextGoesIntoUtf8PagesAsUtf8_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("windows1252");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("UTF-8 page") << QByteArray("<meta charset=utf-8>") << true
                                    << QByteArray("<meta charset=utf-8>Zo\xc3\xab|Caf\xc3\xa9 \xe2\x82\xac" "5;");
        QTest::newRow("Windows-1252 page") << QByteArray("<meta charset=windows-1252>") << true
                                           << QByteArray("<meta charset=windows-1252>Zo\xeb|Caf\xe9 \x80" "5;");
        QTest::newRow("no charset") << QByteArray() << true << QByteArray("Zo\xeb|Caf\xe9 \x80" "5;");
        QTest::newRow("UTF-8 files") << QByteArray("<meta charset=utf-8>") << false
                                     << QByteArray("<meta charset=utf-8>Zo\xeb|Caf\xe9 \x80" "5;");
    }

    void windows1252TextGoesIntoUtf8PagesAsUtf8()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, windows1252);
        QFETCH(QByteArray, page);
        const TextEncoding encoding = windows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
        CardTableModel table;
        SetTableRows(table, {Card{"Caf\xe9", "", "", "", "\x80" "5"}});
        table.SetEncoding(encoding);
        Preferences prefs;
        prefs.Name = "Zo\xeb";
        prefs.Encoding = encoding;
        const PageTemplateTexts templates{head.toStdString() + "#PREFSNAME#|#DATA#", "#NAME# #PRICE#;"};
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(PageWriter(templates, table, prefs)(buffer));
        QCOMPARE(buffer.data(), page + kFooter);
        QCOMPARE(prefs.Name, std::string("Zo\xeb"));
    }

    // A location from a Windows-1252 qmk.ini names the file in its letters.
    void windows1252LocationKeepsItsLetters()
    {
        TempFolder folder;
        CardTableModel table;
        Preferences prefs;
        prefs.List = "Caf\xe9 list.htm";
        prefs.Encoding = TextEncoding::Windows1252;
        folder.Write("ListOutside.htm", "#DATA#");
        RecordingMessages messages;
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(folder.Read(QStringLiteral("Café list.htm")), kFooter);
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("Café list.htm")));
        QCOMPARE(prefs.List, std::string("Caf\xe9 list.htm"));
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

    // A page replaces a page, or nothing, without a word; a file that is not
    // an HTML page (a shared folder's qmk.ini may name ../home/.profile) is
    // replaced only when the collector says Yes to the question.
    void asksBeforeReplacingWhatIsNotAPage()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        folder.Write("ListOutside.htm", "<p>#DATA#</p>");
        QVERIFY(QDir().mkdir(QStringLiteral("home")));
        folder.Write("home/.profile", "export PATH=$HOME/bin:$PATH\n");
        Preferences prefs;
        prefs.List = "home/.profile";
        RecordingMessages messages;
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].question);
        QCOMPARE(messages.shown[0].text, QStringLiteral("home/.profile already exists and is not an HTML page.\r\n"
                                                        "Do you want to replace it with the page?"));
        QCOMPARE(folder.Read("home/.profile"), QByteArray("export PATH=$HOME/bin:$PATH\n"));

        messages.answers = {true, false};
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 3);
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("home/.profile")));
        QVERIFY(folder.Read("home/.profile").startsWith("<p>"));

        // Now a page: replaced without a question, as an empty file is.
        Publish(kListPage, table, prefs, messages);
        QCOMPARE(messages.shown.size(), 4);
        QCOMPARE(messages.shown.last().text, Question(QStringLiteral("home/.profile")));
        folder.Write("empty.htm", "");
        folder.Write("bom.htm", "\xef\xbb\xbf\r\n  <!DOCTYPE html>");
        for (const char* name : {"empty.htm", "bom.htm"}) {
            QCOMPARE(LooksLikePage(QString::fromLatin1(name)), true);
            prefs.List = name;
            Publish(kListPage, table, prefs, messages);
            QVERIFY(folder.Read(QString::fromLatin1(name)).startsWith("<p>"));
            QCOMPARE(messages.shown.last().text, Question(QString::fromLatin1(name)));
        }
        QCOMPARE(messages.shown.size(), 6);
    }

    // A location holding a NUL is refused once, with one box, and nothing is
    // written, not even a file of the name before the NUL; the collection's
    // own files take no page, whatever they hold.
    void refusesLocationsNoPageMayTake_data()
    {
        QTest::addColumn<QByteArray>("location");
        QTest::addColumn<QString>("box");
        QTest::newRow("NUL") << QByteArray("list\0.htm", 9)
                             << "The page location in qmk.ini holds a NUL character, which no file name can hold, so "
                                "no page was written.";
        for (const char* own : {"qmk.dat", "./qmk.ini", "ListOutside.htm", "ListInside.htm", "qmk.lock", "alias"})
            QTest::newRow(own) << QByteArray(own) << QStringLiteral("%1 is one of this collection's own files").arg(own);
    }
    void refusesLocationsNoPageMayTake()
    {
        QFETCH(QByteArray, location);
        QFETCH(QString, box);
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        folder.Write("ListOutside.htm", "<p>#DATA#</p>");
        folder.Write("ListInside.htm", "<b>#NAME#</b>");
        const QByteArray collection = CollectionBytes({{"Kept"}});
        folder.Write("qmk.dat", collection);
        folder.Write("qmk.ini", "<p>LIST=qmk.ini</p>");
        QVERIFY(QFile::link(QStringLiteral("qmk.dat"), folder.Path(QStringLiteral("alias"))));
        // The samples a page command copies in are not what is looked at here.
        QString why;
        QVERIFY(CopyMissingSampleTemplates(QDir::currentPath(), why));
        const QStringList before = QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::System);
        Preferences prefs;
        prefs.List = location.toStdString();
        RecordingMessages messages;
        messages.answers = {true, true};
        QStringList warnings;
        static QStringList* seen = nullptr;
        seen = &warnings;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { seen->append(text); });
        Publish(kListPage, table, prefs, messages);
        qInstallMessageHandler(previous);
        QCOMPARE(warnings, QStringList());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.startsWith(box), qPrintable(messages.shown[0].text));
        QCOMPARE(messages.shown[0].caption, QStringLiteral("Error Saving File."));
        QVERIFY(!messages.shown[0].question);
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::System), before);
        QCOMPARE(folder.Read("qmk.dat"), collection);
        QCOMPARE(folder.Read("ListOutside.htm"), QByteArray("<p>#DATA#</p>"));
    }

    // Templates that are not regular files are not read: the window neither
    // waits on a named pipe nor reads /dev/zero, and its box says why.
    void refusesSpecialTemplates()
    {
        TempFolder folder;
        CardTableModel table;
        FillThreeCards(table);
        QCOMPARE(::mkfifo("ListOutside.htm", 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("ListInside.htm")));
        RecordingMessages messages;
        const PageTemplateTexts templates = LoadPageTemplates(kListPage, messages);
        QCOMPARE(templates.outer, std::string());
        QCOMPARE(templates.row, std::string());
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[0].text,
                 QStringLiteral("Error loading file\r\nListOutside.htm: not a regular file but a named pipe; only "
                                "regular files are read"));
        QCOMPARE(messages.shown[1].text,
                 QStringLiteral("Error loading file\r\nListInside.htm: not a regular file but a device; only "
                                "regular files are read"));
        QVERIFY(QFileInfo(QStringLiteral("ListInside.htm")).isSymLink());
        PageTemplateTexts read;
        QString reason;
        QVERIFY(!ReadPageTemplates(kListPage, read, reason));
        QVERIFY(reason.contains("named pipe"));
    }
};

QTEST_MAIN(TestPageCommands)
#include "test_page_commands.moc"
