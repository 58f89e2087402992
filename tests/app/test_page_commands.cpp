#include "support/WindowTest.h"

#include "pages/PageTemplates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
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

// Three Cards; the file's first record ends in the table's bottom row.
void WriteThreeCards(const TempFolder& folder)
{
    folder.Write("qmk.dat", CollectionBytes({{"Amber", "S1", "Mint", "1990", "1", "1", "a.jpg", "<b>first</b>"},
                                             {"Blue #URL#", "S2", "Good", "1991", "2", "2", "b.jpg", "#NAME#"},
                                             {"Cyan", "S3", "Poor", "1992", "3", "3", "", "caf\xe9"}}));
}

} // namespace

class TestPageCommands : public QObject {
    Q_OBJECT

private slots:
    // The whole run: templates read in text mode, rows in table order, the
    // owner's details, the default location kept, the question, and the
    // fields left on the last row's Card.
    void generatesBothPagesFromTheTable()
    {
        WindowFixture f;
        WriteThreeCards(f.folder);
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nNAME=Ann\r\nEMAIL=ann@example.org\r\nCITY=Oslo\r\n");
        f.folder.Write("CatalogueOutside.htm", "<h1>#PREFSNAME#</h1>\r\n<table>#DATA#</table>\r\n#PREFSEMAIL#\x1a gone");
        f.folder.Write("CatalogueInside.htm", "<tr><td>#NAME#</td><td>#URL#</td><td>#DESCRIPTION#</td></tr>\r\n");
        f.folder.Write("ListOutside.htm", "#DATA#");
        f.folder.Write("ListInside.htm", "#NAME#,#PREFSCITY#;");
        f.Open();
        QCOMPARE(std::string(f.window->CardTable().Cell(0, NameField)), std::string("Cyan"));
        f.Type("nameEdit", QStringLiteral("typed, never added"));

        f.Click("catalogueButton");
        const QByteArray catalogue = "<h1>Ann</h1>\r\n<table>"
                                     "<tr><td>Cyan</td><td></td><td>caf\xe9</td></tr>\r\n"
                                     "<tr><td>Blue b.jpg</td><td>b.jpg</td><td>#NAME#</td></tr>\r\n"
                                     "<tr><td>Amber</td><td>a.jpg</td><td><b>first</b></td></tr>\r\n"
                                     + kFooter + "</table>\r\nann@example.org";
        QCOMPARE(f.folder.Read("catalogue.htm"), catalogue);
        QCOMPARE(f.window->Prefs().Catalogue, std::string("catalogue.htm"));
        QCOMPARE(f.window->Prefs().List, std::string());
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, Question(QStringLiteral("catalogue.htm")));
        QCOMPARE(f.messages.shown[0].caption, QCoreApplication::applicationName());
        QVERIFY(f.messages.shown[0].question);
        QVERIFY(f.messages.opened.isEmpty());
        QCOMPARE(f.window->HeldCard()[NameField], std::string("Amber"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Amber"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral("<b>first</b>"));

        f.messages.answers = {true};
        f.Click("listButton");
        QCOMPARE(f.folder.Read("list.htm"), "Cyan,Oslo;Blue b.jpg,Oslo;Amber,Oslo;" + kFooter);
        QCOMPARE(f.messages.shown.last().text, Question(QStringLiteral("list.htm")));
        QCOMPARE(f.messages.opened, QList<QUrl>{PageUrl(QStringLiteral("list.htm"))});

        f.Click("catalogueButton");
        QCOMPARE(f.folder.Read("catalogue.htm"), catalogue);
        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nCATALOGUE=catalogue.htm\r\nLIST=list.htm\r\n"));
    }

    // Missing templates appear empty without a box; the page is then empty,
    // or the footer alone stands for the rows.
    void createsMissingTemplatesEmpty()
    {
        WindowFixture f;
        WriteThreeCards(f.folder);
        f.Open();
        f.Click("catalogueButton");
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].question);
        for (const char* name : {"CatalogueOutside.htm", "CatalogueInside.htm", "catalogue.htm"}) {
            QVERIFY2(f.folder.Exists(QString::fromLatin1(name)), name);
            QCOMPARE(f.folder.Read(QString::fromLatin1(name)), QByteArray());
        }

        f.folder.Write("ListOutside.htm", "<table>\r\n#DATA#\r\n</table>");
        f.Click("listButton");
        QCOMPARE(f.folder.Read("ListInside.htm"), QByteArray());
        QCOMPARE(f.folder.Read("list.htm"), "<table>\r\n" + kFooter + "\r\n</table>");
        QCOMPARE(f.messages.shown.size(), 2);
    }

    // A template that cannot be opened is reported once and counts as empty.
    // A page that cannot be written: its box, no question, nothing opened,
    // the default location kept; the fields already show the last Card.
    void reportsFoldersInPlaceOfFiles()
    {
        WindowFixture f;
        WriteThreeCards(f.folder);
        f.folder.Write("ListOutside.htm", "[#DATA#]");
        for (const char* name : {"ListInside.htm", "list.htm"})
            QVERIFY(QDir().mkdir(QString::fromLatin1(name)));
        f.messages.answers = {true};
        f.Open();
        f.Click("listButton");
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(BoxCount(f.messages, QStringLiteral("Error loading file"), QStringLiteral("Error")), 1);
        QCOMPARE(BoxCount(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Saving File.")), 1);
        QVERIFY(f.messages.opened.isEmpty());
        QVERIFY(QFileInfo(QStringLiteral("list.htm")).isDir());
        QCOMPARE(f.window->Prefs().List, std::string("list.htm"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Amber"));

        QVERIFY(QDir().rmdir(QStringLiteral("list.htm")));
        f.Click("listButton");
        QCOMPARE(f.folder.Read("list.htm"), "[" + kFooter + "]");
        QCOMPARE(f.messages.shown.last().text, Question(QStringLiteral("list.htm")));
    }

    // The location is used and named exactly as held, leading spaces and all;
    // with no Cards the fields keep what was typed.
    void usesTheLocationAsHeld()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nLIST=  my list.htm\r\n");
        f.folder.Write("ListOutside.htm", "#DATA#");
        f.messages.answers = {true};
        f.Open();
        f.Type("nameEdit", QStringLiteral("typed"));
        f.Click("listButton");
        QCOMPARE(f.folder.Read("  my list.htm"), kFooter);
        QVERIFY(!f.folder.Exists(QStringLiteral("list.htm")));
        QCOMPARE(f.messages.shown.last().text, Question(QStringLiteral("  my list.htm")));
        QCOMPARE(f.messages.opened, QList<QUrl>{PageUrl(QStringLiteral("  my list.htm"))});
        QCOMPARE(f.window->Prefs().List, std::string("  my list.htm"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("typed"));
    }
};

QTEST_MAIN(TestPageCommands)
#include "test_page_commands.moc"
