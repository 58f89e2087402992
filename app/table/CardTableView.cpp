#include "app/table/CardTableView.h"

#include "collection/CardTableModel.h"
#include "collection/filter/FilteredCardTable.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

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

    // The mark is the row last selected. A click below the rows clears the
    // view's selection but not the mark; the mark moves with its row and
    // goes with it when the row is deleted or hidden by the filter.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this](const QItemSelection& selected) {
        if (!selected.isEmpty())
            selectionMark_ = selected.indexes().first();
    });
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
    fit_->Clear();
    MeasureRows(0, table_->rowCount() - 1);
}

void CardTableView::FitColumns()
{
    QHeaderView* header = horizontalHeader();
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int headingMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    const int columns = header->count();
    int used = 0;
    setUpdatesEnabled(false);
    for (int column = 0; column < columns; ++column) {
        const int content = fit_->WidestText(column) + cellMargin;
        const QString heading = table_->headerData(column, Qt::Horizontal).toString();
        int headingFit = header->fontMetrics().horizontalAdvance(heading) + headingMargin;
        if (column == columns - 1)
            headingFit = std::max(headingFit, VisibleWidth(*this, model()->rowCount()) - used);
        const int width = std::max(content, headingFit);
        header->resizeSection(column, width);
        used += width;
    }
    setUpdatesEnabled(true);
    viewport()->update();
}

// The row last selected. The view's current index is no mark: the view puts
// it on row 0 when the table takes the keyboard focus.
int CardTableView::SelectionMark() const
{
    return selectionMark_.isValid() ? shown_->TableRow(selectionMark_.row()) : -1;
}

void CardTableView::SetSelectionMark(int row)
{
    const int shown = shown_->ShownRow(row);
    if (shown < 0) {
        selectionModel()->clearSelection();
        selectionMark_ = QPersistentModelIndex();
        return;
    }
    const QModelIndex marked = model()->index(shown, 0);
    selectionModel()->setCurrentIndex(marked, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selectionMark_ = marked;
}

void CardTableView::SelectRow(int row)
{
    const int shown = shown_->ShownRow(row);
    if (shown < 0)
        return;
    SetSelectionMark(row);
    scrollTo(model()->index(shown, 0));
}

bool CardTableView::viewportEvent(QEvent* event)
{
    // Told before the view's own handling, which may change the current row.
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit RowClicked();
    return QTableView::viewportEvent(event);
}
