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

Card CardTableModel::RowCard(int row) const
{
    Card card;
    for (int column = 0; column < kCardFieldCount; ++column)
        card[column] = std::string(Cell(row, column));
    return card;
}

int CardTableModel::FindRow(std::string_view name, std::string_view series) const
{
    const std::uint32_t hash = PackedCard::NameAndSeriesHash(name, series);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const PackedCard& card = rows_[row];
        if (card.NameAndSeriesHash() == hash && card.Field(NameField) == name && card.Field(SeriesField) == series)
            return int(row);
    }
    return -1;
}

void CardTableModel::InsertRow(int position, const Card& card)
{
    position = std::clamp(position, 0, int(rows_.size()));
    beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, PackedCard(card));
    ascendingColumn_ = -1;
    endInsertRows();
}

void CardTableModel::SetRow(int row, const Card& card)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    emit RowAboutToBeReplaced(row);
    rows_[std::size_t(row)] = PackedCard(card);
    ascendingColumn_ = -1;
    emit dataChanged(index(row, 0), index(row, kCardFieldCount - 1));
    emit RowReplaced(row);
}

void CardTableModel::SetCell(int row, int column, std::string_view text)
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kCardFieldCount)
        return;
    Card card = RowCard(row);
    card[column] = std::string(text);
    emit RowAboutToBeReplaced(row);
    rows_[std::size_t(row)] = PackedCard(card);
    ascendingColumn_ = -1;
    emit dataChanged(index(row, column), index(row, column));
    emit RowReplaced(row);
}

void CardTableModel::RemoveRow(int row)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    ascendingColumn_ = -1;
    endRemoveRows();
}

void CardTableModel::SetRows(const std::vector<Card>& rows)
{
    beginResetModel();
    rows_.clear();
    ascendingColumn_ = -1;
    rows_.reserve(rows.size());
    for (const Card& card : rows)
        rows_.emplace_back(card);
    endResetModel();
}

void CardTableModel::SetRowsBottomFirst(RowBuilder&& built)
{
    beginResetModel();
    std::size_t rows = 0;
    for (const std::deque<PackedCard>& part : built.parts_)
        rows += part.size();
    rows_.clear();
    ascendingColumn_ = -1;
    rows_.reserve(rows);
    for (auto part = built.parts_.rbegin(); part != built.parts_.rend(); ++part) {
        std::move(part->rbegin(), part->rend(), std::back_inserter(rows_));
        *part = std::deque<PackedCard>();
    }
    built.parts_.clear();
    endResetModel();
}

void CardTableModel::Reorder(const std::vector<int>& order, int ascendingColumn)
{
    std::vector<PackedCard> reordered;
    reordered.reserve(rows_.size());
    for (const int from : order)
        reordered.push_back(std::move(rows_[std::size_t(from)]));
    rows_ = std::move(reordered);
    ascendingColumn_ = ascendingColumn;
    EmitAllCellsChanged();
}

void CardTableModel::ReverseRows()
{
    std::reverse(rows_.begin(), rows_.end());
    ascendingColumn_ = -1;
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
