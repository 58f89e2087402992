#include "HistoryBenchmarks.h"

#include "CardGenerator.h"
#include "Measure.h"
#include "QuietMessages.h"

#include "app/history/CollectionHistory.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <array>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char*, kCardFieldCount> kFieldNames = {
    "nameEdit", "seriesBox", "conditionBox", "yearEdit", "priceEdit", "quantityEdit", "urlEdit", "descriptionEdit",
};

// Every 997th row and the last: enough to see a table come back in order,
// without reading all of a large one.
std::vector<Card> Sample(const CardTableModel& table)
{
    std::vector<Card> rows;
    for (int row = 0; row < table.rowCount(); row += 997)
        rows.push_back(table.RowCard(row));
    rows.push_back(table.RowCard(table.rowCount() - 1));
    rows.push_back(Card{{std::to_string(table.rowCount())}});
    return rows;
}

class HistoryBench {
public:
    explicit HistoryBench(std::uint64_t cards)
        : cards_(cards)
        , repetitions_(cards >= 1'000'000 ? 7 : 15)
    {
    }

    bool Run();

private:
    void UndoRedoOfCommands();
    void UndoRedoOfHeaderClicks();
    void MixedSteps();
    void HeaderClicksAlone();

    void Type(const Card& card) const;
    void MarkRow(int row) const;
    Duration Undo() { return TimeWithEvents([&] { window_->OnUndo(); }); }
    Duration Redo() { return TimeWithEvents([&] { window_->OnRedo(); }); }
    int Rows() const { return window_->CardTable().rowCount(); }
    bool Check(bool condition, const char* what);

    std::uint64_t cards_;
    int repetitions_;
    QuietMessages messages_;
    std::unique_ptr<MainWindow> window_;
    QTableView* view_ = nullptr;
    std::vector<Card> loaded_;
    std::mt19937 random_{20261207};
    bool sound_ = true;
};

void HistoryBench::Type(const Card& card) const
{
    for (int field = 0; field < kCardFieldCount; ++field) {
        QWidget* control = window_->findChild<QWidget*>(QString::fromLatin1(kFieldNames[std::size_t(field)]));
        auto* combo = qobject_cast<QComboBox*>(control);
        QLineEdit* edit = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(control);
        edit->setText(QString::fromStdString(card[field]));
    }
}

void HistoryBench::MarkRow(int row) const
{
    view_->selectionModel()->setCurrentIndex(view_->model()->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ProcessPostedEvents();
}

bool HistoryBench::Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%llu cards: %s\n", static_cast<unsigned long long>(cards_), what);
        sound_ = false;
    }
    return condition;
}

void HistoryBench::UndoRedoOfCommands()
{
    std::vector<Duration> undoAdds, redoAdds, undoUpdates, redoUpdates, undoDeletes, redoDeletes;
    for (int repetition = 0; repetition < repetitions_; ++repetition) {
        const int before = Rows();
        Card added = GeneratedCard(cards_ + std::uint64_t(repetition));
        added[NameField] = "Benchmark Card " + std::to_string(repetition);
        Type(added);
        window_->OnAdd();
        undoAdds.push_back(Undo());
        Check(Rows() == before && window_->HeldCard() == added, "undo of Add");
        redoAdds.push_back(Redo());
        Check(Rows() == before + 1 && window_->CardTable().RowCard(0) == added, "redo of Add");

        const int middle = Rows() / 2 + repetition;
        const Card original = window_->CardTable().RowCard(middle);
        Card updated = original;
        updated[DescriptionField] += " (updated)";
        // As a collector changes a Card: its row read into the fields first,
        // so that Update rewrites it without asking.
        MarkRow(middle);
        window_->OnCardTableClick();
        Type(updated);
        window_->OnUpdate();
        undoUpdates.push_back(Undo());
        Check(window_->CardTable().RowCard(middle) == original, "undo of Update");
        redoUpdates.push_back(Redo());
        Check(window_->CardTable().RowCard(middle) == updated, "redo of Update");

        MarkRow(0);
        window_->OnDelete();
        undoDeletes.push_back(Undo());
        Check(Rows() == before + 1 && window_->CardTable().RowCard(0) == added, "undo of Delete");
        redoDeletes.push_back(Redo());
        Check(Rows() == before, "redo of Delete");
    }
    Report(cards_, "undo_add", Median(undoAdds));
    Report(cards_, "redo_add", Median(redoAdds));
    Report(cards_, "undo_update", Median(undoUpdates));
    Report(cards_, "redo_update", Median(redoUpdates));
    Report(cards_, "undo_delete", Median(undoDeletes));
    Report(cards_, "redo_delete", Median(redoDeletes));
    Report(cards_, "undo_redo_max", Longest(undoAdds, redoAdds, undoUpdates, redoUpdates, undoDeletes, redoDeletes));
}

// A click on an unsorted column keeps a permutation; a second click on it
// reverses, which keeps nothing.
void HistoryBench::UndoRedoOfHeaderClicks()
{
    std::vector<int> columns = {NameField, SeriesField, PriceField, UrlField, DescriptionField,
                                YearField, ConditionField, QuantityField};
    if (cards_ >= 1'000'000)
        columns.resize(4);
    std::vector<Duration> undoSorts, redoSorts, undoReversals, redoReversals;
    for (const int column : columns) {
        const std::vector<Card> unsorted = Sample(window_->CardTable());
        window_->OnColumnClick(column);
        const std::vector<Card> sorted = Sample(window_->CardTable());
        undoSorts.push_back(Undo());
        Check(Sample(window_->CardTable()) == unsorted, "undo of a sort");
        redoSorts.push_back(Redo());
        Check(Sample(window_->CardTable()) == sorted, "redo of a sort");
        window_->OnColumnClick(column);
        undoReversals.push_back(Undo());
        Check(Sample(window_->CardTable()) == sorted, "undo of a reversal");
        redoReversals.push_back(Redo());
    }
    Report(cards_, "undo_header_click_unsorted", Median(undoSorts));
    Report(cards_, "redo_header_click_unsorted", Median(redoSorts));
    Report(cards_, "undo_header_click_sorted", Median(undoReversals));
    Report(cards_, "redo_header_click_sorted", Median(redoReversals));
}

// A collector's session: for every twenty steps, eight Adds, six Updates,
// five Deletes and one header click on another column than the last. Then
// every step is undone, those timed before too, back to the loaded table.
void HistoryBench::MixedSteps()
{
    const std::size_t historyBefore = window_->History().Bytes();
    ResetPeakResident();
    const std::uint64_t residentBefore = PeakResidentBytes();
    int steps = 0;
    for (int step = 0; step < 1000; ++step) {
        const int kind = step % 20;
        if (kind < 8) {
            Card added = GeneratedCard(std::uint64_t(random_()) % (cards_ + 1));
            added[NameField] += " #" + std::to_string(step);
            Type(added);
            window_->OnAdd();
        } else if (kind < 14) {
            const int row = int(random_() % std::uint32_t(Rows()));
            MarkRow(row);
            window_->OnCardTableClick();
            Card updated = window_->HeldCard();
            updated[PriceField] = std::to_string(step) + ".00";
            Type(updated);
            window_->OnUpdate();
        } else if (kind < 19) {
            MarkRow(int(random_() % std::uint32_t(Rows())));
            window_->OnDelete();
        } else {
            window_->OnColumnClick((step / 20) % 3 == 0 ? NameField : (step / 20) % 3 == 1 ? SeriesField : PriceField);
        }
        ++steps;
    }
    ProcessPostedEvents();
    Report(cards_, "history_mix_steps", steps);
    Report(cards_, "history_mix_bytes", double(window_->History().Bytes() - historyBefore));
    Report(cards_, "rss_history_mix_bytes", double(PeakResidentBytes() - residentBefore));
    int undone = 0;
    const Duration undoAll = TimeWithEvents([&] {
        const auto* undo = window_->findChild<QAction*>(QStringLiteral("undoAction"));
        for (; undo->isEnabled(); ++undone)
            window_->OnUndo();
    });
    Report(cards_, "history_mix_undo_all", undoAll);
    Report(cards_, "history_mix_undoable", undone);
    // Beyond 100,000 Cards the sorts' permutations overflow the budget, and
    // the oldest steps are forgotten.
    if (cards_ <= 100'000)
        Check(undone >= steps && Sample(window_->CardTable()) == loaded_, "undoing everything gave another table");
}

// Header clicks only, each a sort on another column than the last: 1,000 of
// them up to 100,000 Cards, 100 beyond, which overflow the budget as well.
// The session's steps were all undone, so the first click drops them and
// the history then holds the clicks alone.
void HistoryBench::HeaderClicksAlone()
{
    const int clicks = cards_ > 100'000 ? 100 : 1000;
    for (int click = 0; click < clicks; ++click)
        window_->OnColumnClick(click % 2 == 0 ? NameField : DescriptionField);
    ProcessPostedEvents();
    Report(cards_, "history_sorts_clicks", clicks);
    Report(cards_, "history_sorts_bytes", double(window_->History().Bytes()));
    int undoable = 0;
    const auto* undo = window_->findChild<QAction*>(QStringLiteral("undoAction"));
    for (; undo->isEnabled(); ++undoable)
        window_->OnUndo();
    Report(cards_, "history_sorts_undoable", undoable);
}

bool HistoryBench::Run()
{
    window_ = std::make_unique<MainWindow>(messages_);
    window_->show();
    ProcessPostedEvents();
    view_ = window_->findChild<QTableView*>(QStringLiteral("cardTable"));
    Check(std::uint64_t(Rows()) == cards_, "the load did not give every Card a row");
    loaded_ = Sample(window_->CardTable());
    UndoRedoOfCommands();
    UndoRedoOfHeaderClicks();
    MixedSteps();
    HeaderClicksAlone();
    Check(messages_.errors == 0 && messages_.questions == 0, "a box was shown");
    return sound_;
}

} // namespace

bool RunHistoryBenchmarks(std::uint64_t cards)
{
    return HistoryBench(cards).Run();
}
