#include "StartupSteps.h"

#include "Measure.h"
#include "QuietMessages.h"

#include "app/table/ColumnFit.h"
#include "app/MainWindow.h"
#include "base/FileAccess.h"
#include "base/LineSyntax.h"
#include "base/Shares.h"
#include "collection/file/CollectionRows.h"

#include <QDir>
#include <QTableView>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <numeric>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// The lines of the text split into keys and values as the load splits
// them, in as many shares, begun at line starts, as the load has cores.
std::size_t SplitLines(std::string_view text)
{
    const int count = ShareCount(int(std::min<std::size_t>(text.size(), INT32_MAX)), 1 << 20);
    std::vector<std::size_t> starts = {0};
    for (int i = 1; i < count; ++i) {
        const std::size_t lf = text.find('\n', text.size() / std::size_t(count) * std::size_t(i));
        starts.push_back(lf == std::string_view::npos ? text.size() : std::max(lf + 1, starts.back()));
    }
    starts.push_back(text.size());
    std::vector<std::size_t> keys(static_cast<std::size_t>(count));
    RunShares(keys.size(), [&](std::size_t i) {
        ForEachKeyValue(text.substr(starts[i], starts[i + 1] - starts[i]),
                        [&](std::string_view key, std::string_view value) { keys[i] += key.size() + value.size(); });
    });
    return std::accumulate(keys.begin(), keys.end(), std::size_t(0));
}

// Floors, each on one core: finding every line feed; copying every byte
// once, into memory already in place; one table look-up for each byte of
// every cell.
std::size_t FindLineFeeds(std::string_view text)
{
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

std::int64_t LookUpEveryByte(const CardTableModel& table)
{
    std::array<std::int64_t, 256> advances{};
    std::iota(advances.begin(), advances.end(), 1);
    std::int64_t units = 0;
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < kCardFieldCount; ++column) {
            for (const char byte : table.Cell(row, column))
                units += advances[static_cast<unsigned char>(byte)];
        }
    }
    return units;
}

} // namespace

// The median of a few runs of the action, each after its preparation.
template <typename Prepare, typename Action>
Duration Repeated(std::uint64_t cards, Prepare prepare, Action action)
{
    std::vector<Duration> runs;
    for (int run = 0; run < (cards >= 1'000'000 ? 3 : 7); ++run) {
        prepare();
        runs.push_back(TimeWithEvents(action));
    }
    return Median(runs);
}

bool RunStartupSteps(std::uint64_t cards)
{
    const auto none = [] {};
    QByteArray raw;
    Report(cards, "step_read", Repeated(cards, [&] { raw = QByteArray(); }, [&] {
        ReadFileCreatingIfMissing(QStringLiteral("qmk.dat"), raw);
    }));
    std::size_t split = 0;
    Report(cards, "step_split", Repeated(cards, none, [&] { split = SplitLines(View(raw)); }));
    CollectionRows rows;
    Report(cards, "step_split_pack", Repeated(cards, [&] { rows = CollectionRows(); }, [&] {
        rows = ReadCollectionRows(View(raw));
    }));

    std::size_t lines = 0;
    Report(cards, "floor_split", Repeated(cards, none, [&] { lines = FindLineFeeds(View(raw)); }));
    QByteArray copy(raw.size(), '\0');
    Report(cards, "floor_pack", Repeated(cards, none, [&] {
        std::memcpy(copy.data(), raw.constData(), std::size_t(raw.size()));
    }));
    copy.clear();
    raw.clear();

    CardTableModel table;
    table.SetRowsBottomFirst(std::move(rows.rows));
    std::int64_t units = 0;
    Report(cards, "floor_measure", Repeated(cards, none, [&] { units = LookUpEveryByte(table); }));

    // Windows with no Cards, in a folder of their own, for the first paint's
    // floor and for the font the card table measures in.
    const QString previous = QDir::currentPath();
    QDir().mkpath(QStringLiteral("empty"));
    QDir::setCurrent(QStringLiteral("empty"));
    QuietMessages messages;
    std::unique_ptr<MainWindow> window;
    Report(cards, "floor_first_show", Repeated(cards, [&] {
        window.reset();
        window = std::make_unique<MainWindow>(messages);
    }, [&] { window->show(); }));
    QDir::setCurrent(previous);
    const QFont font = window->findChild<QTableView*>(QStringLiteral("cardTable"))->font();
    std::unique_ptr<ColumnFit> fit;
    Report(cards, "step_measure", Repeated(cards, [&] { fit = std::make_unique<ColumnFit>(font); }, [&] {
        fit->AddRows(table, 0, table.rowCount() - 1);
    }));

    // The results are used, so that no step is left out as unused.
    return split > 0 && lines > 0 && units > 0 && std::uint64_t(table.rowCount()) == cards
        && fit->WidestText(NameField) > 0 && messages.errors == 0;
}
