#include "app/sets/CompletionBar.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionProgressBar>

void CompletionBar::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant share = index.data(Qt::UserRole);
    if (!share.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionProgressBar bar;
    bar.rect = option.rect.adjusted(2, 2, -2, -2);
    bar.minimum = 0;
    bar.maximum = 1000;
    bar.progress = share.toInt();
    bar.text = index.data().toString();
    bar.textVisible = true;
    bar.state = option.state | QStyle::State_Horizontal;
    const QWidget* widget = option.widget;
    (widget != nullptr ? widget->style() : QApplication::style())->drawControl(QStyle::CE_ProgressBar, &bar, painter, widget);
}
