#include "support/WindowTest.h"

#include <QLineEdit>
#include <QTest>

// What the page buttons do to the window; the pages themselves are the page
// commands' tests.
class TestPageButtons : public QObject {
    Q_OBJECT

private slots:
    // A page command leaves the fields as they were, a half-typed Card, a
    // Card read from a row and the mark alike, and the locations chosen are
    // kept in qmk.ini at the close.
    void fieldsKeepWhatTheyHeld()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Amber", "S1", "Mint", "1990", "1", "1", "a.jpg", "<b>first</b>"},
                                                   {"Cyan", "S3"}}));
        f.folder.Write("CatalogueOutside.htm", "#DATA#");
        f.folder.Write("CatalogueInside.htm", "#NAME#;");
        f.folder.Write("ListOutside.htm", "#DATA#");
        f.folder.Write("ListInside.htm", "#NAME#;");
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("half typed"));
        f.Type("priceEdit", QStringLiteral("$4"));
        for (const char* button : {"catalogueButton", "listButton"}) {
            f.Click(button);
            QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("half typed"));
            QCOMPARE(f.Field("priceEdit")->text(), QStringLiteral("$4"));
            QCOMPARE(f.Field("descriptionEdit")->text(), QString());
            QCOMPARE(window.HeldCard()[NameField], std::string("half typed"));
            QCOMPARE(window.SelectionMark(), -1);
        }
        QCOMPARE(f.folder.Read("catalogue.htm").left(11), QByteArray("Cyan;Amber;"));
        QCOMPARE(f.folder.Read("list.htm").left(11), QByteArray("Cyan;Amber;"));

        // A Card read from a row stays, and so does its mark: Update then
        // rewrites that row, and no other.
        f.ClickRow(0);
        f.Type("descriptionEdit", QStringLiteral("edited"));
        f.Click("listButton");
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Cyan"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral("edited"));
        QCOMPARE(window.SelectionMark(), 0);
        const int questions = f.messages.shown.size();
        f.Click("updateButton");
        QCOMPARE(f.messages.shown.size(), questions);
        QCOMPARE(window.CardTable().Cell(0, DescriptionField), std::string_view("edited"));
        QCOMPARE(window.CardTable().Cell(1, NameField), std::string_view("Amber"));
        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nCATALOGUE=catalogue.htm\r\nLIST=list.htm\r\n"));
    }

    // With no Cards the fields keep what was typed, even when the page
    // cannot be written.
    void fieldsKeepTheTypingWithoutCards()
    {
        WindowFixture f;
        QVERIFY(QDir().mkdir(QStringLiteral("list.htm")));
        f.Open();
        f.Type("nameEdit", QStringLiteral("typed"));
        f.Click("listButton");
        QCOMPARE(f.messages.shown.last().text, QStringLiteral("Save to File"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("typed"));
    }
};

QTEST_MAIN(TestPageButtons)
#include "test_page_buttons.moc"
