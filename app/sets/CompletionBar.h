#pragma once

#include <QStyledItemDelegate>

// Draws a cell as a bar filled to the share its Qt::UserRole holds, in
// thousandths, with the cell's text on it; a cell without a share is drawn
// as text alone.
class CompletionBar : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
