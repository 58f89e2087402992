#include "collection/filter/FilteredCardTable.h"

#include "collection/CardTableModel.h"

#include <algorithm>
#include <numeric>

namespace {

std::vector<int> Rows(int first, int last)
{
    std::vector<int> rows(std::size_t(std::max(last - first + 1, 0)));
    std::iota(rows.begin(), rows.end(), first);
    return rows;
}

} // namespace

FilteredCardTable::FilteredCardTable(CardTableModel& table, QObject* parent)
    : QAbstractTableModel(parent)
    , table_(table)
{
    const auto range = [this](void (FilteredCardTable::*handler)(int, int)) {
        return [this, handler](const QModelIndex&, int first, int last) { (this->*handler)(first, last); };
    };
    connect(&table, &QAbstractItemModel::rowsAboutToBeInserted, this,
            range(&FilteredCardTable::OnRowsAboutToBeInserted));
    connect(&table, &QAbstractItemModel::rowsInserted, this, range(&FilteredCardTable::OnRowsInserted));
    connect(&table, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            range(&FilteredCardTable::OnRowsAboutToBeRemoved));
    connect(&table, &QAbstractItemModel::rowsRemoved, this, range(&FilteredCardTable::OnRowsRemoved));
    connect(&table, &CardTableModel::RowReplaced, this, &FilteredCardTable::OnRowReplaced);
    connect(&table, &QAbstractItemModel::dataChanged, this, &FilteredCardTable::OnDataChanged);
    connect(&table, &CardTableModel::RowsReordered, this, &FilteredCardTable::OnRowsReordered);
    connect(&table, &CardTableModel::RowsReversed, this, &FilteredCardTable::OnRowsReversed);
    connect(&table, &QAbstractItemModel::modelAboutToBeReset, this, &FilteredCardTable::beginResetModel);
    connect(&table, &QAbstractItemModel::modelReset, this, &FilteredCardTable::OnModelReset);
}

FilteredCardTable::~FilteredCardTable() = default;

int FilteredCardTable::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return index_ ? int(shown_.size()) : table_.rowCount();
}

int FilteredCardTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant FilteredCardTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    return table_.data(table_.index(TableRow(index.row()), index.column()), role);
}

QVariant FilteredCardTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    return table_.headerData(section, orientation, role);
}

int FilteredCardTable::TableRow(int shown) const
{
    if (shown < 0 || shown >= rowCount())
        return -1;
    return index_ ? shown_[std::size_t(shown)] : shown;
}

int FilteredCardTable::ShownRow(int row) const
{
    if (row < 0 || row >= table_.rowCount())
        return -1;
    if (!index_)
        return row;
    const int at = FirstShownFrom(row);
    return at < int(shown_.size()) && shown_[std::size_t(at)] == row ? at : -1;
}

std::optional<std::vector<int>> FilteredCardTable::ShownRows() const
{
    if (!index_ || filter_.words.empty())
        return std::nullopt;
    return shown_;
}

void FilteredCardTable::SetFilterText(const QString& text)
{
    CardFilter filter = ParseCardFilter(text);
    if (!index_) {
        index_ = std::make_unique<CardFilterIndex>(table_);
        shown_ = Rows(0, table_.rowCount() - 1);
        filter_ = {};
    }
    const auto seen = std::find_if(earlier_.rbegin(), earlier_.rend(),
                                   [&filter](const auto& earlier) { return earlier.first == filter; });
    const bool seenBefore = seen != earlier_.rend();
    std::vector<int> rows;
    if (seenBefore) {
        rows = std::move(seen->second);
        earlier_.erase(std::prev(seen.base()), earlier_.end());
    } else {
        // Every row is kept by no words at all: one search of the whole
        // table is then quicker than one of a list of every row.
        const bool narrows = !filter_.words.empty() && Narrows(filter, filter_);
        rows = index_->Matching(filter, narrows ? &shown_ : nullptr);
    }
    CardFilter last = std::exchange(filter_, std::move(filter));
    std::vector<int> lastRows = ShowRows(std::move(rows));
    if (!seenBefore && !last.words.empty()) {
        earlier_.emplace_back(std::move(last), std::move(lastRows));
        std::size_t kept = 0;
        for (const auto& earlier : earlier_)
            kept += earlier.second.size();
        for (auto oldest = earlier_.begin(); kept > std::size_t(table_.rowCount()); oldest = earlier_.erase(oldest))
            kept -= oldest->second.size();
    }
    emit CountsChanged();
}

void FilteredCardTable::ClearFilter()
{
    if (!index_)
        return;
    ShowRows(Rows(0, table_.rowCount() - 1));
    index_.reset();
    shown_ = {};
    filter_ = {};
    ForgetEarlierFilters();
    emit CountsChanged();
}

// While every row is shown, each change of the table is passed on as it is.
// While filtering, shown_ is kept to exactly the rows that match: new and
// changed rows are searched as they come, so a narrower filter may always
// start from shown_.

void FilteredCardTable::OnRowsAboutToBeInserted(int first, int last)
{
    if (!index_)
        beginInsertRows({}, first, last);
}

void FilteredCardTable::OnRowsInserted(int first, int last)
{
    if (!index_) {
        endInsertRows();
        emit CountsChanged();
        return;
    }
    const int count = last - first + 1;
    index_->InsertRows(first, last);
    ForgetEarlierFilters();
    const int at = FirstShownFrom(first);
    for (auto row = shown_.begin() + at; row != shown_.end(); ++row)
        *row += count;
    const std::vector<int> added = Rows(first, last);
    const std::vector<int> kept = index_->Matching(filter_, &added);
    if (!kept.empty()) {
        beginInsertRows({}, at, at + int(kept.size()) - 1);
        shown_.insert(shown_.begin() + at, kept.begin(), kept.end());
        endInsertRows();
    }
    emit CountsChanged();
    if (int(kept.size()) < count)
        emit AddedRowsHidden(count - int(kept.size()));
}

void FilteredCardTable::OnRowsAboutToBeRemoved(int first, int last)
{
    if (!index_) {
        beginRemoveRows({}, first, last);
        return;
    }
    const int from = FirstShownFrom(first);
    const int to = FirstShownFrom(last + 1);
    removing_ = from < to;
    if (removing_)
        beginRemoveRows({}, from, to - 1);
}

void FilteredCardTable::OnRowsRemoved(int first, int last)
{
    if (!index_) {
        endRemoveRows();
        emit CountsChanged();
        return;
    }
    index_->RemoveRows(first, last);
    ForgetEarlierFilters();
    const int from = FirstShownFrom(first);
    const int to = FirstShownFrom(last + 1);
    shown_.erase(shown_.begin() + from, shown_.begin() + to);
    for (auto row = shown_.begin() + from; row != shown_.end(); ++row)
        *row -= last - first + 1;
    if (removing_) {
        removing_ = false;
        endRemoveRows();
    }
    emit CountsChanged();
}

void FilteredCardTable::OnRowReplaced(int row)
{
    if (!index_)
        return;
    index_->SetRow(row);
    ForgetEarlierFilters();
    const int at = FirstShownFrom(row);
    const bool shown = at < int(shown_.size()) && shown_[std::size_t(at)] == row;
    const bool matches = Matches(row);
    if (shown && matches) {
        emit dataChanged(index(at, 0), index(at, columnCount() - 1));
    } else if (shown) {
        beginRemoveRows({}, at, at);
        shown_.erase(shown_.begin() + at);
        endRemoveRows();
        emit CountsChanged();
        emit ChangedRowHidden();
    } else if (matches) {
        beginInsertRows({}, at, at);
        shown_.insert(shown_.begin() + at, row);
        endInsertRows();
        emit CountsChanged();
    }
}

// While filtering, RowReplaced and the reorder signals tell the changes.
void FilteredCardTable::OnDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                      const QList<int>& roles)
{
    if (!index_)
        emit dataChanged(index(topLeft.row(), topLeft.column()), index(bottomRight.row(), bottomRight.column()), roles);
}

// The same Cards match in their new places. The table tells a new order as
// a change of every cell, keeping selections where they are; so does this.
void FilteredCardTable::OnRowsReordered(const std::vector<int>& order)
{
    if (!index_)
        return;
    index_->Reorder(order);
    ForgetEarlierFilters();
    std::vector<int> now(order.size());
    for (std::size_t at = 0; at < order.size(); ++at)
        now[std::size_t(order[at])] = int(at);
    for (int& row : shown_)
        row = now[std::size_t(row)];
    std::sort(shown_.begin(), shown_.end());
    EmitAllShownChanged();
}

void FilteredCardTable::OnRowsReversed()
{
    if (!index_)
        return;
    index_->ReverseRows();
    ForgetEarlierFilters();
    const int bottom = table_.rowCount() - 1;
    for (int& row : shown_)
        row = bottom - row;
    std::reverse(shown_.begin(), shown_.end());
    EmitAllShownChanged();
}

void FilteredCardTable::OnModelReset()
{
    if (index_) {
        index_->Reset();
        ForgetEarlierFilters();
        shown_ = index_->Matching(filter_);
    }
    endResetModel();
    emit CountsChanged();
}

std::vector<int> FilteredCardTable::ShowRows(std::vector<int> rows)
{
    if (rows == shown_)
        return rows;
    // Rows are only hidden or shown: the columns stay as they are.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& kept : from) {
        const int row = TableRow(kept.row());
        const auto at = std::lower_bound(rows.begin(), rows.end(), row);
        to.append(at != rows.end() && *at == row ? createIndex(int(at - rows.begin()), kept.column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
    std::swap(shown_, rows);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return rows;
}

int FilteredCardTable::FirstShownFrom(int row) const
{
    return int(std::lower_bound(shown_.begin(), shown_.end(), row) - shown_.begin());
}

bool FilteredCardTable::Matches(int row) const
{
    const std::vector<int> one = {row};
    return !index_->Matching(filter_, &one).empty();
}

void FilteredCardTable::EmitAllShownChanged()
{
    if (!shown_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
