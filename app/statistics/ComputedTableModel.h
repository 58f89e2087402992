#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

// A read-only table whose cells are worked out only when the view shows
// them, so that a list of a million rows costs nothing until it is scrolled.
class ComputedTableModel : public QAbstractTableModel {
public:
    using CellText = std::function<QString(int row, int column)>;

    // Columns listed in numberColumns are aligned right.
    ComputedTableModel(QStringList headings, QList<int> numberColumns, QObject* parent = nullptr);

    // Replaces the rows.
    void Show(int rows, CellText cell);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList headings_;
    QList<int> numberColumns_;
    int rows_ = 0;
    CellText cell_;
};
