#include "support/WindowTest.h"

#include "app/preferences/PreferencesDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// A menu's entries as the user reads them, "-" for a separator.
QString Entries(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts.join(QLatin1Char('|'));
}

// The letter that Alt (or, in an open menu, the key alone) chooses.
QChar Mnemonic(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
}

QMenuBar* Bar(const WindowFixture& f)
{
    return f.Find<QMenuBar>("menuBar");
}

QAction* Entry(const WindowFixture& f, const char* menu, const char* action)
{
    for (QAction* entry : f.Find<QMenu>(menu)->actions()) {
        if (entry->objectName() == QLatin1String(action))
            return entry;
    }
    return nullptr;
}

// Chooses the entry with the mouse: a click on the menu's title in the bar,
// then on the entry in the menu that opens.
void ChooseWithMouse(const WindowFixture& f, const char* menuName, const char* actionName)
{
    auto* menu = f.Find<QMenu>(menuName);
    QAction* entry = Entry(f, menuName, actionName);
    QVERIFY(entry != nullptr);
    QTest::mouseClick(Bar(f), Qt::LeftButton, {}, Bar(f)->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
}

const QByteArray kPreferences = "CREATOR=QMK 1.0\r\nNAME=Old Name\r\nTOOLTIPS=no\r\n";

// What a user can tell of a command after it: the fields, whether the window
// closed, the boxes and pages it showed, and every file after the close.
QStringList Outcome(const std::function<void(WindowFixture&)>& command)
{
    WindowFixture f;
    f.folder.Write("qmk.dat", CollectionBytes({{"Amber", "S1", "Mint", "1990"}, {"Cyan", "S3"}, {"Bolt", "S2"}}));
    f.folder.Write("qmk.ini", kPreferences);
    for (const char* page : {"Catalogue", "List"}) {
        f.folder.Write(QString::fromLatin1(page) + QStringLiteral("Outside.htm"), "#DATA#");
        f.folder.Write(QString::fromLatin1(page) + QStringLiteral("Inside.htm"), "#NAME#;");
    }
    MainWindow& window = f.Open();
    f.ClickRow(1);
    f.Type("nameEdit", QStringLiteral("Typed"));
    // The Preferences dialog, if the command opens it, gets a new Name.
    QTimer::singleShot(0, &window, [] {
        if (auto* dialog = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget())) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            name->setText(QStringLiteral("New Name"));
            dialog->accept();
        }
    });
    command(f);
    QStringList outcome;
    for (const char* field : {"nameEdit", "seriesBox", "conditionBox", "yearEdit", "countBox"})
        outcome << f.Field(field)->text();
    outcome << (window.isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
    for (const RecordingMessages::Shown& shown : f.messages.shown)
        outcome << shown.text;
    for (const QUrl& url : f.messages.opened)
        outcome << url.toString();
    if (window.isVisible())
        f.Quit();
    for (const char* file : {"qmk.dat", "qmk.ini", "catalogue.htm", "list.htm"})
        outcome << QString::fromLatin1(f.folder.Exists(QString::fromLatin1(file)) ? f.folder.Read(file) : "none");
    return outcome;
}

} // namespace

class TestMenuBar : public QObject {
    Q_OBJECT

private slots:
    // The bar holds the window's own actions, the same that the right-click
    // menu shows; the letters of the titles are free in the window, and
    // each menu's letters differ.
    void offersEachCommandUnderItsTitle()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        QStringList titles;
        for (const QAction* title : Bar(f)->actions())
            titles << title->text();
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Help"}));
        QCOMPARE(Entries(*f.Find<QMenu>("fileMenu")),
                 QStringLiteral("&Open Collection Folder...|Rece&nt Collections|-|&Import from CSV...|&Export to CSV...|"
                                "&Merge Collection...|"
                                "Publish &Catalogue|Publish &List|Publish &Trade List|Publish &Want List|-|"
                                "&Print...|-|&Quit"));
        QCOMPARE(Entries(*f.Find<QMenu>("editMenu")),
                 QStringLiteral("&Undo|&Redo|-|&Find...|-|&Add|U&pdate|&Delete|&Clear|-|&Look Up Card...|Card De&tails...|Download Card &Index...|"
                                "Refresh &Market Values...|-|Pr&eferences..."));
        QCOMPARE(Entries(*f.Find<QMenu>("viewMenu")),
                 QStringLiteral("&Binder...|&Statistics...|Market &Movers...|Set &Completion...|-|&Tooltips"));
        QCOMPARE(Entries(*f.Find<QMenu>("helpMenu")), QStringLiteral("Quillmark &Help|&About Quillmark..."));

        QList<QAction*> inBar;
        for (const QAction* title : Bar(f)->actions()) {
            QSet<QChar> letters;
            qsizetype entries = 0;
            for (QAction* entry : title->menu()->actions()) {
                inBar << entry;
                if (!entry->isSeparator()) {
                    ++entries;
                    letters.insert(Mnemonic(entry->text()));
                }
            }
            QCOMPARE(letters.size(), entries);
        }
        std::unique_ptr<QMenu> rightClick(window.CreateWindowMenu());
        for (QAction* action : rightClick->actions())
            QVERIFY2(action->isSeparator() || inBar.contains(action), qPrintable(action->text()));
        QCOMPARE(Entries(*rightClick),
                 QStringLiteral("&Undo|&Redo|&Statistics...|&Binder...|&Export to CSV...|&Import from CSV...|"
                                "&Find...|&Open Collection Folder...|Rece&nt Collections|-|&About Quillmark..."));
        // The edit boxes keep their own undo; the window's entries follow below.
        emit f.Field("nameEdit")->customContextMenuRequested(QPoint(1, 1));
        auto* editMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(editMenu != nullptr);
        const QString boxEntries = Entries(*editMenu);
        editMenu->close();
        QVERIFY2(boxEntries.endsWith(QStringLiteral(
                     "-|&Statistics...|&Binder...|&Export to CSV...|&Import from CSV...|&Find...|"
                     "&Open Collection Folder...|Rece&nt Collections|-|&About Quillmark...")),
                 qPrintable(boxEntries));

        QSet<QChar> taken;
        for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
            taken.insert(Mnemonic(button->text()));
        for (const QLabel* label : window.findChildren<QLabel*>())
            taken.insert(Mnemonic(label->text()));
        for (const QString& title : titles)
            QVERIFY2(!taken.contains(Mnemonic(title)), qPrintable(title));
    }

    void eachEntryRunsItsButtonsCommand_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QByteArray>("menu");
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("Add") << QByteArray("addButton") << QByteArray("editMenu") << QByteArray("addAction");
        QTest::newRow("Update") << QByteArray("updateButton") << QByteArray("editMenu") << QByteArray("updateAction");
        QTest::newRow("Delete") << QByteArray("deleteButton") << QByteArray("editMenu") << QByteArray("deleteAction");
        QTest::newRow("Clear") << QByteArray("clearButton") << QByteArray("editMenu") << QByteArray("clearAction");
        QTest::newRow("Preferences") << QByteArray("preferencesButton") << QByteArray("editMenu")
                                     << QByteArray("preferencesAction");
        QTest::newRow("Catalogue") << QByteArray("catalogueButton") << QByteArray("fileMenu")
                                   << QByteArray("catalogueAction");
        QTest::newRow("List") << QByteArray("listButton") << QByteArray("fileMenu") << QByteArray("listAction");
        QTest::newRow("Quit") << QByteArray("quitButton") << QByteArray("fileMenu") << QByteArray("quitAction");
        QTest::newRow("Help") << QByteArray("helpButton") << QByteArray("helpMenu") << QByteArray("helpAction");
    }

    // The entry leaves the window, the boxes and the files as the button does.
    void eachEntryRunsItsButtonsCommand()
    {
        QFETCH(QByteArray, button);
        QFETCH(QByteArray, menu);
        QFETCH(QByteArray, entry);
        const QStringList byButton = Outcome([&](WindowFixture& f) { f.Click(button.constData()); });
        const QStringList byEntry
            = Outcome([&](WindowFixture& f) { ChooseWithMouse(f, menu.constData(), entry.constData()); });
        QCOMPARE(byEntry, byButton);
    }

    // Alt and a title's letter open its menu, whichever control has the focus.
    void altAndLetterOpenTheMenu_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QByteArray>("menu");
        QTest::newRow("File from the Name field") << QByteArray("nameEdit") << int(Qt::Key_F) << QByteArray("fileMenu");
        QTest::newRow("Edit from Series") << QByteArray("seriesBox") << int(Qt::Key_E) << QByteArray("editMenu");
        QTest::newRow("View from the table") << QByteArray("cardTable") << int(Qt::Key_V) << QByteArray("viewMenu");
        QTest::newRow("Help from a button") << QByteArray("addButton") << int(Qt::Key_H) << QByteArray("helpMenu");
    }

    void altAndLetterOpenTheMenu()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, key);
        QFETCH(QByteArray, menu);
        WindowFixture f;
        MainWindow& window = f.Open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* control = f.Find<QWidget>(focus.constData());
        control->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), f.Find<QMenu>(menu.constData()));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    }

    // The usual keys, shown beside the entries, run them; Undo and Redo are
    // greyed while there is nothing to undo or redo.
    void shortcutsRunTheEntries()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Amber"}, {"Cyan"}, {"Bolt"}}));
        MainWindow& window = f.Open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!Entry(f, "editMenu", "undoAction")->isEnabled());
        QVERIFY(!Entry(f, "editMenu", "redoAction")->isEnabled());

        f.ClickRow(0);
        f.Click("deleteButton");
        QCOMPARE(window.CardTable().rowCount(), 2);
        QVERIFY(Entry(f, "editMenu", "undoAction")->isEnabled());
        QWidget* table = f.Find<QWidget>("cardTable");
        table->setFocus();
        QTest::keySequence(table, QKeySequence(QKeySequence::Undo));
        QCOMPARE(window.CardTable().rowCount(), 3);
        QVERIFY(Entry(f, "editMenu", "redoAction")->isEnabled());
        QTest::keySequence(table, QKeySequence(QKeySequence::Redo));
        QCOMPARE(window.CardTable().rowCount(), 2);
        QTest::keySequence(table, QKeySequence(QKeySequence::HelpContents));
        QCOMPARE(f.messages.opened.size(), 1);
        QTest::keySequence(table, QKeySequence(QKeySequence::Find));
        QVERIFY(f.Find<QWidget>("filterBar")->isVisible());
        // The desktop decides the usual keys: the offscreen platform here has
        // none to quit, an X11 desktop Ctrl+Q.
        if (QKeySequence(QKeySequence::Quit).isEmpty())
            f.Quit();
        else
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(QKeySequence::Quit));
        QVERIFY(!window.isVisible());
        // The table shows the file bottom up: its first row, Bolt, went.
        QCOMPARE(f.folder.Read("qmk.dat"), CollectionBytes({{"Amber"}, {"Cyan"}}));
    }

    // The Tooltips entry and check box are one switch, whichever is used.
    void tooltipsEntryIsTheCheckBox()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nTOOLTIPS=yes\r\n");
        MainWindow& window = f.Open();
        auto* box = f.Find<QCheckBox>("tooltipsBox");
        QAction* entry = Entry(f, "viewMenu", "tooltipsAction");
        QVERIFY(box->isChecked());
        QVERIFY(entry->isChecked());

        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!entry->isChecked());
        QVERIFY(!window.TipSupport());
        ChooseWithMouse(f, "viewMenu", "tooltipsAction");
        QVERIFY(box->isChecked());
        QVERIFY(entry->isChecked());
        QVERIFY(window.TipSupport());
        QCOMPARE(f.Find<QWidget>("addButton")->toolTip().isEmpty(), false);
        ChooseWithMouse(f, "viewMenu", "tooltipsAction");
        QVERIFY(!box->isChecked());
        QVERIFY(!window.TipSupport());
        QVERIFY(f.Find<QWidget>("addButton")->toolTip().isEmpty());
        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nTOOLTIPS=no\r\n"));
    }

    // Tab goes through the controls in the template's order, as before the
    // bar, which takes no focus of its own.
    void tabOrderIsTheTemplates()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        f.Field("nameEdit")->setFocus();
        QStringList order;
        for (int i = 0; i < 21; ++i) {
            QWidget* focus = QApplication::focusWidget();
            // A combo box's edit box has the focus for its box.
            order << (focus->objectName().isEmpty() ? focus->parentWidget()->objectName() : focus->objectName());
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"nameEdit", "seriesBox", "conditionBox", "yearEdit", "priceEdit", "quantityEdit",
                                     "urlEdit", "descriptionEdit", "cardTable", "addButton", "updateButton",
                                     "clearButton", "deleteButton", "listButton", "catalogueButton", "helpButton",
                                     "quitButton", "countBox", "preferencesButton", "tooltipsBox", "nameEdit"}));
    }
};

QTEST_MAIN(TestMenuBar)
#include "test_menu_bar.moc"
