#include "support/WindowTest.h"

#include "app/window/AboutDialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

void CheckEndsWithAbout(const QMenu& menu)
{
    const QList<QAction*> actions = menu.actions();
    QVERIFY(actions.size() >= 2);
    QVERIFY(actions[actions.size() - 2]->isSeparator());
    QCOMPARE(actions.last()->text(), QStringLiteral("&About Quillmark..."));
}

// The menu that the window has just popped up, closed after checking.
void CheckPoppedUpMenu()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    CheckEndsWithAbout(*menu);
    menu->close();
}

} // namespace

class TestAboutHelp : public QObject {
    Q_OBJECT

private slots:
    void windowMenuEndsWithAbout()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        CheckEndsWithAbout(*menu);
    }

    void backgroundAndEditBoxesOfferAbout()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        QContextMenuEvent background(QContextMenuEvent::Mouse, QPoint(2, 2), window.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&window, &background);
        CheckPoppedUpMenu();
        // An edit box keeps its own editing commands above the entry.
        QLineEdit* name = f.Field("nameEdit");
        emit name->customContextMenuRequested(QPoint(1, 1));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        QVERIFY(menu->actions().size() > 2);
        CheckPoppedUpMenu();
    }

    // The Series and Condition boxes give the same menu as the edit boxes,
    // whether the context-menu key reaches the box that has the focus or a
    // right-click reaches its text or its arrow.
    void comboBoxesOfferAbout()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const char* name : {"seriesBox", "conditionBox"}) {
            QLineEdit* edit = f.Field(name);
            edit->setFocus();
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused != nullptr);
            QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1), focused->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(focused, &key);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY2(menu != nullptr, name);
            QVERIFY(menu->actions().size() > 2);
            CheckPoppedUpMenu();
            for (QWidget* target : {static_cast<QWidget*>(edit), f.Find<QWidget>(name)}) {
                QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(target, &click);
                QVERIFY2(QApplication::activePopupWidget() != nullptr, name);
                CheckPoppedUpMenu();
            }
        }
    }

    void aboutEntryOpensTheBox()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        f.Type("nameEdit", QStringLiteral("kept"));
        QStringList texts;
        QString title;
        QTimer::singleShot(0, &window, [&] {
            auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
            QVERIFY(about != nullptr);
            title = about->windowTitle();
            for (QLabel* label : about->findChildren<QLabel*>())
                if (!label->text().isEmpty())
                    texts << label->text();
            auto* ok = about->findChild<QPushButton*>();
            QVERIFY(ok->isDefault());
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            QVERIFY(!about->findChild<QLabel*>("icon")->pixmap().isNull());
            ok->click();
        });
        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        menu->actions().last()->trigger();
        QCOMPARE(title, QStringLiteral("About Quillmark"));
        QCOMPARE(texts.value(0), QStringLiteral("Quillmark Version 1.0"));
        QCOMPARE(texts.size(), 2);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("kept"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void helpOpensTheShippedPage()
    {
        WindowFixture f;
        f.Open();
        f.Type("nameEdit", QStringLiteral("kept"));
        f.Click("helpButton");
        QCOMPARE(f.messages.opened.size(), 1);
        const QUrl page = f.messages.opened.first();
        QVERIFY(page.isLocalFile());
        QVERIFY(page.path().endsWith(QStringLiteral("/share/quillmark/help.html")));
        QVERIFY2(QFileInfo::exists(page.toLocalFile()), qPrintable(page.toLocalFile()));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(TestAboutHelp)
#include "test_about_help.moc"
