#include "BaselineBenchmarks.h"

#include "LiteralSteps.h"
#include "Measure.h"
#include "QuietMessages.h"

#include "app/MainWindow.h"
#include "collection/CardTableModel.h"
#include "collection/file/CollectionFile.h"
#include "collection/ColumnSort.h"

#include <QDir>
#include <QFile>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

std::vector<Card> ReadCards(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray raw = file.readAll();
    return ParseCollection(std::string_view(raw.constData(), std::size_t(raw.size())));
}

bool SameRows(const CardTableModel& a, const CardTableModel& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (int row = 0; row < a.rowCount(); ++row) {
        if (a.RowCard(row) != b.RowCard(row))
            return false;
    }
    return true;
}

// Puts the Cards into an empty table, rows[0] at the top.
void PutCards(CardTableModel& table, const std::vector<Card>& rows)
{
    CardTableModel::RowBlock block;
    block.Reserve(rows.size());
    for (const Card& card : rows)
        block.Append(card);
    table.PutRows(0, std::move(block));
}

bool SameBytes(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    return first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly) && first.readAll() == second.readAll();
}

// A table shown in its own view, as the window's table is.
struct ShownTable {
    CardTableModel model;
    QTableView view;

    explicit ShownTable(const std::vector<Card>& rows)
    {
        PutCards(model, rows);
        view.setModel(&model);
        view.resize(900, 500);
        view.show();
        ProcessPostedEvents();
    }
};

bool SortBaseline(std::uint64_t cards)
{
    const std::vector<Card> rows = ReadCards(QStringLiteral("qmk.dat"));
    CardTableModel ours;
    PutCards(ours, rows);
    SortRowsByColumn(ours, NameField);
    ShownTable literal(rows);
    Report(cards, "literal_sort", TimeWithEvents([&] { AdjacentExchangeSort(literal.model, NameField); }));
    const bool same = SameRows(ours, literal.model);
    Report(cards, "literal_sort_same", same ? 1 : 0);
    return same;
}

bool LoadBaseline(std::uint64_t cards)
{
    const QString folder = QDir::current().absoluteFilePath(QStringLiteral("literal-load"));
    QDir().mkpath(folder);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    QFile::remove(QStringLiteral("qmk.dat"));
    QuietMessages messages;
    MainWindow window(messages);
    window.show();
    ProcessPostedEvents();
    std::vector<Card> fileOrder;
    CardTableModel table;
    const Duration seconds = TimeWithEvents([&] {
        fileOrder = ReadCards(QDir(previous).filePath(QStringLiteral("qmk.dat")));
        LoadCardByCard(window, table, fileOrder);
    });
    Report(cards, "literal_load", seconds);
    bool same = table.rowCount() == int(fileOrder.size());
    for (int row = 0; same && row < int(fileOrder.size()); ++row)
        same = table.RowCard(row) == fileOrder[fileOrder.size() - 1 - std::size_t(row)];
    Report(cards, "literal_load_same", same ? 1 : 0);
    QDir::setCurrent(previous);
    return same;
}

bool CatalogueBaseline(std::uint64_t cards)
{
    QuietMessages messages;
    MainWindow window(messages);
    window.show();
    ProcessPostedEvents();
    window.OnCatalogue();
    const QString literalPage = QStringLiteral("catalogue-literal.htm");
    bool same = false;
    Report(cards, "literal_catalogue", TimeWithEvents([&] { same = CatalogueRowByRow(window, messages, literalPage); }));
    same = same && SameBytes(QStringLiteral("catalogue.htm"), literalPage);
    Report(cards, "literal_catalogue_same", same ? 1 : 0);
    QFile::remove(literalPage);
    return same;
}

} // namespace

bool RunIoFloor(std::uint64_t cards)
{
    std::FILE* in = std::fopen("qmk.dat", "rb");
    if (in == nullptr)
        return false;
    std::fseek(in, 0, SEEK_END);
    std::vector<char> bytes(std::size_t(std::ftell(in)));
    std::fseek(in, 0, SEEK_SET);
    std::fclose(in);

    std::vector<Duration> reads, writes, syncedWrites;
    for (int repetition = 0; repetition < 3; ++repetition) {
        const Stopwatch read;
        in = std::fopen("qmk.dat", "rb");
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
        std::fclose(in);
        reads.push_back(read.Elapsed());
        if (got != bytes.size())
            return false;
        for (const bool sync : {false, true}) {
            const Stopwatch write;
            std::FILE* out = std::fopen("floor.dat", "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fflush(out);
            if (sync)
                fsync(fileno(out));
            std::fclose(out);
            (sync ? syncedWrites : writes).push_back(write.Elapsed());
        }
    }
    std::remove("floor.dat");
    Report(cards, "floor_read", Median(reads));
    Report(cards, "floor_write", Median(writes));
    Report(cards, "floor_write_sync", Median(syncedWrites));
    return true;
}

bool RunLiteralBaselines(std::uint64_t cards, const std::vector<std::string>& steps)
{
    bool sound = true;
    for (const std::string& step : steps) {
        if (step == "sort")
            sound = SortBaseline(cards) && sound;
        else if (step == "load")
            sound = LoadBaseline(cards) && sound;
        else if (step == "catalogue")
            sound = CatalogueBaseline(cards) && sound;
        else
            sound = false;
    }
    return sound;
}
