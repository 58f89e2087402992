#include "support/WindowTest.h"

#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "base/FileAccess.h"
#include "pages/PageCommands.h"
#include "base/TextMode.h"
#include "pages/PageTemplates.h"
#include "prefs/Preferences.h"
#include "support/FileBytes.h"
#include "support/FilledPage.h"
#include "support/FullDevice.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A file system mounted over the test's folder for as long as it lives. The
// working directory is moved into the mount, and out of it before unmounting.
class MountOver {
public:
    explicit MountOver(QString folder)
        : folder_(std::move(folder))
    {
    }
    ~MountOver()
    {
        if (!mounted_)
            return;
        QDir::setCurrent(QDir::rootPath());
        Run(QStringLiteral("umount"), {QStringLiteral("-l"), folder_});
        QDir::setCurrent(folder_);
    }

    bool Tmpfs(const QString& size)
    {
        return Enter(Run(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder_}));
    }
    bool Bind() { return Enter(Run(QStringLiteral("mount"), {"--bind", folder_, folder_})); }
    bool MakeReadOnly() { return Run(QStringLiteral("mount"), {"-o", "remount,bind,ro", folder_}); }

private:
    bool Enter(bool mounted)
    {
        mounted_ = mounted;
        return mounted && QDir::setCurrent(folder_);
    }

    QString folder_;
    bool mounted_ = false;
};

// Fills the rest of the disk that holds the working directory.
void FillDisk()
{
    QFile filler(QStringLiteral("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

std::vector<Card> CardsIn(const QByteArray& bytes)
{
    return ParseCollection(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

QStringList CardNames(const QByteArray& bytes)
{
    QStringList names;
    for (const Card& card : CardsIn(bytes))
        names << QString::fromStdString(card[NameField]);
    return names;
}

// The one recovery file in a folder.
QByteArray RecoveryIn(const QString& folder)
{
    const QDir dir(folder);
    const QStringList found = dir.entryList({QStringLiteral("qmk.dat.recovered-*")}, QDir::Files);
    if (found.size() != 1)
        return "(" + QByteArray::number(found.size()) + " recovery files)";
    return FileBytes(dir.filePath(found.first()));
}

bool WasShown(const RecordingMessages& messages, const QString& text, const QString& caption)
{
    for (const RecordingMessages::Shown& box : messages.shown) {
        if (box.text.startsWith(text) && box.caption == caption)
            return true;
    }
    return false;
}

const QByteArray kOldCollection = CollectionBytes({{"Old One", "S1"}, {"Old Two", "S2"}});
const QByteArray kOldPreferences = "CREATOR=QMK 1.0\r\nNAME=Ann\r\nTOOLTIPS=no\r\n\r\n";

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    // Opens the window on the old files and adds one Card.
    void OpenAndAdd(WindowFixture& f, const QString& name)
    {
        f.folder.Write("qmk.dat", kOldCollection);
        f.folder.Write("qmk.ini", kOldPreferences);
        f.Open();
        f.Type("nameEdit", name);
        f.Click("addButton");
        QCOMPARE(f.window->CardTable().rowCount(), 3);
    }

private slots:
    // Recovery files that cannot go beside qmk.dat go to the home folder.
    void initTestCase() { qputenv("HOME", home_.path().toLocal8Bit()); }
    void cleanup()
    {
        for (const QString& name : QDir(home_.path()).entryList(QDir::Files))
            QFile::remove(home_.filePath(name));
    }

    // Each writer reports a device that fills up at any point, and a failed
    // write leaves the old file whole, with no temporary file beside it.
    void writersReportAFullDevice()
    {
        CardTableModel table;
        SetTableRows(table, CardsIn(kOldCollection));
        Preferences prefs;
        prefs.Name = "Ann";
        const std::string page = FilledPage("<html>#DATA#</html>\n", FooterRow(), prefs, {});
        const std::function<bool(QIODevice&)> writers[] = {
            [&](QIODevice& device) { return WriteCollection(device, table); },
            [&](QIODevice& device) { return WritePreferences(device, prefs); },
            [&](QIODevice& device) { return WritePageText(device, page); },
        };
        for (const auto& writer : writers) {
            QBuffer whole;
            whole.open(QIODevice::WriteOnly);
            QVERIFY(writer(whole));
            const qint64 size = whole.data().size();
            for (const qint64 room : {qint64(0), qint64(1), size / 2, size - 1}) {
                FullDevice full(room);
                QVERIFY(!writer(full));
            }
            FullDevice enough(size);
            QVERIFY(writer(enough));
        }

        TempFolder folder;
        folder.Write("qmk.dat", kOldCollection);
        QVERIFY(!WriteFileSafely(QStringLiteral("qmk.dat"), [](QIODevice& device) {
            device.write("NAME=half");
            return false;
        }));
        QCOMPARE(folder.Read("qmk.dat"), kOldCollection);
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{"qmk.dat"});
    }

    // A real full disk at close: both files keep their old contents, the
    // Cards go to a recovery file and the user is told where. A page written
    // to the full disk is reported and the old page stays.
    void diskFullAtClose()
    {
        WindowFixture f;
        MountOver mount(QDir::currentPath());
        if (!mount.Tmpfs(QStringLiteral("256k")))
            QSKIP("this machine does not allow mounting a tmpfs");
        OpenAndAdd(f, QStringLiteral("New"));
        f.folder.Write("catalogue.htm", "old page");
        FillDisk();

        const auto page = [](QIODevice& device) { return WritePageText(device, std::string(64 * 1024, 'p')); };
        QCOMPARE(WritePage(QStringLiteral("catalogue.htm"), page, f.messages), -1);
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Saving File.")));
        QCOMPARE(f.folder.Read("catalogue.htm"), QByteArray("old page"));

        f.Quit();
        QCOMPARE(f.folder.Read("qmk.ini"), kOldPreferences);
        QCOMPARE(f.folder.Read("qmk.dat"), kOldCollection);
        QCOMPARE(CardNames(RecoveryIn(home_.path())), (QStringList{"Old One", "Old Two", "New"}));
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Writing File")));
    }

    // Folders where the files should be: the user is told at each, the page
    // is still made from what could be read, and the Cards are recovered.
    void foldersInPlaceOfFiles()
    {
        WindowFixture f;
        for (const char* name : {"qmk.dat", "qmk.ini", "CatalogueInside.htm", "catalogue.htm"})
            QVERIFY(QDir().mkdir(QString::fromLatin1(name)));
        f.folder.Write("CatalogueOutside.htm", "<table>#DATA#</table>");
        f.Open();
        QVERIFY(WasShown(f.messages, QStringLiteral("Your collection file qmk.dat could not be read."),
                         QStringLiteral("Error")));
        QVERIFY(f.messages.shown.first().text.endsWith(QStringLiteral("recovery file in %1.").arg(QDir::currentPath())));
        f.Type("nameEdit", QStringLiteral("Kept"));
        f.Click("addButton");
        f.messages.shown.clear();

        f.Click("catalogueButton");
        QVERIFY(WasShown(f.messages, QStringLiteral("Error loading file"), QStringLiteral("Error")));
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Saving File.")));
        f.Quit();
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Writing File")));
        QVERIFY(WasShown(f.messages, QStringLiteral("qmk.dat could not be read"), QStringLiteral("Error Writing File")));
        QCOMPARE(CardNames(RecoveryIn(QDir::currentPath())), QStringList{"Kept"});
        for (const char* name : {"qmk.dat", "qmk.ini", "CatalogueInside.htm", "catalogue.htm"})
            QVERIFY(QFileInfo(QString::fromLatin1(name)).isDir());
    }

    // Named pipes and a link to /dev/zero where the files should be: the
    // window opens at once instead of waiting in open() or reading without
    // end; each file is refused with a box that says what it is, none is
    // replaced, and the Cards go to a recovery file.
    void specialFilesInPlaceOfFiles()
    {
        WindowFixture f;
        for (const char* name : {"qmk.dat", "qmk.ini", "CatalogueOutside.htm"})
            QCOMPARE(::mkfifo(name, 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("CatalogueInside.htm")));
        f.Open();
        QVERIFY(WasShown(f.messages, QStringLiteral("Your preferences file qmk.ini could not be read"),
                         QStringLiteral("Error")));
        QVERIFY(WasShown(f.messages, QStringLiteral("Your collection file qmk.dat could not be read.\r\n%1: not a "
                                                    "regular file but a named pipe")
                                         .arg(f.folder.Path(QStringLiteral("qmk.dat"))),
                         QStringLiteral("Error")));
        f.Type("nameEdit", QStringLiteral("Kept"));
        f.Click("addButton");
        f.messages.shown.clear();
        f.Click("catalogueButton");
        QVERIFY(WasShown(f.messages, QStringLiteral("Error loading file\r\nCatalogueOutside.htm: not a regular file but a named pipe"),
                         QStringLiteral("Error")));
        QVERIFY(WasShown(f.messages, QStringLiteral("Error loading file\r\nCatalogueInside.htm: not a regular file but a device"),
                         QStringLiteral("Error")));
        f.Quit();
        QCOMPARE(CardNames(RecoveryIn(QDir::currentPath())), QStringList{"Kept"});
        for (const char* name : {"qmk.dat", "qmk.ini", "CatalogueOutside.htm"}) {
            struct stat info {};
            QCOMPARE(::lstat(name, &info), 0);
            QVERIFY2(S_ISFIFO(info.st_mode), name);
        }
        QVERIFY(QFileInfo(QStringLiteral("CatalogueInside.htm")).isSymLink());
    }

    // qmk.dat a link to /dev/zero: refused at once, not read until memory
    // runs out.
    void collectionLinkedToAnEndlessDevice()
    {
        WindowFixture f;
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("qmk.dat")));
        QElapsedTimer clock;
        clock.start();
        f.Open();
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(f.window->CardTable().rowCount(), 0);
        QVERIFY(WasShown(f.messages, QStringLiteral("Your collection file qmk.dat could not be read."),
                         QStringLiteral("Error")));
        QVERIFY(f.messages.shown.first().text.contains(QStringLiteral("not a regular file but a device")));
        f.Quit();
        QVERIFY(QFileInfo(QStringLiteral("qmk.dat")).isSymLink());
    }

    // Without HOME, a read-only data folder's Cards go to the system's
    // temporary folder, never to the root folder.
    void noHomeAndAReadOnlyFolder()
    {
        QTemporaryDir temporary;
        const QByteArray home = qgetenv("HOME");
        const QByteArray tmpdir = qgetenv("TMPDIR");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            tmpdir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir);
        });
        WindowFixture f;
        MountOver mount(QDir::currentPath());
        if (!mount.Bind())
            QSKIP("this machine does not allow a bind mount");
        OpenAndAdd(f, QStringLiteral("New"));
        if (!mount.MakeReadOnly())
            QSKIP("this machine does not allow remounting read-only");
        qunsetenv("HOME");
        qputenv("TMPDIR", temporary.path().toLocal8Bit());
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kOldCollection);
        QCOMPARE(CardNames(RecoveryIn(temporary.path())), (QStringList{"Old One", "Old Two", "New"}));
        QVERIFY(QDir::root().entryList({QStringLiteral("qmk.dat.recovered-*")}, QDir::Files).isEmpty());
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Writing File")));
        QVERIFY(f.messages.shown.last().text.contains(temporary.path()));
    }

    // The data folder turns read-only while the window is open.
    void dataFolderReadOnlyAtClose()
    {
        WindowFixture f;
        MountOver mount(QDir::currentPath());
        if (!mount.Bind())
            QSKIP("this machine does not allow a bind mount");
        OpenAndAdd(f, QStringLiteral("New"));
        if (!mount.MakeReadOnly())
            QSKIP("this machine does not allow remounting read-only");
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kOldCollection);
        QCOMPARE(f.folder.Read("qmk.ini"), kOldPreferences);
        QCOMPARE(CardNames(RecoveryIn(home_.path())), (QStringList{"Old One", "Old Two", "New"}));
        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(WasShown(f.messages, QStringLiteral("Save to File"), QStringLiteral("Error Writing File")));
    }

    // The disk fills up between two autosaves: the user is told once, the
    // recovery file follows every change, and once there is room again the
    // close writes every Card to qmk.dat.
    void diskFullDuringAutosave()
    {
        WindowFixture f;
        MountOver mount(QDir::currentPath());
        if (!mount.Tmpfs(QStringLiteral("256k")))
            QSKIP("this machine does not allow mounting a tmpfs");
        OpenAndAdd(f, QStringLiteral("New"));
        QSignalSpy saves(&f.window->Autosave(), &CollectionAutosave::Saved);
        QVERIFY(saves.wait(2000));
        QCOMPARE(CardNames(f.folder.Read("qmk.dat")), (QStringList{"Old One", "Old Two", "New"}));
        FillDisk();

        QStringList names{"Old One", "Old Two", "New"};
        for (const QString& name : {QStringLiteral("Second"), QStringLiteral("Third")}) {
            f.Type("nameEdit", name);
            f.Click("addButton");
            names << name;
            QVERIFY(saves.wait(2000));
            QCOMPARE(f.messages.shown.size(), 1);
            QCOMPARE(CardNames(RecoveryIn(home_.path())), names);
        }
        QVERIFY(WasShown(f.messages, QStringLiteral("Your changes could not be saved to qmk.dat ("),
                         QStringLiteral("Error Writing File")));
        // In the system's words, not as an unknown error.
        QVERIFY2(f.messages.shown.first().text.contains(QStringLiteral("No space left on device")),
                 qPrintable(f.messages.shown.first().text));
        QCOMPARE(CardNames(f.folder.Read("qmk.dat")), (QStringList{"Old One", "Old Two", "New"}));

        QVERIFY(QFile::remove(QStringLiteral("filler")));
        f.Quit();
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(CardNames(f.folder.Read("qmk.dat")), names);
    }

    // Another program rewrites qmk.dat while the window is open: at the close
    // its file is kept beside, the window's Cards become qmk.dat, and a box
    // names both.
    void changedBehindItsBackAtClose()
    {
        WindowFixture f;
        OpenAndAdd(f, QStringLiteral("Mine"));
        const QByteArray theirs = CollectionBytes({{"Theirs"}});
        f.folder.Write("qmk.dat", theirs);
        f.Quit();
        QCOMPARE(CardNames(f.folder.Read("qmk.dat")), (QStringList{"Old One", "Old Two", "Mine"}));
        const QStringList kept = QDir().entryList({QStringLiteral("qmk.dat.conflict-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(f.folder.Read(kept.first()), theirs);
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown.first().caption, QStringLiteral("Collection Changed"));
        QVERIFY(f.messages.shown.first().text.contains(f.folder.Path(kept.first())));
        QVERIFY(f.messages.shown.first().text.endsWith(f.folder.Path(QStringLiteral("qmk.dat"))));
    }

    // qmk.dat unreadable in a folder where nothing can be written: the box at
    // start names the home folder, where the Cards then go.
    void unreadableCollectionInAReadOnlyFolder()
    {
        WindowFixture f;
        MountOver mount(QDir::currentPath());
        if (!mount.Bind())
            QSKIP("this machine does not allow a bind mount");
        QVERIFY(QDir().mkdir(QStringLiteral("qmk.dat")));
        if (!mount.MakeReadOnly())
            QSKIP("this machine does not allow remounting read-only");
        f.Open();
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.first().text.endsWith(QStringLiteral("recovery file in %1.").arg(home_.path())),
                 qPrintable(f.messages.shown.first().text));
        f.Type("nameEdit", QStringLiteral("Kept"));
        f.Click("addButton");
        f.Quit();
        QCOMPARE(CardNames(RecoveryIn(home_.path())), QStringList{"Kept"});
    }

    // Hostile collection files: the window opens with what can be read, and
    // its save at close loads back as the same Cards.
    void badCollectionFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("cards");
        // The table view lays out each visible cell's whole text, which takes
        // seconds for a value of megabytes: those windows are not shown.
        QTest::addColumn<bool>("shown");
        QRandomGenerator random(7);
        QByteArray binary(4 << 20, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(binary.data()), binary.size() / 4);
        QTest::newRow("binary") << binary << int(CardsIn(binary).size()) << true;
        QTest::newRow("100 MB single line") << "NAME=" + QByteArray(100 << 20, 'x') + "\r\n" << 1 << false;
        QTest::newRow("10 MB value") << CollectionBytes({{"A", "S", "", "", "", "", "", QByteArray(10 << 20, 'd')}})
                                     << 1 << false;
        QTest::newRow("NUL and byte 26")
            << CollectionBytes({{QByteArray("nul\0inside", 10), "S"}, {"cut\x1a", "lost"}, {"after"}}) << 2 << true;
        QTest::newRow("invalid UTF-8") << CollectionBytes({{"\xff\xfe\xc3", "\xe2\x82", "\xed\xa0\x80"}}) << 1 << true;
        QTest::newRow("CR-only line ends") << QByteArray("NAME=A\rSERIES=B\rNAME=C\r") << 1 << true;
        QTest::newRow("1,000,000 empty lines") << "NAME=A\r\n" + QByteArray("\r\n").repeated(1'000'000) << 1 << true;
    }
    void badCollectionFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, cards);
        QFETCH(bool, shown);
        WindowFixture f;
        f.folder.Write("qmk.dat", file);
        if (shown)
            f.Open();
        else
            f.window = std::make_unique<MainWindow>(f.questions);
        QCOMPARE(f.window->CardTable().rowCount(), cards);
        QCOMPARE(f.Field("countBox")->text(), QString::number(cards));
        f.Quit();
        const QByteArray saved = f.folder.Read("qmk.dat");
        QVERIFY(CardsIn(saved) == CardsIn(file));
        file.clear();
    }

    void preferencesWithEveryKeyRepeated()
    {
        WindowFixture f;
        QByteArray file;
        for (int time = 0; time < 10'000; ++time) {
            for (const PreferenceKey& known : kPreferenceKeys)
                file += QByteArray(known.key.data(), qsizetype(known.key.size())) + "=" + QByteArray::number(time) + "\r\n";
        }
        f.folder.Write("qmk.ini", file);
        f.Open();
        for (const PreferenceKey& known : kPreferenceKeys)
            QCOMPARE(f.window->Prefs().*known.field, std::string("9999"));
        f.Quit();
        QVERIFY(f.folder.Read("qmk.ini").contains("\r\nCITY=9999\r\n"));
    }

    // A pasted line feed or byte 26 becomes a space on Add and on Update, so
    // the collection file keeps one line per field.
    void unstorableBytesInTheFields()
    {
        WindowFixture f;
        f.Open();
        f.Field("nameEdit")->setText(QStringLiteral("Two\nLines"));
        f.Field("descriptionEdit")->setText(QStringLiteral("end\x1aof file"));
        f.window->TakeFields();
        QCOMPARE(f.window->HeldCard()[NameField], std::string("Two\nLines"));
        f.Click("addButton");
        f.Field("nameEdit")->setText(QStringLiteral("Second\ncard"));
        f.Click("addButton");
        f.ClickRow(1);
        f.Field("seriesBox")->setText(QStringLiteral("S\n\x1aT"));
        f.Click("updateButton");
        f.Quit();
        const std::vector<Card> saved = CardsIn(f.folder.Read("qmk.dat"));
        QCOMPARE(saved.size(), std::size_t(2));
        QCOMPARE(saved[0][NameField], std::string("Two Lines"));
        QCOMPARE(saved[0][SeriesField], std::string("S  T"));
        QCOMPARE(saved[0][DescriptionField], std::string("end of file"));
        QCOMPARE(saved[1][NameField], std::string("Second card"));
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
