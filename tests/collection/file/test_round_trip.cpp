#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Bytes that tend to break line-based formats, drawn more often than the rest.
constexpr char kAwkward[] = {'=', '\r', ' ', '\t', '\v', '\f', '\0', '#', '\x1b', '\x7f', '\xc3', '\xff'};

char RandomByte(QRandomGenerator& random)
{
    if (random.bounded(3) == 0)
        return kAwkward[random.bounded(int(sizeof kAwkward))];
    return char(random.bounded(256));
}

bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Any bytes but a line feed and byte 26, and no white space at the end.
std::string StorableValue(QRandomGenerator& random, int maxLength)
{
    std::string value;
    const int length = random.bounded(maxLength + 1);
    while (int(value.size()) < length) {
        const char c = RandomByte(random);
        if (c != '\n' && c != 26)
            value.push_back(c);
    }
    while (!value.empty() && IsTrailingSpace(value.back()))
        value.pop_back();
    return value;
}

QByteArray Saved(const CardTableModel& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table))
        qFatal("writing to memory failed");
    return buffer.data();
}

// Loads as the window does: each Card read goes on top of the ones before.
void Load(const QByteArray& bytes, CardTableModel& table)
{
    CardTableModel::RowBuilder rows;
    ParseCollection(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                    [&](const Card& card) { rows.Append(card); });
    table.SetRowsBottomFirst(std::move(rows));
}

// Checks that a load, a save and a second load agree with the first load.
void CheckFixedPoint(const QByteArray& input)
{
    CardTableModel first;
    Load(input, first);
    const QByteArray saved = Saved(first);
    CardTableModel second;
    Load(saved, second);
    QCOMPARE(second.rowCount(), first.rowCount());
    for (int row = 0; row < first.rowCount(); ++row)
        QCOMPARE(second.RowCard(row), first.RowCard(row));
    QCOMPARE(Saved(second), saved);
}

quint32 Seed()
{
    const QByteArray chosen = qgetenv("QUILLMARK_SEED");
    return chosen.isEmpty() ? 20261207u : chosen.toUInt();
}

} // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qInfo("seed %u (set QUILLMARK_SEED to repeat another run)", Seed()); }

    // Collections of storable values come back byte for byte, in display order.
    void saveThenLoadGivesTheSameRows()
    {
        QRandomGenerator random(Seed());
        for (int collection = 0; collection < 300; ++collection) {
            std::vector<Card> cards(std::size_t(random.bounded(12)));
            for (Card& card : cards) {
                for (std::string& field : card)
                    field = StorableValue(random, random.bounded(8) == 0 ? 300 : 12);
                while (card[NameField].empty())
                    card[NameField] = StorableValue(random, 12);
            }
            CardTableModel table;
            SetTableRows(table, cards);
            CardTableModel loaded;
            Load(Saved(table), loaded);
            QCOMPARE(loaded.rowCount(), table.rowCount());
            for (int row = 0; row < table.rowCount(); ++row)
                QCOMPARE(loaded.RowCard(row), cards[std::size_t(row)]);
        }
    }

    // Whatever a file holds, what was loaded from it is saved and loaded
    // again unchanged, so closing and reopening never alters a collection.
    void loadSaveLoadIsAFixedPoint()
    {
        static const char* const pieces[] = {"NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL",
                                             "DESCRIPTION", "CREATOR", "name", "=", "\r\n", "\n", "\r", " ",
                                             "\t", "\x1a", "NAME=", "\r\n\r\n"};
        QRandomGenerator random(Seed() + 1);
        for (int file = 0; file < 2000; ++file) {
            QByteArray input;
            const int parts = random.bounded(80);
            for (int part = 0; part < parts; ++part) {
                if (random.bounded(2) == 0)
                    input += pieces[random.bounded(int(std::size(pieces)))];
                else
                    input += RandomByte(random);
            }
            CheckFixedPoint(input);
        }
    }

    // The fuzzers' seeds and findings stay checked in every normal run.
    void fuzzCorpusIsAFixedPoint()
    {
        const QDir corpus(QStringLiteral(QUILLMARK_FUZZ_CORPUS "/collection"));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QFile file(corpus.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            CheckFixedPoint(file.readAll());
        }
    }
};

QTEST_APPLESS_MAIN(TestRoundTrip)
#include "test_round_trip.moc"
