#include "support/WindowTest.h"

#include <QLineEdit>
#include <QTest>

// What the page buttons do to the window; the pages themselves are the page
// commands' tests.
class TestPageButtons : public QObject {
    Q_OBJECT

private slots:
    // The fields end on the last row's Card, whatever was typed, and the
    // locations chosen are kept in qmk.ini at the close.
    void fieldsEndOnTheLastCard()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Amber", "S1", "Mint", "1990", "1", "1", "a.jpg", "<b>first</b>"},
                                                   {"Cyan", "S3"}}));
        f.folder.Write("CatalogueOutside.htm", "#DATA#");
        f.folder.Write("CatalogueInside.htm", "#NAME#;");
        f.Open();
        f.Type("nameEdit", QStringLiteral("typed, never added"));
        f.Click("catalogueButton");
        QCOMPARE(f.folder.Read("catalogue.htm").left(11), QByteArray("Cyan;Amber;"));
        QCOMPARE(f.window->HeldCard()[NameField], std::string("Amber"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Amber"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral("<b>first</b>"));
        f.Click("listButton");
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
