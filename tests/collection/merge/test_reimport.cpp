#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "collection/csv/CsvImport.h"
#include "collection/csv/CsvReader.h"
#include "collection/file/CollectionFile.h"
#include "collection/file/OtherCollection.h"
#include "collection/merge/CardIdentity.h"
#include "collection/merge/ChangeText.h"
#include "collection/merge/CollectionMerge.h"
#include "collection/merge/ReimportDiff.h"
#include "support/TableRows.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

namespace {

// A Card from name, series, condition, then detail fields by CardField.
Card MakeCard(std::string name, std::string series, std::string condition,
              std::initializer_list<std::pair<CardField, std::string>> details = {})
{
    Card card;
    card[NameField] = std::move(name);
    card[SeriesField] = std::move(series);
    card[ConditionField] = std::move(condition);
    for (const auto& [field, value] : details)
        card[field] = value;
    return card;
}

CardTableModel::RowBlock Block(const std::vector<Card>& cards)
{
    CardTableModel::RowBlock block;
    for (const Card& card : cards)
        block.Append(card);
    return block;
}

QByteArray FileOf(const CardTableModel& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteCollection(buffer, table, 1))
        qFatal("not written");
    return buffer.data();
}

// The CSV import of an app's export, as the window and quillmark-cli read it.
CsvImportResult ImportedCsv(const QByteArray& csv, const CardTableModel& table)
{
    CsvRows rows;
    CsvError error;
    if (!ParseCsv(std::string_view(csv.constData(), std::size_t(csv.size())), ',', rows, error))
        qFatal("line %lld: %s", static_cast<long long>(error.line), error.reason.c_str());
    CsvImportOptions options;
    options.columns = MapCsvColumns(rows);
    options.repeats = CsvRepeats::Skip;
    return ImportCsv(rows, options, table);
}

void Reimport(const QByteArray& csv, CardTableModel& table)
{
    CsvImportResult result = ImportedCsv(csv, table);
    ChoiceListModel series;
    ChoiceListModel conditions;
    ApplyCollectionChanges(AcceptedChanges(DiffReimport(table, result.cards, result.quantities)), table, series,
                           conditions);
}

QStringList Names(const CardTableModel& table)
{
    QStringList names;
    for (int row = 0; row < table.rowCount(); ++row)
        names << QString::fromStdString(std::string(table.Cell(row, NameField)));
    return names;
}

} // namespace

class TestReimport : public QObject {
    Q_OBJECT

private slots:
    // The printing decides, then the details, then Name and Series for a
    // Card typed in by hand; the condition always counts, the binder never.
    void identityIsThePrintingInItsCondition()
    {
        const Card printed = MakeCard("Ember Wisp", "Ashfall", "NM", {{PrintField, "scryfall:1"}, {SetCodeField, "ash"}});
        QCOMPARE(CardIdentity(MakeCard("Renamed", "Other", "NM", {{PrintField, "scryfall:1"}})), CardIdentity(printed));
        QVERIFY(CardIdentity(MakeCard("Ember Wisp", "Ashfall", "LP", {{PrintField, "scryfall:1"}}))
                != CardIdentity(printed));
        QCOMPARE(CardIdentity(MakeCard("Ember Wisp", "Ashfall", "NM", {{PrintField, "scryfall:1"}, {LocationField, "B2"}})),
                 CardIdentity(printed));

        const Card detailed = MakeCard("Drake", "", "NM", {{SetCodeField, "xln"}, {NumberField, "96"}});
        QCOMPARE(CardIdentity(MakeCard("Drake, renamed", "X", "NM", {{SetCodeField, "xln"}, {NumberField, "96"}})),
                 CardIdentity(detailed));
        QVERIFY(CardIdentity(MakeCard("Drake", "", "NM", {{SetCodeField, "xln"}, {NumberField, "96"}, {FinishField, "foil"}}))
                != CardIdentity(detailed));
        QVERIFY(CardIdentity(MakeCard("Drake", "", "NM", {{SetCodeField, "xln"}, {NumberField, "96"}, {LanguageField, "de"}}))
                != CardIdentity(detailed));

        const Card typed = MakeCard("Drake", "Ixalan", "NM", {{YearField, "2017"}});
        QCOMPARE(CardIdentity(MakeCard("Drake", "Ixalan", "NM", {{PriceField, "$3"}})), CardIdentity(typed));
        QVERIFY(CardIdentity(MakeCard("Drake", "Ixalan2", "NM")) != CardIdentity(typed));
        // Parts that run into each other make no other key.
        QVERIFY(CardIdentity(MakeCard("ab", "c", "")) != CardIdentity(MakeCard("a", "bc", "")));
        QVERIFY(CardIdentity(MakeCard("xln", "", "", {})) != CardIdentity(MakeCard("", "", "", {{GameField, "xln"}})));
    }

    // Import, import again: the collection file is the same to the byte,
    // whatever the collection held before, with other apps' Cards, Cards
    // typed in, copies in two binders and Cards alike but for their binder.
    void importingTheSameExportTwiceChangesNothing()
    {
        QRandomGenerator random(20261209);
        for (int round = 0; round < 40; ++round) {
            CardTableModel table;
            std::vector<Card> before;
            for (int i = int(random.bounded(6)); i > 0; --i) {
                before.push_back(MakeCard("Typed " + std::to_string(random.bounded(3)), "S", "NM",
                                          {{QuantityField, "1"}}));
            }
            for (int i = int(random.bounded(6)); i > 0; --i) {
                before.push_back(MakeCard("Other " + std::to_string(random.bounded(3)), "S", "NM",
                                          {{PrintField, "p" + std::to_string(random.bounded(4))}, {SourceField, "Deckbox"}}));
            }
            SetTableRows(table, before);
            QByteArray csv = "Name,Series,Condition,Quantity,Location,Print,Source\r\n";
            for (int i = int(random.bounded(12)); i > 0; --i) {
                csv += "Card " + QByteArray::number(random.bounded(4)) + ",Set,"
                       + (random.bounded(2) ? "NM" : "LP") + ',' + QByteArray::number(random.bounded(1, 4)) + ",B"
                       + QByteArray::number(random.bounded(3)) + ",p" + QByteArray::number(random.bounded(5))
                       + ",Moxfield\r\n";
            }
            Reimport(csv, table);
            const QByteArray once = FileOf(table);
            const CsvImportResult again = ImportedCsv(csv, table);
            const ReimportDiff diff = DiffReimport(table, again.cards, again.quantities);
            QVERIFY2(diff.Empty(), qPrintable(ReimportLines(diff, TextEncoding::Utf8).join('\n')));
            Reimport(csv, table);
            QCOMPARE(FileOf(table), once);
        }
    }

    // A newer export from one app: its new Cards come in at the top, those
    // that differ are changed, and those it no longer has go; another app's
    // Cards and Cards typed in are left alone even where they look alike.
    void newerExportChangesOnlyItsAppsCards()
    {
        CardTableModel table;
        SetTableRows(table, {
                                MakeCard("Kept", "A", "NM", {{PrintField, "p1"}, {SourceField, "Moxfield"}}),
                                MakeCard("Priced", "A", "NM", {{PrintField, "p2"}, {PriceField, "1"}, {SourceField, "Moxfield"}}),
                                MakeCard("Sold", "A", "NM", {{PrintField, "p3"}, {SourceField, "Moxfield"}}),
                                MakeCard("Sold", "A", "NM", {{PrintField, "p3"}, {SourceField, "Deckbox"}}),
                                MakeCard("Sold", "A", "NM", {{PrintField, "p3"}}),
                                MakeCard("Twice", "A", "NM", {{PrintField, "p4"}, {LocationField, "B1"}, {SourceField, "Moxfield"}}),
                                MakeCard("Twice", "A", "NM", {{PrintField, "p4"}, {LocationField, "B2"}, {SourceField, "Moxfield"}}),
                            });
        const CardTableModel::RowBlock newer = Block({
            MakeCard("Twice", "A", "NM", {{PrintField, "p4"}, {LocationField, "B2"}, {SourceField, "Moxfield"}}),
            MakeCard("Twice", "A", "NM", {{PrintField, "p4"}, {LocationField, "B3"}, {SourceField, "Moxfield"}}),
            MakeCard("Kept", "A", "NM", {{PrintField, "p1"}, {SourceField, "Moxfield"}}),
            MakeCard("Priced", "A", "NM", {{PrintField, "p2"}, {PriceField, "2"}, {SourceField, "Moxfield"}}),
            MakeCard("New", "A", "NM", {{PrintField, "p5"}, {SourceField, "Moxfield"}}),
            MakeCard("Kept", "A", "LP", {{PrintField, "p1"}, {SourceField, "Moxfield"}}),
        });
        ReimportDiff diff = DiffReimport(table, newer);
        QVERIFY(diff.known);
        QCOMPARE(diff.unchanged, std::size_t(2));
        QCOMPARE(ReimportLines(diff, TextEncoding::Utf8),
                 (QStringList{"+ New (A, NM)", "+ Kept (A, LP)", "~ Priced (A, NM): Price: 1 -> 2",
                              "~ Twice (A, NM): Location: B1 -> B3", "- Sold (A, NM)"}));

        // Each change may be left: the rest are made, the new Cards on top.
        diff.added[1].accepted = false;
        ChoiceListModel series;
        ChoiceListModel conditions;
        ApplyCollectionChanges(AcceptedChanges(std::move(diff)), table, series, conditions);
        QCOMPARE(Names(table), (QStringList{"New", "Kept", "Priced", "Sold", "Sold", "Twice", "Twice"}));
        QCOMPARE(table.Cell(2, PriceField), "2");
        QCOMPARE(table.Cell(3, SourceField), "Deckbox");
        QCOMPARE(table.Cell(4, SourceField), "");
        QCOMPARE(table.Cell(5, LocationField), "B3");
        QCOMPARE(table.Cell(6, LocationField), "B2");
    }

    // A first import from an app adds every Card, copies of one printing
    // included; the repeats rule of the import does not apply to them.
    void firstImportAddsAll()
    {
        CardTableModel table;
        SetTableRows(table, {MakeCard("Drake", "Set", "NM", {{QuantityField, "1"}})});
        const CsvImportResult result = ImportedCsv("Name,Series,Condition,Quantity,Source\r\n"
                                                   "Drake,Set,NM,2,Moxfield\r\nDrake,Set,NM,2,Moxfield\r\n"
                                                   "Drake,Set,NM,1,\r\n",
                                                   table);
        QCOMPARE(result.cards.size(), 2);
        QCOMPARE(result.repeatsSkipped, std::size_t(1));
        const ReimportDiff diff = DiffReimport(table, result.cards, result.quantities);
        QVERIFY(!diff.known);
        QCOMPARE(diff.added.size(), std::size_t(2));
        QVERIFY(diff.changed.empty() && diff.removed.empty());
    }

    // Two copies of a collection: Cards on one side only are kept, alike
    // Cards are one, and only Cards of one identity with other texts are
    // conflicts, settled one by one.
    void mergeKeepsBothSidesAndAsksOnlyAboutConflicts()
    {
        CardTableModel mine;
        SetTableRows(mine, {
                               MakeCard("Only mine", "A", "NM"),
                               MakeCard("Both", "A", "NM", {{PriceField, "1"}}),
                               MakeCard("Changed", "A", "NM", {{PriceField, "1"}}),
                               MakeCard("Also changed", "A", "NM", {{PrintField, "p1"}, {TagsField, "x"}}),
                           });
        CardTableModel theirs;
        SetTableRows(theirs, {
                                 MakeCard("Also changed", "A", "NM", {{PrintField, "p1"}, {TagsField, "y"}}),
                                 MakeCard("Only theirs", "A", "NM"),
                                 MakeCard("Changed", "A", "NM", {{PriceField, "2"}}),
                                 MakeCard("Both", "A", "NM", {{PriceField, "1"}}),
                             });
        CollectionMerge merge = MergeCollections(mine, theirs);
        QCOMPARE(merge.same, std::size_t(1));
        QCOMPARE(merge.onlyMine, std::size_t(1));
        QCOMPARE(MergeLines(merge, TextEncoding::Utf8),
                 (QStringList{"+ Only theirs (A, NM)", "! Changed (A, NM): Price: 1 -> 2",
                              "! Also changed (A, NM): Tags: x -> y"}));
        merge.conflicts[1].takeTheirs = true;
        ChoiceListModel series;
        ChoiceListModel conditions;
        ApplyCollectionChanges(MergeChanges(std::move(merge)), mine, series, conditions);
        QCOMPARE(Names(mine), (QStringList{"Only theirs", "Only mine", "Both", "Changed", "Also changed"}));
        QCOMPARE(mine.Cell(3, PriceField), "1");
        QCOMPARE(mine.Cell(4, TagsField), "y");

        // Merged again, nothing is left to do.
        QVERIFY(MergeCollections(mine, theirs).added.empty());
    }

    // A copy in Windows-1252 meets a UTF-8 collection: its texts are made
    // UTF-8 first, so that alike Cards are one; a character that the
    // collection's encoding cannot hold refuses the merge.
    void otherEncodingIsTakenOrRefused()
    {
        CardTableModel theirs;
        SetTableRows(theirs, {MakeCard("Caf\xe9", "", "")});
        theirs.SetEncoding(TextEncoding::Windows1252);
        QString reason;
        QVERIFY(TakeEncoding(theirs, TextEncoding::Utf8, QStringLiteral("other"), reason));
        QCOMPARE(theirs.Cell(0, NameField), "Caf\xc3\xa9");

        SetTableRows(theirs, {MakeCard("\xe2\x82\xac ok", "", ""), MakeCard("\xe3\x81\x82", "", "")});
        theirs.SetEncoding(TextEncoding::Utf8);
        QVERIFY(!TakeEncoding(theirs, TextEncoding::Windows1252, QStringLiteral("other"), reason));
        QVERIFY(reason.contains(QStringLiteral("other")));
    }
};

QTEST_GUILESS_MAIN(TestReimport)
#include "test_reimport.moc"
