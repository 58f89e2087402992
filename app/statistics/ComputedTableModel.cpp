#include "app/statistics/ComputedTableModel.h"

ComputedTableModel::ComputedTableModel(QStringList headings, QList<int> numberColumns, QObject* parent)
    : QAbstractTableModel(parent)
    , headings_(std::move(headings))
    , numberColumns_(std::move(numberColumns))
{
}

void ComputedTableModel::Show(int rows, CellText cell)
{
    beginResetModel();
    rows_ = rows;
    cell_ = std::move(cell);
    endResetModel();
}

int ComputedTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int ComputedTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(headings_.size());
}

QVariant ComputedTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::DisplayRole)
        return cell_(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && numberColumns_.contains(index.column()))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ComputedTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= headings_.size())
        return {};
    return headings_[section];
}
