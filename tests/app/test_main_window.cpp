#include "support/WindowTest.h"

#include "collection/CardTableModel.h"

#include "app/window/DesktopMessages.h"
#include "app/window/TerminationWatcher.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "resources/StringTable.h"

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kEmptyPreferences = "CREATOR=QMK 1.0\r\nNAME=\r\nEMAIL=\r\nADDRESS1=\r\nADDRESS2=\r\nCITY=\r\nSTATE=\r\n"
                                     "COUNTRY=\r\nCATALOGUE=\r\nLIST=\r\nREPORT=\r\nVALREPORT=\r\nTOOLTIPS=\r\n\r\n";

QStringList ComboItems(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList RecoveryFiles()
{
    return QDir::current().entryList({QStringLiteral("qmk.dat.recovered-*")}, QDir::Files);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void opensEmptyWithoutFiles()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        // The program's caption, then the folder that is open.
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillmark - Velmora - ") + QDir::current().dirName());
        for (const char* name : {"nameEdit", "seriesBox", "conditionBox", "yearEdit", "priceEdit", "quantityEdit",
                                 "urlEdit", "descriptionEdit"})
            QCOMPARE(f.Field(name)->text(), QString());
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("0"));
        QVERIFY(!f.Find<QCheckBox>("tooltipsBox")->isChecked());
        auto* view = f.Find<QTableView>("cardTable");
        QStringList headings;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            if (!view->isColumnHidden(column))
                headings << view->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(headings, (QStringList{"Name", "Series", "Condition", "Year", "Price", "Qty", "URL", "Description"}));
        QVERIFY(f.folder.Exists("qmk.dat"));
        QVERIFY(f.folder.Exists("qmk.ini"));
        QCOMPARE(f.folder.Read("qmk.dat"), QByteArray());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void closesTheSameEveryWay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Quit") << "quit";
        QTest::newRow("Enter in the Name field") << "enter";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }

    void closesTheSameEveryWay()
    {
        QFETCH(QString, how);
        WindowFixture f;
        const QByteArray collection = CollectionBytes({{"Alpha", "", "", "1999"}, {"Beta", "S2"}});
        f.folder.Write("qmk.dat", collection);
        f.Open();
        f.Type("nameEdit", QStringLiteral("typed, never added"));
        if (how == "quit")
            f.Quit();
        else if (how == "enter")
            QTest::keyClick(f.Field("nameEdit"), Qt::Key_Return);
        else if (how == "escape")
            QTest::keyClick(f.window.get(), Qt::Key_Escape);
        else
            f.window->close();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.folder.Read("qmk.ini"), kEmptyPreferences);
        QCOMPARE(f.folder.Read("qmk.dat"), collection);
        f.window->close();
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The end of the session or a signal while the Preferences dialog or a
    // question is open cancels them and ends the run as a close does.
    void terminationCancelsWhatIsOpenOverTheWindow()
    {
        TempFolder folder;
        // Should a dialog survive, it is closed here rather than left waiting.
        bool rescued = false;
        QTimer rescue;
        QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                rescued = true;
                dialog->reject();
            }
        });
        rescue.start(5000);
        DesktopMessages desktop;
        MainWindow window(desktop);
        window.show();
        window.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Kept"));
        window.OnAdd();
        QTimer::singleShot(0, &window, [&window] { EndRunForTermination(window); });
        window.OnPreferences();
        QVERIFY(!window.isVisible());
        QCOMPARE(folder.Read("qmk.dat"), CollectionBytes({{"Kept"}}));

        MainWindow again(desktop);
        again.show();
        again.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Kept"));
        QTimer::singleShot(0, &again, [&again] { EndRunForTermination(again); });
        again.OnAdd(); // the duplicate question, answered No by the cancel
        QVERIFY(!again.isVisible());
        QCOMPARE(folder.Read("qmk.dat"), CollectionBytes({{"Kept"}}));
        QVERIFY(!rescued);
    }

    void loadsCardsIntoTheTableAndTheLists()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Old", "Base Set", "Mint"},
                                                   {"Mid", "base set", "Poor"},
                                                   {"New", "Jungle", "mint"}}));
        MainWindow& window = f.Open();
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("New"));
        QCOMPARE(window.CardTable().Cell(2, NameField), std::string_view("Old"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("3"));
        QCOMPARE(f.Field("nameEdit")->text(), QString());
        QCOMPARE(ComboItems(f.Find<QComboBox>("seriesBox")), (QStringList{"Base Set", "Jungle"}));
        QCOMPARE(ComboItems(f.Find<QComboBox>("conditionBox")), (QStringList{"Mint", "Poor"}));

        f.ClickRow(0);
        f.Click("clearButton");
        QCOMPARE(f.Field("nameEdit")->text(), QString());
        QCOMPARE(f.Field("seriesBox")->text(), QString());
        QCOMPARE(window.CardTable().rowCount(), 3);
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 2);
    }

    // Every field shows the file's bytes and gives them back unchanged, even
    // when they are not UTF-8 or a list entry begins with them.
    void keepsBytesThroughEveryField()
    {
        WindowFixture f;
        const QByteArray collection = CollectionBytes(
            {{"Base Set card", "Base Set", "Near Mint"},
             {"Pok\xe9mon \xff", "Base", "near mint", "19\xe9" "9", "\x80" "12", "1\xa0", "file:///x/\xe9.png",
              "Caf\xe9 <b>holo</b>"},
             {"Lower", "base set", "Near"}});
        f.folder.Write("qmk.dat", collection);
        MainWindow& window = f.Open();
        for (int row = 0; row < 3; ++row) {
            f.ClickRow(row);
            f.Click("updateButton");
        }
        f.ClickRow(1);
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("Base"));
        f.ClickRow(0);
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("base set"));
        QCOMPARE(f.Field("conditionBox")->text(), QStringLiteral("Near"));
        QCOMPARE(window.CardTable().rowCount(), 3);
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), collection);
    }

    // A collection kept on Windows through a start, an edit and a close: its
    // letters show in the table, the fields and the lists; untouched values
    // keep their bytes, edited ones are written in Windows-1252, and a
    // character the file cannot hold is refused with a box naming it. A
    // second run gives the same file.
    void keepsAWindows1252Collection()
    {
        const QByteArray collection = CollectionBytes({{"Caf\xe9 Owl", "S\xe9rie", "Mint", "1999", "\x80" "5", "1", "",
                                                        "na\xefve \x81"},
                                                       {"Crow", "S\xe8rie", "Good"},
                                                       {"Dove", "\xc9" "cume", "Poor"}});
        WindowFixture f;
        f.folder.Write("qmk.dat", collection);
        MainWindow& window = f.Open();
        const CardTableModel& table = window.CardTable();
        QCOMPARE(table.data(table.index(2, NameField)).toString(), QStringLiteral("Café Owl"));
        QCOMPARE(table.data(table.index(2, PriceField)).toString(), QStringLiteral("€5"));
        const QStringList series = ComboItems(f.Find<QComboBox>("seriesBox"));
        QCOMPARE(series.size(), 3);
        QCOMPARE(series.first(), QStringLiteral("Écume"));
        QVERIFY(series.contains(QStringLiteral("Série")) && series.contains(QStringLiteral("Sèrie")));

        f.ClickRow(2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("Café Owl"));
        QCOMPARE(f.Field("descriptionEdit")->text(), QStringLiteral("naïve \u0081"));
        f.Type("descriptionEdit", QStringLiteral("crème brûlée"));
        f.Click("updateButton");
        f.Type("nameEdit", QStringLiteral("Zoë"));
        f.Type("seriesBox", QStringLiteral("Écume"));
        f.Click("addButton");
        QVERIFY(f.messages.shown.isEmpty());

        f.Type("yearEdit", QStringLiteral("1\u65e5"));
        QCOMPARE(f.Field("yearEdit")->text(), QStringLiteral("1"));
        QTRY_COMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("The character \"\u65e5\" (U+65E5) cannot be stored in "
                                                          "qmk.dat, which is written in the Windows-1252 character "
                                                          "set.\r\nIt was not entered."));
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error"));
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.dat");
        QCOMPARE(saved, CollectionBytes({{"Caf\xe9 Owl", "S\xe9rie", "Mint", "1999", "\x80" "5", "1", "",
                                          "cr\xe8me br\xfbl\xe9" "e"},
                                         {"Crow", "S\xe8rie", "Good"},
                                         {"Dove", "\xc9" "cume", "Poor"},
                                         {"Zo\xeb", "\xc9" "cume", "Mint", "1999", "\x80" "5", "1", "",
                                          "cr\xe8me br\xfbl\xe9" "e"}}));

        WindowFixture again;
        again.folder.Write("qmk.dat", saved);
        MainWindow& reopened = again.Open();
        QCOMPARE(reopened.CardTable().data(reopened.CardTable().index(0, NameField)).toString(), QStringLiteral("Zoë"));
        again.Quit();
        QCOMPARE(again.folder.Read("qmk.dat"), saved);
    }

    // A UTF-8 collection holds any character.
    void utf8CollectionTakesAnyCharacter()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Caf\xc3\xa9"}}));
        f.Open();
        f.Type("nameEdit", QStringLiteral("\u65e5\u672c \U0001F0A1"));
        f.Click("addButton");
        f.Quit();
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.folder.Read("qmk.dat"), CollectionBytes({{"Caf\xc3\xa9"}, {"\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x82\xa1"}}));
    }

    void enterInAComboBoxQuitsAndKeepsItsText()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"A", "Base Set"}}));
        f.Open();
        f.Type("seriesBox", QStringLiteral("base"));
        QTest::keyClick(f.Field("seriesBox"), Qt::Key_Return);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.window->HeldCard()[SeriesField], std::string());
        QCOMPARE(f.Field("seriesBox")->text(), QString());
    }

    // A file that cannot be replaced keeps its old contents, the user is
    // told, and the run's Cards go to a recovery file that the box names.
    void keepsCardsWhenTheCollectionCannotBeWritten()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Alpha"}}));
        f.Open();
        QVERIFY(QDir::current().rename("qmk.dat", "moved"));
        QVERIFY(QDir::current().mkdir("qmk.dat"));
        f.Quit();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error Writing File"));
        QVERIFY(f.messages.shown[0].text.startsWith(QStringLiteral("Save to File\r\n")));
        const QStringList recovered = RecoveryFiles();
        QCOMPARE(recovered.size(), 1);
        QVERIFY(f.messages.shown[0].text.contains(recovered[0]));
        QCOMPARE(f.folder.Read(recovered[0]), CollectionBytes({{"Alpha"}}));
        QCOMPARE(f.folder.Read("qmk.ini"), kEmptyPreferences);
    }

    void writesPreferencesBeforeTheCollection()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Alpha"}}));
        f.Open();
        QVERIFY(QDir::current().remove("qmk.ini"));
        QVERIFY(QDir::current().mkdir("qmk.ini"));
        QVERIFY(QDir::current().remove("qmk.dat"));
        QVERIFY(QDir::current().mkdir("qmk.dat"));
        f.Quit();
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("Save to File"));
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error Writing File"));
        QVERIFY(f.messages.shown[1].text.startsWith(QStringLiteral("Save to File\r\n")));
    }

    // A collection file that exists but cannot be read is reported at start
    // and never overwritten: the Cards of the run go to a recovery file.
    void neverOverwritesAnUnreadableCollection()
    {
        WindowFixture f;
        QVERIFY(QDir::current().mkdir("qmk.dat"));
        f.Open();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Error"));
        f.Type("nameEdit", QStringLiteral("Added"));
        f.Click("addButton");
        f.Quit();
        QVERIFY(QFileInfo(f.folder.Path("qmk.dat")).isDir());
        const QStringList recovered = RecoveryFiles();
        QCOMPARE(recovered.size(), 1);
        QVERIFY(f.folder.Read(recovered[0]).contains("NAME=Added\r\n"));
        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(f.messages.shown[1].text.contains(recovered[0]));
    }

    void startsTipsFromTheTooltipsLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("no line") << QByteArray("NAME=x\r\n") << false << QByteArray();
        QTest::newRow("empty value") << QByteArray("TOOLTIPS=\r\n") << true << QByteArray();
        QTest::newRow("yes") << QByteArray("TOOLTIPS=yes\r\n") << true << QByteArray("yes");
        QTest::newRow("no") << QByteArray("TOOLTIPS=no\r\n") << false << QByteArray("no");
        QTest::newRow("No") << QByteArray("TOOLTIPS=No\r\n") << true << QByteArray("No");
    }

    void startsTipsFromTheTooltipsLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, on);
        QFETCH(QByteArray, kept);
        WindowFixture f;
        f.folder.Write("qmk.ini", file);
        MainWindow& window = f.Open();
        QCOMPARE(f.Find<QCheckBox>("tooltipsBox")->isChecked(), on);
        QCOMPARE(window.TipSupport(), on);
        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nTOOLTIPS=" + kept + "\r\n"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
