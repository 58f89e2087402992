#pragma once

#include "app/table/ColumnFit.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QTableView>

#include <functional>
#include <memory>
#include <vector>

class CardTableModel;
class FilteredCardTable;

// The card table as the window shows it: a report list of one-line rows whose
// columns fit their widest text. It keeps the selection mark (the row last
// chosen) and tells of a click on a row, and of the mark moved by the keys or
// another mouse button. The mark stays on its row: it moves with it, and goes
// with it when the row is deleted or hidden by the filter; no other row is
// then selected in its place. It shows the rows the filter lets through; rows
// are told by their number in the table all the same.
class CardTableView : public QTableView {
    Q_OBJECT

public:
    explicit CardTableView(QWidget* parent = nullptr);
    ~CardTableView() override;

    // Shows the table's rows that shown lets through; the widths follow the
    // texts of every row of the table from now on, shown or not. The window
    // keeps both, shown to be destroyed first.
    void SetCardTable(CardTableModel* table, FilteredCardTable* shown);
    // Sizes every column to its widest text or heading, the heading with
    // room for the sort arrow; the last column also fills the width that is
    // left.
    void FitColumns();
    // Per column up to the last one shown, the width the collector gave it
    // by hand: 0 where it is the fitted width or hidden, and for the last
    // column wherever it shows its texts whole, as a fit fills it out anyway.
    QList<int> HandWidths() const;
    // Gives the columns the widths above, as remembered; 0 keeps a column's
    // width, and so does one that is not a width or is for a hidden column.
    void SetHandWidths(const QList<int>& widths);
    // The columns shown, ascending.
    QList<int> ShownColumns() const;
    // Shows these columns and hides the others, fitted to their texts; an
    // empty list shows the eight columns of the window as it always was.
    void SetShownColumns(const QList<int>& columns);
    // After the collector showed or hid a column in the header: the columns
    // shown are measured and fitted again.
    void RefitShownColumns();
    // The table row last selected, -1 when none is or the filter hid it.
    int SelectionMark() const;
    // Marks and selects the table row, as a click on it does; -1, a row that
    // does not exist or one the filter hides marks none and clears the selection.
    void SetSelectionMark(int row);
    // Selects the table row, which becomes the mark, and scrolls it into view;
    // a row that does not exist or that the filter hides changes nothing.
    void SelectRow(int row);
    // Marks the table row as SetSelectionMark does and scrolls it into view:
    // a row the filter hides leaves none marked.
    void MarkRow(int row);

signals:
    // The left mouse button was released over the rows.
    void RowClicked();
    // The keys, or a mouse button other than the left one, moved the mark to
    // another row.
    void MarkMoved();

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    void MeasureRows(int first, int last);
    void ForgetRows(int first, int last);
    // Measures every row's texts in the columns shown.
    void MeasureAll();
    // Hides every column not listed; none listed shows the eight.
    void ShowOnly(const QList<int>& columns);
    // -1 when every column is hidden.
    int LastShownColumn() const;
    // Each column's fitted width, and the width its texts need.
    std::vector<int> FittedWidths(std::vector<int>* needed = nullptr) const;
    // Selects the marked row, or none; the current row is left where it is.
    void ShowMark();
    // Tells of a mark that the user moved since before.
    void TellMarkMoved(const QPersistentModelIndex& before);
    // The mark is now on the shown row: it is kept by table row too.
    void KeepMark(const QModelIndex& shown);
    // The table's rows took a new order: the mark moves with its row.
    void FollowMark(const std::function<int(int)>& newRow);

    CardTableModel* table_ = nullptr;
    FilteredCardTable* shown_ = nullptr;
    std::unique_ptr<ColumnFit> fit_;
    QPersistentModelIndex selectionMark_;
    // The mark's row in the table, which a new order of the rows moves
    // without telling the views where each row went.
    QPersistentModelIndex tableMark_;
    // Set while the view follows its model or the program sets the mark: a
    // selection then is no choice of the user's.
    bool followingModel_ = false;
};
