#include "collection/filter/CardFilter.h"
#include "collection/filter/CardFilterIndex.h"
#include "collection/CardTableModel.h"
#include "support/TableRows.h"

#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

const std::vector<Card> kCards = {
    {"Pokémon Pikachu", "Skyforge", "Mint", "1999", "$4.25", "2", "https://img.example/sky.jpg", "Épée de feu"},
    {"Sky Dragon", "Base Set", "Near Mint", "2001", "$10.00", "1", "", "light whitening"},
    {"Frost Golem", "ÉDITION Première", "Played", "1999", "$1,234.50", "12", "http://img.example/mint",
     "signed: by the artist"},
    // Bytes that are not UTF-8, and a sequence cut short at the end.
    {"Bad \xff\xfe Name", "Kaiju To\xcc\x84kyo\xcc\x84", "Good", "2020", "\xc3", "\x80\x80", "", "x\xe2\x82"},
};

QList<int> Rows(const std::vector<int>& rows)
{
    return QList<int>(rows.begin(), rows.end());
}

// Every word as a plain find in each field, details too, folded on its own.
std::vector<int> PlainMatching(const CardTableModel& table, const CardFilter& filter)
{
    std::vector<int> rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        const auto found = [&](const CardFilter::Word& word) {
            for (int field = 0; field < kAllCardFieldCount; ++field) {
                std::string folded;
                AppendFoldedForSearch(folded, table.Cell(row, field));
                const bool inField = word.field == CardFilter::kAnyField || word.field == field;
                if (inField && folded.find(word.text) != std::string::npos)
                    return true;
            }
            return false;
        };
        if (std::all_of(filter.words.begin(), filter.words.end(), found))
            rows.push_back(row);
    }
    return rows;
}

std::vector<Card> RandomCards(std::mt19937& random, int count)
{
    const std::vector<std::string> pieces = {"sky", "Sky", "forge", "SKYFORGE", "é", "E", "mint", "ō", " ", "1999",
                                             "a", "ab", "\xff", "Dragon", "x", "s", "\n"};
    std::vector<Card> cards;
    for (int row = 0; row < count; ++row) {
        Card card;
        for (std::string& field : card) {
            for (auto n = random() % 12; n > 0; --n)
                field += pieces[random() % pieces.size()];
        }
        cards.push_back(card);
    }
    return cards;
}

} // namespace

class TestCardFilter : public QObject {
    Q_OBJECT

private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("rows");

        QTest::newRow("empty") << "" << QList<int>{0, 1, 2, 3};
        QTest::newRow("empty phrase") << "\"\"" << QList<int>{0, 1, 2, 3};
        QTest::newRow("field, no word yet") << "series:" << QList<int>{0, 1, 2, 3};
        QTest::newRow("accent in the text") << "pokemon" << QList<int>{0};
        QTest::newRow("capital accent") << "EPEE" << QList<int>{0};
        QTest::newRow("decomposed accents") << "tokyo" << QList<int>{3};
        QTest::newRow("any field") << "sky" << QList<int>{0, 1};
        QTest::newRow("each word") << "sky 1999" << QList<int>{0};
        QTest::newRow("phrase") << "\"SKY dragon\"" << QList<int>{1};
        QTest::newRow("phrase in order") << "\"dragon sky\"" << QList<int>{};
        QTest::newRow("open phrase") << "\"sky dr" << QList<int>{1};
        QTest::newRow("phrase across fields") << "\"pikachu skyforge\"" << QList<int>{};
        QTest::newRow("across plain fields") << "dragonbase" << QList<int>{};
        QTest::newRow("across a plain field and a folded one") << "golemédition" << QList<int>{};
        QTest::newRow("heading") << "SERIES:Sky" << QList<int>{0};
        QTest::newRow("field phrase") << "name:\"sky dragon\"" << QList<int>{1};
        QTest::newRow("condition") << "condition:mint" << QList<int>{0, 1};
        QTest::newRow("qty heading") << "qty:12" << QList<int>{2};
        QTest::newRow("quantity key") << "QUANTITY:1" << QList<int>{1, 2};
        QTest::newRow("unknown prefix is text") << "signed:" << QList<int>{2};
        QTest::newRow("address") << "https://img" << QList<int>{0};
        QTest::newRow("quoted colon is text") << "\"year:1999\"" << QList<int>{};
        QTest::newRow("around bad bytes") << "bad name" << QList<int>{3};
        QTest::newRow("phrase over bad bytes") << "\"bad name\"" << QList<int>{};
    }

    void matching()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, rows);
        CardTableModel table;
        SetTableRows(table, kCards);
        const CardFilter parsed = ParseCardFilter(filter);
        QCOMPARE(Rows(CardFilterIndex(table).Matching(parsed)), rows);
        QCOMPARE(Rows(PlainMatching(table, parsed)), rows);
    }

    // The details are named as the eight are, by heading or by file key.
    void parsesDetailNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("word");

        QTest::newRow("game") << "GAME:Magic" << int(GameField) << "magic";
        QTest::newRow("set heading") << "set:SV1" << int(SetCodeField) << "sv1";
        QTest::newRow("set key") << "SetCode:sv1" << int(SetCodeField) << "sv1";
        QTest::newRow("number") << "number:012" << int(NumberField) << "012";
        QTest::newRow("finish") << "finish:foil" << int(FinishField) << "foil";
        QTest::newRow("language") << "language:JA" << int(LanguageField) << "ja";
        QTest::newRow("location phrase") << "location:\"binder 2\"" << int(LocationField) << "binder 2";
        QTest::newRow("tags") << "tags:deck" << int(TagsField) << "deck";
        QTest::newRow("trade") << "trade:1" << int(TradeField) << "1";
        QTest::newRow("want") << "want:2" << int(WantField) << "2";
        QTest::newRow("print") << "Print:abc-1" << int(PrintField) << "abc-1";
        QTest::newRow("not a detail") << "sets:x" << int(CardFilter::kAnyField) << "sets:x";
    }

    void parsesDetailNames()
    {
        QFETCH(QString, typed);
        QFETCH(int, field);
        QFETCH(QString, word);
        const CardFilter filter = ParseCardFilter(typed);
        QCOMPARE(filter.words.size(), std::size_t(1));
        QCOMPARE(filter.words.front().field, field);
        QCOMPARE(QString::fromStdString(filter.words.front().text), word);
    }

    // Plain words find the details too, a named one only its own, and no
    // match runs from the eight into the details or from one detail into the next.
    void matchesDetails_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("rows");

        QTest::newRow("any field") << "binder" << QList<int>{0, 1};
        QTest::newRow("folded detail") << "etagere" << QList<int>{1};
        QTest::newRow("named") << "location:\"binder 2\"" << QList<int>{0};
        QTest::newRow("named elsewhere") << "location:foil" << QList<int>{};
        QTest::newRow("set") << "set:sv1 finish:foil" << QList<int>{0};
        QTest::newRow("eight into details") << "mintmagic" << QList<int>{};
        QTest::newRow("detail into detail") << "sv1012" << QList<int>{};
        QTest::newRow("a word and a detail") << "pikachu tags:deck" << QList<int>{1};
        QTest::newRow("only where the detail is") << "game:magic" << QList<int>{0};
    }

    void matchesDetails()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, rows);
        Card withDetails{"Pikachu", "Skyforge", "Mint"};
        withDetails[GameField] = "Magic";
        withDetails[SetCodeField] = "SV1";
        withDetails[NumberField] = "012";
        withDetails[FinishField] = "Foil";
        withDetails[LocationField] = "Binder 2";
        Card folded{"Pikachu", "", "Played"};
        folded[LocationField] = "Binder 1, étagère";
        folded[TagsField] = "deck";
        CardTableModel table;
        SetTableRows(table, {withDetails, folded, Card{"Plain", "", "Mint"}});
        const CardFilter parsed = ParseCardFilter(filter);
        QCOMPARE(Rows(CardFilterIndex(table).Matching(parsed)), rows);
        QCOMPARE(Rows(PlainMatching(table, parsed)), rows);
    }

    // A field folds as its characters fold one by one, whether it is decoded
    // or not, and finds the decomposed form of each character.
    void foldsByCharacter()
    {
        std::string wide;
        AppendFoldedForSearch(wide, "\u20ac");
        for (char16_t point = 0x80; point < 0x800; ++point) {
            const QString character(QChar{point});
            std::string alone;
            AppendFoldedForSearch(alone, character.toStdString());
            std::string withWide;
            AppendFoldedForSearch(withWide, character.toStdString() + "\u20ac");
            QCOMPARE(withWide, alone + wide);
            std::string decomposed;
            AppendFoldedForSearch(decomposed, character.normalized(QString::NormalizationForm_D).toStdString());
            QCOMPARE(decomposed, alone);
        }
    }

    void badBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("folded");

        QTest::newRow("cut short at the end") << QByteArray("\xc3") << "\ufffd";
        QTest::newRow("cut short before ASCII") << QByteArray("\xc3(") << "\ufffd(";
        QTest::newRow("lone continuation") << QByteArray("A\x80") << "a\ufffd";
        QTest::newRow("overlong") << QByteArray("\xc0\x80") << "\ufffd\ufffd";
        QTest::newRow("three bytes cut short") << QByteArray("X\xe2\x82Y") << "x\ufffd\ufffdy";
    }

    // As the table shows them, and no byte after the field is read.
    void badBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, folded);
        const QByteArray followed = bytes + "\x80\x80";
        std::string out;
        AppendFoldedForSearch(out, std::string_view(followed.constData(), std::size_t(bytes.size())));
        QCOMPARE(out, folded.toStdString());
    }

    void narrows_data()
    {
        QTest::addColumn<QString>("wider");
        QTest::addColumn<QString>("narrower");
        QTest::addColumn<bool>("narrows");

        QTest::newRow("letter typed") << "sky" << "skyf" << true;
        QTest::newRow("word added") << "sky" << "sky fo" << true;
        QTest::newRow("any to field") << "sky" << "series:sky" << true;
        QTest::newRow("field to any") << "series:sky" << "sky" << false;
        QTest::newRow("field changed") << "series:sky" << "name:skyf" << false;
        QTest::newRow("case and accents") << "pokemon" << "POKÉMON X" << true;
    }

    void narrows()
    {
        QFETCH(QString, wider);
        QFETCH(QString, narrower);
        QFETCH(bool, narrows);
        QCOMPARE(Narrows(ParseCardFilter(narrower), ParseCardFilter(wider)), narrows);
    }

    // Words found at every offset, against the plain find, and each keystroke
    // narrowed from the last one's rows where allowed.
    void typing()
    {
        std::mt19937 random(12);
        const std::vector<Card> cards = RandomCards(random, 400);
        CardTableModel table;
        SetTableRows(table, cards);
        const CardFilterIndex index(table);
        for (const QString& typed : {QStringLiteral("series:skyforge é1999"), QStringLiteral("\"sky forge\" ab"),
                                    QStringLiteral("xskyab sky mint"), QString::fromUtf8("\xff\xfe")}) {
            CardFilter last;
            std::vector<int> lastRows = index.Matching(last);
            for (qsizetype size = 1; size <= typed.size(); ++size) {
                const CardFilter filter = ParseCardFilter(typed.left(size));
                const std::vector<int> rows = index.Matching(filter);
                QCOMPARE(Rows(rows), Rows(PlainMatching(table, filter)));
                if (Narrows(filter, last))
                    QCOMPARE(Rows(index.Matching(filter, &lastRows)), Rows(rows));
                last = filter;
                lastRows = rows;
            }
        }
    }

    // Enough rows to be searched in shares, one a core: the rows come back
    // in order whichever share found them.
    void manyRows()
    {
        std::mt19937 random(3);
        const std::vector<Card> cards = RandomCards(random, 40'000);
        CardTableModel table;
        SetTableRows(table, cards);
        const CardFilterIndex index(table);
        for (const char* words : {"sky é", "series:forge", "\"a s\"", "ab1999"}) {
            const CardFilter filter = ParseCardFilter(QString::fromUtf8(words));
            const std::vector<int> rows = index.Matching(filter);
            QCOMPARE(Rows(rows), Rows(PlainMatching(table, filter)));
            QCOMPARE(Rows(index.Matching(filter, &rows)), Rows(rows));
        }
    }

    void keptInStep()
    {
        std::mt19937 random(7);
        std::vector<Card> cards = RandomCards(random, 30);
        for (int row = 0; row < int(cards.size()); ++row)
            cards[std::size_t(row)][NameField] += " id" + std::to_string(1000 + row);
        CardTableModel table;
        SetTableRows(table, std::vector<Card>(cards.begin(), cards.begin() + 20));
        CardFilterIndex index(table);
        table.InsertRow(0, cards[20]);
        index.InsertRows(0, 0);
        table.InsertRow(7, cards[21]);
        index.InsertRows(7, 7);
        table.InsertRow(99, cards[22]);
        index.InsertRows(table.rowCount() - 1, table.rowCount() - 1);
        for (const int row : {0, 12, table.rowCount() - 3}) {
            table.RemoveRow(row);
            index.RemoveRows(row, row);
        }
        table.SetRow(3, cards[23]);
        index.SetRow(3);
        Card nearlyEmpty;
        nearlyEmpty[NameField] = "id2000";
        table.SetRow(4, nearlyEmpty);
        index.SetRow(4);
        std::vector<int> order(std::size_t(table.rowCount()));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        table.Reorder(order);
        index.Reorder(order);
        const int bottom = table.rowCount() - 1;
        table.SetRow(bottom, cards[24]);
        index.SetRow(bottom);
        table.ReverseRows();
        index.ReverseRows();
        table.InsertRow(1, cards[25]);
        index.InsertRows(1, 1);
        // Blocks of rows, as an undo puts them back or takes them out.
        for (int card = 26; card < 29; ++card)
            table.InsertRow(5 + card - 26, cards[std::size_t(card)]);
        index.InsertRows(5, 7);
        for (int removed = 0; removed < 3; ++removed)
            table.RemoveRow(2);
        index.RemoveRows(2, 4);

        const CardFilterIndex fresh(table);
        QCOMPARE(index.RowCount(), table.rowCount());
        for (int row = 0; row < table.rowCount(); ++row) {
            const std::string id(table.Cell(row, NameField).substr(table.Cell(row, NameField).rfind(' ') + 1));
            const CardFilter filter = ParseCardFilter(QString::fromStdString("name:" + id));
            QCOMPARE(Rows(index.Matching(filter)), QList<int>{row});
        }
        for (const char* words : {"sky", "é", "mint sky", "series:forge", "\xff"}) {
            const CardFilter filter = ParseCardFilter(QString::fromUtf8(words));
            QCOMPARE(Rows(index.Matching(filter)), Rows(fresh.Matching(filter)));
        }
    }

    void countText_data()
    {
        QTest::addColumn<long long>("shown");
        QTest::addColumn<long long>("total");
        QTest::addColumn<QString>("text");

        QTest::newRow("some") << 12LL << 3400LL << "12 of 3,400 Cards";
        QTest::newRow("one Card") << 1LL << 1LL << "1 of 1 Card";
        QTest::newRow("none of one") << 0LL << 1LL << "0 of 1 Card";
        QTest::newRow("none of none") << 0LL << 0LL << "0 of 0 Cards";
        QTest::newRow("millions") << 100000LL << 1000000LL << "100,000 of 1,000,000 Cards";
    }

    void countText()
    {
        QFETCH(long long, shown);
        QFETCH(long long, total);
        QFETCH(QString, text);
        QCOMPARE(FilterCountText(shown, total), text);
    }
};

QTEST_APPLESS_MAIN(TestCardFilter)
#include "test_card_filter.moc"
