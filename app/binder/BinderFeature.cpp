#include "app/binder/BinderFeature.h"

#include "app/binder/BinderWindow.h"
#include "app/window/WindowActions.h"
#include "collection/filter/FilteredCardTable.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

BinderFeature::BinderFeature(WindowActions& actions, const CardTableModel& table, const FilteredCardTable& shownCards,
                             QWidget& window)
    : QObject(&window)
    , table_(table)
    , shownCards_(shownCards)
    , window_(window)
{
    actions.Bind(actions.Register("binderAction", Text::BinderMenu, QKeySequence(Qt::CTRL | Qt::Key_B)),
                 [this] { Open(); });
    // Queued: the counts change while the table is still telling its views of
    // a change, which the binder's tiles are following at that moment. Without
    // a filter the binder follows the table's rows on its own.
    connect(&shownCards_, &FilteredCardTable::CountsChanged, this, &BinderFeature::ShowRows, Qt::QueuedConnection);
}

void BinderFeature::Open()
{
    if (!binder_) {
        binder_ = new BinderWindow(table_, DefaultPictureOptions(), &window_);
        connect(binder_, &BinderWindow::CardChosen, this, &BinderFeature::CardChosen);
    }
    binder_->SetShownRows(shownCards_.ShownRows());
    binder_->show();
    binder_->raise();
    binder_->activateWindow();
}

void BinderFeature::Reload()
{
    if (!binder_)
        return;
    const bool shown = binder_->isVisible();
    delete binder_.data();
    if (shown)
        Open();
}

void BinderFeature::ShowRows()
{
    if (binder_ && (shownCards_.Filtering() || !binder_->Tiles().ShowsAll()))
        binder_->SetShownRows(shownCards_.ShownRows());
}
