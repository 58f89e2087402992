#include "base/Windows1252.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/csv/CsvFormulaGuard.h"
#include "collection/csv/CsvImport.h"
#include "collection/csv/CsvReader.h"
#include "collection/csv/CsvWriter.h"
#include "support/FullDevice.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

QByteArray Bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// Rows as "line[field|field]", one after the other.
QByteArray Dump(const CsvRows& rows)
{
    QByteArray out;
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        out += QByteArray::number(rows.Line(row)) + '[';
        for (int column = 0; column < rows.FieldCount(row); ++column)
            out += (column > 0 ? "|" : "") + Bytes(rows.Field(row, column));
        out += ']';
    }
    return out;
}

CsvRows Parsed(std::string_view text, char separator = ',')
{
    CsvRows rows;
    CsvError error;
    if (!ParseCsv(text, separator, rows, error))
        qFatal("line %lld: %s", static_cast<long long>(error.line), error.reason.c_str());
    return rows;
}

Card MakeCard(std::string name, std::string series = {}, std::string quantity = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    card[QuantityField] = std::move(quantity);
    return card;
}

CsvImportResult Imported(const QByteArray& csv, const CardTableModel& collection,
                         CsvRepeats repeats = CsvRepeats::AddAsRows)
{
    const CsvRows rows = Parsed(View(csv));
    CsvImportOptions options;
    options.columns = MapCsvColumns(rows);
    options.repeats = repeats;
    return ImportCsv(rows, options, collection);
}

// Name|Series|Quantity of each Card, one line each.
QByteArray Dump(const CardTableModel::RowBlock& cards)
{
    QByteArray out;
    for (int index = 0; index < cards.size(); ++index)
        out += Bytes(cards.Cell(index, NameField)) + '|' + Bytes(cards.Cell(index, SeriesField)) + '|'
               + Bytes(cards.Cell(index, QuantityField)) + '\n';
    return out;
}

// A literal that may hold NUL bytes.
template <std::size_t size>
QByteArray Literal(const char (&text)[size])
{
    return QByteArray(text, size - 1);
}

QByteArray Written(const CardTableModel& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCsv(buffer, table))
        qFatal("writing to memory failed");
    return buffer.data();
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT

private slots:
    void readsRows_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("rows");
        QTest::newRow("empty file") << QByteArray() << ',' << QByteArray();
        QTest::newRow("header only") << QByteArray("Name,Series\r\n") << ',' << QByteArray("1[Name|Series]");
        QTest::newRow("quoted separator and quotes")
            << QByteArray("a,\"b,c\",\"say \"\"hi\"\"\",\"\"") << ',' << QByteArray("1[a|b,c|say \"hi\"|]");
        QTest::newRow("CR LF inside quotes counts lines")
            << QByteArray("Name,Notes\r\nA,\"one\r\ntwo\nthree\rfour\"\r\nB,x\r\n") << ','
            << QByteArray("1[Name|Notes]2[A|one\r\ntwo\nthree\rfour]6[B|x]");
        QTest::newRow("LF only") << QByteArray("a,b\nc,d\n") << ',' << QByteArray("1[a|b]2[c|d]");
        QTest::newRow("lone CR, no last line end") << QByteArray("a,b\rc,d") << ',' << QByteArray("1[a|b]2[c|d]");
        QTest::newRow("empty lines are no rows")
            << QByteArray("\r\na\r\n\r\n\n\rb\r\n\r\n") << ',' << QByteArray("2[a]6[b]");
        QTest::newRow("empty fields") << QByteArray(",a,,\r\n,\r\n") << ',' << QByteArray("1[|a||]2[|]");
        QTest::newRow("spaces kept, quote after a space is text")
            << QByteArray(" a , \"b\" ") << ',' << QByteArray("1[ a | \"b\" ]");
        QTest::newRow("stray quotes kept") << QByteArray("ab\"c,\"de\"f\"g,h\r\n") << ','
                                           << QByteArray("1[ab\"c|def\"g|h]");
        QTest::newRow("NUL bytes") << QByteArray("a\0b,\"\0\"\r\n\0", 10) << ','
                                   << QByteArray("1[a\0b|\0]2[\0]", 12);
        QTest::newRow("semicolons") << QByteArray("a;1,5;\"c;d\"\r\n") << ';' << QByteArray("1[a|1,5|c;d]");
        QTest::newRow("tabs") << QByteArray("a\tb, c\t\"\t\"") << '\t' << QByteArray("1[a|b, c|\t]");
        // Excel's line naming the separator is no row, quoted or not, and
        // only as the first line.
        QTest::newRow("sep line") << QByteArray("sep=;\r\na;b\r\nsep=;\r\n") << ';' << QByteArray("2[a|b]3[sep=|]");
        QTest::newRow("quoted sep line, LF") << QByteArray("\"sep=,\"\na,b") << ',' << QByteArray("2[a|b]");
        QTest::newRow("sep line alone") << QByteArray("sep=,") << ',' << QByteArray();
        QTest::newRow("not a sep line") << QByteArray("sep=ab\r\n") << ',' << QByteArray("1[sep=ab]");
    }

    void readsRows()
    {
        QFETCH(QByteArray, text);
        QFETCH(char, separator);
        QFETCH(QByteArray, rows);
        QCOMPARE(Dump(Parsed(View(text), separator)), rows);
    }

    void refusesAnUnclosedQuote_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("line");
        QTest::newRow("at the end") << QByteArray("Name\r\nA\r\n\"B") << qint64(3);
        QTest::newRow("row started lines before")
            << QByteArray("a\r\n\"b\r\nc\"\r\nd,\"e\r\nf\r\ng") << qint64(4);
        QTest::newRow("after a doubled quote") << QByteArray("a\rb\r\"c\"\"") << qint64(3);
    }

    void refusesAnUnclosedQuote()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, line);
        CsvRows rows = Parsed("x,y");
        CsvError error;
        QVERIFY(!ParseCsv(View(text), ',', rows, error));
        QCOMPARE(qint64(error.line), line);
        QVERIFY(!error.reason.empty());
        QCOMPARE(rows.RowCount(), std::size_t(0));
    }

    // Quoting, doubled quotes and line counting hold for a field of 50 MB.
    void readsAHugeField()
    {
        std::string field(50u << 20, 'x');
        for (std::size_t at = 1000; at < 1000 * 1000; at += 1000)
            field.replace(at, 4, "\r\n\",");
        QByteArray text;
        AppendCsvRow(text, {"a", field, "b"});
        AppendCsvRow(text, {"next"});
        const CsvRows rows = Parsed(View(text));
        QCOMPARE(rows.RowCount(), std::size_t(2));
        QVERIFY(rows.Field(0, 1) == field);
        QCOMPARE(Bytes(rows.Field(0, 2)), QByteArray("b"));
        QCOMPARE(qint64(rows.Line(1)), qint64(1001));
    }

    void writesFields_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QByteArray("Dragon") << QByteArray("Dragon");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("comma") << QByteArray("a,b") << QByteArray("\"a,b\"");
        QTest::newRow("quotes doubled") << QByteArray("\"x\" y\"") << QByteArray("\"\"\"x\"\" y\"\"\"");
        QTest::newRow("CR") << QByteArray("a\rb") << QByteArray("\"a\rb\"");
        QTest::newRow("LF") << QByteArray("a\nb") << QByteArray("\"a\nb\"");
        QTest::newRow("semicolon, tab, spaces as they are") << QByteArray(" a;\tb ") << QByteArray(" a;\tb ");
        QTest::newRow("invalid UTF-8 and NUL as they are") << QByteArray("\xff\0z", 3) << QByteArray("\xff\0z", 3);
        // A spreadsheet would run these as formulas: an apostrophe goes first.
        QTest::newRow("formula") << QByteArray("=HYPERLINK(\"http://x\")")
                                 << QByteArray("\"'=HYPERLINK(\"\"http://x\"\")\"");
        QTest::newRow("plus") << QByteArray("+1") << QByteArray("'+1");
        QTest::newRow("minus") << QByteArray("-2") << QByteArray("'-2");
        QTest::newRow("at") << QByteArray("@SUM(A1)") << QByteArray("'@SUM(A1)");
        QTest::newRow("tab first") << QByteArray("\tx") << QByteArray("'\tx");
        QTest::newRow("CR first, quoted") << QByteArray("\rx") << QByteArray("\"'\rx\"");
        QTest::newRow("apostrophes before a formula get one more") << QByteArray("''=1") << QByteArray("'''=1");
        QTest::newRow("apostrophe before text as it is") << QByteArray("'tis") << QByteArray("'tis");
        QTest::newRow("apostrophes alone as they are") << QByteArray("''") << QByteArray("''");
        QTest::newRow("formula characters later as they are") << QByteArray("a=b-c") << QByteArray("a=b-c");
    }

    void writesFields()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, written);
        CardTableModel table;
        SetTableRows(table, {MakeCard(name.toStdString(), "S"), MakeCard("Lower")});
        QCOMPARE(Written(table), QByteArray("Name,Series,Condition,Year,Price,Quantity,URL,Description\r\n") + written
                                     + ",S,,,,,,\r\nLower,,,,,,,\r\n");
    }

    void writesFormulasRawWhenAsked()
    {
        CardTableModel table;
        SetTableRows(table, {MakeCard("=1+1", "-S", "+3"), MakeCard("''@x")});
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(WriteCsv(buffer, table, CsvFormulas::Raw));
        QCOMPARE(buffer.data(), QByteArray("Name,Series,Condition,Year,Price,Quantity,URL,Description\r\n"
                                           "=1+1,-S,,,,+3,,\r\n''@x,,,,,,,\r\n"));
    }

    void guardsFormulas_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("guarded");
        QTest::addColumn<QByteArray>("unguarded");
        QTest::newRow("empty") << QByteArray() << false << QByteArray();
        QTest::newRow("text") << QByteArray("Dragon") << false << QByteArray("Dragon");
        for (const char* start : {"=", "+", "-", "@", "\t", "\r"}) {
            const QByteArray formula = QByteArray(start) + "1";
            QTest::addRow("starts with byte %d", int(start[0])) << formula << true << formula;
            QTest::addRow("guarded, byte %d", int(start[0])) << "'" + formula << true << formula;
            QTest::addRow("guarded twice, byte %d", int(start[0])) << "''" + formula << true << "'" + formula;
        }
        QTest::newRow("apostrophe alone") << QByteArray("'") << false << QByteArray("'");
        QTest::newRow("apostrophes alone") << QByteArray("'''") << false << QByteArray("'''");
        QTest::newRow("apostrophe before text") << QByteArray("'tis") << false << QByteArray("'tis");
        QTest::newRow("space first") << QByteArray(" =1") << false << QByteArray(" =1");
    }

    void guardsFormulas()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, guarded);
        QFETCH(QByteArray, unguarded);
        QCOMPARE(NeedsFormulaGuard(View(value)), guarded);
        QCOMPARE(Bytes(WithoutFormulaGuard(View(value))), unguarded);
        // What the export guards, the import gives back.
        if (guarded)
            QCOMPARE(Bytes(WithoutFormulaGuard(View("'" + value))), value);
    }

    // The details follow the eight, with their quoting and guard, as soon
    // as one Card has any; and they come back by their headings.
    void writesAndReadsDetails()
    {
        Card card = MakeCard("Dragon", "S");
        card[LocationField] = "Binder, 2";
        card[TagsField] = "=1+1";
        card[PrintField] = "p-1";
        CardTableModel table;
        SetTableRows(table, {MakeCard("Plain"), card});
        const QByteArray csv = Written(table);
        QCOMPARE(csv, QByteArray("Name,Series,Condition,Year,Price,Quantity,URL,Description,"
                                 "Game,Set Code,Number,Finish,Language,Location,Tags,Trade,Want,Print,"
                                 "Market Price,Market Date,Source\r\n"
                                 "Plain,,,,,,,,,,,,,,,,,,,,\r\n"
                                 "Dragon,S,,,,,,,,,,,,\"Binder, 2\",'=1+1,,,p-1,,,\r\n"));

        CardTableModel imported;
        imported.PutRows(0, Imported(csv, CardTableModel()).cards);
        QCOMPARE(imported.rowCount(), 2);
        for (int field = 0; field < kAllCardFieldCount; ++field)
            QCOMPARE(Bytes(imported.Cell(1, field)), Bytes(card[std::size_t(field)]));
    }

    void writesTheHeaderAloneAndReportsAFullDevice()
    {
        CardTableModel table;
        QCOMPARE(Written(table), QByteArray("Name,Series,Condition,Year,Price,Quantity,URL,Description\r\n"));
        SetTableRows(table, {MakeCard("Dragon")});
        FullDevice full(70);
        QVERIFY(!WriteCsv(full, table));
    }

    void detectsTheSeparator_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<char>("separator");
        QTest::newRow("comma") << QByteArray("Name,Series\r\nA,B\r\n") << ',';
        QTest::newRow("decimal commas beside semicolons")
            << QByteArray("Name;Price;Qty\r\nA;1,50;2\r\nB;2,00;1\r\n") << ';';
        QTest::newRow("tab, commas in text") << QByteArray("Name\tNotes\r\nA\tred, big\r\n") << '\t';
        QTest::newRow("quoted text aside") << QByteArray("\"a;b;c\",d\r\n\"e;\r\nf;g\",h") << ',';
        QTest::newRow("uneven lines: the most") << QByteArray("a;b;c\r\nd,e;f\r\n") << ';';
        QTest::newRow("none") << QByteArray("Name\r\nA\r\n") << ',';
        QTest::newRow("empty") << QByteArray() << ',';
        QTest::newRow("named by a sep line") << QByteArray("\xEF\xBB\xBF\"sep=;\"\r\na,b,c\r\n") << ';';
    }

    void detectsTheSeparator()
    {
        QFETCH(QByteArray, text);
        QFETCH(char, separator);
        QCOMPARE(DetectSeparator(View(text)), separator);
    }

    void decodesText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("windows1252");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("errorLine");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBFName\r\n") << false << QByteArray("Name\r\n")
                                        << qint64(0);
        QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9") << false << QByteArray("Caf\xC3\xA9") << qint64(0);
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x80\x81") << true
                                      << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC\xC2\x81") << qint64(0);
        QTest::newRow("BOM but a bad line") << QByteArray("\xEF\xBB\xBF" "a\r\nb\nc\rd\xE9") << false << QByteArray()
                                            << qint64(4);
    }

    void decodesText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, windows1252);
        QFETCH(QByteArray, text);
        QFETCH(qint64, errorLine);
        QCOMPARE(DetectEncoding(View(bytes)), windows1252 ? CsvEncoding::Windows1252 : CsvEncoding::Utf8);
        std::string decoded;
        CsvError error;
        const bool decodedAll = DecodeCsvText(View(bytes), DetectEncoding(View(bytes)), decoded, error);
        QCOMPARE(decodedAll, errorLine == 0);
        QCOMPARE(Bytes(decoded), text);
        QCOMPARE(qint64(error.line), errorLine);
    }

    // A UTF-8 file with a few bytes from an older program is still UTF-8,
    // to be refused or mended at those bytes, not garbled as Windows-1252
    // throughout; a file truly in Windows-1252 stays Windows-1252, even with
    // a letter whose next byte happens to make a UTF-8 character.
    void detectsAlmostUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("almost");
        QTest::addColumn<bool>("utf8");
        QByteArray accented = "Name,Series\r\n";
        for (int i = 0; i < 1000; ++i)
            accented += "Caf\xC3\xA9 cr\xC3\xA8me \xC3\xA0 la br\xC3\xBBl\xC3\xA9" "e " + QByteArray::number(i)
                        + ",\xC3\x89" "dition \xE2\x82\xAC\r\n";
        QTest::newRow("one bad byte among 8,000 letters") << accented + "Caf\xE9,Base\r\n" << true << true;
        QTest::newRow("a bad byte in the middle") << accented.left(200) + "\xE9\r\n" + accented.mid(200) << true << true;
        QTest::newRow("valid UTF-8") << accented << false << true;
        QTest::newRow("three letters, one bad byte") << QByteArray("\xC3\xA9\xC3\xA9\xC3\xA9\xE9") << true << true;
        QTest::newRow("two letters, one bad byte") << QByteArray("\xC3\xA9\xC3\xA9\xE9") << false << false;
        QTest::newRow("Windows-1252") << QByteArray("Drache;\xC9" "dition Premi\xE8re;Tr\xE8s bon;12,50 \x80\r\n")
                                      << false << false;
        QTest::newRow("Windows-1252 with a chance UTF-8 letter")
            << QByteArray("CAF\xC9\x99;Cr\xE8me;\xC0 la;No\xEBl;Ren\xE9\r\n") << false << false;
        QTest::newRow("ASCII") << QByteArray("Name\r\nA\r\n") << false << true;
    }

    void detectsAlmostUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, almost);
        QFETCH(bool, utf8);
        QCOMPARE(IsAlmostUtf8(View(bytes)), almost);
        QCOMPARE(DetectEncoding(View(bytes)), utf8 ? CsvEncoding::Utf8 : CsvEncoding::Windows1252);
    }

    // The lines that hold bytes UTF-8 does not allow, counted as the reader
    // counts lines, and the first of them; the reading refuses it by its
    // number and says why.
    void findsStrayBytes()
    {
        const QByteArray bytes = "\xEF\xBB\xBFName\r\n\xC3\xA9\r\n\"a\nb\rc\",Caf\xE9 \xE9t\xE9\r\nok\n\x80\x81\r\n";
        CsvStrayBytes stray;
        QVERIFY(FindStrayBytes(View(bytes), stray));
        QCOMPARE(qint64(stray.line), qint64(5));
        QCOMPARE(Bytes(stray.text), QByteArray("c\",Caf\xE9 \xE9t\xE9"));
        QCOMPARE(qint64(stray.lines), qint64(2));
        QVERIFY(!FindStrayBytes("Caf\xC3\xA9\r\n", stray));
        QCOMPARE(qint64(stray.line), qint64(0));

        std::string text;
        CsvError error;
        const QByteArray almost = "Name\r\n\xC3\xA9\xC3\xA9\xC3\xA9\r\nCaf\xE9\r\n";
        QVERIFY(!DecodeCsvText(View(almost), DetectEncoding(View(almost)), text, error));
        QCOMPARE(qint64(error.line), qint64(3));
        QCOMPARE(QString::fromStdString(error.reason),
                 QStringLiteral("this line is not valid UTF-8, though almost all of the file is"));
        QVERIFY(!DecodeCsvText("Caf\xE9", CsvEncoding::Utf8, text, error));
        QCOMPARE(QString::fromStdString(error.reason), QStringLiteral("this line is not valid UTF-8"));
    }

    // Bytes that are not UTF-8 become the Windows-1252 characters they are;
    // UTF-8 stays as it is.
    void mendsStrayBytes()
    {
        QCOMPARE(Bytes(Windows1252StraysToUtf8("Caf\xE9 \xC3\xA9 \x80\xE2\x82\xAC \xE2\x82 \xF0")),
                 QByteArray("Caf\xC3\xA9 \xC3\xA9 \xE2\x82\xAC\xE2\x82\xAC \xC3\xA2\xE2\x80\x9A \xC3\xB0"));
        QCOMPARE(Bytes(Windows1252StraysToUtf8("")), QByteArray());
        const Utf8Census census = CountUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x83\x8F\xE9\x80\xC0\x80");
        QCOMPARE(census.multiByte, std::size_t(3));
        QCOMPARE(census.invalid, std::size_t(4));
    }

    // Every byte decodes and converts back; characters the code page lacks
    // and malformed UTF-8 are named.
    void convertsWindows1252()
    {
        std::string all;
        for (int byte = 0; byte < 256; ++byte)
            all.push_back(char(byte));
        const std::string utf8 = Windows1252ToUtf8(all);
        QVERIFY(IsValidUtf8(utf8));
        std::string back;
        QVERIFY(Utf8ToWindows1252(utf8, back));
        QVERIFY(back == all);

        char32_t unmappable = 0;
        QVERIFY(!Utf8ToWindows1252("ab\xE6\x97\xA5", back, &unmappable));
        QCOMPARE(unmappable, U'\u65E5');
        QCOMPARE(Bytes(back), QByteArray("ab"));
        QVERIFY(!Utf8ToWindows1252("\xC2\x80", back, &unmappable)); // U+0080: 0x80 is the euro sign
        QCOMPARE(unmappable, U'\u0080');
        QVERIFY(!Utf8ToWindows1252("\xC0\x80", back, &unmappable));
        QCOMPARE(unmappable, U'\uFFFD');
    }

    void findsInvalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("offset");
        QTest::newRow("ASCII, two, three and four bytes")
            << QByteArray("abcdefghij\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF") << -1;
        QTest::newRow("overlong") << QByteArray("abcdefghij\xC0\x80") << 10;
        QTest::newRow("overlong three bytes") << QByteArray("a\xE0\x9F\xBF") << 1;
        QTest::newRow("surrogate") << QByteArray("a\xED\xA0\x80") << 1;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
        QTest::newRow("cut short at the end") << QByteArray("ab\xE2\x82") << 2;
        QTest::newRow("lone continuation") << QByteArray("ab\x80") << 2;
    }

    void findsInvalidUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, offset);
        const std::size_t found = FindInvalidUtf8(View(bytes));
        QCOMPARE(found == std::string_view::npos ? -1 : int(found), offset);
    }

    void mapsColumns_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("own export") << QByteArray(kCsvHeaderRow.data(), qsizetype(kCsvHeaderRow.size()))
                                    << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("other names, reordered")
            << QByteArray("Notes,Image URL,Qty,Purchase Price,Year,Grade,Set,Card Name")
            << QList<int>{7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("case and spaces ignored")
            << QByteArray(" TITLE , edition,COPIES,picture,comment,cost,Count,Paid")
            << QList<int>{0, 1, -1, -1, 5, 6, 3, 4};
        QTest::newRow("repeated names: own name first, then leftmost")
            << QByteArray("Title,Set,Name,Name,Expansion,Series,Series") << QList<int>{2, 5, -1, -1, -1, -1, -1, -1};
        QTest::newRow("unknown") << QByteArray("Foo,Bar,,Card") << QList<int>{-1, -1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("own export with details")
            << QByteArray(kCsvHeaderRow.data(), qsizetype(kCsvHeaderRow.size())) + ','
                   + QByteArray(kCsvDetailHeaders.data(), qsizetype(kCsvDetailHeaders.size()))
            << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
        QTest::newRow("details by other names")
            << QByteArray("Scryfall ID,Tradelist Count,Binder,Printing,Collector Number,Edition Code,Card Name,Set")
            << QList<int>{6, 7, -1, -1, -1, -1, -1, -1, -1, 5, 4, 3, -1, 2, -1, 1, -1, 0};
        QTest::newRow("details, more names")
            << QByteArray("set code,Card Number,Folder,Trade Quantity,Expansion Code,SETCODE,Want,Tags,Language")
            << QList<int>{-1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, -1, 8, 2, 7, 3, 6, -1};
    }

    // Columns left out of the list are unmapped.
    void mapsColumns()
    {
        QFETCH(QByteArray, header);
        QFETCH(QList<int>, columns);
        while (columns.size() < kAllCardFieldCount)
            columns << -1;
        const CsvColumns mapped = MapCsvColumns(Parsed(View(header)));
        QCOMPARE(QList<int>(mapped.begin(), mapped.end()), columns);
    }

    // Missing cells are empty, extra ones ignored; values are stored as Add
    // stores them; nameless rows are counted, empty ones passed over.
    void buildsCards()
    {
        CardTableModel empty;
        const CsvImportResult result = Imported(
            Literal("Series,Name,Qty\r\nS,A\r\nS,B,2,extra,more\r\n,,\r\nS,,3\r\n"
                    "\"x\ny\",\"C\r\nD\",\"\t1  \r\n\"\r\n\" e\rf\x1a\",\"\0\",\"\x1a\"\r\n"),
            empty);
        QCOMPARE(Dump(result.cards), Literal("A|S|\nB|S|2\nC D|x y|\t1\n\0| e\rf|\n"));
        QCOMPARE(result.withoutName, std::size_t(1));

        const CsvRows rows = Parsed("Name\r\nA\r\n");
        CsvImportOptions options;
        options.columns = MapCsvColumns(rows);
        options.firstRowIsHeader = false;
        QCOMPARE(Dump(ImportCsv(rows, options, empty).cards), QByteArray("Name||\nA||\n"));
    }

    // The collection holds Dragon|Base|03, Wyrm|Promo|1.5 and Wyrm|Promo|2.
    void handlesRepeats_data()
    {
        QTest::addColumn<CsvRepeats>("repeats");
        QTest::addColumn<QByteArray>("cards");
        QTest::addColumn<QByteArray>("quantities");
        QTest::addColumn<QString>("summary");
        QTest::newRow("add as rows") << CsvRepeats::AddAsRows
                                     << QByteArray("Dragon|Base|2\nDragon|base|1\nWyrm|Promo|99999999999999999998\n"
                                                   "Dragon|base|5\nDragon|Base|x\nPixie||\nPixie||1\nPixie||2\n")
                                     << QByteArray() << QStringLiteral("8 Cards imported; 6 repeats added as rows");
        QTest::newRow("skip") << CsvRepeats::Skip << QByteArray("Dragon|base|1\nPixie||\n") << QByteArray()
                              << QStringLiteral("2 Cards imported; 6 repeats skipped");
        QTest::newRow("merge") << CsvRepeats::MergeQuantities
                               << QByteArray("Dragon|base|6\nDragon|Base|x\nPixie||\nPixie||3\n")
                               << QByteArray("0=5 2=100000000000000000000 ")
                               << QStringLiteral("4 Cards imported; 4 repeats added to quantities; "
                                                 "2 repeats added as rows");
    }

    void handlesRepeats()
    {
        QFETCH(CsvRepeats, repeats);
        QFETCH(QByteArray, cards);
        QFETCH(QByteArray, quantities);
        QFETCH(QString, summary);
        CardTableModel collection;
        SetTableRows(collection, {MakeCard("Dragon", "Base", "03"), MakeCard("Wyrm", "Promo", "1.5"),
                            MakeCard("Wyrm", "Promo", "2")});
        const CsvImportResult result = Imported("Name,Series,Quantity\r\nDragon,Base,2\r\nDragon,base,1\r\n"
                                                "Wyrm,Promo,99999999999999999998\r\nDragon,base,5\r\nDragon,Base,x\r\n"
                                                "Pixie,,\r\nPixie,,1\r\nPixie,,2\r\n",
                                                collection, repeats);
        QCOMPARE(Dump(result.cards), cards);
        QByteArray changed;
        for (const auto& [row, quantity] : result.quantities)
            changed += QByteArray::number(row) + '=' + Bytes(quantity) + ' ';
        QCOMPARE(changed, quantities);
        QCOMPARE(CsvImportSummary(result), summary);
    }

    void summarizes_data()
    {
        QTest::addColumn<QList<int>>("counts"); // Cards, nameless, skipped, merged, added
        QTest::addColumn<QString>("summary");
        QTest::newRow("the usual") << QList<int>{1204, 3, 0, 12, 0}
                                   << QStringLiteral("1,204 Cards imported; 3 rows without a name skipped; "
                                                     "12 repeats added to quantities");
        QTest::newRow("nothing") << QList<int>{0, 0, 0, 0, 0} << QStringLiteral("0 Cards imported");
        QTest::newRow("ones") << QList<int>{1, 1, 1, 1, 1}
                              << QStringLiteral("1 Card imported; 1 row without a name skipped; 1 repeat skipped; "
                                                "1 repeat added to a quantity; 1 repeat added as a row");
        QTest::newRow("millions") << QList<int>{1000000, 0, 123456, 0, 0}
                                  << QStringLiteral("1,000,000 Cards imported; 123,456 repeats skipped");
    }

    void summarizes()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QString, summary);
        CsvImportResult result;
        for (int card = 0; card < counts[0]; ++card)
            result.cards.Append({});
        result.withoutName = std::size_t(counts[1]);
        result.repeatsSkipped = std::size_t(counts[2]);
        result.repeatsMerged = std::size_t(counts[3]);
        result.repeatsAdded = std::size_t(counts[4]);
        QCOMPARE(CsvImportSummary(result), summary);
    }

    // A file as a European spreadsheet saves it: ANSI code page, semicolons,
    // decimal commas.
    void importsAEuropeanSpreadsheet()
    {
        const QByteArray bytes("Name;Serie;Zustand;Jahr;Preis;Anzahl\r\n"
                               "Drache;\xC9" "dition Premi\xE8re;Tr\xE8s bon;1999;12,50 \x80;2\r\n"
                               "\"Feuer; Eis\";Promo;;;0,99 \x80;1\r\n");
        QCOMPARE(DetectEncoding(View(bytes)), CsvEncoding::Windows1252);
        std::string text;
        CsvError error;
        QVERIFY(DecodeCsvText(View(bytes), CsvEncoding::Windows1252, text, error));
        QCOMPARE(DetectSeparator(text), ';');
        const CsvRows rows = Parsed(text, ';');
        CsvImportOptions options;
        options.columns = MapCsvColumns(rows);
        QCOMPARE(options.columns[NameField], 0);
        options.columns = kNoCsvColumns;
        for (const int field : {NameField, SeriesField, ConditionField, YearField, PriceField, QuantityField})
            options.columns[std::size_t(field)] = field;
        CardTableModel empty;
        const CsvImportResult result = ImportCsv(rows, options, empty);
        QCOMPARE(result.cards.size(), 2);
        QCOMPARE(Bytes(result.cards.Cell(0, SeriesField)), QByteArray("\xC3\x89" "dition Premi\xC3\xA8re"));
        QCOMPARE(Bytes(result.cards.Cell(0, PriceField)), QByteArray("12,50 \xE2\x82\xAC"));
        QCOMPARE(Bytes(result.cards.Cell(1, NameField)), QByteArray("Feuer; Eis"));
    }

    // Export, then import into an empty collection, saves the same
    // collection file, for any values the collection file keeps that are
    // valid UTF-8.
    void roundTrips()
    {
        const std::vector<std::string> pieces = {"a", "Z", " ", ",", ";", "\t", "\"", "\r", std::string(1, '\0'), "\xC3\xA9",
                                                 "\xE2\x82\xAC", "\xF0\x9F\x83\x8F", "=", "\x7f"};
        QRandomGenerator random(11);
        std::vector<Card> cards;
        for (int i = 0; i < 300; ++i) {
            Card card;
            for (std::string& value : card) {
                for (int n = random.bounded(12); n > 0; --n)
                    value += pieces[std::size_t(random.bounded(int(pieces.size())))];
                while (!value.empty() && std::string_view(" \t\r").find(value.back()) != std::string_view::npos)
                    value.pop_back();
            }
            card[NameField] += "n";
            cards.push_back(card);
        }
        CardTableModel table;
        SetTableRows(table, cards);
        const QByteArray csv = Written(table);
        QCOMPARE(DetectEncoding(View(csv)), CsvEncoding::Utf8);
        QCOMPARE(DetectSeparator(View(csv)), ',');

        CardTableModel empty;
        CardTableModel imported;
        imported.PutRows(0, Imported(csv, empty).cards);
        QBuffer first;
        QBuffer second;
        first.open(QIODevice::WriteOnly);
        second.open(QIODevice::WriteOnly);
        QVERIFY(WriteCollection(first, table) && WriteCollection(second, imported));
        QCOMPARE(second.data(), first.data());
    }
};

QTEST_APPLESS_MAIN(TestCsv)
#include "test_csv.moc"
