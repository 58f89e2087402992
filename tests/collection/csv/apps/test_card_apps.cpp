#include "collection/CardTableModel.h"
#include "collection/csv/CsvImport.h"
#include "collection/csv/CsvReader.h"
#include "collection/csv/apps/CardApps.h"

#include <QTest>

namespace {

// A Card's non-empty fields as "KEY=value" lines, in field order.
QByteArray Dump(const CardTableModel::RowBlock& cards, int index)
{
    QByteArray out;
    for (int field = 0; field < kAllCardFieldCount; ++field) {
        const std::string_view value = cards.Cell(index, field);
        if (value.empty())
            continue;
        const std::string_view key =
            field < kCardFieldCount ? kCardKeys[std::size_t(field)] : kDetailKeys[std::size_t(field - kCardFieldCount)];
        out += QByteArray(key.data(), qsizetype(key.size())) + '=' + QByteArray(value.data(), qsizetype(value.size()))
               + '\n';
    }
    return out;
}

struct Import {
    AppHeader app;
    CsvImportResult result;
};

Import Imported(const QByteArray& csv, TextEncoding encoding = TextEncoding::Utf8)
{
    const std::string_view text(csv.constData(), std::size_t(csv.size()));
    CsvRows rows;
    CsvError error;
    if (!ReadCsv(text, CsvEncoding::Utf8, DetectSeparator(text), rows, error, encoding))
        qFatal("line %lld: %s", static_cast<long long>(error.line), error.reason.c_str());
    CsvImportOptions options;
    options.app = RecogniseCsvApp(rows);
    options.columns = options.app.app != nullptr ? options.app.columns : MapCsvColumns(rows);
    CardTableModel empty;
    empty.SetEncoding(encoding);
    return {options.app, ImportCsv(rows, options, empty)};
}

QString Label(const AppHeader& app)
{
    return app.app == nullptr ? QString() : QString::fromUtf8(app.app->label.data(), qsizetype(app.app->label.size()));
}

} // namespace

class TestCardApps : public QObject {
    Q_OBJECT

private slots:
    // Each app's export as its header and one row of ours: the app it is
    // taken for, and the Card it gives.
    void readsEachAppsExport_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArray>("card");
        QTest::newRow("Deckbox")
            << QByteArray("Count,Tradelist Count,Name,Edition,Edition Code,Card Number,Condition,Language,Foil,Signed,"
                          "Artist Proof,Altered Art,Misprint,Promo,Textless,My Price,Tags,TcgPlayer Market Price\r\n"
                          "4,2,Lightning Bolt,Magic 2011,M11,146,Good (Lightly Played),English,foil,,,,,,,$1.25,burn,"
                          "$2.10\r\n")
            << QStringLiteral("Deckbox inventory export")
            << QByteArray("NAME=Lightning Bolt\nSERIES=Magic 2011\nCONDITION=Good\nPRICE=$1.25\nQUANTITY=4\n"
                          "GAME=magic\nSETCODE=M11\nNUMBER=146\nFINISH=foil\nLANGUAGE=en\nTAGS=burn\nTRADE=2\n"
                          "MARKET=$2.10\nSOURCE=Deckbox\n");
        QTest::newRow("Moxfield")
            << QByteArray("\"Count\",\"Tradelist Count\",\"Name\",\"Edition\",\"Condition\",\"Language\",\"Foil\","
                          "\"Tags\",\"Last Modified\",\"Collector Number\",\"Alter\",\"Proxy\",\"Purchase Price\"\r\n"
                          "\"1\",\"0\",\"Counterspell\",\"mh2\",\"Played\",\"Japanese\",\"etched\",\"\","
                          "\"2024-02-01 10:00:00.000000\",\"267\",\"False\",\"False\",\"3.5\"\r\n")
            << QStringLiteral("Moxfield collection export")
            << QByteArray("NAME=Counterspell\nSERIES=mh2\nCONDITION=Light Played\nPRICE=$3.50\nQUANTITY=1\n"
                          "GAME=magic\nSETCODE=mh2\nNUMBER=267\nFINISH=etched\nLANGUAGE=ja\nSOURCE=Moxfield\n");
        QTest::newRow("ManaBox, columns in another order")
            << QByteArray("Name,Set code,Set name,Collector number,Foil,Rarity,Quantity,ManaBox ID,Scryfall ID,"
                          "Purchase price,Misprint,Altered,Condition,Language,Purchase price currency,Binder Name,"
                          "Binder Type\r\n"
                          "Sol Ring,C21,Commander 2021,263,normal,uncommon,2,12345,"
                          "2f9f3a4c-1b3e-4a5e-9c6f-0a1b2c3d4e5f,1.99,false,false,near_mint,en,EUR,Red box,binder\r\n")
            << QStringLiteral("ManaBox collection export")
            << QByteArray("NAME=Sol Ring\nSERIES=Commander 2021\nCONDITION=Near Mint\nPRICE=\xe2\x82\xac" "1.99\n"
                          "QUANTITY=2\nGAME=magic\nSETCODE=C21\nNUMBER=263\nFINISH=nonfoil\nLANGUAGE=en\n"
                          "LOCATION=Red box\nPRINT=scryfall:2f9f3a4c-1b3e-4a5e-9c6f-0a1b2c3d4e5f\nSOURCE=ManaBox\n");
        QTest::newRow("Dragon Shield web, after its sep line")
            << QByteArray("\"sep=,\"\r\nFolder Name,Quantity,Trade Quantity,Card Name,Set Code,Set Name,Card Number,"
                          "Condition,Printing,Language,Price Bought,Date Bought,LOW,MID,MARKET\r\n"
                          "Trade binder,3,1,Llanowar Elves,DOM,Dominaria,168,NearMint,Foil,English,0.25,2023-05-01,"
                          "0.10,0.20,0.31\r\n")
            << QStringLiteral("Dragon Shield web export")
            << QByteArray("NAME=Llanowar Elves\nSERIES=Dominaria\nCONDITION=Near Mint\nPRICE=$0.25\nQUANTITY=3\n"
                          "GAME=magic\nSETCODE=DOM\nNUMBER=168\nFINISH=foil\nLANGUAGE=en\nLOCATION=Trade binder\n"
                          "TRADE=1\nMARKET=$0.31\nSOURCE=Dragon Shield\n");
        QTest::newRow("Dragon Shield app")
            << QByteArray("Quantity,Name,CardNumber,Expansion Code,Expansion Name,PurchasePrice,Foil,Condition,"
                          "Language,PurchaseDate\r\n"
                          "1,Dark Ritual,18,STA,Strixhaven Mystical Archive,4.00,true,LightPlayed,German,2022-01-01\r\n")
            << QStringLiteral("Dragon Shield app export")
            << QByteArray("NAME=Dark Ritual\nSERIES=Strixhaven Mystical Archive\nCONDITION=Light Played\n"
                          "PRICE=$4.00\nQUANTITY=1\nGAME=magic\nSETCODE=STA\nNUMBER=18\nFINISH=foil\nLANGUAGE=de\n"
                          "SOURCE=Dragon Shield\n");
        QTest::newRow("TCGplayer, its condition holding the finish")
            << QByteArray("Quantity,Name,Simple Name,Set,Card Number,Set Code,Printing,Condition,Language,Rarity,"
                          "Product ID,SKU\r\n"
                          "2,Charizard,Charizard,Base Set,4/102,BS,,Lightly Played Holofoil,English,Holo Rare,"
                          "42382,1234567\r\n")
            << QStringLiteral("TCGplayer collection export")
            << QByteArray("NAME=Charizard\nSERIES=Base Set\nCONDITION=Good\nQUANTITY=2\nSETCODE=BS\nNUMBER=4/102\n"
                          "FINISH=holo\nLANGUAGE=en\nSOURCE=TCGplayer\n");
        QTest::newRow("Delver Lens, semicolons")
            << QByteArray("QuantityX;Name;Edition;Edition code;Collector's number;Foil;Condition;Language;Scryfall ID;"
                          "Price;Currency\r\n"
                          "2x;Brainstorm;Ice Age;ICE;61;;Heavily Played;Italian;0c082aa8-bf7f-47f2-baf8-43ad253fd7d7;"
                          "1.2;EUR\r\n")
            << QStringLiteral("Delver Lens export")
            << QByteArray("NAME=Brainstorm\nSERIES=Ice Age\nCONDITION=Played\nQUANTITY=2\nGAME=magic\nSETCODE=ICE\n"
                          "NUMBER=61\nLANGUAGE=it\nPRINT=scryfall:0c082aa8-bf7f-47f2-baf8-43ad253fd7d7\n"
                          "MARKET=\xe2\x82\xac" "1.20\nSOURCE=Delver Lens\n");
        QTest::newRow("Archidekt")
            << QByteArray("Quantity,Name,Finish,Condition,Date Added,Language,Purchase Price,Tags,Edition Name,"
                          "Edition Code,Multiverse Id,Scryfall ID,MTGO ID,Collector Number\r\n"
                          "1,Swords to Plowshares,Foil,MP,2024-03-02,FR,0,Removal,Eternal Masters,ema,"
                          ",a1b2c3d4-0000-4000-8000-000000000000,,24\r\n")
            << QStringLiteral("Archidekt collection export")
            << QByteArray("NAME=Swords to Plowshares\nSERIES=Eternal Masters\nCONDITION=Light Played\nQUANTITY=1\n"
                          "GAME=magic\nSETCODE=ema\nNUMBER=24\nFINISH=foil\nLANGUAGE=fr\nTAGS=Removal\n"
                          "PRINT=scryfall:a1b2c3d4-0000-4000-8000-000000000000\nSOURCE=Archidekt\n");
        QTest::newRow("TopDecked")
            << QByteArray("QUANTITY,NAME,SETCODE,SETNAME,COLLECTOR NUMBER,FINISH,CONDITION,LANG,ACQUIRED PRICE\r\n"
                          "1,Thoughtseize,THS,Theros,107,nonfoil,slightly played,en,12.999\r\n")
            << QStringLiteral("TopDecked collection export")
            << QByteArray("NAME=Thoughtseize\nSERIES=Theros\nCONDITION=Good\nPRICE=$13.00\nQUANTITY=1\nGAME=magic\n"
                          "SETCODE=THS\nNUMBER=107\nFINISH=nonfoil\nLANGUAGE=en\nSOURCE=TopDecked\n");
        QTest::newRow("Collectr, its market price dated in the header")
            << QByteArray("Portfolio Name,Category,Set,Product Name,Card Number,Rarity,Variance,Grade,Card Condition,"
                          "Average Cost Paid,Quantity,Market Price (As of 2024-05-01),Price Override,Watchlist,"
                          "Date Added,Notes\r\n"
                          "Main,Pokemon,Evolving Skies,Umbreon VMAX,215/203,Secret Rare,Holofoil,Ungraded,"
                          "Near Mint,250.00,1,612.5,,false,2024-04-01,Alt art\r\n")
            << QStringLiteral("Collectr portfolio export")
            << QByteArray("NAME=Umbreon VMAX\nSERIES=Evolving Skies\nCONDITION=Near Mint\nPRICE=$250.00\nQUANTITY=1\n"
                          "DESCRIPTION=Alt art\nGAME=pokemon\nNUMBER=215/203\nFINISH=holo\nLOCATION=Main\n"
                          "MARKET=$612.50\nMARKETDATE=2024-05-01\nSOURCE=Collectr\n");
    }

    void readsEachAppsExport()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, label);
        QFETCH(QByteArray, card);
        const Import import = Imported(csv);
        QCOMPARE(Label(import.app), label);
        QCOMPARE(import.result.cards.size(), 1);
        QCOMPARE(Dump(import.result.cards, 0), card);
    }

    // A file of ours, or a spreadsheet's, is no app's: its columns are
    // matched by name and its values kept as they are.
    void leavesOtherFilesAlone()
    {
        const Import import = Imported("Name,Series,Condition,Price,Quantity,Language\r\nBolt,M11,NM,1.5,2x,English\r\n");
        QVERIFY(import.app.app == nullptr);
        QCOMPARE(Dump(import.result.cards, 0),
                 QByteArray("NAME=Bolt\nSERIES=M11\nCONDITION=NM\nPRICE=1.5\nQUANTITY=2x\nLANGUAGE=English\n"));
    }

    // ManaBox's list binders and Collectr's watch list are what the
    // collector wants, not what they own; graded cards keep their grade.
    void readsWishListsAndGrades()
    {
        const Import manaBox = Imported("Binder Name,Binder Type,Name,Set code,Set name,Collector number,Foil,Rarity,"
                                        "Quantity,ManaBox ID,Scryfall ID,Purchase price,Misprint,Altered,Condition,"
                                        "Language,Purchase price currency\r\n"
                                        "Wants,list,Force of Will,ALL,Alliances,28,normal,rare,3,1,,0,false,false,"
                                        "near_mint,en,USD\r\n"
                                        "Deck,deck,Force of Will,ALL,Alliances,28,normal,rare,1,1,,0,false,false,"
                                        "near_mint,en,USD\r\n");
        QCOMPARE(manaBox.result.cards.Cell(0, QuantityField), "0");
        QCOMPARE(manaBox.result.cards.Cell(0, WantField), "3");
        QCOMPARE(manaBox.result.cards.Cell(1, QuantityField), "1");
        QCOMPARE(manaBox.result.cards.Cell(1, WantField), "");

        const Import collectr = Imported("Portfolio Name,Category,Set,Product Name,Card Number,Rarity,Variance,Grade,"
                                         "Card Condition,Average Cost Paid,Quantity,Market Price (As of 2025-01-31),"
                                         "Price Override,Watchlist,Date Added,Notes\r\n"
                                         "Wish,Magic: The Gathering,Alpha,Black Lotus,232,Rare,Normal,PSA 9,Near Mint,"
                                         ",0,25000,,true,2025-01-02,\r\n");
        QCOMPARE(collectr.result.cards.Cell(0, GameField), "magic");
        QCOMPARE(collectr.result.cards.Cell(0, ConditionField), "PSA 9");
        QCOMPARE(collectr.result.cards.Cell(0, QuantityField), "0");
        QCOMPARE(collectr.result.cards.Cell(0, WantField), "1");
        QCOMPARE(collectr.result.cards.Cell(0, MarketField), "$25000.00");
        QCOMPARE(collectr.result.cards.Cell(0, MarketDateField), "2025-01-31");
    }

    // A collection kept in Windows-1252 takes the euro sign as its own byte.
    void writesTheCurrencyInTheCollectionsEncoding()
    {
        const Import import = Imported("Binder Name,Binder Type,Name,Set code,Collector number,Quantity,ManaBox ID,"
                                       "Purchase price,Purchase price currency\r\n"
                                       "B,binder,Opt,XLN,65,1,9,0.1,EUR\r\n",
                                       TextEncoding::Windows1252);
        QCOMPARE(import.result.cards.Cell(0, PriceField), "\x80" "0.10");
    }
};

QTEST_APPLESS_MAIN(TestCardApps)
#include "test_card_apps.moc"
