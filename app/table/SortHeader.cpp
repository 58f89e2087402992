#include "app/table/SortHeader.h"

#include "collection/Card.h"
#include "collection/CardTableModel.h"
#include "resources/StringTable.h"

#include <QHeaderView>
#include <QMenu>

SortHeader::SortHeader(QHeaderView& header, const CardTableModel& table, QObject* parent)
    : QObject(parent)
    , header_(header)
    , table_(table)
{
    header_.setSortIndicatorShown(false);
    header_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&header_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int column = header_.logicalIndexAt(at);
        if (column < 0)
            return;
        QMenu* menu = CreateMenu(column, &header_);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(header_.viewport()->mapToGlobal(at));
    });
    // The rows leave the order the arrow shows.
    connect(&table_, &QAbstractItemModel::rowsInserted, this, &SortHeader::HideArrow);
    connect(&table_, &QAbstractItemModel::modelReset, this, &SortHeader::HideArrow);
    connect(&table_, &CardTableModel::RowsReordered, this, &SortHeader::HideArrow);
    connect(&table_, &CardTableModel::RowsReversed, this, &SortHeader::HideArrow);
    connect(&table_, &CardTableModel::RowAboutToBeReplaced, this, [this](int row) {
        if (sorted_ >= 0)
            replaced_ = table_.Cell(row, sorted_);
    });
    connect(&table_, &CardTableModel::RowReplaced, this, [this](int row) {
        if (sorted_ >= 0 && table_.Cell(row, sorted_) != replaced_)
            HideArrow();
    });
}

ColumnOrder SortHeader::Order(int column) const
{
    return numberColumns_.count(column) > 0 ? ColumnOrder::Numbers : ColumnOrder::Text;
}

void SortHeader::SetOrder(int column, ColumnOrder order)
{
    if (column < 0 || column >= kAllCardFieldCount || Order(column) == order)
        return;
    if (order == ColumnOrder::Numbers)
        numberColumns_.insert(column);
    else
        numberColumns_.erase(column);
    // The rows are in the column's other order, if in any.
    if (column == sorted_)
        HideArrow();
    emit NumberColumnsChanged();
}

QList<int> SortHeader::NumberColumns() const
{
    return QList<int>(numberColumns_.begin(), numberColumns_.end());
}

void SortHeader::SetNumberColumns(const QList<int>& columns)
{
    numberColumns_.clear();
    for (const int column : columns) {
        if (column >= 0 && column < kAllCardFieldCount)
            numberColumns_.insert(column);
    }
}

void SortHeader::ShowSorted(int column, bool descending)
{
    sorted_ = column;
    header_.setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    header_.setSortIndicatorShown(true);
}

void SortHeader::HideArrow()
{
    sorted_ = -1;
    header_.setSortIndicatorShown(false);
}

QMenu* SortHeader::CreateMenu(int column, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("columnMenu"));
    const QString heading = table_.headerData(column, Qt::Horizontal).toString();
    QAction* numbers = menu->addAction(QString::fromUtf8(Text::SortAsNumbersMenu).arg(heading));
    numbers->setObjectName(QStringLiteral("sortAsNumbersAction"));
    numbers->setCheckable(true);
    numbers->setChecked(Order(column) == ColumnOrder::Numbers);
    connect(numbers, &QAction::toggled, this, [this, column](bool on) {
        SetOrder(column, on ? ColumnOrder::Numbers : ColumnOrder::Text);
    });
    if (menuEnd_) {
        menu->addSeparator();
        menuEnd_(*menu);
    }
    return menu;
}

void SortHeader::SetMenuEnd(std::function<void(QMenu&)> fill)
{
    menuEnd_ = std::move(fill);
}
