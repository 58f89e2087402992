#include "BinderBenchmarks.h"

#include "CardGenerator.h"
#include "Measure.h"

#include "app/binder/BinderWindow.h"
#include "app/MainWindow.h"
#include "collection/CardTableModel.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// Counts the paintings of the binder's tiles, wherever its window is.
class PaintWatch : public QObject {
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->parent()
            && watched->parent()->objectName() == QLatin1String("binderView"))
            ++paints;
        return false;
    }
};

// Runs an action until the tiles it changed have been painted, as the user
// waits for them.
template <typename Action>
Duration TimeUntilPainted(PaintWatch& watch, Action&& action)
{
    const Stopwatch stopwatch;
    const int before = watch.paints;
    action();
    QElapsedTimer limit;
    limit.start();
    while (watch.paints == before && limit.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ProcessPostedEvents();
    return stopwatch.Elapsed();
}

QListView* ViewOf(BinderWindow& binder)
{
    return binder.findChild<QListView*>(QStringLiteral("binderView"));
}

// Waits until every tile in sight has its picture or has given up.
bool SettleInSight(QListView& view)
{
    const QRect area = view.viewport()->rect();
    QElapsedTimer limit;
    limit.start();
    while (limit.elapsed() < 60'000) {
        bool settled = true;
        for (int y = area.top() + 4; settled && y < area.bottom(); y += 16) {
            for (int x = area.left() + 4; settled && x < area.right(); x += 16) {
                const QModelIndex tile = view.indexAt(QPoint(x, y));
                settled = !tile.isValid()
                          || tile.data(BinderModel::PictureStateRole).toInt() != int(PictureLoader::State::Loading);
            }
        }
        if (settled)
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return false;
}

class BinderBench {
public:
    BinderBench(std::uint64_t cards, MainWindow& window)
        : cards_(cards)
        , window_(window)
    {
    }

    bool Run();

private:
    void OverTheCollection();
    void Pictures();
    bool Check(bool condition, const char* what);

    std::uint64_t cards_;
    MainWindow& window_;
    PaintWatch watch_;
    bool sound_ = true;
};

bool BinderBench::Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%llu cards, binder: %s\n", static_cast<unsigned long long>(cards_), what);
        sound_ = false;
    }
    return condition;
}

void BinderBench::OverTheCollection()
{
    Report(cards_, "binder_open", TimeUntilPainted(watch_, [&] { window_.findChild<QAction*>(QStringLiteral("binderAction"))->trigger(); }));
    auto* binder = window_.findChild<BinderWindow*>();
    if (!Check(binder != nullptr && binder->Tiles().rowCount() == std::min<int>(int(cards_), 9), "first page"))
        return;
    std::vector<Duration> turns;
    for (int turn = 0; turn < 15; ++turn)
        turns.push_back(TimeUntilPainted(watch_, [&] { binder->TurnPage(turn % 5 == 4 ? -3 : 1); }));
    Report(cards_, "binder_page_turn", Median(turns));

    binder->resize(1000, 700);
    Report(cards_, "binder_grid", TimeUntilPainted(watch_, [&] { binder->SetPaged(false); }));
    Check(binder->Tiles().rowCount() == int(cards_), "one grid of every Card");
    QScrollBar* bar = ViewOf(*binder)->verticalScrollBar();
    std::vector<Duration> scrolls;
    for (int jump = 1; jump <= 15; ++jump)
        scrolls.push_back(TimeUntilPainted(watch_, [&] { bar->setValue(int(qint64(bar->maximum()) * jump / 16)); }));
    Report(cards_, "binder_scroll", Median(scrolls));
    Report(cards_, "binder_resize_tiles",
           TimeUntilPainted(watch_, [&] { binder->SetPictureHeight(BinderWindow::kSmallestPicture); }));

    // Add and Delete as the user would, with the grid following the table.
    std::vector<Duration> adds;
    for (int repetition = 0; repetition < 5; ++repetition) {
        window_.ClearEntryFields();
        adds.push_back(TimeUntilPainted(watch_, [&] {
            window_.findChild<QWidget*>(QStringLiteral("nameEdit"))->setProperty("text", QStringLiteral("Binder Card"));
            window_.OnAdd();
        }));
        window_.SelectRow(0);
        window_.OnDelete();
    }
    Report(cards_, "binder_add", Median(adds));
    Check(window_.CardTable().rowCount() == int(cards_), "Add and Delete with the binder open");
    Report(cards_, "binder_close", TimeWithEvents([&] {
        binder->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }));
}

// Local pictures, each its own file so that each is decoded once: more
// thumbnails than memory keeps.
void BinderBench::Pictures()
{
    constexpr int kPictures = 1500;
    QImage face(400, 560, QImage::Format_RGB32);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            face.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    face.save(&buffer, "JPEG", 90);
    QDir().mkpath(QStringLiteral("pictures"));
    CardTableModel::RowBlock cards;
    for (int picture = 0; picture < kPictures; ++picture) {
        const QString name = QStringLiteral("pictures/%1.jpg").arg(picture);
        QFile file(name);
        if (!Check(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size(), "writing the pictures"))
            return;
        Card card = GeneratedCard(std::uint64_t(picture));
        card[UrlField] = name.toStdString();
        cards.Append(card);
    }
    CardTableModel table;
    table.PutRows(0, std::move(cards));
    const PictureOptions options{QDir::current().filePath(QStringLiteral("picture-cache")), QDir::currentPath(), 20000};
    QDir(options.cacheFolder).removeRecursively();

    for (const bool cached : {false, true}) {
        BinderWindow binder(table, options);
        binder.SetPaged(false);
        binder.resize(1000, 700);
        binder.show();
        QListView& view = *ViewOf(binder);
        QScrollBar* bar = view.verticalScrollBar();
        ProcessPostedEvents();
        std::vector<Duration> fills;
        qint64 held = 0;
        int screens = 0;
        const Stopwatch all;
        do {
            fills.push_back(TimeWithEvents([&] { Check(SettleInSight(view), "pictures settle"); }));
            held = std::max(held, binder.Pictures().MemoryBytes());
            ++screens;
            bar->setValue(bar->value() + bar->pageStep());
            ProcessPostedEvents();
        } while (bar->value() < bar->maximum() || screens < 2);
        fills.push_back(TimeWithEvents([&] { Check(SettleInSight(view), "pictures settle"); }));
        const Duration through = all.Elapsed();
        const std::string kind = cached ? "binder_pictures_cached" : "binder_pictures_cold";
        Report(cards_, kind + "_screen", Median(fills));
        Report(cards_, kind + "_per_s", double(kPictures) / through.wall);
        if (!cached) {
            Report(cards_, "binder_thumbnail_memory_bytes", double(held));
            Report(cards_, "binder_pictures", double(kPictures));
        }
        Check(view.model()->index(kPictures - 1, 0).data(BinderModel::PictureStateRole).toInt()
                  == int(PictureLoader::State::Ready),
              "the last picture");
    }
    QDir(options.cacheFolder).removeRecursively();
    QDir(QStringLiteral("pictures")).removeRecursively();
}

bool BinderBench::Run()
{
    // The web pictures of the generated collection are fetched, and fail,
    // without touching the user's own cache.
    qputenv("XDG_CACHE_HOME", QDir::current().filePath(QStringLiteral("cache")).toLocal8Bit());
    OverTheCollection();
    Report(cards_, "rss_binder_bytes", double(PeakResidentBytes()));
    ResetPeakResident();
    if (cards_ == 100'000) {
        Pictures();
        Report(cards_, "rss_binder_pictures_bytes", double(PeakResidentBytes()));
        ResetPeakResident();
    }
    return sound_;
}

} // namespace

bool RunBinderBenchmarks(std::uint64_t cards, MainWindow& window)
{
    return BinderBench(cards, window).Run();
}
