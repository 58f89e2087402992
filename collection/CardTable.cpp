#include "app/MainWindow.h"

#include "collection/ColumnSort.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

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

void MainWindow::SetUpColumns()
{
    tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // A report list's rows are one line of text high, not a header's default.
    QHeaderView* rows = tableView_->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(tableView_->fontMetrics().height() + 4);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    AutosizeColumns();
}

void MainWindow::AutosizeColumns()
{
    QHeaderView* header = tableView_->horizontalHeader();
    const int cellMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tableView_) + 1);
    const int headingMargin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    const int columns = header->count();
    int used = 0;
    tableView_->setUpdatesEnabled(false);
    for (int column = 0; column < columns; ++column) {
        const int content = fit_->WidestText(column) + cellMargin;
        const QString heading = table_.headerData(column, Qt::Horizontal).toString();
        int headingFit = header->fontMetrics().horizontalAdvance(heading) + headingMargin;
        if (column == columns - 1)
            headingFit = std::max(headingFit, VisibleWidth(*tableView_, table_.rowCount()) - used);
        const int width = std::max(content, headingFit);
        header->resizeSection(column, width);
        used += width;
    }
    tableView_->setUpdatesEnabled(true);
    tableView_->viewport()->update();
}

void MainWindow::InsertHeldCard()
{
    TakeFields();
    RefreshRowCount();
    if (held_[NameField].empty())
        return;
    AddToChoiceLists();
    table_.InsertRow(0, held_);
    fit_->Add(held_);
    ShowFields();
    AutosizeColumns();
    RefreshRowCount();
}

void MainWindow::ReadRow(int row)
{
    TakeFields();
    held_ = table_.RowCard(row);
    ShowFields();
}

void MainWindow::RefreshRowCount()
{
    heldRowCount_ = table_.rowCount();
    ShowFields();
}

void MainWindow::AddToChoiceLists()
{
    TakeFields();
    seriesChoices_->Add(held_[SeriesField]);
    conditionChoices_->Add(held_[ConditionField]);
    ShowFields();
}

void MainWindow::ReverseRows()
{
    TakeFields();
    heldRowCount_ = table_.rowCount();
    table_.ReverseRows();
    ShowFields();
}

// The row last selected. The view's current index is no mark: the view puts
// it on row 0 when the table takes the keyboard focus.
int MainWindow::SelectionMark() const
{
    return selectionMark_.isValid() ? selectionMark_.row() : -1;
}

void MainWindow::OnColumnClick(int column)
{
    SortByColumn(column);
}

void MainWindow::SortByColumn(int column)
{
    TakeFields();
    heldRowCount_ = table_.rowCount();
    SortRowsByColumn(table_, column);
    ShowFields();
}
