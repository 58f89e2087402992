#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QAbstractTableModel>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every row of the card table as it was at one moment, its texts copied into
// one buffer: cheap to take, and readable on another thread while the table
// goes on changing. Row 0 is the top row.
class CardTableSnapshot {
public:
    int rowCount() const { return int(ends_.size()); }
    std::string_view Cell(int row, int column) const;

private:
    friend class CardTableModel;
    std::string text_;
    std::vector<std::size_t> starts_;
    std::vector<std::array<std::uint32_t, kCardFieldCount>> ends_;
};

// The card table's rows: the one and only store of the collection while the
// program runs. Each row keeps its eight cell texts as bytes, packed into one
// buffer. Row 0 is the top row.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT

    struct Row {
        std::string text;
        std::array<std::uint32_t, kCardFieldCount> end{};
    };

public:
    // Rows gathered for a whole-table replacement, as a load reads them.
    class RowBuilder {
    public:
        void Append(const Card& card) { rows_.push_back(Pack(card)); }

    private:
        friend class CardTableModel;
        std::vector<Row> rows_;
    };

    // Rows kept outside the table as the table keeps them: rows taken out
    // to be put back, or Cards packed to go in.
    class RowBlock {
    public:
        void Append(const Card& card) { rows_.push_back(Pack(card)); }
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
        std::vector<Row> rows_;
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
    Card RowCard(int row) const;
    CardTableSnapshot Snapshot() const;

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
    // Replaces every row; rows[0] becomes the top row.
    void SetRows(const std::vector<Card>& rows);
    // Replaces every row with the built ones, the first built one at the bottom.
    void SetRowsBottomFirst(RowBuilder&& built);

    // Reorders the rows: the new row i is the old row order[i].
    void Reorder(const std::vector<int>& order);
    void ReverseRows();

signals:
    // A row's texts are about to be replaced, and have been: what was
    // measured of the old texts can be taken back before they go.
    void RowAboutToBeReplaced(int row);
    void RowReplaced(int row);

private:
    static Row Pack(const Card& card);
    static std::string_view Field(const Row& row, int column);
    void EmitAllCellsChanged();

    std::vector<Row> rows_;
    TextEncoding encoding_ = TextEncoding::Utf8;
};
