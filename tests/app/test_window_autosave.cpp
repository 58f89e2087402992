#include "support/WindowTest.h"

#include "collection/file/CollectionFile.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QByteArray kTwoCards = CollectionBytes({{"Bolt", "Base Set"}, {"Ace", "Fossil"}});

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
};

QTEST_MAIN(TestWindowAutosave)
#include "test_window_autosave.moc"
