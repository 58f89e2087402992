#include "support/WindowTest.h"

#include "app/binder/BinderWindow.h"
#include "app/history/CollectionHistory.h"
#include "collection/file/CollectionLock.h"
#include "collection/file/DailyBackup.h"
#include "prefs/RecentCollections.h"
#include "resources/ControlIds.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

const QByteArray kFirst = CollectionBytes({{"Bolt", "Base Set"}, {"Ace", "Fossil"}});
const QByteArray kSecond = CollectionBytes({{"Crow", "Jungle", "Mint"}});

QString Canonical(const QString& folder)
{
    return QFileInfo(folder).canonicalFilePath();
}

// A window on the first collection, a Card added and not yet autosaved.
void OpenWithAChange(WindowFixture& f)
{
    f.folder.Write("qmk.dat", kFirst);
    f.Open();
    f.Type("nameEdit", QStringLiteral("Dove"));
    f.Click("addButton");
}

} // namespace

class TestCollectionFolders : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        config_.emplace();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_->path());
    }

    // The first collection is written as a close writes it, and the second
    // one fills the same window, with nothing of the first left to undo.
    void opensAnotherFolder()
    {
        WindowFixture closed;
        OpenWithAChange(closed);
        closed.Quit();

        WindowFixture f;
        OpenWithAChange(f);
        f.window->OnFind();
        Action(*f.window, "binderAction")->trigger();
        QWidget* filterBar = f.window->Control(ControlId::FilterBar);
        QVERIFY(filterBar->isVisible());
        QVERIFY(f.window->History().CanUndo());
        QVERIFY(QDir().mkdir(f.folder.Path(QStringLiteral("other"))));
        f.folder.Write("other/qmk.dat", kSecond);
        f.window->OpenFolder(f.folder.Path(QStringLiteral("other")));

        QCOMPARE(f.folder.Read("qmk.dat"), closed.folder.Read("qmk.dat"));
        QCOMPARE(f.folder.Read("qmk.ini"), closed.folder.Read("qmk.ini"));
        QCOMPARE(QDir::currentPath(), Canonical(f.folder.Path(QStringLiteral("other"))));
        QCOMPARE(f.window->CardTable().rowCount(), 1);
        QCOMPARE(f.window->CardTable().RowCard(0)[NameField], std::string("Crow"));
        QCOMPARE(f.Find<QLineEdit>("countBox")->text(), QStringLiteral("1"));
        QVERIFY(!f.window->History().CanUndo());
        QVERIFY(!filterBar->isVisible());
        QVERIFY(f.window->findChild<BinderWindow*>() && f.window->findChild<BinderWindow*>()->isVisible());
        QCOMPARE(f.window->findChild<BinderWindow*>()->Tiles().rowCount(), 1);
        QVERIFY(f.folder.Exists(QStringLiteral("other/CatalogueOutside.htm")));
        QCOMPARE(RecentCollections::Folders().value(0), Canonical(f.folder.Path(QStringLiteral("other"))));
        QVERIFY(f.messages.shown.isEmpty());

        // Its changes are saved to its own file as they are made.
        f.Type("nameEdit", QStringLiteral("Eel"));
        f.Click("addButton");
        QTRY_VERIFY(f.folder.Read("other/qmk.dat").contains("NAME=Eel"));
        // Today's copy of the file it opened was made before that save.
        QCOMPARE(f.folder.Read(QStringLiteral("other/backups/") + BackupName(QDate::currentDate())), kSecond);
        f.Quit();
        QVERIFY(!f.folder.Read("qmk.dat").contains("NAME=Eel"));
    }

    // The lock goes with the collection: the first folder is free once the
    // window has left it, the second is held.
    void lockFollowsTheFolder()
    {
        WindowFixture f;
        CollectionFolder first;
        QString reason;
        QCOMPARE(first.Prepare(f.folder.Path(QStringLiteral("first")), true, reason),
                 CollectionFolder::Refusal::None);
        QVERIFY(first.Enter(reason));
        f.window = std::make_unique<MainWindow>(f.questions, std::move(first));
        QVERIFY(!CollectionLock(f.folder.Path(QStringLiteral("first"))).Take(reason));
        f.window->OpenFolder(f.folder.Path(QStringLiteral("second")));
        QVERIFY(CollectionLock(f.folder.Path(QStringLiteral("first"))).Take(reason));
        QVERIFY(!CollectionLock(f.folder.Path(QStringLiteral("second"))).Take(reason));
        f.window->reject();
        f.window.reset();
        QVERIFY(CollectionLock(f.folder.Path(QStringLiteral("second"))).Take(reason));
    }

    // A folder that cannot be had, or a collection that cannot be saved,
    // leaves the window as it was, after one box that says so.
    void refusedFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("told");
        QTest::newRow("cannot be created") << "file/sub" << "cannot be created";
        QTest::newRow("open elsewhere") << "locked" << "already open";
        QTest::newRow("preferences unwritable") << "other" << "Save to File";
    }

    void refusedFolders()
    {
        QFETCH(QString, folder);
        QFETCH(QString, told);
        WindowFixture f;
        f.folder.Write("file", "x");
        QVERIFY(QDir().mkpath(QStringLiteral("locked")));
        CollectionLock elsewhere(QStringLiteral("locked"));
        QString reason;
        QVERIFY(elsewhere.Take(reason));
        if (folder == QStringLiteral("other"))
            QVERIFY(QDir().mkdir(QStringLiteral("qmk.ini")));
        OpenWithAChange(f);
        f.messages.shown.clear();
        const QString here = QDir::currentPath();

        f.window->OpenFolder(f.folder.Path(folder));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.first().text.contains(told), qPrintable(f.messages.shown.first().text));
        QCOMPARE(QDir::currentPath(), here);
        QCOMPARE(f.window->Folder().Path(), Canonical(here));
        QCOMPARE(f.window->CardTable().rowCount(), 3);
        QVERIFY(f.window->History().CanUndo());
        QVERIFY(RecentCollections::Folders().isEmpty());
        // The collection is still saved as it changes.
        QTRY_VERIFY(f.folder.Read("qmk.dat").contains("NAME=Dove"));
    }

    // The menu lists the folders opened, newest first; a folder that has
    // gone since is refused and taken off the list.
    void recentCollectionsMenu()
    {
        WindowFixture f;
        f.Open();
        const QString home = QDir::currentPath();
        f.questions.folder = f.folder.Path(QStringLiteral("b"));
        Action(*f.window, "openFolderAction")->trigger();
        f.window->OpenFolder(f.folder.Path(QStringLiteral("c")));
        f.window->OpenFolder(home);
        const QString gone = Canonical(f.folder.Path(QStringLiteral("c")));
        QVERIFY(QDir(gone).removeRecursively());

        auto* menu = f.Find<QMenu>("recentCollectionsMenu");
        QVERIFY(menu != nullptr);
        const std::unique_ptr<QMenu> windowMenu(f.window->CreateWindowMenu());
        QVERIFY(windowMenu->actions().contains(Action(*f.window, "openFolderAction")));
        QVERIFY(windowMenu->actions().contains(menu->menuAction()));
        emit menu->aboutToShow();
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{Canonical(home), gone, Canonical(f.folder.Path(QStringLiteral("b")))}));
        menu->actions().at(1)->trigger();
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.first().text.contains(QStringLiteral("no longer exists")));
        QVERIFY(!f.folder.Exists(QStringLiteral("c")));
        QCOMPARE(RecentCollections::Folders(),
                 (QStringList{Canonical(home), Canonical(f.folder.Path(QStringLiteral("b")))}));
        emit menu->aboutToShow();
        menu->actions().at(1)->trigger();
        QCOMPARE(QDir::currentPath(), Canonical(f.folder.Path(QStringLiteral("b"))));
        f.Quit();
    }

    // The notice line keeps its text; its tip names the folder while tips are on.
    void folderInTheNoticeTip()
    {
        WindowFixture f;
        f.Open();
        auto* notice = f.Find<QLabel>("noticeLine");
        QVERIFY(notice->toolTip().isEmpty());
        QTest::mouseClick(f.Find<QCheckBox>("tooltipsBox"), Qt::LeftButton);
        QVERIFY(notice->toolTip().contains(QDir::currentPath()));
        f.window->OpenFolder(f.folder.Path(QStringLiteral("other")));
        QVERIFY(notice->toolTip().isEmpty());
        QVERIFY(!f.Find<QCheckBox>("tooltipsBox")->isChecked());
        QTest::mouseClick(f.Find<QCheckBox>("tooltipsBox"), Qt::LeftButton);
        QVERIFY(notice->toolTip().contains(Canonical(f.folder.Path(QStringLiteral("other")))));
        QCOMPARE(notice->text(), QString::fromUtf8(Text::Notice));
        f.Quit();
    }

private:
    std::optional<QTemporaryDir> config_;
};

QTEST_MAIN(TestCollectionFolders)
#include "test_collection_folders.moc"
