#include "support/WindowTest.h"

#include "app/preferences/PreferencesDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs the Preferences button with the dialog driven by `drive` once it is open.
void RunPreferences(WindowFixture& f, const std::function<void(PreferencesDialog&)>& drive)
{
    bool driven = false;
    QTimer::singleShot(0, f.window.get(), [&] {
        auto* dialog = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        drive(*dialog);
        driven = true;
        if (dialog->isVisible())
            dialog->reject();
    });
    f.Click("preferencesButton");
    QVERIFY(driven);
}

void TypeInto(PreferencesDialog& dialog, const char* edit, const QString& text)
{
    auto* line = dialog.findChild<QLineEdit*>(QString::fromLatin1(edit));
    line->selectAll();
    line->del();
    TypeKeys(line, text);
}

const QByteArray kOldPreferences = "CREATOR=QMK 1.0\r\nNAME=Old Name\r\nCITY=Oldtown\r\nLIST=old.htm\r\n"
                                   "REPORT=r\r\nTOOLTIPS=no\r\n";

} // namespace

class TestPreferencesDialog : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheOwnersDetails()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", kOldPreferences);
        f.Open();
        RunPreferences(f, [](PreferencesDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences"));
            QCOMPARE(dialog.findChild<QLineEdit*>("nameEdit")->text(), QStringLiteral("Old Name"));
            QCOMPARE(dialog.findChild<QLineEdit*>("cityEdit")->text(), QStringLiteral("Oldtown"));
            QCOMPARE(dialog.findChild<QLineEdit*>("listEdit")->text(), QStringLiteral("old.htm"));
            auto* returnButton = dialog.findChild<QPushButton*>("returnButton");
            QVERIFY(returnButton->isDefault());
            // Tab order is template order: Return, then the edits top to bottom.
            QStringList chain;
            for (QWidget* w = returnButton->nextInFocusChain(); w != returnButton; w = w->nextInFocusChain())
                if (qobject_cast<QLineEdit*>(w))
                    chain << w->objectName();
            QCOMPARE(chain, (QStringList{"nameEdit", "emailEdit", "address1Edit", "address2Edit", "cityEdit",
                                         "stateEdit", "countryEdit", "listEdit", "catalogueEdit"}));
        });
    }

    void returnKeepsTheEditsAndSaves()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", kOldPreferences);
        f.Open();
        f.Type("nameEdit", QStringLiteral("card being typed"));
        RunPreferences(f, [](PreferencesDialog& dialog) {
            TypeInto(dialog, "nameEdit", QStringLiteral("  Ann = Collector"));
            TypeInto(dialog, "emailEdit", QStringLiteral("ann@example.org"));
            TypeInto(dialog, "catalogueEdit", QStringLiteral("out/cat.htm"));
            QTest::keyClick(dialog.findChild<QLineEdit*>("emailEdit"), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        const Preferences& prefs = f.window->Prefs();
        QCOMPARE(prefs.Name, std::string("  Ann = Collector"));
        QCOMPARE(prefs.Email, std::string("ann@example.org"));
        QCOMPARE(prefs.Catalogue, std::string("out/cat.htm"));
        QCOMPARE(prefs.City, std::string("Oldtown"));
        QCOMPARE(prefs.Report, std::string("r"));
        QCOMPARE(prefs.Tooltips, std::string("no"));
        const QByteArray saved = f.folder.Read("qmk.ini");
        QVERIFY(saved.contains("\r\nNAME=  Ann = Collector\r\nEMAIL=ann@example.org\r\n"));
        QVERIFY(saved.contains("\r\nCATALOGUE=out/cat.htm\r\n"));
        // The entry fields are shown again as they were.
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("card being typed"));
    }

    void cancellingDiscardsTheEditsAndStillSaves_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close box") << false;
    }

    void cancellingDiscardsTheEditsAndStillSaves()
    {
        QFETCH(bool, escape);
        WindowFixture f;
        f.folder.Write("qmk.ini", kOldPreferences);
        f.Open();
        RunPreferences(f, [escape](PreferencesDialog& dialog) {
            TypeInto(dialog, "nameEdit", QStringLiteral("discarded"));
            TypeInto(dialog, "listEdit", QString());
            if (escape)
                QTest::keyClick(dialog.findChild<QLineEdit*>("nameEdit"), Qt::Key_Escape);
            else
                dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(f.window->Prefs().Name, std::string("Old Name"));
        QCOMPARE(f.window->Prefs().List, std::string("old.htm"));
        // Rewritten whole, though nothing changed.
        const QByteArray saved = f.folder.Read("qmk.ini");
        QVERIFY(saved.startsWith("CREATOR=QMK 1.0\r\nNAME=Old Name\r\nEMAIL=\r\n"));
        QVERIFY(saved.contains("\r\nLIST=old.htm\r\nREPORT=r\r\nVALREPORT=\r\nTOOLTIPS=no\r\n\r\n"));
    }

    // A pasted line break or byte 26 would end the value, or the file, at
    // the next start; trailing white space would be lost there. The values
    // are taken as that start gives them back, and a second run writes the
    // same file.
    void pastedLineBreaksBecomeSpaces()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", kOldPreferences);
        f.Open();
        RunPreferences(f, [](PreferencesDialog& dialog) {
            dialog.findChild<QLineEdit*>("catalogueEdit")->setText(QStringLiteral("cat.htm\r\nLIST=elsewhere.htm"));
            dialog.findChild<QLineEdit*>("cityEdit")->setText(QStringLiteral("Old\x1atown"));
            dialog.findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("Ann \t"));
            dialog.findChild<QLineEdit*>("stateEdit")->setText(QStringLiteral(" \n"));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        const Preferences& prefs = f.window->Prefs();
        QCOMPARE(prefs.Catalogue, std::string("cat.htm\r LIST=elsewhere.htm"));
        QCOMPARE(prefs.City, std::string("Old town"));
        QCOMPARE(prefs.Name, std::string("Ann"));
        QCOMPARE(prefs.State, std::string());
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.ini");
        QVERIFY(saved.contains("\r\nLIST=old.htm\r\nREPORT=r\r\nVALREPORT=\r\nTOOLTIPS=no\r\n\r\n"));

        WindowFixture again;
        again.folder.Write("qmk.ini", saved);
        again.Open();
        for (const PreferenceKey& known : kPreferenceKeys)
            QCOMPARE(again.window->Prefs().*known.field, prefs.*known.field);
        again.Quit();
        QCOMPARE(again.folder.Read("qmk.ini"), saved);
    }

    // A qmk.ini kept on Windows: its letters show, typed ones are written in
    // Windows-1252, a character it cannot hold is refused with a box, and
    // a second run writes the same file.
    void keepsAWindows1252PreferencesFile()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nNAME=Zo\xeb\r\nCITY=M\xfcnchen\r\nLIST=caf\xe9.htm\r\n");
        f.Open();
        RunPreferences(f, [&f](PreferencesDialog& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>("nameEdit")->text(), QStringLiteral("Zoë"));
            QCOMPARE(dialog.findChild<QLineEdit*>("listEdit")->text(), QStringLiteral("café.htm"));
            TypeInto(dialog, "stateEdit", QStringLiteral("Île"));
            TypeInto(dialog, "countryEdit", QStringLiteral("\u0141\u00f3d\u017e"));
            QCOMPARE(dialog.findChild<QLineEdit*>("countryEdit")->text(), QStringLiteral("\u00f3d\u017e"));
            QTRY_COMPARE(f.messages.shown.size(), 1);
            QVERIFY(f.messages.shown[0].text.startsWith(
                QStringLiteral("The character \"\u0141\" (U+0141) cannot be stored in qmk.ini,")));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(f.window->Prefs().State, std::string("\xcele"));
        QCOMPARE(f.window->Prefs().Country, std::string("\xf3" "d\x9e"));
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.ini");
        QVERIFY(saved.contains("\r\nNAME=Zo\xeb\r\n"));
        QVERIFY(saved.contains("\r\nCITY=M\xfcnchen\r\nSTATE=\xcele\r\nCOUNTRY=\xf3" "d\x9e\r\n"));

        WindowFixture again;
        again.folder.Write("qmk.ini", saved);
        again.Open();
        again.Quit();
        QCOMPARE(again.folder.Read("qmk.ini"), saved);
    }

    void untouchedEditsGiveBackTheirBytes()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nNAME=Caf\xe9 \xff\r\nCITY=Z\xfcrich\r\n");
        f.Open();
        RunPreferences(f, [](PreferencesDialog& dialog) {
            TypeInto(dialog, "stateEdit", QStringLiteral("ZH"));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(f.window->Prefs().Name, std::string("Caf\xe9 \xff"));
        QCOMPARE(f.window->Prefs().City, std::string("Z\xfcrich"));
        QCOMPARE(f.window->Prefs().State, std::string("ZH"));
    }

    void emptiedCatalogueIsStoredEmptyUntilTheNextPage()
    {
        WindowFixture f;
        f.folder.Write("qmk.ini", "CREATOR=QMK 1.0\r\nCATALOGUE=mine.htm\r\n");
        f.Open();
        RunPreferences(f, [](PreferencesDialog& dialog) {
            TypeInto(dialog, "catalogueEdit", QString());
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(f.window->Prefs().Catalogue, std::string());
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nCATALOGUE=\r\n"));
        f.Click("catalogueButton");
        QCOMPARE(f.window->Prefs().Catalogue, std::string("catalogue.htm"));
        QVERIFY(f.folder.Exists("catalogue.htm"));
    }
};

QTEST_MAIN(TestPreferencesDialog)
#include "test_preferences_dialog.moc"
