#include "CsvAppBenchmarks.h"

#include "Measure.h"
#include "base/FileAccess.h"
#include "collection/CardTableModel.h"
#include "collection/csv/CsvFiles.h"

#include <QByteArray>
#include <QFile>

#include <array>
#include <cstdio>
#include <string_view>

namespace {

struct Printing {
    std::string_view name;
    std::string_view edition;
    std::string_view code;
    std::string_view number;
};

constexpr std::array<Printing, 6> kPrintings = {{
    {"Lightning Bolt", "Magic 2011", "M11", "146"},
    {"Counterspell", "Modern Horizons 2", "MH2", "267"},
    {"\"Jace, the Mind Sculptor\"", "Worldwake", "WWK", "31"},
    {"Llanowar Elves", "Dominaria", "DOM", "168"},
    {"Sol Ring", "Commander 2021", "C21", "263"},
    {"Swords to Plowshares", "Eternal Masters", "EMA", "24"},
}};

constexpr std::array<std::string_view, 5> kConditions = {
    "Near Mint", "Good (Lightly Played)", "Played", "Heavily Played", "Mint",
};

// A Deckbox inventory export of the given number of rows.
QByteArray DeckboxExport(std::uint64_t rows)
{
    QByteArray csv = "Count,Tradelist Count,Name,Edition,Edition Code,Card Number,Condition,Language,Foil,Signed,"
                     "Artist Proof,Altered Art,Misprint,Promo,Textless,My Price\r\n";
    csv.reserve(qsizetype(rows * 110));
    const auto add = [&csv](std::string_view text) { csv.append(text.data(), qsizetype(text.size())); };
    for (std::uint64_t row = 0; row < rows; ++row) {
        const Printing& printing = kPrintings[row % kPrintings.size()];
        csv += QByteArray::number(row % 4 + 1) + ',' + QByteArray::number(row % 3) + ',';
        add(printing.name);
        csv += ',';
        add(printing.edition);
        csv += ',';
        add(printing.code);
        csv += ',';
        add(printing.number);
        csv += ',';
        add(kConditions[row % kConditions.size()]);
        csv += row % 7 == 0 ? ",Japanese," : ",English,";
        csv += row % 5 == 0 ? "foil" : "";
        csv += ",,,,,,,$" + QByteArray::number(double(row % 5000) / 100, 'f', 2) + "\r\n";
    }
    return csv;
}

} // namespace

bool RunCsvAppImportBenchmark(std::uint64_t cards)
{
    const QString path = QStringLiteral("deckbox.csv");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(DeckboxExport(cards)) < 0)
            return false;
    }
    CardTableModel table;
    CsvImportResult result;
    bool recognised = false;
    bool read = false;
    Report(cards, "csv_import_apps", TimeWithEvents([&] {
               QByteArray bytes;
               if (!ReadFile(path, bytes))
                   return;
               const CsvFileSettings settings =
                   DetectCsvFileSettings(std::string_view(bytes.constData(), std::size_t(bytes.size())));
               recognised = settings.options.app.app != nullptr && settings.options.app.app->name == "Deckbox";
               CsvError error;
               read = ReadCsvImport(std::move(bytes), settings, table, result, error);
           }));
    QFile::remove(path);
    const bool sound = recognised && read && std::uint64_t(result.cards.size()) == cards
                       && result.cards.Cell(0, SourceField) == "Deckbox" && result.cards.Cell(0, ConditionField) == "Near Mint";
    if (!sound)
        std::fprintf(stderr, "%llu cards: the Deckbox export was not read as one\n", static_cast<unsigned long long>(cards));
    return sound;
}
