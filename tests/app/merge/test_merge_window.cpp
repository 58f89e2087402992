#include "support/WindowTest.h"

#include "app/csv/CsvImportDialog.h"
#include "app/merge/MergeDialog.h"
#include "app/merge/ReimportDialog.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

const QByteArray kHeader = "Name,Series,Condition,Quantity,Location,Print,Source\r\n";
const QByteArray kFirstExport = kHeader + "Drake,Ixalan,NM,1,B1,p1,Moxfield\r\n"
                                          "Wisp,Ashfall,NM,2,B1,p2,Moxfield\r\n"
                                          "Golem,Ashfall,LP,1,B2,p3,Moxfield\r\n";
// Wisp's count went up, Golem was sold, Sphinx is new.
const QByteArray kNewerExport = kHeader + "Sphinx,Ixalan,NM,1,B3,p4,Moxfield\r\n"
                                          "Drake,Ixalan,NM,1,B1,p1,Moxfield\r\n"
                                          "Wisp,Ashfall,NM,3,B1,p2,Moxfield\r\n";

QStringList Names(const CardTableModel& table)
{
    QStringList names;
    for (int row = 0; row < table.rowCount(); ++row)
        names << QString::fromUtf8(table.Cell(row, NameField).data(), qsizetype(table.Cell(row, NameField).size()));
    return names;
}

// The import dialog takes what it detects; the next dialog is the script's.
template <typename Dialog>
void ScriptAfterImport(ScriptedQuestions& answers, std::function<bool(Dialog&)> script)
{
    answers.dialogScript = [script = std::move(script)](QDialog& dialog) {
        if (qobject_cast<CsvImportDialog*>(&dialog) != nullptr)
            return true;
        auto* asked = qobject_cast<Dialog*>(&dialog);
        if (asked == nullptr)
            qFatal("unexpected dialog %s", qPrintable(dialog.objectName()));
        return script(*asked);
    };
}

void Import(WindowFixture& f, const QByteArray& csv)
{
    f.folder.Write("export.csv", csv);
    f.questions.openPath = f.folder.Path("export.csv");
    Action(*f.window, "importCsvAction")->trigger();
}

QTreeWidget* Tree(const QDialog& dialog, const char* name)
{
    auto* tree = dialog.findChild<QTreeWidget*>(QString::fromLatin1(name));
    if (tree == nullptr)
        qFatal("no %s", name);
    return tree;
}

} // namespace

class TestMergeWindow : public QObject {
    Q_OBJECT

private slots:
    // The first import from an app adds as any import; the newer export is
    // shown before anything changes, each change ticked, and what is left
    // unticked stays; undo takes the whole of it back.
    void reimportShowsChangesAndUndoesAsOneStep()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Typed", "Ixalan", "NM", "", "", "1"}}));
        MainWindow& window = f.Open();
        ScriptAfterImport<ReimportDialog>(f.questions, [](ReimportDialog&) -> bool { qFatal("asked"); });
        Import(f, kFirstExport);
        const CardTableModel& table = window.CardTable();
        QCOMPARE(Names(table), (QStringList{"Drake", "Wisp", "Golem", "Typed"}));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("3 Cards imported"));

        // The same export again changes nothing and keeps no step.
        Import(f, kFirstExport);
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[1].text, QString::fromUtf8(Text::ReimportNothing));
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo Import from CSV"));

        const std::vector<Card> before = {table.RowCard(0), table.RowCard(1), table.RowCard(2), table.RowCard(3)};
        QStringList shown;
        ScriptAfterImport<ReimportDialog>(f.questions, [&shown](ReimportDialog& dialog) -> bool {
            QTreeWidget* tree = Tree(dialog, "reimportChanges");
            for (int group = 0; group < tree->topLevelItemCount(); ++group) {
                QTreeWidgetItem* heading = tree->topLevelItem(group);
                shown << heading->text(0);
                for (int card = 0; card < heading->childCount(); ++card) {
                    QTreeWidgetItem* item = heading->child(card);
                    shown << (item->checkState(0) == Qt::Checked ? "[x] " : "[ ] ") + item->text(0);
                    for (int field = 0; field < item->childCount(); ++field)
                        shown << item->child(field)->text(0) + ':' + item->child(field)->text(1) + '>'
                                     + item->child(field)->text(2);
                }
            }
            // Golem stays.
            tree->topLevelItem(2)->child(0)->setCheckState(0, Qt::Unchecked);
            return true;
        });
        Import(f, kNewerExport);
        QCOMPARE(shown, (QStringList{"Added (1)", "[x] Sphinx (Ixalan, NM)", "Changed (1)", "[x] Wisp (Ashfall, NM)",
                                     "Qty:2>3", "Removed (1)", "[x] Golem (Ashfall, LP)"}));
        QCOMPARE(Names(table), (QStringList{"Sphinx", "Drake", "Wisp", "Golem", "Typed"}));
        QCOMPARE(table.Cell(2, QuantityField), "3");
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("5"));
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo Import from Moxfield"));

        Action(window, "undoAction")->trigger();
        QCOMPARE(table.rowCount(), 4);
        for (int row = 0; row < 4; ++row)
            QCOMPARE(table.RowCard(row), before[std::size_t(row)]);
        Action(window, "redoAction")->trigger();
        QCOMPARE(Names(table), (QStringList{"Sphinx", "Drake", "Wisp", "Golem", "Typed"}));

        // Cancelled, the dialog changes nothing.
        ScriptAfterImport<ReimportDialog>(f.questions, [](ReimportDialog&) { return false; });
        Import(f, kFirstExport);
        QCOMPARE(Names(table), (QStringList{"Sphinx", "Drake", "Wisp", "Golem", "Typed"}));
    }

    // A conflict file in the folder is offered; the merge asks only about
    // the Card that differs, side by side, and the file is renamed once the
    // merge is made, not before.
    void conflictFileIsOfferedAndMerged()
    {
        WindowFixture f;
        const QByteArray mine = CollectionBytes({{"Both"}, {"Differs", "", "", "", "$1"}, {"Only mine"}});
        f.folder.Write("qmk.dat", mine);
        const QString conflict = QStringLiteral("qmk.dat.conflict-20261208-101500");
        f.folder.Write(conflict, CollectionBytes({{"Only theirs"}, {"Differs", "", "", "", "$2"}, {"Both"}}));
        MainWindow& window = f.Open();

        // Declined, then the merge cancelled: the file stays to be offered again.
        window.OfferConflictMerge();
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].question);
        QVERIFY(f.messages.shown[0].text.contains(conflict));
        f.messages.answers = {true};
        f.questions.dialogScript = [](QDialog& dialog) { return qobject_cast<MergeDialog*>(&dialog) == nullptr; };
        window.OfferConflictMerge();
        QVERIFY(f.folder.Exists(conflict));
        const CardTableModel& table = window.CardTable();
        QCOMPARE(table.rowCount(), 3);

        QStringList sides;
        f.messages.answers = {true};
        f.questions.dialogScript = [&sides](QDialog& dialog) -> bool {
            QTreeWidget* tree = Tree(dialog, "mergeConflicts");
            QTreeWidgetItem* item = tree->topLevelItem(0);
            sides << QString::number(tree->topLevelItemCount()) << (item->checkState(0) == Qt::Checked ? "[x]" : "[ ]")
                  << item->text(0) << item->child(0)->text(0) << item->child(0)->text(1) << item->child(0)->text(2);
            item->setCheckState(0, Qt::Checked);
            return true;
        };
        window.OfferConflictMerge();
        QCOMPARE(sides, (QStringList{"1", "[ ]", "Differs", "Price", "$1", "$2"}));
        QCOMPARE(Names(table), (QStringList{"Only theirs", "Only mine", "Differs", "Both"}));
        QCOMPARE(table.Cell(2, PriceField), "$2");
        QVERIFY(!f.folder.Exists(conflict));
        QVERIFY(f.folder.Exists(conflict + ".merged"));

        // Merged, it is offered no more; undo takes the merge back whole.
        const int asked = int(f.messages.shown.size());
        window.OfferConflictMerge();
        QCOMPARE(int(f.messages.shown.size()), asked);
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo Merge Collection"));
        Action(window, "undoAction")->trigger();
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), mine);
    }

    // A folder opened from the menu has its conflict file offered too, once
    // its Cards are shown.
    void openedFolderOffersItsConflictFile()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        QVERIFY(QDir().mkdir(QStringLiteral("other")));
        f.folder.Write(QStringLiteral("other/qmk.dat"), CollectionBytes({{"Mine"}}));
        f.folder.Write(QStringLiteral("other/qmk.dat.conflict-20261208-101500"), CollectionBytes({{"Theirs"}}));
        f.messages.answers = {true};
        window.OpenFolder(f.folder.Path(QStringLiteral("other")));
        QTRY_COMPARE(Names(window.CardTable()), (QStringList{"Theirs", "Mine"}));
        QVERIFY(f.folder.Exists(QStringLiteral("other/qmk.dat.conflict-20261208-101500.merged")));
    }

    // File > Merge Collection with no conflict merges without a dialog.
    void mergeWithoutConflictsAsksNothing()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", CollectionBytes({{"Mine"}}));
        f.folder.Write("other.dat", CollectionBytes({{"Mine"}, {"Theirs"}}));
        MainWindow& window = f.Open();
        f.questions.openPath = f.folder.Path("other.dat");
        f.questions.dialogScript = [](QDialog&) -> bool { qFatal("asked"); };
        Action(window, "mergeCollectionAction")->trigger();
        QCOMPARE(Names(window.CardTable()), (QStringList{"Theirs", "Mine"}));
        QVERIFY(f.folder.Exists("other.dat"));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.Find<QLabel>("noticeLine")->text(), QStringLiteral("other.dat merged. Cards: 1 added, 0 taken from it"));
    }
};

QTEST_MAIN(TestMergeWindow)
#include "test_merge_window.moc"
