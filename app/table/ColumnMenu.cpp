#include "app/table/ColumnMenu.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

ColumnMenu::ColumnMenu(QHeaderView& header, std::function<void(int column, bool shown)> changed)
    : QObject(&header)
    , header_(header)
    , changed_(std::move(changed))
{
}

void ColumnMenu::Fill(QMenu& menu)
{
    const int columns = header_.count();
    const int shown = columns - header_.hiddenSectionCount();
    for (int column = 0; column < columns; ++column) {
        QAction* entry = menu.addAction(header_.model()->headerData(column, Qt::Horizontal).toString());
        entry->setObjectName(QStringLiteral("showColumn%1").arg(column));
        entry->setCheckable(true);
        entry->setChecked(!header_.isSectionHidden(column));
        entry->setEnabled(header_.isSectionHidden(column) || shown > 1);
        connect(entry, &QAction::toggled, this, [this, column](bool checked) {
            header_.setSectionHidden(column, !checked);
            changed_(column, checked);
        });
    }
}
