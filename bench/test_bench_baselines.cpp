#include "CardGenerator.h"
#include "LiteralSteps.h"

#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "app/table/ColumnFit.h"
#include "collection/ColumnSort.h"
#include "support/TableRows.h"
#include "support/WindowTest.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <set>

// The benchmarks compare the program with plain baselines; these tests make
// sure the baselines and the generated collections are what they claim.
class BenchBaselinesTest : public QObject {
    Q_OBJECT

private slots:
    void generatedCollectionIsRealisticAndRepeatable();
    void adjacentExchangeSortMatchesTheColumnClick();
    void cardByCardLoadEndsLikeTheLoad();
    void rowByRowCatalogueMatchesTheCommand();
};

namespace {

std::vector<Card> GeneratedCards(int count)
{
    std::vector<Card> cards;
    for (int index = 0; index < count; ++index)
        cards.push_back(GeneratedCard(std::uint64_t(index)));
    return cards;
}

QByteArray BytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void BenchBaselinesTest::generatedCollectionIsRealisticAndRepeatable()
{
    TempFolder folder;
    QVERIFY(WriteGeneratedCollection(folder.Path(QStringLiteral("qmk.dat")), 2000));
    const QByteArray bytes = folder.Read(QStringLiteral("qmk.dat"));
    QVERIFY(WriteGeneratedCollection(folder.Path(QStringLiteral("again.dat")), 2000));
    QCOMPARE(folder.Read(QStringLiteral("again.dat")), bytes);

    const std::vector<Card> cards = ParseCollection(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    QCOMPARE(cards, GeneratedCards(2000));
    std::set<std::string> series;
    std::set<std::string> conditions;
    bool beyondAscii = false;
    for (const Card& card : cards) {
        series.insert(card[SeriesField]);
        conditions.insert(card[ConditionField]);
        for (const std::string& field : card)
            beyondAscii = beyondAscii || std::any_of(field.begin(), field.end(), [](char c) { return c & 0x80; });
    }
    QVERIFY(series.size() > 20 && series.size() <= 40);
    QVERIFY(conditions.size() > 5 && conditions.size() <= 12);
    QVERIFY(beyondAscii);
    // About 20 MB for 100,000 Cards, as collectors' files run.
    QVERIFY(bytes.size() / 2000 > 150 && bytes.size() / 2000 < 300);

    // With details, the same eight fields, every Card some details, and each
    // detail set on some Cards and not on others.
    QVERIFY(WriteGeneratedCollection(folder.Path(QStringLiteral("details.dat")), 2000, true));
    const QByteArray detailed = folder.Read(QStringLiteral("details.dat"));
    const std::vector<Card> withDetails =
        ParseCollection(std::string_view(detailed.constData(), std::size_t(detailed.size())));
    QCOMPARE(withDetails.size(), cards.size());
    std::array<int, kAllCardFieldCount> set{};
    for (std::size_t i = 0; i < cards.size(); ++i) {
        Card expected = cards[i];
        AddGeneratedDetails(expected, i);
        QCOMPARE(withDetails[i], expected);
        QVERIFY(std::equal(cards[i].begin(), cards[i].begin() + kCardFieldCount, expected.begin()));
        for (int field = kCardFieldCount; field < kAllCardFieldCount; ++field)
            set[std::size_t(field)] += withDetails[i][std::size_t(field)].empty() ? 0 : 1;
    }
    QCOMPARE(set[GameField], 2000);
    for (const int field : {FinishField, LocationField, TagsField, TradeField, WantField, PrintField})
        QVERIFY(set[std::size_t(field)] > 100 && set[std::size_t(field)] < 1500);
}

void BenchBaselinesTest::adjacentExchangeSortMatchesTheColumnClick()
{
    // Few distinct Conditions and Quantities give many ties; each click
    // sequence includes second clicks, which reverse.
    const std::vector<Card> cards = GeneratedCards(300);
    CardTableModel ours;
    CardTableModel literal;
    SetTableRows(ours, cards);
    SetTableRows(literal, cards);
    for (const int column : {ConditionField, ConditionField, QuantityField, SeriesField, SeriesField, SeriesField,
                             NameField, YearField, DescriptionField, UrlField}) {
        SortRowsByColumn(ours, column);
        AdjacentExchangeSort(literal, column);
        for (int row = 0; row < ours.rowCount(); ++row)
            QCOMPARE(literal.RowCard(row), ours.RowCard(row));
    }
    CardTableModel one;
    SetTableRows(one, {cards.front()});
    AdjacentExchangeSort(one, NameField);
    QCOMPARE(one.RowCard(0), cards.front());
}

void BenchBaselinesTest::cardByCardLoadEndsLikeTheLoad()
{
    const std::vector<Card> cards = GeneratedCards(120);
    WindowFixture loaded;
    QVERIFY(WriteGeneratedCollection(loaded.folder.Path(QStringLiteral("qmk.dat")), cards.size()));
    loaded.Open();

    WindowFixture literal;
    literal.Open();
    CardTableModel table;
    const ColumnWidths widest = LoadCardByCard(*literal.window, table, cards);

    const CardTableModel& loadedTable = loaded.window->CardTable();
    QCOMPARE(table.rowCount(), loadedTable.rowCount());
    for (int row = 0; row < loadedTable.rowCount(); ++row)
        QCOMPARE(table.RowCard(row), loadedTable.RowCard(row));

    ColumnFit fit(loaded.Find<QTableView>("cardTable")->font());
    for (int row = 0; row < loadedTable.rowCount(); ++row)
        fit.Add(loadedTable, row);
    for (int column = 0; column < kCardFieldCount; ++column)
        QCOMPARE(widest[std::size_t(column)], fit.WidestText(column));
}

void BenchBaselinesTest::rowByRowCatalogueMatchesTheCommand()
{
    WindowFixture fixture;
    QVERIFY(WriteGeneratedCollection(fixture.folder.Path(QStringLiteral("qmk.dat")), 50));
    for (const QString& name : {QStringLiteral("CatalogueOutside.htm"), QStringLiteral("CatalogueInside.htm")})
        fixture.folder.Write(name, BytesOf(QStringLiteral(QUILLMARK_TEMPLATE_DIR "/") + name));
    fixture.Open();
    fixture.window->OnCatalogue();
    // The command leaves the fields as they were; the row-by-row baseline
    // passes every Card through them.
    QCOMPARE(fixture.window->HeldCard(), Card{});
    QVERIFY(CatalogueRowByRow(*fixture.window, fixture.messages, fixture.folder.Path(QStringLiteral("literal.htm"))));

    const QByteArray page = fixture.folder.Read(QStringLiteral("catalogue.htm"));
    QVERIFY(page.contains(QByteArray::fromStdString(GeneratedCard(0)[NameField])));
    QCOMPARE(fixture.folder.Read(QStringLiteral("literal.htm")), page);
    QVERIFY(fixture.messages.shown.size() == 1 && fixture.messages.shown.front().question);
}

QTEST_MAIN(BenchBaselinesTest)
#include "test_bench_baselines.moc"
