#include "support/WindowTest.h"

#include "app/csv/CsvImportDialog.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <utility>

#include <sys/stat.h>

namespace {

// The CSV commands ask the window's questions; the import dialog is the
// real one, never shown, set up by a script.
ScriptedQuestions& Answer(WindowFixture& f)
{
    return f.questions;
}

void ScriptImport(ScriptedQuestions& answers, std::function<bool(CsvImportDialog&)> script)
{
    answers.dialogScript = [script = std::move(script)](QDialog& dialog) {
        return script(*qobject_cast<CsvImportDialog*>(&dialog));
    };
}

template <typename T>
T* Child(const QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        qFatal("no %s", name);
    return child;
}

QString Notice(const WindowFixture& f)
{
    return f.Find<QLabel>("noticeLine")->text();
}

QStringList ComboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// The current entry of each column box, Name first.
QStringList Mapping(const CsvImportDialog& dialog)
{
    QStringList mapping;
    for (const char* name : {"nameColumn", "seriesColumn", "conditionColumn", "yearColumn", "priceColumn",
                             "quantityColumn", "urlColumn", "descriptionColumn"})
        mapping << Child<QComboBox>(dialog, name)->currentText();
    return mapping;
}

void Choose(const CsvImportDialog& dialog, const char* box, const QString& text)
{
    auto* combo = Child<QComboBox>(dialog, box);
    const int index = combo->findText(text);
    if (index < 0)
        qFatal("%s has no %s", box, qPrintable(text));
    combo->setCurrentIndex(index);
}

const QByteArray kCollection = CollectionBytes({
    {"Ironbark, \"Sentinel\"", "Sky;forge", "Mint", "1999", "$4.25", "2", "pics/iron.png", "A <b>bold</b>\rone"},
    {"Ember Wisp", "Ashfall", "Played", "2003", "", "3", "", "caf\xc3\xa9 \xe2\x82\xac\tend"},
});

// A spreadsheet saved by a European program: ANSI code page, semicolons.
const QByteArray kEuropean = "Card Name;Set;Qty;Notes;Extra\r\n"
                             "Drache;Premi\xe8re;2;Tr\xe8s bon;x\r\n"
                             "Ember Wisp;Ashfall;4;;\r\n"
                             "\"Feuer; Eis\";Promo;1;;\r\n";

} // namespace

class TestCsvWindow : public QObject {
    Q_OBJECT

private slots:
    // The window owns the actions; its menu and the edit boxes' menus show
    // them above About, which stays last.
    void menusOfferTheCommands()
    {
        WindowFixture f;
        MainWindow& window = f.Open();
        std::unique_ptr<QMenu> menu(window.CreateWindowMenu());
        QVERIFY(menu->actions().contains(Action(window, "exportCsvAction")));
        QVERIFY(menu->actions().contains(Action(window, "importCsvAction")));
        QCOMPARE(Action(window, "importCsvAction")->parent(), &window);
        emit f.Field("nameEdit")->customContextMenuRequested(QPoint(1, 1));
        auto* editMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(editMenu != nullptr);
        QVERIFY(editMenu->actions().contains(Action(window, "importCsvAction")));
        QCOMPARE(editMenu->actions().last()->text(), QStringLiteral("&About Quillmark..."));
        editMenu->close();
    }

    // Every Card goes out to the chosen file; the notice line tells how
    // many until the next command and shows the product line otherwise.
    void exportsAndTellsHowMany()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        const QString productLine = QString::fromUtf8(Text::Notice);
        QCOMPARE(Notice(f), productLine);
        f.Type("nameEdit", QStringLiteral("typed"));

        answers.savePath = f.folder.Path("out.csv");
        Action(window, "exportCsvAction")->trigger();
        QCOMPARE(answers.suggestedPath, f.folder.Path("cards.csv"));
        QCOMPARE(f.folder.Read("out.csv"),
                 QByteArray("Name,Series,Condition,Year,Price,Quantity,URL,Description\r\n"
                            "Ember Wisp,Ashfall,Played,2003,,3,,caf\xc3\xa9 \xe2\x82\xac\tend\r\n"
                            "\"Ironbark, \"\"Sentinel\"\"\",Sky;forge,Mint,1999,$4.25,2,pics/iron.png,"
                            "\"A <b>bold</b>\rone\"\r\n"));
        QCOMPARE(Notice(f), QStringLiteral("2 Cards exported to out.csv"));
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("typed"));
        f.Click("clearButton");
        QCOMPARE(Notice(f), productLine);

        // Cancelled, or a file that cannot be written: no notice, and a box
        // for the second.
        answers.savePath.clear();
        Action(window, "exportCsvAction")->trigger();
        QCOMPARE(Notice(f), productLine);
        QVERIFY(f.messages.shown.isEmpty());
        answers.savePath = f.folder.Path("missing/out.csv");
        Action(window, "exportCsvAction")->trigger();
        QCOMPARE(Notice(f), productLine);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].text.startsWith("The Cards could not be exported."));
        QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
    }

    // The dialog starts from what the file shows: separator, encoding,
    // columns by their names, the header row as headings.
    void dialogDetectsAndMaps()
    {
        CsvImportDialog dialog(kEuropean);
        QCOMPARE(Child<QComboBox>(dialog, "separatorBox")->currentText(), QStringLiteral("Semicolon"));
        QCOMPARE(Child<QComboBox>(dialog, "encodingBox")->currentText(),
                 QStringLiteral("Windows-1252 (Western European)"));
        QVERIFY(Child<QCheckBox>(dialog, "headerCheck")->isChecked());
        QCOMPARE(Mapping(dialog), (QStringList{"Column 1: Card Name", "Column 2: Set", "(none)", "(none)", "(none)",
                                               "Column 3: Qty", "(none)", "Column 4: Notes"}));
        QCOMPARE(ComboItems(Child<QComboBox>(dialog, "yearColumn")),
                 (QStringList{"(none)", "Column 1: Card Name", "Column 2: Set", "Column 3: Qty", "Column 4: Notes",
                              "Column 5: Extra"}));
        auto* table = Child<QTableWidget>(dialog, "previewTable");
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Premi\u00e8re"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("Feuer; Eis"));
        QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Column 5: Extra"));
        QVERIFY(Child<QPushButton>(dialog, "importButton")->isEnabled());

        const CsvFileSettings settings = dialog.Settings();
        QCOMPARE(settings.separator, ';');
        QCOMPARE(settings.encoding, CsvEncoding::Windows1252);
        QCOMPARE(settings.options.repeats, CsvRepeats::AddAsRows);
        QCOMPARE(QList<int>(settings.options.columns.begin(), settings.options.columns.end()),
                 (QList<int>{0, 1, -1, -1, -1, 2, -1, 3, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    }

    // A detail is mapped only from a heading that names it, never by place.
    void dialogMapsDetailsByName()
    {
        CsvImportDialog dialog(QByteArray("Card Name,Collector Number,Binder\r\nDragon,012,B2\r\n"));
        QCOMPARE(Child<QComboBox>(dialog, "numberColumn")->currentText(), QStringLiteral("Column 2: Collector Number"));
        QCOMPARE(Child<QComboBox>(dialog, "locationColumn")->currentText(), QStringLiteral("Column 3: Binder"));
        QCOMPARE(Child<QComboBox>(dialog, "gameColumn")->currentText(), QStringLiteral("(none)"));
        QCOMPARE(Child<QComboBox>(dialog, "printColumn")->count(), 4);
        Child<QCheckBox>(dialog, "headerCheck")->setChecked(false);
        const CsvColumns columns = dialog.Settings().options.columns;
        QCOMPARE(QList<int>(columns.begin(), columns.end()),
                 (QList<int>{0, 1, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    }

    // A card app's export is named, its columns mapped as the app writes
    // them and still open to change; the label is gone while the first row
    // is not taken as a header, and for files of no app.
    void dialogRecognisesAnApp()
    {
        CsvImportDialog dialog(QByteArray("Count,Tradelist Count,Name,Edition,Condition,Language,Foil,Tags,"
                                          "Last Modified,Collector Number,Alter,Proxy,Purchase Price\r\n"
                                          "4,1,Lightning Bolt,m11,Good (Lightly Played),English,foil,,,146,False,"
                                          "False,1.25\r\n"));
        auto* label = Child<QLabel>(dialog, "recognisedAppLabel");
        QVERIFY(!label->isHidden());
        QVERIFY(label->text().startsWith(QStringLiteral("Recognised: Moxfield collection export\n")));
        QVERIFY(label->text().contains(QStringLiteral("Light Played")));
        QCOMPARE(Child<QComboBox>(dialog, "tradeColumn")->currentText(), QStringLiteral("Column 2: Tradelist Count"));
        QCOMPARE(Child<QComboBox>(dialog, "setCodeColumn")->currentText(), QStringLiteral("Column 4: Edition"));
        Choose(dialog, "descriptionColumn", QStringLiteral("Column 9: Last Modified"));
        CsvFileSettings settings = dialog.Settings();
        QVERIFY(settings.options.app.app != nullptr);
        QCOMPARE(settings.options.columns[DescriptionField], 8);

        Child<QCheckBox>(dialog, "headerCheck")->setChecked(false);
        QVERIFY(label->isHidden());
        QVERIFY(dialog.Settings().options.app.app == nullptr);

        CsvImportDialog plain(kEuropean);
        QVERIFY(Child<QLabel>(plain, "recognisedAppLabel")->isHidden());
    }

    // The save dialog's file type chooses the columns: an app's, or ours.
    void exportsInAnAppsColumns()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.savePath = f.folder.Path("moxfield.csv");
        answers.saveFilter = QStringLiteral("Moxfield collection CSV (*.csv)");
        Action(window, "exportCsvAction")->trigger();
        QVERIFY(answers.offeredFilter.startsWith(QStringLiteral("CSV files (*.csv);;Moxfield collection CSV (*.csv);;"
                                                                "Deckbox inventory CSV (*.csv)")));
        QCOMPARE(f.folder.Read("moxfield.csv"),
                 QByteArray("Count,Tradelist Count,Name,Edition,Condition,Language,Foil,Tags,Last Modified,"
                            "Collector Number,Alter,Proxy,Purchase Price\r\n"
                            "3,0,Ember Wisp,,Heavily Played,,,,,,False,False,\r\n"
                            "2,0,\"Ironbark, \"\"Sentinel\"\"\",,Mint,,,,,,False,False,4.25\r\n"));
        QCOMPARE(Notice(f), QStringLiteral("2 Cards exported to moxfield.csv"));
    }

    // A change of how the file is read reads it again and maps afresh; a
    // reading that fails names the line and still lets the import refuse
    // the file; without a Name column there is nothing to import.
    void dialogFollowsTheReading()
    {
        CsvImportDialog dialog(kEuropean);
        auto* table = Child<QTableWidget>(dialog, "previewTable");
        auto* status = Child<QLabel>(dialog, "statusLine");
        auto* import = Child<QPushButton>(dialog, "importButton");

        Choose(dialog, "separatorBox", QStringLiteral("Comma"));
        QCOMPARE(table->columnCount(), 1);
        QCOMPARE(Mapping(dialog)[0], QStringLiteral("(none)"));
        QCOMPARE(status->text(), QStringLiteral("Choose the column that holds the Card Name."));
        QVERIFY(!import->isEnabled());
        Choose(dialog, "nameColumn", QStringLiteral("Column 1: Card Name;Set;Qty;Notes;Extra"));
        QVERIFY(import->isEnabled());

        Choose(dialog, "separatorBox", QStringLiteral("Semicolon"));
        Choose(dialog, "encodingBox", QStringLiteral("UTF-8"));
        QCOMPARE(status->text(), QStringLiteral("Line 2: this line is not valid UTF-8. Try another encoding or separator."));
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(import->isEnabled());
        QCOMPARE(dialog.Settings().encoding, CsvEncoding::Utf8);

        // Without a header the first row is a Card, and the columns are taken
        // in the order of the export's.
        Choose(dialog, "encodingBox", QStringLiteral("Windows-1252 (Western European)"));
        Child<QCheckBox>(dialog, "headerCheck")->setChecked(false);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Card Name"));
        QCOMPARE(Mapping(dialog), (QStringList{"Column 1", "Column 2", "Column 3", "Column 4", "Column 5", "(none)",
                                               "(none)", "(none)"}));
        Choose(dialog, "repeatsBox", QStringLiteral("Add their quantities"));
        const CsvFileSettings settings = dialog.Settings();
        QVERIFY(!settings.options.firstRowIsHeader);
        QCOMPARE(settings.options.repeats, CsvRepeats::MergeQuantities);

        CsvImportDialog empty(QByteArray("\r\n"));
        QCOMPARE(Child<QLabel>(empty, "statusLine")->text(), QStringLiteral("The file holds no rows."));
        QVERIFY(!Child<QPushButton>(empty, "importButton")->isEnabled());
    }

    // The preview shows the first rows of a long file, on one line each.
    void dialogShowsTheFirstRows()
    {
        QByteArray csv = "Name,Description\r\nFirst,\"two\r\nlines\"\r\n";
        for (int i = 0; i < 5000; ++i)
            csv += "Card " + QByteArray::number(i) + ",\r\n";
        CsvImportDialog dialog(csv);
        auto* table = Child<QTableWidget>(dialog, "previewTable");
        QCOMPARE(table->rowCount(), CsvImportDialog::kPreviewRows);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("two lines"));
        QCOMPARE(table->item(19, 0)->text(), QStringLiteral("Card 18"));
    }

    // What the dialog chose reaches the import: the new Cards at the top in
    // file order, the repeats merged, the lists grown, the count and the
    // widths updated, the summary in a box, the fields as they were.
    void importsIntoTheWindow()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.folder.Write("in.csv", kEuropean + "Der allerl\xe4ngste Kartenname der ganzen Sammlung;Promo;1;;\r\n");
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.openPath = f.folder.Path("in.csv");
        ScriptImport(answers, [](CsvImportDialog& dialog) {
            Choose(dialog, "repeatsBox", QStringLiteral("Add their quantities"));
            Choose(dialog, "conditionColumn", QStringLiteral("Column 5: Extra"));
            return true;
        });
        f.Type("nameEdit", QStringLiteral("typed"));
        f.Type("seriesBox", QStringLiteral("typed series"));
        auto* view = f.Find<QTableView>("cardTable");
        const int nameWidth = view->horizontalHeader()->sectionSize(NameField);

        Action(window, "importCsvAction")->trigger();
        QCOMPARE(answers.offeredFolder, QDir::currentPath());
        const CardTableModel& table = window.CardTable();
        QCOMPARE(table.rowCount(), 5);
        QCOMPARE(table.RowCard(0), (Card{"Drache", "Premi\xc3\xa8re", "x", "", "", "2", "", "Tr\xc3\xa8s bon"}));
        QCOMPARE(table.Cell(1, NameField), std::string_view("Feuer; Eis"));
        QCOMPARE(table.Cell(3, QuantityField), std::string_view("7"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("5"));
        QCOMPARE(ComboItems(f.Find<QComboBox>("seriesBox")), (QStringList{"Ashfall", "Premi\u00e8re", "Promo", "Sky;forge"}));
        QCOMPARE(ComboItems(f.Find<QComboBox>("conditionBox")), (QStringList{"", "Mint", "Played", "x"}));
        QVERIFY(view->horizontalHeader()->sectionSize(NameField) > nameWidth);
        QCOMPARE(f.Field("nameEdit")->text(), QStringLiteral("typed"));
        QCOMPARE(f.Field("seriesBox")->text(), QStringLiteral("typed series"));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Import from CSV"));
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("3 Cards imported; 1 repeat added to a quantity"));
        QCOMPARE(f.messages.shown[0].kind, MessageKind::Information);
        QCOMPARE(Notice(f), QString::fromUtf8(Text::Notice));
    }

    // Undo takes the whole import back, quantities included, and redo puts
    // it in again, as one step.
    void undoesTheImportAsOneStep()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.folder.Write("in.csv", kEuropean);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.openPath = f.folder.Path("in.csv");
        ScriptImport(answers, [](CsvImportDialog& dialog) {
            Choose(dialog, "repeatsBox", QStringLiteral("Add their quantities"));
            return true;
        });
        const CardTableModel& table = window.CardTable();
        const Card ember = table.RowCard(0);
        Action(window, "importCsvAction")->trigger();
        QCOMPARE(table.rowCount(), 4);
        QCOMPARE(table.Cell(2, QuantityField), std::string_view("7"));
        QCOMPARE(Action(window, "undoAction")->text(), QStringLiteral("&Undo Import from CSV"));

        Action(window, "undoAction")->trigger();
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.RowCard(0), ember);
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("2"));
        Action(window, "redoAction")->trigger();
        QCOMPARE(table.rowCount(), 4);
        QCOMPARE(table.Cell(0, NameField), std::string_view("Drache"));
        QCOMPARE(table.Cell(2, QuantityField), std::string_view("7"));
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("4"));
        Action(window, "undoAction")->trigger();
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
    }

    // A file that cannot be read in full is refused with a box naming the
    // line; a cancelled dialog or file dialog changes nothing either.
    void refusesWithoutChange_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("box");
        QByteArray late = "Name,Series\r\n";
        for (int i = 0; i < 40; ++i)
            late += "Card " + QByteArray::number(i) + ",S\r\n";
        QTest::newRow("quote left open") << late + "\"Last,S\r\n" << true
                                         << "Line 42 of in.csv: a quote in this row is never closed.\r\n"
                                            "Nothing was imported.";
        QTest::newRow("cancelled") << late << false << QString();
    }

    void refusesWithoutChange()
    {
        QFETCH(QByteArray, csv);
        QFETCH(bool, answer);
        QFETCH(QString, box);
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.folder.Write("in.csv", csv);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.openPath = f.folder.Path("in.csv");
        ScriptImport(answers, [answer](CsvImportDialog&) { return answer; });
        Action(window, "importCsvAction")->trigger();
        QCOMPARE(window.CardTable().rowCount(), 2);
        QCOMPARE(f.Field("countBox")->text(), QStringLiteral("2"));
        QCOMPARE(f.Find<QComboBox>("seriesBox")->count(), 2);
        QCOMPARE(f.messages.shown.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QCOMPARE(f.messages.shown[0].text, box);
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
    }

    // Only a regular file is imported: a named pipe that no program writes
    // or a link to /dev/zero is refused at once with a box saying what it is.
    // The collection's own qmk.dat, by any name, takes no export.
    void refusesSpecialAndOwnFiles()
    {
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        QCOMPARE(::mkfifo(QFile::encodeName(f.folder.Path("pipe.csv")).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f.folder.Path("zero.csv")));
        QVERIFY(QFile::link(QStringLiteral("qmk.dat"), f.folder.Path("alias.csv")));
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        ScriptImport(answers, [](CsvImportDialog&) {
            qFatal("a file that is not a regular one reached the import dialog");
            return false;
        });
        for (const auto& [name, kind] : {std::pair{"pipe.csv", "a named pipe"}, std::pair{"zero.csv", "a device"}}) {
            f.messages.shown.clear();
            answers.openPath = f.folder.Path(QString::fromLatin1(name));
            Action(window, "importCsvAction")->trigger();
            QCOMPARE(window.CardTable().rowCount(), 2);
            QCOMPARE(f.messages.shown.size(), 1);
            QVERIFY2(f.messages.shown[0].text.startsWith("The file could not be read.")
                         && f.messages.shown[0].text.contains(QStringLiteral("not a regular file but %1").arg(kind)),
                     qPrintable(f.messages.shown[0].text));
        }
        for (const char* name : {"qmk.dat", "alias.csv"}) {
            f.messages.shown.clear();
            answers.savePath = f.folder.Path(QString::fromLatin1(name));
            Action(window, "exportCsvAction")->trigger();
            QCOMPARE(f.messages.shown.size(), 1);
            QVERIFY2(f.messages.shown[0].text.startsWith("The Cards could not be exported.")
                         && f.messages.shown[0].text.contains("this collection's own qmk.dat"),
                     qPrintable(f.messages.shown[0].text));
            QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
        }
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
        QVERIFY(QFileInfo(f.folder.Path("alias.csv")).isSymLink());
    }

    // A file that is almost all UTF-8 is not read as Windows-1252: the
    // window asks first, showing the first line that is not UTF-8, and
    // either reads the bytes there as Windows-1252 or imports nothing.
    void asksAboutStrayBytes_data()
    {
        QTest::addColumn<bool>("mend");
        QTest::newRow("mended") << true;
        QTest::newRow("refused") << false;
    }

    void asksAboutStrayBytes()
    {
        QFETCH(bool, mend);
        QByteArray csv = "Name,Series\r\n";
        for (int i = 0; i < 2000; ++i)
            csv += "Cr\xc3\xa8me " + QByteArray::number(i) + ",\xc3\x89" "dition <b>\xe2\x82\xac</b>\r\n";
        csv += "Caf\xe9 <i>noir</i>,Premi\xe8re\r\n";
        csv += "Th\xe9" "\r\n";
        WindowFixture f;
        f.folder.Write("qmk.dat", kCollection);
        f.folder.Write("in.csv", csv);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.openPath = f.folder.Path("in.csv");
        f.messages.answers = {mend};
        QString encoding;
        ScriptImport(answers, [&encoding](CsvImportDialog& dialog) {
            encoding = Child<QComboBox>(dialog, "encodingBox")->currentText();
            return true;
        });
        Action(window, "importCsvAction")->trigger();

        QVERIFY(!f.messages.shown.isEmpty());
        QVERIFY(f.messages.shown[0].question);
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Import from CSV"));
        const QString question = f.messages.shown[0].text;
        QVERIFY2(question.startsWith(QStringLiteral("2 lines of in.csv are not valid UTF-8, though almost all of the "
                                                    "file is. The first of them, line 2002:\r\n\r\n"
                                                    "Caf\ufffd <i>noir</i>,Premi\ufffdre\r\n\r\n")),
                 qPrintable(question));
        QVERIFY(question.contains(QStringLiteral("Caf\u00e9 <i>noir</i>,Premi\u00e8re")));

        const CardTableModel& table = window.CardTable();
        if (!mend) {
            QVERIFY(encoding.isEmpty());
            QCOMPARE(table.rowCount(), 2);
            QCOMPARE(f.messages.shown.size(), 1);
            f.Quit();
            QCOMPARE(f.folder.Read("qmk.dat"), kCollection);
            return;
        }
        QCOMPARE(encoding, QStringLiteral("UTF-8"));
        QCOMPARE(table.rowCount(), 2004);
        QCOMPARE(table.RowCard(0)[SeriesField], std::string("\xc3\x89" "dition <b>\xe2\x82\xac</b>"));
        QCOMPARE(table.RowCard(2000), (Card{"Caf\xc3\xa9 <i>noir</i>", "Premi\xc3\xa8re", "", "", "", "", "", ""}));
        QCOMPARE(table.RowCard(2001)[NameField], std::string("Th\xc3\xa9"));
        QCOMPARE(f.messages.shown.size(), 2);
        QCOMPARE(f.messages.shown[1].text, QStringLiteral("2,002 Cards imported"));
    }

    // A file that says it is UTF-8 with a byte order mark is asked about
    // too, however few its letters; a file in Windows-1252 is not.
    void asksAboutStrayBytesAfterAByteOrderMark()
    {
        WindowFixture f;
        f.folder.Write("bom.csv", "\xef\xbb\xbfName\r\nCaf\xe9\r\n");
        f.folder.Write("ansi.csv", kEuropean);
        MainWindow& window = f.Open();
        ScriptedQuestions& answers = Answer(f);
        answers.openPath = f.folder.Path("bom.csv");
        f.messages.answers = {true};
        Action(window, "importCsvAction")->trigger();
        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(f.messages.shown[0].question);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("Caf\xc3\xa9"));
        QVERIFY(f.messages.shown[0].text
                    .startsWith(QStringLiteral("Line 2 of bom.csv is not valid UTF-8, though almost all of the file "
                                               "is:\r\n\r\nCaf\ufffd\r\n\r\n")));
        f.messages.shown.clear();
        answers.openPath = f.folder.Path("ansi.csv");
        Action(window, "importCsvAction")->trigger();
        for (const RecordingMessages::Shown& shown : f.messages.shown)
            QVERIFY(!shown.question);
        QCOMPARE(window.CardTable().Cell(0, NameField), std::string_view("Drache"));
    }

    // The preview shows values as the import will take them: without the
    // apostrophe that guards a formula.
    void previewTakesTheFormulaGuardOff()
    {
        CsvImportDialog dialog(QByteArray("Name,Notes\r\n'=1+1,'''@x\r\n'tis,\"'\r\"\r\n"));
        auto* table = Child<QTableWidget>(dialog, "previewTable");
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("=1+1"));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("''@x"));
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("'tis"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral(" "));
    }

    // Export, then import into a window on an empty folder, saves the very
    // collection file the first window saved.
    void roundTrips()
    {
        QByteArray csv;
        QByteArray saved;
        {
            WindowFixture f;
            f.folder.Write("qmk.dat", kCollection);
            MainWindow& window = f.Open();
            Answer(f).savePath = f.folder.Path("cards.csv");
            Action(window, "exportCsvAction")->trigger();
            f.Quit();
            csv = f.folder.Read("cards.csv");
            saved = f.folder.Read("qmk.dat");
        }
        WindowFixture f;
        f.folder.Write("cards.csv", csv);
        MainWindow& window = f.Open();
        Answer(f).openPath = f.folder.Path("cards.csv");
        Action(window, "importCsvAction")->trigger();
        f.Quit();
        QCOMPARE(f.folder.Read("qmk.dat"), saved);
        QCOMPARE(saved, kCollection);
    }
};

QTEST_MAIN(TestCsvWindow)
#include "test_csv_window.moc"
