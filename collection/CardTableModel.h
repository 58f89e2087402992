#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/PackedCard.h"

#include <QAbstractTableModel>

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// Every row of the card table as it was at one moment, sharing the rows'
// blocks, which never change: cheap to take, and readable on another thread
// while the table goes on changing. Row 0 is the top row.
class CardTableSnapshot {
public:
    int rowCount() const { return int(rows_.size()); }
    std::string_view Cell(int row, int column) const;
    // A row's cell texts back to back, Name first, the details last when it
    // has any; the row must exist.
    std::string_view RowTexts(int row) const { return rows_[std::size_t(row)].Texts(); }
    // Asks the processor for a row's texts ahead of reading them.
    void PrefetchRow(int row) const { rows_[std::size_t(row)].Prefetch(); }

private:
    friend class CardTableModel;
    std::vector<PackedCard> rows_;
};

// The card table's rows: the one and only store of the collection while the
// program runs. Each row keeps its cell texts as bytes, packed into one
// block. Row 0 is the top row.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Rows gathered for a whole-table replacement, as a load reads them, in
    // parts: the table's one array of rows is made only when they are
    // handed over.
    class RowBuilder {
    public:
        void Append(const Card& card)
        {
            if (parts_.empty())
                parts_.emplace_back();
            parts_.back().emplace_back(card);
        }
        // Rows gathered elsewhere, after these.
        void Append(std::vector<PackedCard>&& rows) { parts_.push_back(std::move(rows)); }

    private:
        friend class CardTableModel;
        std::deque<std::vector<PackedCard>> parts_;
    };

    // Rows kept outside the table as the table keeps them: rows taken out
    // to be put back, or Cards packed to go in.
    class RowBlock {
    public:
        void Append(const Card& card) { rows_.emplace_back(card); }
        // Room for rows to be appended, so that they never move: views of
        // their texts stay valid until a text is set.
        void Reserve(std::size_t rows) { rows_.reserve(rows); }
        int size() const { return int(rows_.size()); }
        Card CardAt(int index) const;
        std::string_view Cell(int index, int column) const;
        void SetCell(int index, int column, std::string_view text);
        // The memory the rows take.
        std::size_t Bytes() const;

    private:
        friend class CardTableModel;
        std::vector<PackedCard> rows_;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The encoding of the collection file the rows came from: the cells keep
    // its bytes and are shown in it. UTF-8 until a load finds otherwise.
    TextEncoding Encoding() const { return encoding_; }
    void SetEncoding(TextEncoding encoding);

    // The whole text of a cell; empty for a row or column that does not exist.
    std::string_view Cell(int row, int column) const;
    // A row's cell texts back to back, Name first, the details last when it
    // has any; the row must exist.
    std::string_view RowTexts(int row) const { return rows_[std::size_t(row)].Texts(); }
    // Asks the processor for a row's texts ahead of reading them.
    void PrefetchRow(int row) const { rows_[std::size_t(row)].Prefetch(); }
    Card RowCard(int row) const;
    // The first row with the Name and Series, byte for byte; -1 when none has.
    int FindRow(std::string_view name, std::string_view series) const;
    CardTableSnapshot Snapshot() const;
    // Whether the table still has the snapshot's very rows, in its order:
    // nothing has changed it since the snapshot was taken.
    bool HoldsRowsOf(const CardTableSnapshot& snapshot) const;

    void InsertRow(int position, const Card& card);
    void SetRow(int row, const Card& card);
    void SetCell(int row, int column, std::string_view text);
    void RemoveRow(int row);
    // Takes the rows from position on out of the table, at most count.
    RowBlock TakeRows(int position, int count);
    // Puts the block's rows in, its first row at position.
    void PutRows(int position, RowBlock&& block);
    // Exchanges each listed row with the block's row at the same place in
    // the list: what the table held is then in the block.
    void ExchangeRows(const std::vector<int>& rows, RowBlock& block);
    // Replaces every row with the built ones, the first built one at the bottom.
    void SetRowsBottomFirst(RowBuilder&& built);

    // Reorders the rows: the new row i is the old row order[i]. A caller
    // that knows the new order ascends in a column names it.
    void Reorder(const std::vector<int>& order, int ascendingColumn = -1);
    void ReverseRows();
    // The column the rows were put in ascending order of, while no row has
    // changed since; -1 when none is known.
    int AscendingColumn() const { return ascendingColumn_; }

signals:
    // A row's texts are about to be replaced, and have been: what was
    // measured of the old texts can be taken back before they go.
    void RowAboutToBeReplaced(int row);
    void RowReplaced(int row);
    // The rows have been put in a new order, as Reorder's order or
    // reversed; told before the change of every cell that follows, so that
    // what keeps rows by number can follow them instead of reading anew.
    void RowsReordered(const std::vector<int>& order);
    void RowsReversed();

private:
    void EmitAllCellsChanged();

    std::vector<PackedCard> rows_;
    int ascendingColumn_ = -1;
    TextEncoding encoding_ = TextEncoding::Utf8;
};

// Inline: a sort, a fit or a save reads a cell of every row.
inline std::string_view CardTableModel::Cell(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= kAllCardFieldCount)
        return {};
    return rows_[std::size_t(row)].Field(column);
}
