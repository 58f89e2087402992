#pragma once

#include "collection/filter/CardFilter.h"
#include "collection/filter/CardFilterIndex.h"

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CardTableModel;

// The card table as the filter bar shows it: the rows that match the filter,
// in the table's order, never sorted on their own. Until a filter is set,
// and again once it is cleared, it is the whole table at no cost; while one
// is set it keeps a search index in step with the table
// through the table's own signals, so that any change (a command, an undo,
// an import) is followed.
class FilteredCardTable : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FilteredCardTable(CardTableModel& table, QObject* parent = nullptr);
    ~FilteredCardTable() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const CardTableModel& Table() const { return table_; }
    // The table row shown as row `shown`, -1 for none.
    int TableRow(int shown) const;
    // Where table row `row` is shown, -1 when the filter hides it.
    int ShownRow(int row) const;
    // The table rows shown, ascending; none while every row is.
    std::optional<std::vector<int>> ShownRows() const;
    bool Filtering() const { return index_ != nullptr; }

    // Shows the rows that match the text as ParseCardFilter reads it. The
    // first call builds the index; a filter that narrows the last one
    // searches only the rows that one kept.
    void SetFilterText(const QString& text);
    // Shows every row again and lets the index go.
    void ClearFilter();

signals:
    // The number of rows shown or in the table may have changed.
    void CountsChanged();
    // Told after CountsChanged: rows just put into the table that the filter hides.
    void AddedRowsHidden(int count);
    // Told after CountsChanged: a shown row was changed and the filter hides it now.
    void ChangedRowHidden();

private:
    void OnRowsAboutToBeInserted(int first, int last);
    void OnRowsInserted(int first, int last);
    void OnRowsAboutToBeRemoved(int first, int last);
    void OnRowsRemoved(int first, int last);
    void OnRowReplaced(int row);
    void OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);
    void OnRowsReordered(const std::vector<int>& order);
    void OnRowsReversed();
    void OnModelReset();
    // Shows the table rows given (ascending), moving what is kept by shown
    // row number to where its row is shown now; returns the rows shown before.
    std::vector<int> ShowRows(std::vector<int> rows);
    // The table has changed: the rows kept of earlier filters may be wrong.
    void ForgetEarlierFilters() { earlier_.clear(); }
    // The first place in shown_ that holds row or a later one.
    int FirstShownFrom(int row) const;
    bool Matches(int row) const;
    void EmitAllShownChanged();

    CardTableModel& table_;
    // Set while filtering; shown_ then holds the table rows shown.
    std::unique_ptr<CardFilterIndex> index_;
    CardFilter filter_;
    std::vector<int> shown_;
    // The filters set before this one since the table last changed, oldest
    // first, with the rows each showed: a key taken back shows them again
    // without a search. Together they hold at most as many rows as the table.
    std::vector<std::pair<CardFilter, std::vector<int>>> earlier_;
    bool removing_ = false;
};
