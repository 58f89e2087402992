#include "app/table/CardTableView.h"

#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "collection/filter/FilteredCardTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

// The viewport's width as it will be with the table's rows in it, whether or
// not the view has been laid out yet.
int VisibleWidth(const QTableView& view, int rows)
{
    const QSize area = view.maximumViewportSize();
    const bool scrolls = qint64(rows) * view.verticalHeader()->defaultSectionSize() > area.height();
    const int bar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view.verticalScrollBar());
    return area.width() - (scrolls ? bar : 0);
}

} // namespace

CardTableView::CardTableView(QWidget* parent)
    : QTableView(parent)
{
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

CardTableView::~CardTableView() = default;

void CardTableView::SetCardTable(CardTableModel* table, FilteredCardTable* shown)
{
    table_ = table;
    shown_ = shown;
    setModel(shown);
    fit_ = std::make_unique<ColumnFit>(font());
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The printing details stay out of sight unless asked for: a collector
    // who never uses them sees the eight columns as always.
    ShowOnly({});
    // A report list's rows are one line of text high, not a header's default.
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // The widths are counted as the rows change, so that a fit measures only
    // the texts that changed.
    connect(table, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { MeasureRows(first, last); });
    connect(table, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { ForgetRows(first, last); });
    connect(table, &CardTableModel::RowAboutToBeReplaced, this, [this](int row) { ForgetRows(row, row); });
    connect(table, &CardTableModel::RowReplaced, this, [this](int row) { MeasureRows(row, row); });
    connect(table, &QAbstractItemModel::modelReset, this, &CardTableView::MeasureAll);
    MeasureAll();

    // The mark is the row last chosen, and the one row selected. A click
    // below the rows leaves it; it moves with its row and goes with it when
    // the row is deleted or hidden by the filter.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this](const QItemSelection& selected) {
        if (!selected.isEmpty() && !followingModel_)
            KeepMark(selected.indexes().first());
    });
    // A sort tells its new order as a change of every cell, which keeps the
    // selection in its place: the mark follows its Card instead.
    connect(table, &CardTableModel::RowsReordered, this, [this](const std::vector<int>& order) {
        FollowMark([&order](int row) { return int(std::find(order.begin(), order.end(), row) - order.begin()); });
    });
    connect(table, &CardTableModel::RowsReversed, this,
            [this] { FollowMark([this](int row) { return table_->rowCount() - 1 - row; }); });
    FitColumns();
}

void CardTableView::MeasureRows(int first, int last)
{
    fit_->AddRows(*table_, first, last);
}

void CardTableView::ForgetRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        fit_->Remove(*table_, row);
}

void CardTableView::MeasureAll()
{
    unsigned shown = 0;
    for (int column = 0; column < kAllCardFieldCount; ++column) {
        if (!isColumnHidden(column))
            shown |= 1u << column;
    }
    fit_->SetMeasuredColumns(shown);
    MeasureRows(0, table_->rowCount() - 1);
}

void CardTableView::ShowOnly(const QList<int>& columns)
{
    const bool usual = std::none_of(columns.begin(), columns.end(),
                                    [](int column) { return column >= 0 && column < kAllCardFieldCount; });
    for (int column = 0; column < kAllCardFieldCount; ++column)
        setColumnHidden(column, usual ? column >= kCardFieldCount : !columns.contains(column));
}

QList<int> CardTableView::ShownColumns() const
{
    QList<int> shown;
    for (int column = 0; column < kAllCardFieldCount; ++column) {
        if (!isColumnHidden(column))
            shown << column;
    }
    return shown;
}

void CardTableView::SetShownColumns(const QList<int>& columns)
{
    // Measuring every cell again is the slowest part of a start: only for a
    // change.
    const QList<int> before = ShownColumns();
    ShowOnly(columns);
    if (ShownColumns() != before)
        RefitShownColumns();
}

void CardTableView::RefitShownColumns()
{
    MeasureAll();
    FitColumns();
}

int CardTableView::LastShownColumn() const
{
    const QHeaderView* header = horizontalHeader();
    for (int column = header->count() - 1; column >= 0; --column) {
        if (!header->isSectionHidden(column))
            return column;
    }
    return -1;
}

std::vector<int> CardTableView::FittedWidths(std::vector<int>* needed) const
{
    const QHeaderView* header = horizontalHeader();
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    // A heading has its margins, and room for the sort arrow, which any
    // column may show: the label gives up half the header's height and two
    // margins more to it.
    const int headerMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int headingMargin = 2 * headerMargin + 2 + (header->sizeHint().height() / 2 + 2 * headerMargin);
    // Hidden columns keep their widths, and the last one shown fills the rest.
    const int last = LastShownColumn();
    std::vector<int> widths;
    int used = 0;
    for (int column = 0; column <= last; ++column) {
        if (header->isSectionHidden(column)) {
            if (needed != nullptr)
                needed->push_back(header->sectionSize(column));
            widths.push_back(header->sectionSize(column));
            continue;
        }
        const int content = fit_->WidestText(column) + cellMargin;
        const QString heading = table_->headerData(column, Qt::Horizontal).toString();
        const int headingFit = header->fontMetrics().horizontalAdvance(heading) + headingMargin;
        int width = std::max(content, headingFit);
        if (needed != nullptr)
            needed->push_back(width);
        if (column == last)
            width = std::max(width, VisibleWidth(*this, model()->rowCount()) - used);
        widths.push_back(width);
        used += width;
    }
    return widths;
}

void CardTableView::FitColumns()
{
    QHeaderView* header = horizontalHeader();
    const std::vector<int> widths = FittedWidths();
    setUpdatesEnabled(false);
    for (int column = 0; column < int(widths.size()); ++column) {
        if (!header->isSectionHidden(column))
            header->resizeSection(column, widths[std::size_t(column)]);
    }
    setUpdatesEnabled(true);
    viewport()->update();
}

QList<int> CardTableView::HandWidths() const
{
    std::vector<int> needed;
    const std::vector<int> fitted = FittedWidths(&needed);
    QList<int> hand;
    for (int column = 0; column < int(fitted.size()); ++column) {
        const int width = horizontalHeader()->sectionSize(column);
        const bool last = column == int(fitted.size()) - 1;
        const bool fits = last ? width >= needed[std::size_t(column)] : width == fitted[std::size_t(column)];
        hand << (fits || isColumnHidden(column) ? 0 : width);
    }
    return hand;
}

void CardTableView::SetHandWidths(const QList<int>& widths)
{
    // Wider than this no column was ever dragged.
    constexpr int kWidest = 100'000;
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < header->count() && column < widths.size(); ++column) {
        const int width = widths[column];
        if (!header->isSectionHidden(column) && width >= header->minimumSectionSize() && width <= kWidest)
            header->resizeSection(column, width);
    }
}

// The row last selected. The view's current index is no mark: the view puts
// it on row 0 when the table takes the keyboard focus.
int CardTableView::SelectionMark() const
{
    return selectionMark_.isValid() ? shown_->TableRow(selectionMark_.row()) : -1;
}

void CardTableView::SetSelectionMark(int row)
{
    const QScopedValueRollback<bool> setting(followingModel_, true);
    const int shown = shown_->ShownRow(row);
    if (shown < 0) {
        selectionModel()->clearSelection();
        selectionMark_ = QPersistentModelIndex();
        tableMark_ = QPersistentModelIndex();
        return;
    }
    const QModelIndex marked = model()->index(shown, 0);
    selectionModel()->setCurrentIndex(marked, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    KeepMark(marked);
}

void CardTableView::KeepMark(const QModelIndex& shown)
{
    selectionMark_ = shown;
    tableMark_ = table_->index(shown_->TableRow(shown.row()), 0);
}

void CardTableView::FollowMark(const std::function<int(int)>& newRow)
{
    if (!selectionMark_.isValid() || !tableMark_.isValid())
        return;
    const int row = newRow(tableMark_.row());
    if (row == tableMark_.row())
        return;
    // Where the selection is, the view's current row goes too; the rows in
    // sight stay as they are.
    const int scrolled = verticalScrollBar()->value();
    SetSelectionMark(row);
    verticalScrollBar()->setValue(scrolled);
}

void CardTableView::SelectRow(int row)
{
    const int shown = shown_->ShownRow(row);
    if (shown < 0)
        return;
    SetSelectionMark(row);
    scrollTo(model()->index(shown, 0));
}

void CardTableView::MarkRow(int row)
{
    SetSelectionMark(row);
    if (selectionMark_.isValid())
        scrollTo(selectionMark_);
}

void CardTableView::ShowMark()
{
    const QScopedValueRollback<bool> following(followingModel_, true);
    if (!selectionMark_.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    if (!selectionModel()->isRowSelected(selectionMark_.row(), {}))
        selectionModel()->select(selectionMark_, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CardTableView::TellMarkMoved(const QPersistentModelIndex& before)
{
    if (selectionMark_.isValid() && selectionMark_ != before)
        emit MarkMoved();
}

// The view passes the selection of a row that goes to the row beside it;
// the mark goes with its row instead, and what is selected is the mark.
void CardTableView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    const bool markGoes = selectionMark_.isValid() && selectionMark_.row() >= start && selectionMark_.row() <= end;
    {
        const QScopedValueRollback<bool> following(followingModel_, true);
        QTableView::rowsAboutToBeRemoved(parent, start, end);
    }
    if (markGoes) {
        selectionMark_ = QPersistentModelIndex();
        tableMark_ = QPersistentModelIndex();
    }
    ShowMark();
}

// The keys read the row they move to, as a click does.
void CardTableView::keyPressEvent(QKeyEvent* event)
{
    const QPersistentModelIndex before = selectionMark_;
    QTableView::keyPressEvent(event);
    TellMarkMoved(before);
}

// Any button selects the row it is pressed on; the left one is told when
// it is released, the others at once, before a context menu opens.
void CardTableView::mousePressEvent(QMouseEvent* event)
{
    const QPersistentModelIndex before = selectionMark_;
    QTableView::mousePressEvent(event);
    // A press below the rows clears the view's selection, not the mark,
    // which stays in sight.
    ShowMark();
    if (event->button() != Qt::LeftButton)
        TellMarkMoved(before);
}

void CardTableView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPersistentModelIndex before = selectionMark_;
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        TellMarkMoved(before);
}

bool CardTableView::viewportEvent(QEvent* event)
{
    // Told before the view's own handling, which may change the current row.
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit RowClicked();
    return QTableView::viewportEvent(event);
}
