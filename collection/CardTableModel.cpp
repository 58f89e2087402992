#include "collection/CardTableModel.h"

#include <algorithm>
#include <iterator>
#include <utility>

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
    return DecodeText(Cell(index.row(), index.column()), encoding_);
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kCardFieldCount)
        return {};
    const std::string_view heading = kCardHeadings[section];
    return QString::fromLatin1(heading.data(), qsizetype(heading.size()));
}

void CardTableModel::SetEncoding(TextEncoding encoding)
{
    if (encoding == encoding_)
        return;
    encoding_ = encoding;
    EmitAllCellsChanged();
}

std::string_view CardTableSnapshot::Cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kCardFieldCount)
        return {};
    const auto& ends = ends_[std::size_t(row)];
    const std::uint32_t begin = column == 0 ? 0 : ends[std::size_t(column) - 1];
    return std::string_view(text_).substr(starts_[std::size_t(row)] + begin, ends[std::size_t(column)] - begin);
}

std::string_view CardTableModel::Cell(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kCardFieldCount)
        return {};
    return Field(rows_[std::size_t(row)], column);
}

Card CardTableModel::RowCard(int row) const
{
    Card card;
    for (int column = 0; column < kCardFieldCount; ++column)
        card[column] = std::string(Cell(row, column));
    return card;
}

// One allocation for all the texts: copying each row's own string instead
// costs an allocation per row, which at 100,000 rows is most of the time.
CardTableSnapshot CardTableModel::Snapshot() const
{
    CardTableSnapshot snapshot;
    std::size_t size = 0;
    for (const Row& row : rows_)
        size += row.text.size();
    snapshot.text_.reserve(size);
    snapshot.starts_.reserve(rows_.size());
    snapshot.ends_.reserve(rows_.size());
    for (const Row& row : rows_) {
        snapshot.starts_.push_back(snapshot.text_.size());
        snapshot.text_ += row.text;
        snapshot.ends_.push_back(row.end);
    }
    return snapshot;
}

void CardTableModel::InsertRow(int position, const Card& card)
{
    position = std::clamp(position, 0, int(rows_.size()));
    beginInsertRows({}, position, position);
    rows_.insert(rows_.begin() + position, Pack(card));
    endInsertRows();
}

void CardTableModel::SetRow(int row, const Card& card)
{
    if (row < 0 || row >= int(rows_.size()))
        return;
    emit RowAboutToBeReplaced(row);
    rows_[std::size_t(row)] = Pack(card);
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
    rows_[std::size_t(row)] = Pack(card);
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

CardTableModel::RowBlock CardTableModel::TakeRows(int position, int count)
{
    RowBlock block;
    count = std::min(count, int(rows_.size()) - position);
    if (position < 0 || count <= 0)
        return block;
    const auto first = rows_.begin() + position;
    beginRemoveRows({}, position, position + count - 1);
    block.rows_.assign(std::make_move_iterator(first), std::make_move_iterator(first + count));
    rows_.erase(first, first + count);
    endRemoveRows();
    return block;
}

void CardTableModel::PutRows(int position, RowBlock&& block)
{
    if (block.rows_.empty())
        return;
    position = std::clamp(position, 0, int(rows_.size()));
    beginInsertRows({}, position, position + block.size() - 1);
    rows_.insert(rows_.begin() + position, std::make_move_iterator(block.rows_.begin()),
                 std::make_move_iterator(block.rows_.end()));
    endInsertRows();
    block.rows_ = std::vector<Row>();
}

void CardTableModel::ExchangeRows(const std::vector<int>& rows, RowBlock& block)
{
    for (std::size_t i = 0; i < rows.size() && i < block.rows_.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= int(rows_.size()))
            continue;
        emit RowAboutToBeReplaced(row);
        std::swap(rows_[std::size_t(row)], block.rows_[i]);
        emit dataChanged(index(row, 0), index(row, kCardFieldCount - 1));
        emit RowReplaced(row);
    }
}

void CardTableModel::SetRows(const std::vector<Card>& rows)
{
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (const Card& card : rows)
        rows_.push_back(Pack(card));
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
    std::vector<Row> reordered;
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

Card CardTableModel::RowBlock::CardAt(int index) const
{
    Card card;
    if (index < 0 || index >= size())
        return card;
    for (int column = 0; column < kCardFieldCount; ++column)
        card[column] = std::string(Field(rows_[std::size_t(index)], column));
    return card;
}

std::string_view CardTableModel::RowBlock::Cell(int index, int column) const
{
    if (index < 0 || index >= size() || column < 0 || column >= kCardFieldCount)
        return {};
    return Field(rows_[std::size_t(index)], column);
}

void CardTableModel::RowBlock::SetCell(int index, int column, std::string_view text)
{
    if (index < 0 || index >= size() || column < 0 || column >= kCardFieldCount)
        return;
    Card card = CardAt(index);
    card[column] = std::string(text);
    rows_[std::size_t(index)] = Pack(card);
}

std::size_t CardTableModel::RowBlock::Bytes() const
{
    std::size_t bytes = rows_.capacity() * sizeof(Row);
    for (const Row& row : rows_)
        bytes += row.text.capacity();
    return bytes;
}

CardTableModel::Row CardTableModel::Pack(const Card& card)
{
    Row row;
    std::size_t size = 0;
    for (const std::string& field : card)
        size += field.size();
    row.text.reserve(size);
    for (int column = 0; column < kCardFieldCount; ++column) {
        row.text += card[column];
        row.end[column] = std::uint32_t(row.text.size());
    }
    return row;
}

std::string_view CardTableModel::Field(const Row& row, int column)
{
    const std::uint32_t begin = column == 0 ? 0 : row.end[column - 1];
    return std::string_view(row.text).substr(begin, row.end[column] - begin);
}

// A new order is a change of every cell, not of the layout: the views keep
// their selection and the selection mark at the same positions, as the rows
// of a report list keep their states when their texts are sorted.
void CardTableModel::EmitAllCellsChanged()
{
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, kCardFieldCount - 1));
}
