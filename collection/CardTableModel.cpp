#include "collection/CardTableModel.h"

#include "base/LargeAllocations.h"
#include "base/StepTimes.h"

#include <algorithm>
#include <iterator>
#include <utility>

int CardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int CardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kAllCardFieldCount;
}

QVariant CardTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return DecodeText(Cell(index.row(), index.column()), encoding_);
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kAllCardFieldCount)
        return {};
    const std::string_view heading = section < kCardFieldCount ? kCardHeadings[std::size_t(section)]
                                                               : kDetailHeadings[std::size_t(section - kCardFieldCount)];
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
    if (row < 0 || row >= rowCount() || column < 0 || column >= kAllCardFieldCount)
        return {};
    return rows_[std::size_t(row)].Field(column);
}

Card CardTableModel::RowCard(int row) const
{
    Card card;
    for (int column = 0; column < kAllCardFieldCount; ++column)
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

// A copy of each row shares its block: the window waits only for a pointer
// a row, and the texts are not held twice while the snapshot is written.
CardTableSnapshot CardTableModel::Snapshot() const
{
    CardTableSnapshot snapshot;
    snapshot.rows_ = rows_;
    return snapshot;
}

// A block never changes once packed, and the snapshot keeps its blocks, so
// none can have been freed and packed anew at the same place.
bool CardTableModel::HoldsRowsOf(const CardTableSnapshot& snapshot) const
{
    return std::equal(rows_.begin(), rows_.end(), snapshot.rows_.begin(), snapshot.rows_.end(),
                      [](const PackedCard& row, const PackedCard& kept) { return row.SharesBlockWith(kept); });
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
    emit dataChanged(index(row, 0), index(row, kAllCardFieldCount - 1));
    emit RowReplaced(row);
}

void CardTableModel::SetCell(int row, int column, std::string_view text)
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kAllCardFieldCount)
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
    ascendingColumn_ = -1;
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
    ascendingColumn_ = -1;
    endInsertRows();
    block.rows_ = std::vector<PackedCard>();
}

void CardTableModel::ExchangeRows(const std::vector<int>& rows, RowBlock& block)
{
    for (std::size_t i = 0; i < rows.size() && i < block.rows_.size(); ++i) {
        const int row = rows[i];
        if (row < 0 || row >= int(rows_.size()))
            continue;
        emit RowAboutToBeReplaced(row);
        std::swap(rows_[std::size_t(row)], block.rows_[i]);
        ascendingColumn_ = -1;
        emit dataChanged(index(row, 0), index(row, kAllCardFieldCount - 1));
        emit RowReplaced(row);
    }
}

void CardTableModel::SetRowsBottomFirst(RowBuilder&& built)
{
    beginResetModel();
    std::size_t rows = 0;
    for (const std::vector<PackedCard>& part : built.parts_)
        rows += part.size();
    rows_.clear();
    ascendingColumn_ = -1;
    // A million rows take 16 MB, best in large pages (see AdviseLargePages).
    if (rows_.capacity() < rows) {
        rows_.reserve(rows);
        AdviseLargePages(rows_.data(), rows_.capacity() * sizeof(PackedCard));
    }
    for (auto part = built.parts_.rbegin(); part != built.parts_.rend(); ++part) {
        std::move(part->rbegin(), part->rend(), std::back_inserter(rows_));
        *part = std::vector<PackedCard>();
    }
    built.parts_.clear();
    StepTimes::Mark("rows in the table");
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
    emit RowsReordered(order);
    EmitAllCellsChanged();
}

void CardTableModel::ReverseRows()
{
    std::reverse(rows_.begin(), rows_.end());
    ascendingColumn_ = -1;
    emit RowsReversed();
    EmitAllCellsChanged();
}

Card CardTableModel::RowBlock::CardAt(int index) const
{
    Card card;
    if (index < 0 || index >= size())
        return card;
    for (int column = 0; column < kAllCardFieldCount; ++column)
        card[column] = std::string(rows_[std::size_t(index)].Field(column));
    return card;
}

std::string_view CardTableModel::RowBlock::Cell(int index, int column) const
{
    if (index < 0 || index >= size() || column < 0 || column >= kAllCardFieldCount)
        return {};
    return rows_[std::size_t(index)].Field(column);
}

void CardTableModel::RowBlock::SetCell(int index, int column, std::string_view text)
{
    if (index < 0 || index >= size() || column < 0 || column >= kAllCardFieldCount)
        return;
    Card card = CardAt(index);
    card[column] = std::string(text);
    rows_[std::size_t(index)] = PackedCard(card);
}

std::size_t CardTableModel::RowBlock::Bytes() const
{
    std::size_t bytes = rows_.capacity() * sizeof(PackedCard);
    for (const PackedCard& row : rows_)
        bytes += row.Bytes();
    return bytes;
}

// A new order is a change of every cell, not of the layout: the views keep
// their selection and the selection mark at the same positions, as the rows
// of a report list keep their states when their texts are sorted.
void CardTableModel::EmitAllCellsChanged()
{
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, kAllCardFieldCount - 1));
}
