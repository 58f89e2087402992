#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/csv/CsvFiles.h"
#include "collection/csv/CsvWriter.h"
#include "support/TempFolder.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

Card MakeCard(std::string name, std::string series = {}, std::string quantity = {}, std::string condition = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    card[QuantityField] = std::move(quantity);
    card[ConditionField] = std::move(condition);
    return card;
}

// Name|Series|Quantity of each row, top first.
QByteArray Rows(const CardTableModel& table)
{
    QByteArray out;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (const int field : {NameField, SeriesField, QuantityField})
            out += QByteArray(table.Cell(row, field).data(), qsizetype(table.Cell(row, field).size())) + '|';
        out += '\n';
    }
    return out;
}

QStringList Entries(const ChoiceListModel& list)
{
    QStringList entries;
    for (int row = 0; row < list.rowCount(); ++row)
        entries << list.data(list.index(row)).toString();
    return entries;
}

// A collection as the window holds it: the table and both choice lists.
struct Collection {
    CardTableModel table;
    ChoiceListModel series;
    ChoiceListModel conditions;

    Collection()
    {
        SetTableRows(table, {MakeCard("Dragon", "Base", "3", "Mint"), MakeCard("Wyrm", "Promo", "1")});
        series.AddAll({"Base", "Promo"});
        conditions.AddAll({"Mint"});
    }

    // Reads the file and applies its import, as quillmark-cli does.
    bool Import(const QByteArray& csv, CsvRepeats repeats, QString& summary, CsvError& error)
    {
        CsvFileSettings settings = DetectCsvFileSettings(View(csv));
        settings.options.repeats = repeats;
        CsvImportResult result;
        if (!ReadCsvImport(csv, settings, table, result, error))
            return false;
        summary = CsvImportSummary(result);
        ApplyCsvImport(std::move(result), table, series, conditions);
        return true;
    }
};

} // namespace

class TestCsvFiles : public QObject {
    Q_OBJECT

private slots:
    // New texts join the list in order, once each ignoring case, in one
    // reset; nothing new changes nothing.
    void choiceListTakesManyTexts()
    {
        ChoiceListModel list;
        list.AddAll({"beta", "Delta"});
        QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        list.AddAll({"gamma", "Alpha", "BETA", "delta2", "gamma", "alpha", ""});
        QCOMPARE(Entries(list), (QStringList{"", "Alpha", "beta", "Delta", "delta2", "gamma"}));
        QCOMPARE(reset.count(), 1);
        list.AddAll({"DELTA", "Gamma"});
        QCOMPARE(reset.count(), 1);
        QVERIFY(list.Contains("delta2"));
        // The bytes come back as they were first given.
        QCOMPARE(list.data(list.index(1), ChoiceListModel::BytesRole).toByteArray(), QByteArray("Alpha"));
    }

    // The merged quantities land on the rows they were computed for, the new
    // Cards stand above them, and the lists take their texts.
    void appliesAnImport()
    {
        Collection c;
        QString summary;
        CsvError error;
        QVERIFY(c.Import("Name,Set,Qty,Grade\r\nPixie,Promo,2,Near Mint\r\nWyrm,Promo,4\r\nDragon,Base,x,Mint\r\n"
                         "Dragon,Base,1\r\nImp,Fresh,,Played\r\n",
                         CsvRepeats::MergeQuantities, summary, error));
        QCOMPARE(Rows(c.table), QByteArray("Pixie|Promo|2|\nDragon|Base|x|\nImp|Fresh||\nDragon|Base|4|\nWyrm|Promo|5|\n"));
        QCOMPARE(Entries(c.series), (QStringList{"Base", "Fresh", "Promo"}));
        QCOMPARE(Entries(c.conditions), (QStringList{"Mint", "Near Mint", "Played"}));
        QCOMPARE(summary, QStringLiteral("3 Cards imported; 2 repeats added to quantities; 1 repeat added as a row"));
    }

    // A file that cannot be read in full changes nothing at all, however
    // far in the fault lies.
    void refusesAFileAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<qint64>("line");
        QByteArray longFile = "Name,Series\r\n";
        for (int i = 0; i < 20000; ++i)
            longFile += "Card " + QByteArray::number(i) + ",Base\r\n";
        QTest::newRow("quote left open at the end") << longFile + "\"Last,Base\r\n" << qint64(20002);
        QTest::newRow("BOM, then a byte that is not UTF-8")
            << "\xEF\xBB\xBF" + longFile + "Caf\xE9,Base\r\n" << qint64(20002);
    }

    void refusesAFileAsAWhole()
    {
        QFETCH(QByteArray, csv);
        QFETCH(qint64, line);
        Collection c;
        QSignalSpy changes(&c.table, &QAbstractItemModel::dataChanged);
        QString summary;
        CsvError error;
        QVERIFY(!c.Import(csv, CsvRepeats::MergeQuantities, summary, error));
        QCOMPARE(qint64(error.line), line);
        QCOMPARE(Rows(c.table), QByteArray("Dragon|Base|3|\nWyrm|Promo|1|\n"));
        QCOMPARE(Entries(c.series), (QStringList{"Base", "Promo"}));
        QCOMPARE(changes.count(), 0);
    }

    // The preview reads only the start of a large file, yet a quoted field
    // longer than that start still comes whole, with the lines after it
    // numbered as in the file.
    void previewsTheFirstRows()
    {
        QByteArray csv = "Name,Description\r\nA,\"" + QByteArray(200000, 'x') + "\r\n" + QByteArray(100, 'y')
                         + "\"\r\nB,short\r\n";
        for (int i = 0; i < 50000; ++i)
            csv += "C,row\r\n";
        csv += "\"never closed";
        CsvRows rows;
        CsvError error;
        QVERIFY(ReadCsvPreview(View(csv), CsvEncoding::Utf8, ',', 3, rows, error));
        QVERIFY(rows.RowCount() >= 3 && rows.RowCount() < 50000);
        QCOMPARE(rows.Field(1, 1).size(), std::size_t(200102));
        QCOMPARE(rows.Field(2, 1), std::string_view("short"));
        QCOMPARE(qint64(rows.Line(2)), qint64(4));

        QVERIFY(!ReadCsvPreview(View(csv), CsvEncoding::Utf8, ',', 60000, rows, error));
        QCOMPARE(qint64(error.line), qint64(50005));
        QVERIFY(ReadCsvPreview("a;b\r\nc", CsvEncoding::Utf8, ';', 5, rows, error));
        QCOMPARE(rows.RowCount(), std::size_t(2));
    }

    void detectsTheSettings_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<char>("separator");
        QTest::addColumn<bool>("windows1252");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("own export") << QByteArray(kCsvHeaderRow.data(), qsizetype(kCsvHeaderRow.size())) + "\r\n"
                                    << ',' << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("European spreadsheet")
            << QByteArray("Qty;Card Name;Price\r\n2;Dr\xE9" "che;1,50 \x80\r\n") << ';' << true
            << QList<int>{1, -1, -1, -1, 2, 0, -1, -1};
        QTest::newRow("tabs, BOM") << QByteArray("\xEF\xBB\xBFTitle\tNotes\r\nA\tb\r\n") << '\t' << false
                                   << QList<int>{0, -1, -1, -1, -1, -1, -1, 1};
        QTest::newRow("empty") << QByteArray() << ',' << false << QList<int>{-1, -1, -1, -1, -1, -1, -1, -1};
    }

    void detectsTheSettings()
    {
        QFETCH(QByteArray, csv);
        QFETCH(char, separator);
        QFETCH(bool, windows1252);
        QFETCH(QList<int>, columns);
        while (columns.size() < kAllCardFieldCount)
            columns << -1;
        const CsvFileSettings settings = DetectCsvFileSettings(View(csv));
        QCOMPARE(settings.separator, separator);
        QCOMPARE(settings.encoding, windows1252 ? CsvEncoding::Windows1252 : CsvEncoding::Utf8);
        QCOMPARE(QList<int>(settings.options.columns.begin(), settings.options.columns.end()), columns);
        QVERIFY(settings.options.firstRowIsHeader);
        QCOMPARE(settings.options.repeats, CsvRepeats::AddAsRows);
    }

    // A collection kept in Windows-1252 goes out as UTF-8, and takes Cards
    // in its own bytes from either kind of file, repeats found among its
    // rows as such; a character it cannot hold refuses the file at its line.
    void keepsAWindows1252Collection()
    {
        CardTableModel table;
        table.SetEncoding(TextEncoding::Windows1252);
        SetTableRows(table, {MakeCard("Caf\xE9", "S", "1")});
        QBuffer exported;
        exported.open(QIODevice::WriteOnly);
        QVERIFY(WriteCsv(exported, table));
        QVERIFY(exported.data().endsWith("\r\nCaf\xC3\xA9,S,,,,1,,\r\n"));

        const auto import = [&table](const QByteArray& csv, CsvImportResult& result, CsvError& error) {
            CsvFileSettings settings = DetectCsvFileSettings(View(csv));
            settings.options.repeats = CsvRepeats::MergeQuantities;
            return ReadCsvImport(csv, settings, table, result, error);
        };
        CsvImportResult result;
        CsvError error;
        QVERIFY(import("Name,Series,Qty\r\nCaf\xC3\xA9,S,2\r\nCr\xC3\xA8me \xE2\x82\xAC,S,1\r\n", result, error));
        QCOMPARE(result.cards.size(), 1);
        QCOMPARE(result.cards.Cell(0, NameField), std::string_view("Cr\xE8me \x80"));
        QCOMPARE(result.quantities.at(0), std::string("3"));
        QVERIFY(import("Name\r\nNo\xEBl\r\n", result, error));
        QCOMPARE(result.cards.Cell(0, NameField), std::string_view("No\xEBl"));

        QVERIFY(!import("Name\r\nA\r\n\"B\r\n\xE6\x97\xA5\"\r\n", result, error));
        QCOMPARE(qint64(error.line), qint64(4));
        QVERIFY(error.reason.find("\xE6\x97\xA5") != std::string::npos);
    }

    // Values that begin like formulas go out guarded and come back through
    // our own import byte for byte, apostrophes of their own included, in
    // either text encoding of the collection; random values of the bytes
    // that matter too.
    void formulasRoundTrip_data()
    {
        QTest::addColumn<bool>("windows1252");
        QTest::newRow("UTF-8") << false;
        QTest::newRow("Windows-1252") << true;
    }

    void formulasRoundTrip()
    {
        QFETCH(bool, windows1252);
        const std::vector<std::string> starts = {"=", "+", "-", "@", "\t", "\r", "'", "''", "'''", "a", ",", "\"", " ",
                                                 "'=", "''+", "'\t", "'\r", windows1252 ? "\xE9" : "\xC3\xA9"};
        std::vector<Card> cards;
        QRandomGenerator random(32);
        for (int n = 0; n < 400; ++n) {
            Card card;
            for (int field = 0; field < kCardFieldCount; ++field) {
                std::string& value = card[field];
                const int pieces = n < 40 ? 1 : int(random.bounded(4));
                for (int piece = 0; piece < pieces; ++piece) {
                    const std::size_t start =
                        n < 40 ? std::size_t(n + field) % starts.size() : random.bounded(quint32(starts.size()));
                    value += starts[start];
                }
                value += field == NameField ? "Card " + std::to_string(n) : "";
            }
            PrepareForStorage(card);
            cards.push_back(card);
        }
        cards.push_back(
            Card{"=HYPERLINK(\"http://example.com\",\"x\")", "'=1", "''@x", "-1", "+44 20", "'", "\t", "'\r"});
        PrepareForStorage(cards.back());

        TempFolder folder;
        CardTableModel exported;
        exported.SetEncoding(windows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8);
        SetTableRows(exported, cards);
        QVERIFY(ExportCsvFile(folder.Path("cards.csv"), exported));
        const QByteArray csv = folder.Read("cards.csv");
        QVERIFY(csv.endsWith("\r\n\"'=HYPERLINK(\"\"http://example.com\"\",\"\"x\"\")\","
                             "''=1,'''@x,'-1,'+44 20,',,'\r\n"));

        CardTableModel imported;
        imported.SetEncoding(exported.Encoding());
        CsvImportResult result;
        CsvError error;
        QVERIFY(ReadCsvImport(csv, DetectCsvFileSettings(View(csv)), imported, result, error));
        QCOMPARE(result.cards.size(), int(cards.size()));
        for (int row = 0; row < result.cards.size(); ++row) {
            for (int field = 0; field < kCardFieldCount; ++field)
                QCOMPARE(QByteArray::fromStdString(std::string(result.cards.Cell(row, field))),
                         QByteArray::fromStdString(cards[std::size_t(row)][field]));
        }
    }

    // The export file is WriteCsv's bytes, and a file that cannot be
    // written leaves nothing behind.
    void exportsSafely()
    {
        TempFolder folder;
        CardTableModel table;
        SetTableRows(table, {MakeCard("a,b", "S", "2"), MakeCard("c")});
        QVERIFY(ExportCsvFile(folder.Path("cards.csv"), table));
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        QVERIFY(WriteCsv(expected, table));
        QCOMPARE(folder.Read("cards.csv"), expected.data());

        QString reason;
        QVERIFY(!ExportCsvFile(folder.Path("missing/cards.csv"), table, &reason));
        QVERIFY(!reason.isEmpty());
        QVERIFY(!folder.Exists("missing"));
    }
};

QTEST_GUILESS_MAIN(TestCsvFiles)
#include "test_csv_files.moc"
