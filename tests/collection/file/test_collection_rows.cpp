#include "collection/file/CollectionFile.h"
#include "collection/file/CollectionRows.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

std::vector<std::string> FirstAppearances(const std::vector<Card>& cards, int field)
{
    std::vector<std::string> order;
    for (const Card& card : cards) {
        if (std::find(order.begin(), order.end(), card[field]) == order.end())
            order.push_back(card[field]);
    }
    return order;
}

// Lines as a hand-edited file may have them: keys missing, repeated, out of
// order or misspelt, empty names, values that differ only in case.
std::string RandomFile(QRandomGenerator& random)
{
    static const char* const kLines[] = {
        "NAME=", "NAME=Alpha", "NAME=Beta", "NAME", "NAME =x", "name=y", "NAMEX=z", "SERIES=Base Set",
        "SERIES=base set", "SERIES=", "CONDITION=Mint", "CONDITION=mint", "YEAR=1999", "PRICE=1.50",
        "QUANTITY=2", "URL=u", "DESCRIPTION=d  ", "CREATOR=QMK 1.0", "GAME=g", "WANT=3", "PRINT=", "TAGS=a b",
        "SETCODE", "", "\x1a",
    };
    constexpr int kCount = int(sizeof kLines / sizeof kLines[0]);
    std::string file;
    const int lines = random.bounded(60);
    for (int line = 0; line < lines; ++line) {
        // The end-of-file byte rarely, so that most files are read to the end.
        const int pick = random.bounded(random.bounded(8) == 0 ? kCount : kCount - 1);
        file += kLines[pick];
        file += random.bounded(4) == 0 ? "\n" : "\r\n";
    }
    return file;
}

QByteArray Saved(const CardTableModel& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table))
        qFatal("write failed");
    return buffer.data();
}

// A file as a save writes it, of random Cards, and then, mostly, one small
// change of the kind a hand or another program makes: a byte dropped or
// added, a space or a tab, CR LF made LF, a line doubled or dropped.
std::string SavedThenTouched(QRandomGenerator& random)
{
    static const char* const kValues[] = {"", "A", "Base Set", "x=y", "a\rb", "Mint", "1999", "é", " lead"};
    constexpr int kCount = int(sizeof kValues / sizeof kValues[0]);
    CardTableModel::RowBuilder rows;
    const int cards = random.bounded(5);
    for (int i = 0; i < cards; ++i) {
        Card card;
        for (int field = 0; field < kCardFieldCount; ++field)
            card[field] = kValues[random.bounded(kCount)];
        for (int field = kCardFieldCount; field < kAllCardFieldCount; ++field) {
            if (random.bounded(6) == 0)
                card[field] = kValues[random.bounded(kCount)];
        }
        if (card[NameField].empty())
            card[NameField] = "Name " + std::to_string(i);
        rows.Append(card);
    }
    CardTableModel table;
    table.SetRowsBottomFirst(std::move(rows));
    std::string file = Saved(table).toStdString();
    if (file.empty() || random.bounded(5) == 0)
        return file;
    const std::size_t at = random.bounded(int(file.size()));
    switch (random.bounded(7)) {
    case 0: file.erase(at, 1); break;
    case 1: file.insert(at, 1, char('a' + random.bounded(26))); break;
    case 2: file.insert(at, " "); break;
    case 3: file.insert(at, "\t"); break;
    case 4: {
        const std::size_t cr = file.find("\r\n", at);
        if (cr != std::string::npos)
            file.erase(cr, 1);
        break;
    }
    case 5: {
        const std::size_t lf = file.find('\n', at);
        const std::size_t next = lf == std::string::npos ? std::string::npos : file.find('\n', lf + 1);
        if (next != std::string::npos)
            file.insert(lf + 1, file.substr(lf + 1, next - lf));
        break;
    }
    default: {
        const std::size_t lf = file.find('\n', at);
        const std::size_t next = lf == std::string::npos ? std::string::npos : file.find('\n', lf + 1);
        if (next != std::string::npos)
            file.erase(lf + 1, next - lf);
        break;
    }
    }
    return file;
}

} // namespace

class TestCollectionRows : public QObject {
    Q_OBJECT

private:
    // The rows and the choice texts, read in pieces, are what one reading
    // from the start gives.
    void CompareWithOneReading(const std::string& file)
    {
        const std::vector<Card> cards = ParseCollection(file);
        for (int pieces = 1; pieces <= 6; ++pieces) {
            CollectionRows read = ReadCollectionRows(file, pieces);
            CardTableModel table;
            table.SetRowsBottomFirst(std::move(read.rows));
            QCOMPARE(table.rowCount(), int(cards.size()));
            for (std::size_t i = 0; i < cards.size(); ++i)
                QCOMPARE(table.RowCard(int(cards.size() - 1 - i)), cards[i]);
            QCOMPARE(read.series, FirstAppearances(cards, SeriesField));
            QCOMPARE(read.conditions, FirstAppearances(cards, ConditionField));
            // Told exactly when a save of the rows writes the file back.
            QCOMPARE(read.asWritten, Saved(table) == QByteArray::fromStdString(file));
        }
    }

private slots:
    void readsAsOneReadingDoes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("no NAME line") << QByteArray("CREATOR=QMK 1.0\r\nSERIES=S\r\n");
        QTest::addRow("well formed") << QByteArray(
            "CREATOR=QMK 1.0\r\nNAME=A\r\nSERIES=S1\r\nCONDITION=Mint\r\nYEAR=1\r\nPRICE=2\r\nQUANTITY=3\r\n"
            "URL=u\r\nDESCRIPTION=d\r\n\r\nNAME=B\r\nSERIES=S2\r\nCONDITION=Good\r\nYEAR=4\r\nPRICE=5\r\n"
            "QUANTITY=6\r\nURL=v\r\nDESCRIPTION=e\r\n\r\nNAME=C\r\nSERIES=S1\r\nCONDITION=mint\r\nYEAR=\r\n"
            "PRICE=\r\nQUANTITY=\r\nURL=\r\nDESCRIPTION=\r\n");
        // Later Cards carry values over from Cards in earlier pieces, also
        // past a Card with an empty name, and a carried-over Series comes
        // first in its piece although the piece sets it again later.
        QTest::addRow("carried over") << QByteArray(
            "SERIES=Base Set\r\nYEAR=1999\r\nNAME=A\r\nNAME=B\r\nCONDITION=Mint\r\nNAME=\r\nSERIES=base set\r\n"
            "NAME=C\r\nNAME=D\r\nSERIES=Other\r\nNAME=E\r\nSERIES=Base Set\r\nNAME=F\r\nURL=u\r\n");
        // Details in order, out of order, repeated, empty, before a NAME
        // line and after an empty one; none carried to the next Card.
        QTest::addRow("details") << QByteArray(
            "CREATOR=QMK 1.0\r\nNAME=A\r\nSERIES=\r\nCONDITION=\r\nYEAR=\r\nPRICE=\r\nQUANTITY=\r\nURL=\r\n"
            "DESCRIPTION=\r\nGAME=g\r\nWANT=2\r\n\r\nNAME=B\r\nWANT=1\r\nGAME=h\r\nGAME=i\r\nPRINT=\r\n"
            "TAGS=t\r\nNAME=\r\nTRADE=5\r\nNAME=C\r\nLOCATION=box\r\nNAME=D\r\n");
        QTest::addRow("names that are not NAME lines") << QByteArray(
            "NAME=A\nNAMEX=1\nNAME =2\nNAME  \nname=3\nSERIES=S\nNAME\nNAME=B\x1aNAME=C\n");
    }

    void readsAsOneReadingDoes()
    {
        QFETCH(QByteArray, file);
        CompareWithOneReading(file.toStdString());
    }

    // Files as saves write them, touched or not: whether a save writes one
    // back is told exactly, however the file is cut into pieces.
    void tellsWhetherASaveWritesTheFileBack()
    {
        QRandomGenerator random(2026);
        int asWritten = 0;
        for (int i = 0; i < 600; ++i) {
            const std::string file = SavedThenTouched(random);
            CompareWithOneReading(file);
            if (QTest::currentTestFailed())
                return;
            asWritten += ReadCollectionRows(file).asWritten ? 1 : 0;
        }
        // Both answers came up often.
        QVERIFY(asWritten > 100 && asWritten < 500);
    }

    void readsRandomFilesAsOneReadingDoes()
    {
        QRandomGenerator random(1907);
        for (int i = 0; i < 400; ++i) {
            CompareWithOneReading(RandomFile(random));
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_APPLESS_MAIN(TestCollectionRows)
#include "test_collection_rows.moc"
