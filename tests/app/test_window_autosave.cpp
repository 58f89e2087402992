#include "support/WindowTest.h"

#include "collection/file/CollectionFile.h"
#include "collection/file/DailyBackup.h"

#include <QDate>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray kTwoCards = CollectionBytes({{"Bolt", "Base Set"}, {"Ace", "Fossil"}});

// Which file is at the path: a safe write puts a new one there.
ino_t FileAt(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Opens the window on its folder made ready as the program makes it, so
// that today's backup is taken.
void OpenPrepared(WindowFixture& f)
{
    CollectionFolder folder;
    QString reason;
    if (folder.Prepare(f.folder.Path(QStringLiteral(".")), false, reason) != CollectionFolder::Refusal::None
        || !folder.Enter(reason))
        qFatal("%s", qPrintable(reason));
    f.window = std::make_unique<MainWindow>(f.questions, std::move(folder));
    f.window->show();
}

QString TodaysBackup()
{
    return QStringLiteral("backups/") + BackupName(QDate::currentDate());
}

QStringList Names(const QByteArray& file)
{
    QStringList names;
    for (const Card& card : ParseCollection(std::string_view(file.constData(), std::size_t(file.size()))))
        names << QString::fromStdString(card[NameField]);
    return names;
}

} // namespace

// The window's own commands reach the file through the autosave: the undo
// and redo of the window as well as its entry commands.
class TestWindowAutosave : public QObject {
    Q_OBJECT

private slots:
    void undoAndRedoAreSaved()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kTwoCards);
        f.Open();
        QSignalSpy saves(&f.window->Autosave(), &CollectionAutosave::Saved);
        f.Type("nameEdit", QStringLiteral("Crow"));
        f.Click("addButton");
        QVERIFY(saves.wait(2000));
        QCOMPARE(Names(f.folder.Read("qmk.dat")), (QStringList{"Bolt", "Ace", "Crow"}));
        f.window->OnUndo();
        QVERIFY(saves.wait(2000));
        QCOMPARE(f.folder.Read("qmk.dat"), kTwoCards);
        f.window->OnRedo();
        QVERIFY(saves.wait(2000));
        QCOMPARE(Names(f.folder.Read("qmk.dat")), (QStringList{"Bolt", "Ace", "Crow"}));
        f.Quit();
        QVERIFY(f.messages.shown.isEmpty());
    }

    // Quitting with a change not yet saved: the close writes it, and no
    // save follows the close.
    void quitBeforeTheAutosave()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kTwoCards);
        f.Open();
        QSignalSpy saves(&f.window->Autosave(), &CollectionAutosave::Saved);
        f.ClickRow(0);
        f.Click("deleteButton");
        f.Quit();
        const QByteArray closed = f.folder.Read("qmk.dat");
        QCOMPARE(Names(closed), QStringList{"Bolt"});
        QVERIFY(!f.window->Autosave().Saving());
        QCoreApplication::processEvents();
        QCOMPARE(saves.size(), 0);
        QCOMPARE(f.folder.Read("qmk.dat"), closed);
        QVERIFY(f.messages.shown.isEmpty());
    }

    // Today's backup copy holds qmk.dat as the window read it, and is on the
    // disk by the time the first change reaches qmk.dat.
    void backupBeforeTheFirstSave()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kTwoCards);
        OpenPrepared(f);
        QSignalSpy saves(&f.window->Autosave(), &CollectionAutosave::Saved);
        f.Type("nameEdit", QStringLiteral("Crow"));
        f.Click("addButton");
        QVERIFY(saves.wait(2000));
        QCOMPARE(Names(f.folder.Read("qmk.dat")), (QStringList{"Bolt", "Ace", "Crow"}));
        QCOMPARE(f.folder.Read(TodaysBackup()), kTwoCards);
        f.Quit();
        QCOMPARE(f.folder.Read(TodaysBackup()), kTwoCards);
        QVERIFY(f.messages.shown.isEmpty());
    }

    // A close with nothing changed leaves qmk.dat as it is, not written
    // again, when it holds what a save would write; today's backup is made
    // all the same.
    void closeWithoutAChange()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kTwoCards);
        const ino_t before = FileAt(f.folder.Path("qmk.dat"));
        OpenPrepared(f);
        f.ClickRow(1);
        f.Quit();
        f.window.reset();
        QCOMPARE(FileAt(f.folder.Path("qmk.dat")), before);
        QCOMPARE(f.folder.Read("qmk.dat"), kTwoCards);
        QCOMPARE(f.folder.Read(TodaysBackup()), kTwoCards);
        QVERIFY(f.messages.shown.isEmpty());

        // The same Cards in bytes of a hand's own, line feeds alone: the
        // close writes them as a save does.
        WindowFixture g;
        QByteArray handKept = kTwoCards;
        handKept.replace("\r\n", "\n");
        g.folder.Write("qmk.dat", handKept);
        OpenPrepared(g);
        g.Quit();
        QCOMPARE(g.folder.Read("qmk.dat"), kTwoCards);
        QCOMPARE(g.folder.Read(TodaysBackup()), handKept);
    }
};

QTEST_MAIN(TestWindowAutosave)
#include "test_window_autosave.moc"
