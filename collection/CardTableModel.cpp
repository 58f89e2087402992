#include "collection/CardTableModel.h"

#include <algorithm>
#include <iterator>

int CardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int CardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kCardFieldCount;
}

QVariant CardTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const std::string_view text = Cell(index.row(), index.column());
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kCardFieldCount)
        return {};
    const std::string_view heading = kCardHeadings[section];
    return QString::fromLatin1(heading.data(), qsizetype(heading.size()));
}

std::string_view CardTableModel::Cell(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kCardFieldCount)
        return {};
    return rows_[std::size_t(row)].Field(column);
}

Card CardTableModel::RowCard(int row) const
{
    if (row < 0 || row >= int(rows_.size()))
        return {};
    return rows_[std::size_t(row)].Unpacked();
}

void CardTableModel::InsertRow(int position, const Card& card)
{
    position = std::clamp(position, 0, int(rows_.size()));
    beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, PackedCard(card));
    endInsertRows();
}

void CardTableModel::InsertRows(int position, std::vector<PackedCard> rows)
{
    if (rows.empty())
        return;
    position = std::clamp(position, 0, int(rows_.size()));
    beginInsertRows({}, position, position + int(rows.size()) - 1);
    if (rows_.empty())
        rows_ = std::move(rows);
    else
        rows_.insert(rows_.begin() + position, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void CardTableModel::SetRow(int row, const Card& card)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    emit RowAboutToBeReplaced(row);
    rows_[std::size_t(row)] = PackedCard(card);
    emit dataChanged(index(row, 0), index(row, kCardFieldCount - 1));
    emit RowReplaced(row);
}

void CardTableModel::SetCell(int row, int column, std::string_view text)
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kCardFieldCount)
        return;
    emit RowAboutToBeReplaced(row);
    rows_[std::size_t(row)].SetField(column, text);
    emit dataChanged(index(row, column), index(row, column));
    emit RowReplaced(row);
}

void CardTableModel::RemoveRow(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void CardTableModel::SetRows(const std::vector<Card>& rows)
{
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (const Card& card : rows)
        rows_.emplace_back(card);
    endResetModel();
}

void CardTableModel::SetRowsBottomFirst(RowBuilder&& built)
{
    beginResetModel();
    rows_ = std::move(built.rows_);
    std::reverse(rows_.begin(), rows_.end());
    endResetModel();
}

void CardTableModel::Reorder(const std::vector<int>& order)
{
    std::vector<PackedCard> reordered;
    reordered.reserve(rows_.size());
    for (const int from : order)
        reordered.push_back(std::move(rows_[std::size_t(from)]));
    rows_ = std::move(reordered);
    EmitAllCellsChanged();
}

void CardTableModel::ReverseRows()
{
    std::reverse(rows_.begin(), rows_.end());
    EmitAllCellsChanged();
}

// A new order is a change of every cell, not of the layout: the views keep
// their selection and the selection mark at the same positions, as the rows
// of a report list keep their states when their texts are sorted.
void CardTableModel::EmitAllCellsChanged()
{
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, kCardFieldCount - 1));
}
