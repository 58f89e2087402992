#pragma once

#include "collection/Card.h"
#include "collection/PackedCard.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The card table's rows: the one and only store of the collection while the
// program runs. Each row keeps its eight cell texts as bytes, packed into one
// buffer. Row 0 is the top row.
class CardTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Rows gathered for a whole-table replacement, as a load reads them.
    class RowBuilder {
    public:
        void Append(const Card& card) { rows_.emplace_back(card); }

    private:
        friend class CardTableModel;
        std::vector<PackedCard> rows_;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The whole text of a cell; empty for a row or column that does not exist.
    std::string_view Cell(int row, int column) const;
    Card RowCard(int row) const;

    void InsertRow(int position, const Card& card);
    // Inserts the rows from position on, rows[0] at position, telling the
    // views once: an import of many Cards is one insertion, not many.
    void InsertRows(int position, std::vector<PackedCard> rows);
    void SetRow(int row, const Card& card);
    void SetCell(int row, int column, std::string_view text);
    void RemoveRow(int row);
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
    void EmitAllCellsChanged();

    std::vector<PackedCard> rows_;
};
