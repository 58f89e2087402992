#pragma once

#include "app/ColumnFit.h"

#include <QPersistentModelIndex>
#include <QTableView>

#include <memory>

class CardTableModel;

// The card table as the window shows it: a report list of one-line rows whose
// columns fit their widest text. It keeps the selection mark (the row last
// selected) and tells of a click on a row.
class CardTableView : public QTableView {
    Q_OBJECT

public:
    explicit CardTableView(QWidget* parent = nullptr);
    ~CardTableView() override;

    // Shows the table; the widths follow its texts from now on.
    void SetCardTable(CardTableModel* table);
    // Sizes every column to its widest text or heading; the last column
    // also fills the width that is left.
    void FitColumns();
    // The row last selected, -1 when none is.
    int SelectionMark() const;
    // Marks and selects the row, as a click on it does; -1 or a row that
    // does not exist marks none and clears the selection.
    void SetSelectionMark(int row);
    // Selects the row, which becomes the mark, and scrolls it into view; a
    // row that does not exist changes nothing.
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
    std::unique_ptr<ColumnFit> fit_;
    QPersistentModelIndex selectionMark_;
};
