#pragma once

#include "collection/ColumnSort.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <set>
#include <string>

class CardTableModel;
class QHeaderView;
class QMenu;
class QWidget;

// The card table's header as the column sort uses it: a context menu that
// has a column sort as numbers instead of by its bytes, and the sort arrow
// on the column a click last sorted the rows by, shown while they stay in
// that order (a Delete keeps it; an Add, a change to the column's cells, a
// load or another order of the rows take it away).
class SortHeader : public QObject {
    Q_OBJECT

public:
    SortHeader(QHeaderView& header, const CardTableModel& table, QObject* parent = nullptr);

    // How a click on the column sorts it.
    ColumnOrder Order(int column) const;
    // Sets it, as the collector does in the menu: a column whose order
    // changes loses the arrow, and NumberColumnsChanged is told.
    void SetOrder(int column, ColumnOrder order);
    // The columns that sort as numbers, ascending.
    QList<int> NumberColumns() const;
    // Sets them, as remembered for a collection; columns that do not exist
    // are left out, and nothing is told.
    void SetNumberColumns(const QList<int>& columns);

    // The rows have just been sorted by the column: ascending, or descending
    // when the click reversed them.
    void ShowSorted(int column, bool descending);
    // The column that shows the arrow, -1 for none.
    int SortedColumn() const { return sorted_; }

    // The header's context menu for a column, as a right-click opens it.
    QMenu* CreateMenu(int column, QWidget* parent);
    // Entries the menu ends with, for every column: those that show and
    // hide the columns.
    void SetMenuEnd(std::function<void(QMenu&)> fill);

signals:
    void NumberColumnsChanged();

private:
    void HideArrow();

    QHeaderView& header_;
    const CardTableModel& table_;
    std::set<int> numberColumns_;
    int sorted_ = -1;
    // The sorted column's text in a row about to be replaced.
    std::string replaced_;
    std::function<void(QMenu&)> menuEnd_;
};
