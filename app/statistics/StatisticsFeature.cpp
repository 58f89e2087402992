#include "app/statistics/StatisticsFeature.h"

#include "app/statistics/StatisticsWindow.h"
#include "app/window/WindowActions.h"
#include "collection/filter/FilteredCardTable.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

StatisticsFeature::StatisticsFeature(WindowActions& actions, const CardTableModel& table,
                                     const FilteredCardTable& shownCards, MessageInterface& messages, QWidget& window)
    : QObject(&window)
    , table_(table)
    , shownCards_(shownCards)
    , messages_(messages)
    , window_(window)
{
    actions.Bind(actions.Register("statisticsAction", Text::StatisticsMenu, QKeySequence(Qt::CTRL | Qt::Key_I)),
                 [this] { Open(); });
    connect(&shownCards_, &FilteredCardTable::CountsChanged, this, &StatisticsFeature::ShowRows);
    connect(&shownCards_, &QAbstractItemModel::dataChanged, this, &StatisticsFeature::ShowRows);
}

void StatisticsFeature::Open()
{
    if (!statistics_) {
        statistics_ = new StatisticsWindow(table_, messages_, shownCards_.ShownRows(), &window_);
        statistics_->setAttribute(Qt::WA_DeleteOnClose);
        connect(statistics_, &StatisticsWindow::CardChosen, this, &StatisticsFeature::CardChosen);
    }
    statistics_->show();
    statistics_->raise();
    statistics_->activateWindow();
}

void StatisticsFeature::ShowRows()
{
    if (statistics_)
        statistics_->SetShownRows(shownCards_.ShownRows());
}
