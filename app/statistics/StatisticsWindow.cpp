#include "app/statistics/StatisticsWindow.h"

#include "app/statistics/ComputedTableModel.h"
#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/TableChanges.h"
#include "collection/totals/Currency.h"
#include "collection/totals/PriceReader.h"
#include "collection/totals/TotalsText.h"
#include "resources/StringTable.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace {

struct BreakdownKind {
    CardField field;
    const char* tab;
    // Names the page's widgets and the chart's file.
    const char* name;
    std::vector<GroupTotals> CollectionTotals::*groups;
};

constexpr BreakdownKind kBreakdowns[StatisticsWindow::kBreakdownCount] = {
    {SeriesField, Text::StatisticsBySeriesTab, "series", &CollectionTotals::bySeries},
    {ConditionField, Text::StatisticsByConditionTab, "condition", &CollectionTotals::byCondition},
    {YearField, Text::StatisticsByYearTab, "year", &CollectionTotals::byYear},
};

// A chart is never lower than this, nor its bars' plot narrower.
constexpr int kLowestChart = 240;
constexpr int kNarrowestPlot = 300;

QString Tr(const char* text)
{
    return QString::fromUtf8(text);
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString Count(std::int64_t count)
{
    return QString::fromStdString(CountText(count));
}

QString Amount(std::string_view currency, Hundredths amount)
{
    return QString::fromStdString(AmountText(currency, amount));
}

QString GroupName(const std::string& value)
{
    return value.empty() ? Tr(Text::StatisticsBlank) : Utf8(value);
}

QString PaidList(const std::vector<CurrencyAmount>& paid)
{
    QStringList amounts;
    for (const CurrencyAmount& each : paid)
        amounts << Amount(each.currency, each.amount);
    return amounts.join(QStringLiteral(", "));
}

// A step between the chart's grid lines of 1, 2 or 5 times a power of ten,
// so that the grid lines fall on whole numbers of Cards.
double GridStep(double largest)
{
    const double magnitude = std::pow(10.0, std::floor(std::log10(std::max(largest, 1.0) / 5)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (largest / (factor * magnitude) <= 6)
            return std::max(1.0, factor * magnitude);
    }
    return std::max(1.0, 10 * magnitude);
}

// The groups a chart shows, largest first: of the most Cards, then of the
// most copies, then in their own order; only the first kChartBars of them
// when there are more.
std::vector<std::size_t> ChartedGroups(const std::vector<GroupTotals>& groups)
{
    std::vector<std::size_t> charted(groups.size());
    std::iota(charted.begin(), charted.end(), std::size_t(0));
    const auto larger = [&groups](std::size_t a, std::size_t b) {
        return std::tie(groups[b].cards, groups[b].copies, a) < std::tie(groups[a].cards, groups[a].copies, b);
    };
    const std::size_t shown = std::min(charted.size(), std::size_t(StatisticsWindow::kChartBars));
    std::partial_sort(charted.begin(), charted.begin() + std::ptrdiff_t(shown), charted.end(), larger);
    charted.resize(shown);
    return charted;
}

// The size a chart needs to show every label whole: a label as high as a
// line of its font beside each group's pair of bars, and as wide as the
// widest beside a plot of some width; the chart lets its axes take no more
// than two fifths of its width. The rest (title, legend, the value axis,
// margins) is counted in lines.
QSize ChartSize(const QChart& chart, const QStringList& labels)
{
    const QAbstractAxis* categories = chart.axes(Qt::Vertical).value(0);
    const QFontMetrics labelFont(categories != nullptr ? categories->labelsFont() : chart.font());
    const QFontMetrics titleFont(chart.titleFont());
    int widest = 0;
    for (const QString& label : labels)
        widest = std::max(widest, labelFont.horizontalAdvance(label));
    const int line = labelFont.height();
    const int rows = int(labels.size()) * (line + line / 2 + 4);
    const int rest = 2 * titleFont.height() + 7 * line + 60;
    const int axis = widest + 2 * line;
    return QSize(std::max(axis + kNarrowestPlot, axis * 5 / 2) + 4 * line, std::max(kLowestChart, rows + rest));
}

QChart* BreakdownChart(const BreakdownKind& kind, const std::vector<GroupTotals>& groups)
{
    const std::vector<std::size_t> charted = ChartedGroups(groups);
    auto* cards = new QBarSet(Tr(Text::StatisticsCardsColumn));
    auto* copies = new QBarSet(Tr(Text::StatisticsCopiesColumn));
    QStringList labels;
    QSet<QString> used;
    double largest = 0;
    // Horizontal bars are laid out from the bottom up: the largest group,
    // the first, goes last, on top.
    for (auto at = charted.rbegin(); at != charted.rend(); ++at) {
        const GroupTotals& group = groups[*at];
        *cards << double(group.cards);
        *copies << double(group.copies);
        largest = std::max({largest, double(group.cards), double(group.copies)});
        // Whole, on one line; the axis shows its labels as rich text.
        QString label = GroupName(group.value).toHtmlEscaped();
        for (QChar& character : label) {
            if (character.category() == QChar::Other_Control)
                character = QLatin1Char(' ');
        }
        // An axis keeps one bar per distinct label; texts that differ only in
        // bytes that do not decode stay apart this way.
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        labels << label;
    }

    auto* series = new QHorizontalBarSeries;
    series->append(cards);
    series->append(copies);
    auto* chart = new QChart;
    chart->addSeries(series);
    const QString heading = Utf8(kCardHeadings[std::size_t(kind.field)]);
    chart->setTitle(charted.size() < groups.size()
                        ? Tr(Text::StatisticsChartLargest).arg(heading).arg(charted.size()).arg(Count(std::int64_t(groups.size())))
                        : Tr(Text::StatisticsChartTitle).arg(heading));
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    chart->addAxis(categories, Qt::AlignLeft);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    const double step = GridStep(largest);
    values->setRange(0, std::max(step, std::ceil(largest / step) * step));
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(step);
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QTableView* ListView(ComputedTableModel* model, const char* objectName)
{
    auto* view = new QTableView;
    view->setObjectName(QString::fromLatin1(objectName));
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    return view;
}

// A cell of the gains' list: its text, and the number it sorts by.
QStandardItem* SortedItem(const QString& text, const QVariant& sortValue, bool number)
{
    auto* item = new QStandardItem(text);
    item->setData(sortValue, Qt::UserRole);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Columns fit the first rows' texts: a list may hold a million.
void FitColumns(QWidget* page)
{
    for (QTableView* view : page->findChildren<QTableView*>())
        view->resizeColumnsToContents();
}

} // namespace

StatisticsWindow::StatisticsWindow(const CardTableModel& table, MessageInterface& messages,
                                   std::optional<std::vector<int>> shownRows, QWidget* parent)
    : QDialog(parent, Qt::Window)
    , table_(table)
    , messages_(messages)
    , shownRows_(std::move(shownRows))
{
    setObjectName(QStringLiteral("statisticsWindow"));
    setWindowTitle(Tr(Text::StatisticsCaption));

    auto* layout = new QVBoxLayout(this);
    filterNote_ = new QLabel;
    filterNote_->setObjectName(QStringLiteral("filterNote"));
    layout->addWidget(filterNote_);
    layout->addWidget(BuildSummary());

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("statisticsTabs"));
    const QStringList cardColumns{Tr(Text::StatisticsRowColumn), Tr(Text::StatisticsPriceColumn),
                                  Tr(Text::StatisticsNameColumn)};
    mostCostlyModel_ = new ComputedTableModel(cardColumns, {0, 1}, this);
    tabs_->addTab(BuildCardList(mostCostlyModel_, "mostCostlyTable"), Tr(Text::StatisticsMostCostlyTab));
    for (int breakdown = 0; breakdown < kBreakdownCount; ++breakdown)
        tabs_->addTab(BuildBreakdown(Breakdown(breakdown)), Tr(kBreakdowns[breakdown].tab));
    const QStringList valueColumns{Tr(Text::StatisticsRowColumn), Tr(Text::StatisticsNameColumn),
                                   Tr(Text::StatisticsFieldColumn), Tr(Text::StatisticsValueColumn)};
    unreadableModel_ = new ComputedTableModel(valueColumns, {0}, this);
    tabs_->addTab(BuildCardList(unreadableModel_, "unreadableTable"), Tr(Text::StatisticsUnreadableTab));
    tabs_->addTab(BuildGains(), Tr(Text::StatisticsGainsTab));
    layout->addWidget(tabs_, 1);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Tr(Text::StatisticsClose), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(780, 640);

    // A command may change the table several times: it is counted once, when
    // the command is done.
    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(0);
    connect(&refreshTimer_, &QTimer::timeout, this, &StatisticsWindow::Refresh);
    OnTableChanges(table_, *this, [this] { ScheduleRefresh(); });
    Refresh();
}

StatisticsWindow::~StatisticsWindow() = default;

QWidget* StatisticsWindow::BuildSummary()
{
    auto* summary = new QWidget;
    auto* form = new QFormLayout(summary);
    form->setContentsMargins(0, 0, 0, 0);
    const auto value = [form](const char* label, const char* objectName) {
        auto* shown = new QLabel;
        shown->setObjectName(QString::fromLatin1(objectName));
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(Tr(label), shown);
        return shown;
    };
    cardsValue_ = value(Text::StatisticsCards, "cardsValue");
    copiesValue_ = value(Text::StatisticsCopies, "copiesValue");
    paidValue_ = value(Text::StatisticsPaid, "paidValue");
    unpricedValue_ = value(Text::StatisticsUnpriced, "unpricedValue");
    unreadableValue_ = value(Text::StatisticsUnreadable, "unreadableValue");
    valueValue_ = value(Text::StatisticsValue, "valueValue");
    notValuedValue_ = value(Text::StatisticsNotValued, "notValuedValue");
    gainValue_ = value(Text::StatisticsGain, "gainValue");
    summary_ = form;
    return summary;
}

QWidget* StatisticsWindow::BuildCardList(ComputedTableModel* model, const char* objectName)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QTableView* view = ListView(model, objectName);
    layout->addWidget(view);
    layout->addWidget(new QLabel(Tr(Text::StatisticsRowHint)));
    connect(view, &QAbstractItemView::clicked, this, [this, model](const QModelIndex& index) {
        const std::size_t at = std::size_t(index.row());
        if (model == mostCostlyModel_ && at < mostCostly_.size())
            emit CardChosen(mostCostly_[at].second.row);
        else if (model == unreadableModel_ && at < totals_.unreadable.size())
            emit CardChosen(totals_.unreadable[at].row);
    });
    return page;
}

QWidget* StatisticsWindow::BuildBreakdown(Breakdown breakdown)
{
    const BreakdownKind& kind = kBreakdowns[breakdown];
    const QString name = QString::fromLatin1(kind.name);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* splitter = new QSplitter(Qt::Vertical);
    groupModels_[breakdown] = new ComputedTableModel(
        {Utf8(kCardHeadings[std::size_t(kind.field)]), Tr(Text::StatisticsCardsColumn), Tr(Text::StatisticsCopiesColumn),
         Tr(Text::StatisticsPaidColumn)},
        {1, 2}, this);
    splitter->addWidget(ListView(groupModels_[breakdown], qPrintable(name + QStringLiteral("Table"))));
    charts_[breakdown] = new QChartView;
    charts_[breakdown]->setObjectName(name + QStringLiteral("Chart"));
    charts_[breakdown]->setRenderHint(QPainter::Antialiasing);
    // The chart keeps the size its labels need, scrolled where the page is
    // smaller; it fills a larger page.
    auto* chartArea = new QScrollArea;
    chartArea->setObjectName(name + QStringLiteral("ChartArea"));
    chartArea->setWidgetResizable(true);
    chartArea->setFrameShape(QFrame::NoFrame);
    chartArea->setWidget(charts_[breakdown]);
    splitter->addWidget(chartArea);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    auto* save = new QPushButton(Tr(Text::StatisticsSaveChart));
    save->setObjectName(name + QStringLiteral("SaveButton"));
    connect(save, &QPushButton::clicked, this, [this, breakdown] { OnSaveChart(breakdown); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    layout->addLayout(buttons);
    breakdownPages_[breakdown] = page;
    return page;
}

QWidget* StatisticsWindow::BuildGains()
{
    gainsModel_ = new QStandardItemModel(this);
    gainsModel_->setSortRole(Qt::UserRole);
    gainsModel_->setHorizontalHeaderLabels({Tr(Text::StatisticsRowColumn), Tr(Text::StatisticsNameColumn),
                                            Tr(Text::StatisticsPriceColumn), Tr(Text::StatisticsMarketColumn),
                                            Tr(Text::StatisticsGainColumn)});
    gainsPage_ = new QWidget;
    auto* layout = new QVBoxLayout(gainsPage_);
    auto* view = new QTableView;
    view->setObjectName(QStringLiteral("gainsTable"));
    view->setModel(gainsModel_);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setSortingEnabled(true);
    view->sortByColumn(4, Qt::DescendingOrder);
    layout->addWidget(view);
    layout->addWidget(new QLabel(Tr(Text::StatisticsRowHint)));
    // The first column sorts by the Card's row, which is also what a click tells.
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit CardChosen(gainsModel_->index(index.row(), 0).data(Qt::UserRole).toInt());
    });
    return gainsPage_;
}

void StatisticsWindow::SetShownRows(std::optional<std::vector<int>> shownRows)
{
    shownRows_ = std::move(shownRows);
    ScheduleRefresh();
}

void StatisticsWindow::ScheduleRefresh()
{
    refreshTimer_.start();
}

void StatisticsWindow::Refresh()
{
    refreshTimer_.stop();
    totals_ = shownRows_ ? TotalsOf(table_, *shownRows_) : TotalsOf(table_);
    ShowSummary();
    ShowLists();
    for (int breakdown = 0; breakdown < kBreakdownCount; ++breakdown)
        ShowBreakdown(Breakdown(breakdown));
    ShowGains();
}

void StatisticsWindow::ShowSummary()
{
    filterNote_->setVisible(totals_.filtered);
    filterNote_->setText(Tr(Text::StatisticsFiltered).arg(Count(totals_.cards), Count(table_.rowCount())));
    cardsValue_->setText(Count(totals_.cards));
    copiesValue_->setText(Count(totals_.copies));
    QStringList paid;
    for (const CurrencyPaid& each : totals_.paid) {
        const QString amount = Amount(each.currency, each.paid);
        paid << (each.cards == 1 ? Tr(Text::StatisticsCurrencyOneCard).arg(amount)
                                 : Tr(Text::StatisticsCurrencyCards).arg(amount, Count(each.cards)));
    }
    paidValue_->setText(paid.isEmpty() ? QString::fromStdString(TotalPaidText(totals_)) : paid.join(QLatin1Char('\n')));
    unpricedValue_->setText(Count(totals_.unpriced));
    unreadableValue_->setText(Count(std::int64_t(totals_.unreadable.size())));

    // A collection without market prices keeps the window it always had.
    const bool valued = totals_.marketed > 0;
    for (QLabel* label : {valueValue_, notValuedValue_, gainValue_})
        summary_->setRowVisible(label, valued);
    QStringList value;
    QStringList gain;
    for (const CurrencyValue& each : totals_.value) {
        const QString amount = Amount(each.currency, each.value);
        value << (each.cards == 1 ? Tr(Text::StatisticsCurrencyOneCard).arg(amount)
                                  : Tr(Text::StatisticsCurrencyCards).arg(amount, Count(each.cards)));
        const QString gained = QString::fromStdString(GainText(each.currency, each.gain));
        if (each.compared > 0)
            gain << (each.compared == 1 ? Tr(Text::StatisticsGainOneCard).arg(gained)
                                        : Tr(Text::StatisticsGainCards).arg(gained, Count(each.compared)));
    }
    QString shownValue = value.isEmpty() ? QString::fromStdString(TotalValueText(totals_)) : value.join(QLatin1Char('\n'));
    if (!totals_.valueDate.empty())
        shownValue = Tr(Text::StatisticsValueDate).arg(shownValue, Utf8(totals_.valueDate));
    valueValue_->setText(shownValue);
    notValuedValue_->setText(Count(totals_.notValued));
    gainValue_->setText(gain.isEmpty() ? QStringLiteral("-") : gain.join(QLatin1Char('\n')));
}

void StatisticsWindow::ShowLists()
{
    mostCostly_.clear();
    for (const CurrencyPaid& each : totals_.paid) {
        for (const CostlyCard& card : each.mostCostly)
            mostCostly_.emplace_back(each.currency, card);
    }
    // Names are taken now: the list must not change before the next count.
    std::vector<QString> names;
    for (const auto& [currency, card] : mostCostly_)
        names.push_back(Utf8(table_.Cell(card.row, NameField)));
    mostCostlyModel_->Show(int(mostCostly_.size()), [this, names](int row, int column) {
        const auto& [currency, card] = mostCostly_[std::size_t(row)];
        if (column == 0)
            return QString::number(card.row + 1);
        return column == 1 ? Amount(currency, card.price) : names[std::size_t(row)];
    });

    unreadableModel_->Show(int(totals_.unreadable.size()), [this](int row, int column) {
        const UnreadableValue& value = totals_.unreadable[std::size_t(row)];
        switch (column) {
        case 0:
            return QString::number(value.row + 1);
        case 1:
            return Utf8(table_.Cell(value.row, NameField));
        case 2:
            return Tr(value.field == PriceField ? Text::StatisticsPriceField : Text::StatisticsQuantityField);
        default:
            return Utf8(table_.Cell(value.row, value.field));
        }
    });
    FitColumns(tabs_->widget(0));
    FitColumns(tabs_->widget(tabs_->count() - 1));
}

void StatisticsWindow::ShowBreakdown(Breakdown breakdown)
{
    const BreakdownKind& kind = kBreakdowns[breakdown];
    const std::vector<GroupTotals>& groups = totals_.*kind.groups;
    groupModels_[breakdown]->Show(int(groups.size()), [this, &kind](int row, int column) {
        const GroupTotals& group = (totals_.*kind.groups)[std::size_t(row)];
        switch (column) {
        case 0:
            return GroupName(group.value);
        case 1:
            return Count(group.cards);
        case 2:
            return Count(group.copies);
        default:
            return PaidList(group.paid);
        }
    });
    FitColumns(breakdownPages_[breakdown]);
    QChart* old = charts_[breakdown]->chart();
    QChart* chart = BreakdownChart(kind, groups);
    charts_[breakdown]->setChart(chart);
    auto* categories = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Vertical).value(0));
    charts_[breakdown]->setMinimumSize(ChartSize(*chart, categories->categories()));
    delete old;
}

void StatisticsWindow::ShowGains()
{
    tabs_->setTabVisible(tabs_->indexOf(gainsPage_), totals_.marketed > 0);
    gainsModel_->removeRows(0, gainsModel_->rowCount());
    const auto perCopy = [this](int row, CardField field) {
        return ReadPrice(table_.Cell(row, field)).value_or(PriceAmount{}).hundredths;
    };
    for (const CurrencyValue& each : totals_.value) {
        for (const std::vector<CardGain>* list : {&each.gains, &each.losses}) {
            for (const CardGain& card : *list) {
                const std::int64_t price = perCopy(card.row, PriceField);
                const std::int64_t market = perCopy(card.row, MarketField);
                const QString name = Utf8(table_.Cell(card.row, NameField));
                gainsModel_->appendRow({
                    SortedItem(QString::number(card.row + 1), card.row, true),
                    SortedItem(name, name, false),
                    SortedItem(Amount(each.currency, price), double(price), true),
                    SortedItem(Amount(each.currency, market), double(market), true),
                    SortedItem(QString::fromStdString(GainText(each.currency, card.gain)), double(card.gain), true),
                });
            }
        }
    }
    auto* view = gainsPage_->findChild<QTableView*>();
    view->sortByColumn(view->horizontalHeader()->sortIndicatorSection(), view->horizontalHeader()->sortIndicatorOrder());
    view->resizeColumnsToContents();
}

bool StatisticsWindow::SaveChart(Breakdown breakdown, const QString& path)
{
    // The chart is drawn as it is laid out on its page.
    tabs_->setCurrentWidget(breakdownPages_[breakdown]);
    const QImage image = charts_[breakdown]->grab().toImage();
    QString reason;
    if (WriteFileSafely(path, [&image](QIODevice& device) { return image.save(&device, "PNG"); }, &reason))
        return true;
    messages_.ShowError(Tr(Text::StatisticsChartNotSaved).arg(reason), Tr(Text::ErrorSavingFileCaption));
    return false;
}

void StatisticsWindow::OnSaveChart(Breakdown breakdown)
{
    QFileDialog dialog(this, Tr(Text::StatisticsSaveChartCaption), QString(), Tr(Text::StatisticsPngFilter));
    dialog.setObjectName(QStringLiteral("saveChartDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QString::fromLatin1(kBreakdowns[breakdown].name) + QStringLiteral(".png"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SaveChart(breakdown, dialog.selectedFiles().constFirst());
}
