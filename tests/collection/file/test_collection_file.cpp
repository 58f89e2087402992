#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "base/LineSyntax.h"
#include "support/FullDevice.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QTest>

namespace {

Card MakeCard(std::string name, std::string series = {}, std::string year = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    card[YearField] = std::move(year);
    return card;
}

// The table itself or a snapshot of it.
template <typename Table>
QByteArray Written(const Table& table, int threads = 0)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table, threads))
        qFatal("write failed");
    return buffer.data();
}

} // namespace

class TestCollectionFile : public QObject {
    Q_OBJECT

private slots:
    void writesTheTwoCardExample()
    {
        CardTableModel table;
        SetTableRows(table, {MakeCard("Beta", "S2"), MakeCard("Alpha", "", "1999")});
        QCOMPARE(Written(table),
                 QByteArray("CREATOR=QMK 1.0\r\nNAME=Alpha\r\nSERIES=\r\nCONDITION=\r\nYEAR=1999\r\nPRICE=\r\n"
                            "QUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n\r\nNAME=Beta\r\nSERIES=S2\r\nCONDITION=\r\n"
                            "YEAR=\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n"));
    }

    void writesNothingForAnEmptyTable()
    {
        CardTableModel table;
        QCOMPARE(Written(table), QByteArray());
    }

    // Rows put into text on several threads, in several rounds, with line
    // feeds and a value larger than a buffer: the same bytes as on one, from
    // the table or a snapshot of it.
    void writesTheSameBytesOnAnyNumberOfThreads()
    {
        std::vector<Card> rows;
        for (int i = 0; i < 9000; ++i) {
            Card card = MakeCard("Card " + std::to_string(i), i % 7 == 0 ? "two\nlines" : "S", std::to_string(i % 40));
            card[DescriptionField] = std::string(std::size_t(i % 300), char('a' + i % 26));
            rows.push_back(card);
        }
        rows[4321][UrlField] = std::string(3 << 20, 'u');
        CardTableModel table;
        SetTableRows(table, rows);
        const QByteArray one = Written(table, 1);
        QVERIFY(one.startsWith("CREATOR=QMK 1.0\r\nNAME=Card 8999\r\n"));
        QVERIFY(one.endsWith("NAME=Card 0\r\nSERIES=two\r\nlines\r\nCONDITION=\r\nYEAR=0\r\nPRICE=\r\n"
                             "QUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n"));
        const CardTableSnapshot snapshot = table.Snapshot();
        for (const int threads : {1, 2, 3}) {
            QCOMPARE(Written(table, threads), one);
            QCOMPARE(Written(snapshot, threads), one);
        }
        const std::vector<Card> read = ParseCollection(std::string_view(one.constData(), std::size_t(one.size())));
        QCOMPARE(read.size(), rows.size());
        QCOMPARE(read[9000 - 1 - 4321][UrlField].size(), std::size_t(3 << 20));
    }

    void reportsAFailingDevice()
    {
        CardTableModel table;
        SetTableRows(table, {MakeCard("Alpha")});
        FullDevice full(10);
        QVERIFY(!WriteCollection(full, table));

        // Full in the middle, while the next rows are being put into text.
        SetTableRows(table, std::vector<Card>(20000, MakeCard("Beta")));
        for (const int threads : {1, 2, 3}) {
            FullDevice fullLater(1 << 20);
            QVERIFY(!WriteCollection(fullLater, table, threads));
        }
    }

    // Saving and loading gives the rows back in display order, any bytes
    // included, as long as no value ends in white space.
    void roundTripsBytes()
    {
        CardTableModel table;
        Card odd = MakeCard("Pok\xe9mon", " Base Set", "a=b");
        odd[DescriptionField] = "<b>holo</b>\r inner CR, \xff\xfe invalid UTF-8";
        SetTableRows(table, {odd, MakeCard("Beta", "S2"), MakeCard("Alpha")});
        const QByteArray bytes = Written(table);
        CardTableModel loaded;
        CardTableModel::RowBuilder rows;
        ParseCollection(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                        [&](const Card& card) { rows.Append(card); });
        loaded.SetRowsBottomFirst(std::move(rows));
        QCOMPARE(loaded.rowCount(), 3);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(loaded.RowCard(row), table.RowCard(row));
        QCOMPARE(Written(loaded), bytes);
    }

    // The NAME line is the only record delimiter: keys in any order, the
    // last value wins, missing keys carry over, empty names drop a record.
    void readsHandEditedRecords()
    {
        const std::vector<Card> cards = ParseCollection(
            "name=ignored\r\nNAME =ignored\r\nYEAR=1999\r\nSERIES=S1\r\nNAME=First\r\nSERIES=S2\r\nSERIES=S3\r\n"
            "NAME=Second\r\nCONDITION=Mint\r\nNAME=\r\nURL=u\r\nNAME\r\nDESCRIPTION=d\r\nNAME=Third\r\n");
        QCOMPARE(cards.size(), std::size_t(3));
        QCOMPARE(cards[0][NameField], std::string("First"));
        QCOMPARE(cards[0][SeriesField], std::string("S3"));
        QCOMPARE(cards[0][YearField], std::string("1999"));
        QCOMPARE(cards[1][NameField], std::string("Second"));
        QCOMPARE(cards[1][SeriesField], std::string("S3"));
        QCOMPARE(cards[1][ConditionField], std::string("Mint"));
        QCOMPARE(cards[2][NameField], std::string("Third"));
        QCOMPARE(cards[2][UrlField], std::string("u"));
        QCOMPARE(cards[2][DescriptionField], std::string("d"));
        QCOMPARE(cards[2][ConditionField], std::string("Mint"));
    }

    // A detail has a line after the eight keys only when set, in the order
    // of the detail keys; a Card without any is written as before details
    // existed.
    void writesOnlyTheDetailsACardHas()
    {
        Card detailed = MakeCard("Alpha");
        detailed[WantField] = "2";
        detailed[GameField] = "two\nlines";
        CardTableModel table;
        SetTableRows(table, {MakeCard("Beta"), detailed});
        QCOMPARE(Written(table),
                 QByteArray("CREATOR=QMK 1.0\r\nNAME=Alpha\r\nSERIES=\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\n"
                            "QUANTITY=\r\nURL=\r\nDESCRIPTION=\r\nGAME=two\r\nlines\r\nWANT=2\r\n\r\nNAME=Beta\r\n"
                            "SERIES=\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n"));
    }

    // Unlike the eight fields, a detail is never carried over to the next
    // Card, nor from lines before a Card's NAME line, nor from a record
    // whose empty name drops it.
    void readsDetailsAsEachCardsOwn()
    {
        const std::vector<Card> cards = ParseCollection(
            "GAME=before any name\r\nSERIES=S\r\nNAME=First\r\nWANT=1\r\nSETCODE=BS\r\nFINISH=Holo\r\n"
            "SETCODE=JU\r\nNAME=Second\r\nPRINT=1st\r\nNAME=\r\nTAGS=dropped\r\nNAME=Third\r\n"
            "game=lower\r\nTRADE =spaced\r\nLANGUAGE=de  \r\n");
        QCOMPARE(cards.size(), std::size_t(3));
        Card first = MakeCard("First", "S");
        first[WantField] = "1";
        first[SetCodeField] = "JU";
        first[FinishField] = "Holo";
        QCOMPARE(cards[0], first);
        Card second = MakeCard("Second", "S");
        second[PrintField] = "1st";
        QCOMPARE(cards[1], second);
        Card third = MakeCard("Third", "S");
        third[LanguageField] = "de";
        QCOMPARE(cards[2], third);
    }

    // A file with details, read by a reader that knows only the eight keys,
    // as a copy of Quillmark from before details would: the same eight
    // fields, the details ignored as unknown keys.
    void anEightKeyReaderReadsTheSameEightFields()
    {
        std::vector<Card> written;
        for (int i = 0; i < 40; ++i) {
            Card card = MakeCard("Card " + std::to_string(i), i % 3 == 0 ? "S" + std::to_string(i) : "", "");
            for (int field = kCardFieldCount; field < kAllCardFieldCount; ++field) {
                if ((i + field) % (1 + i % 4) == 0)
                    card[field] = std::to_string(i * field);
            }
            written.push_back(card);
        }
        CardTableModel table;
        SetTableRows(table, written);
        const QByteArray bytes = Written(table);
        std::vector<Card> eightOnly;
        Card held;
        const auto take = [&] {
            if (!held[NameField].empty())
                eightOnly.push_back(held);
        };
        ForEachKeyValue(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                        [&](std::string_view key, std::string_view value) {
                            const int field = CardFieldOfKey(key);
                            if (field < 0)
                                return;
                            if (field == NameField)
                                take();
                            held[std::size_t(field)].assign(value);
                        });
        take();
        const std::vector<Card> read = ParseCollection(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        QCOMPARE(read.size(), written.size());
        QCOMPARE(eightOnly.size(), written.size());
        for (std::size_t i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i], written[written.size() - 1 - i]);
            for (int field = 0; field < kCardFieldCount; ++field)
                QCOMPARE(eightOnly[i][field], read[i][field]);
        }
    }

    void readsLineEndsAndTheEndOfFileByte()
    {
        QCOMPARE(ParseCollection("NAME=A\nSERIES=lf only\nNAME=B").size(), std::size_t(2));
        QCOMPARE(ParseCollection("NAME=A\r\n\x1aNAME=B\r\n").size(), std::size_t(1));
        const std::vector<Card> trimmed = ParseCollection("NAME=A  \r\nSERIES= Base Set  \r\n");
        QCOMPARE(trimmed[0][NameField], std::string("A"));
        QCOMPARE(trimmed[0][SeriesField], std::string(" Base Set"));
    }
};

QTEST_APPLESS_MAIN(TestCollectionFile)
#include "test_collection_file.moc"
