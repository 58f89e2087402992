#pragma once

#include "app/table/ColumnFit.h"

#include <QPersistentModelIndex>
#include <QTableView>

#include <memory>

class CardTableModel;
class FilteredCardTable;

// The card table as the window shows it: a report list of one-line rows whose
// columns fit their widest text. It keeps the selection mark (the row last
// selected) and tells of a click on a row. It shows the rows the filter lets
// through; rows are told by their number in the table all the same.
class CardTableView : public QTableView {
    Q_OBJECT

public:
    explicit CardTableView(QWidget* parent = nullptr);
    ~CardTableView() override;

    // Shows the table's rows that shown lets through; the widths follow the
    // texts of every row of the table from now on, shown or not. The window
    // keeps both, shown to be destroyed first.
    void SetCardTable(CardTableModel* table, FilteredCardTable* shown);
    // Sizes every column to its widest text or heading; the last column
    // also fills the width that is left.
    void FitColumns();
    // The table row last selected, -1 when none is or the filter hid it.
    int SelectionMark() const;
    // Marks and selects the table row, as a click on it does; -1, a row that
    // does not exist or one the filter hides marks none and clears the selection.
    void SetSelectionMark(int row);
    // Selects the table row, which becomes the mark, and scrolls it into view;
    // a row that does not exist or that the filter hides changes nothing.
    void SelectRow(int row);

signals:
    // The left mouse button was released over the rows.
    void RowClicked();

protected:
    bool viewportEvent(QEvent* event) override;

private:
    void MeasureRows(int first, int last);
    void ForgetRows(int first, int last);
    void MeasureAll();

    CardTableModel* table_ = nullptr;
    FilteredCardTable* shown_ = nullptr;
    std::unique_ptr<ColumnFit> fit_;
    QPersistentModelIndex selectionMark_;
};
