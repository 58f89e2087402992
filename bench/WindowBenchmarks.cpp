#include "WindowBenchmarks.h"

#include "BinderBenchmarks.h"
#include "CardGenerator.h"
#include "Measure.h"
#include "QuietMessages.h"

#include "app/csv/CsvImportDialog.h"
#include "app/MainWindow.h"
#include "app/statistics/StatisticsWindow.h"
#include "collection/totals/CollectionTotals.h"
#include "collection/filter/FilteredCardTable.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <sys/stat.h>

namespace {

constexpr std::array<const char*, kCardFieldCount> kFieldNames = {
    "nameEdit", "seriesBox", "conditionBox", "yearEdit", "priceEdit", "quantityEdit", "urlEdit", "descriptionEdit",
};

// Tells when a widget has painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Runs one of the window's commands as its menu entry does.
void Trigger(MainWindow& window, const char* actionName)
{
    window.findChild<QAction*>(QString::fromLatin1(actionName))->trigger();
}

// Which file is at the path: a safe write puts a new one there.
ino_t FileAt(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QByteArray BytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WindowBench {
public:
    explicit WindowBench(std::uint64_t cards)
        : cards_(cards)
        , repetitions_(cards >= 1'000'000 ? 7 : 15)
    {
    }

    bool Run();

private:
    void StartUp();
    void EntryCommands();
    void HeaderClicks();
    void Statistics();
    void Filter();
    void Pages();
    void CsvExport();
    void Close();
    void CloseOnceSaved();
    void SettleAutosave();
    void UpdateTopRowAsItIs();
    void PeakOfPhase(const char* name);

    QLineEdit* Field(int field) const;
    void Type(const Card& card) const;
    void MarkRow(int row) const;
    Duration Keystroke(int key, const QString& text);
    int Rows() const { return window_->CardTable().rowCount(); }
    bool Check(bool condition, const char* what);

    std::uint64_t cards_;
    int repetitions_;
    QuietMessages messages_;
    std::unique_ptr<MainWindow> window_;
    QTableView* view_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    PaintWatch paints_;
    bool filtered_ = false;
    bool relaid_ = false;
    bool peakResets_ = false;
    bool sound_ = true;
};

QLineEdit* WindowBench::Field(int field) const
{
    QWidget* control = window_->findChild<QWidget*>(QString::fromLatin1(kFieldNames[std::size_t(field)]));
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

void WindowBench::Type(const Card& card) const
{
    for (int field = 0; field < kCardFieldCount; ++field)
        Field(field)->setText(QString::fromStdString(card[field]));
}

void WindowBench::MarkRow(int row) const
{
    view_->selectionModel()->setCurrentIndex(view_->model()->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ProcessPostedEvents();
}

bool WindowBench::Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%llu cards: %s\n", static_cast<unsigned long long>(cards_), what);
        sound_ = false;
    }
    return condition;
}

void WindowBench::PeakOfPhase(const char* name)
{
    Report(cards_, name, double(PeakResidentBytes()));
    peakResets_ = ResetPeakResident();
}

void WindowBench::StartUp()
{
    Report(cards_, "file_bytes", double(QFileInfo(QStringLiteral("qmk.dat")).size()));
    Report(cards_, "startup", TimeWithEvents([&] { window_ = std::make_unique<MainWindow>(messages_); }));
    Report(cards_, "first_show", TimeWithEvents([&] { window_->show(); }));
    view_ = window_->findChild<QTableView*>(QStringLiteral("cardTable"));
    Check(std::uint64_t(Rows()) == cards_, "the load did not give every Card a row");
    PeakOfPhase("rss_startup_bytes");
}

void WindowBench::EntryCommands()
{
    std::vector<Duration> clicks, clears, adds, updates, deletes;
    for (int repetition = 0; repetition < repetitions_; ++repetition) {
        const int before = Rows();
        MarkRow(before / 2 + repetition);
        clicks.push_back(TimeWithEvents([&] { window_->OnCardTableClick(); }));
        Check(window_->HeldCard() == window_->CardTable().RowCard(before / 2 + repetition), "row click");
        clears.push_back(TimeWithEvents([&] { window_->ClearEntryFields(); }));

        Card added = GeneratedCard(cards_ + std::uint64_t(repetition));
        added[NameField] = "Benchmark Card " + std::to_string(repetition);
        Type(added);
        adds.push_back(TimeWithEvents([&] { window_->OnAdd(); }));
        Check(Rows() == before + 1 && window_->CardTable().RowCard(0) == added, "Add");

        added[DescriptionField] += " (updated)";
        Type(added);
        MarkRow(0);
        updates.push_back(TimeWithEvents([&] { window_->OnUpdate(); }));
        Check(window_->CardTable().RowCard(0) == added, "Update");

        MarkRow(0);
        deletes.push_back(TimeWithEvents([&] { window_->OnDelete(); }));
        Check(Rows() == before, "Delete");
    }
    Report(cards_, "row_click", Median(clicks));
    Report(cards_, "clear", Median(clears));
    Report(cards_, "add", Median(adds));
    Report(cards_, "update", Median(updates));
    Report(cards_, "delete", Median(deletes));
    Report(cards_, "entry_command_max", Longest(clicks, clears, adds, updates, deletes));
}

void WindowBench::HeaderClicks()
{
    std::vector<int> columns = {NameField, SeriesField, PriceField, UrlField, DescriptionField,
                                YearField, ConditionField, QuantityField};
    if (cards_ >= 1'000'000)
        columns.resize(4);
    std::vector<Duration> unsorted, sorted;
    for (const int column : columns) {
        unsorted.push_back(TimeWithEvents([&] { window_->OnColumnClick(column); }));
        sorted.push_back(TimeWithEvents([&] { window_->OnColumnClick(column); }));
    }
    Report(cards_, "header_click_unsorted", Median(unsorted));
    Report(cards_, "header_click_sorted", Median(sorted));
    Report(cards_, "header_click_max", Longest(unsorted, sorted));
}

// The count alone, and the Statistics window opened on it and shown.
void WindowBench::Statistics()
{
    const int repetitions = cards_ >= 1'000'000 ? 3 : 7;
    std::vector<Duration> counts, opens;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        CollectionTotals totals;
        counts.push_back(TimeWithEvents([&] { totals = TotalsOf(window_->CardTable()); }));
        Check(totals.cards == Rows(), "the statistics did not count every Card");
        opens.push_back(TimeWithEvents([&] { Trigger(*window_, "statisticsAction"); }));
        auto* statistics = window_->findChild<StatisticsWindow*>();
        if (!Check(statistics != nullptr && statistics->Totals().cards == Rows(), "the Statistics window"))
            return;
        statistics->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Report(cards_, "statistics", Median(counts));
    Report(cards_, "statistics_window", Median(opens));
}

// One key pressed in the filter bar, until the table shows the rows it
// leaves: the search runs once the key has been taken in, then the table
// repaints if its rows changed.
Duration WindowBench::Keystroke(int key, const QString& text)
{
    filtered_ = relaid_ = paints_.painted = false;
    const Stopwatch watch;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(filterEdit_, &press);
    QCoreApplication::sendEvent(filterEdit_, &release);
    for (int round = 0; round < 1000 && !(filtered_ && (!relaid_ || paints_.painted)); ++round)
        ProcessPostedEvents();
    const Duration taken = watch.Elapsed();
    Check(filtered_ && (!relaid_ || paints_.painted), "a keystroke did not filter and repaint the table");
    return taken;
}

void WindowBench::Filter()
{
    auto* shown = qobject_cast<FilteredCardTable*>(view_->model());
    filterEdit_ = window_->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    QObject::connect(shown, &FilteredCardTable::CountsChanged, &paints_, [this] { filtered_ = true; });
    QObject::connect(shown, &QAbstractItemModel::layoutChanged, &paints_, [this] { relaid_ = true; });
    view_->viewport()->installEventFilter(&paints_);
    Report(cards_, "filter_open", TimeWithEvents([&] { window_->OnFind(); }));

    // Each text typed into the empty bar a key at a time, then taken back.
    std::vector<Duration> typed, erased;
    for (const QString& text : {QStringLiteral("dragon holo"), QStringLiteral("series:frostvale"),
                                QStringLiteral("\"tr\u00e8s bon\" 20")}) {
        for (const QChar c : text)
            typed.push_back(Keystroke(c.toUpper().unicode(), QString(c)));
        Check(cards_ < 10'000 || (shown->rowCount() > 0 && shown->rowCount() < Rows()), "a filter kept all or none");
        for (qsizetype left = text.size(); left > 0; --left)
            erased.push_back(Keystroke(Qt::Key_Backspace, {}));
        Check(shown->rowCount() == Rows(), "an empty filter hid Cards");
    }
    Report(cards_, "filter_keystroke", Median(typed));
    Report(cards_, "filter_backspace", Median(erased));
    Report(cards_, "filter_keystroke_max", Longest(typed, erased));

    // The commands while the bar filters: an Add it shows, and its Delete.
    for (const QChar c : QStringLiteral("dragon"))
        Keystroke(c.toUpper().unicode(), QString(c));
    const int repetitions = cards_ >= 1'000'000 ? 3 : 7;
    std::vector<Duration> adds, updates, deletes, clicks;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        const int before = Rows();
        Card added = GeneratedCard(cards_ + 1000 + std::uint64_t(repetition));
        added[NameField] = "Benchmark Dragon " + std::to_string(repetition);
        Type(added);
        adds.push_back(TimeWithEvents([&] { window_->OnAdd(); }));
        Check(Rows() == before + 1 && shown->TableRow(0) == 0, "Add while filtered");
        MarkRow(0);
        updates.push_back(TimeWithEvents([&] { window_->OnUpdate(); }));
        MarkRow(0);
        deletes.push_back(TimeWithEvents([&] { window_->OnDelete(); }));
        Check(Rows() == before, "Delete while filtered");
    }
    for (const int column : {NameField, SeriesField, PriceField})
        clicks.push_back(TimeWithEvents([&] { window_->OnColumnClick(column); }));
    Report(cards_, "filter_add", Median(adds));
    Report(cards_, "filter_update", Median(updates));
    Report(cards_, "filter_delete", Median(deletes));
    Report(cards_, "filter_header_click", Median(clicks));
    Report(cards_, "filter_close", TimeWithEvents([&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(filterEdit_, &escape);
    }));
    Check(view_->model()->rowCount() == Rows() && !window_->ShownRows(), "Escape left the filter set");
    view_->viewport()->removeEventFilter(&paints_);
}

void WindowBench::Pages()
{
    const int repetitions = cards_ >= 1'000'000 ? 1 : 3;
    std::vector<Duration> catalogues, lists;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        catalogues.push_back(TimeWithEvents([&] { window_->OnCatalogue(); }));
        lists.push_back(TimeWithEvents([&] { window_->OnList(); }));
    }
    Report(cards_, "catalogue", Median(catalogues));
    Report(cards_, "list", Median(lists));
    Report(cards_, "catalogue_bytes", double(QFileInfo(QStringLiteral("catalogue.htm")).size()));
    Report(cards_, "list_bytes", double(QFileInfo(QStringLiteral("list.htm")).size()));
    Check(messages_.questions == 2 * repetitions, "the pages were not both written");
}

void WindowBench::CsvExport()
{
    const QString path = QFileInfo(QStringLiteral("cards.csv")).absoluteFilePath();
    messages_.path = path;
    const int repetitions = cards_ >= 1'000'000 ? 1 : 3;
    std::vector<Duration> exports;
    for (int repetition = 0; repetition < repetitions; ++repetition)
        exports.push_back(TimeWithEvents([&] { Trigger(*window_, "exportCsvAction"); }));
    Report(cards_, "csv_export", Median(exports));
    Report(cards_, "csv_bytes", double(QFileInfo(path).size()));
    Check(QFileInfo(path).size() > 0, "the export wrote nothing");
}

void WindowBench::SettleAutosave()
{
    while (window_->Autosave().Saving())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A change for the autosave and the close that leaves the file's bytes as
// they were, so that the import run finds the Cards it exported.
void WindowBench::UpdateTopRowAsItIs()
{
    const Card top = window_->CardTable().RowCard(0);
    MarkRow(0);
    window_->OnCardTableClick();
    window_->OnUpdate();
    ProcessPostedEvents();
    Check(window_->CardTable().RowCard(0) == top, "the Update changed the top row");
}

// Right after a change, with no save of the autosave being written: the
// close writes both files itself.
void WindowBench::Close()
{
    SettleAutosave();
    UpdateTopRowAsItIs();
    const ino_t before = FileAt(QStringLiteral("qmk.dat"));
    Report(cards_, "close", TimeWithEvents([&] { window_->OnDestroyWindow(); }));
    Check(FileAt(QStringLiteral("qmk.dat")) != before, "the close left qmk.dat as it was");
    Report(cards_, "teardown", TimeWithEvents([&] { window_.reset(); }));
}

// A second window on the file the first left, closed once the autosave has
// saved its last change: the close writes qmk.ini and finds qmk.dat as saved.
void WindowBench::CloseOnceSaved()
{
    window_ = std::make_unique<MainWindow>(messages_);
    window_->show();
    ProcessPostedEvents();
    view_ = window_->findChild<QTableView*>(QStringLiteral("cardTable"));
    UpdateTopRowAsItIs();
    SettleAutosave();
    const ino_t saved = FileAt(QStringLiteral("qmk.dat"));
    Report(cards_, "close_saved", TimeWithEvents([&] { window_->OnDestroyWindow(); }));
    Check(FileAt(QStringLiteral("qmk.dat")) == saved, "the close wrote qmk.dat again");
    window_.reset();
}

bool WindowBench::Run()
{
    ResetPeakResident();
    StartUp();
    Check(RunBinderBenchmarks(cards_, *window_), "the binder");
    EntryCommands();
    HeaderClicks();
    Statistics();
    PeakOfPhase("rss_commands_bytes");
    Filter();
    PeakOfPhase("rss_filter_bytes");
    Pages();
    PeakOfPhase("rss_pages_bytes");
    CsvExport();
    PeakOfPhase("rss_csv_export_bytes");
    Close();
    PeakOfPhase("rss_close_bytes");
    CloseOnceSaved();
    Report(cards_, "rss_phases_separate", peakResets_ ? 1 : 0);
    Check(messages_.errors == 0, "a box was shown");
    return sound_;
}

} // namespace

bool RunWindowBenchmarks(std::uint64_t cards)
{
    return WindowBench(cards).Run();
}

bool RunCsvImportBenchmark(std::uint64_t cards)
{
    const QString csv = QFileInfo(QStringLiteral("cards.csv")).absoluteFilePath();
    const QByteArray saved = BytesOf(QStringLiteral("qmk.dat"));
    QDir(QStringLiteral("import")).removeRecursively();
    if (!QDir().mkdir(QStringLiteral("import")) || !QDir::setCurrent(QStringLiteral("import")))
        return false;
    QuietMessages messages;
    auto window = std::make_unique<MainWindow>(messages);
    window->show();
    ProcessPostedEvents();
    messages.path = csv;

    const std::uint64_t before = ResidentBytesInUse();
    const bool peakResets = ResetPeakResident();
    Report(cards, "csv_import", TimeWithEvents([&] { Trigger(*window, "importCsvAction"); }));
    const std::uint64_t peak = PeakResidentBytes();
    Report(cards, "csv_import_dialog", messages.dialog);
    Report(cards, "rss_csv_import_bytes", double(peak - std::min(peak, before)));
    const std::uint64_t after = ResidentBytesInUse();
    Report(cards, "rss_csv_table_bytes", double(after - std::min(after, before)));
    Report(cards, "rss_csv_import_separate", peakResets ? 1 : 0);

    bool sound = std::uint64_t(window->CardTable().rowCount()) == cards && messages.errors == 0 && messages.notes == 1;
    window->OnDestroyWindow();
    window.reset();
    if (BytesOf(QStringLiteral("qmk.dat")) != saved) {
        std::fprintf(stderr, "%llu cards: the imported collection is not the exported one\n",
                     static_cast<unsigned long long>(cards));
        sound = false;
    }
    QDir::setCurrent(QStringLiteral(".."));
    QDir(QStringLiteral("import")).removeRecursively();
    return sound;
}
