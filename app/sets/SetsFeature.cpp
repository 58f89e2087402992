#include "app/sets/SetsFeature.h"

#include "app/sets/SetsWindow.h"
#include "app/window/WindowActions.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

SetsFeature::SetsFeature(WindowActions& actions, const CardTableModel& table, MessageInterface& messages,
                         LookupService& service, QWidget& window, QString cachePath)
    : QObject(&window)
    , table_(table)
    , messages_(messages)
    , service_(service)
    , window_(window)
    , cachePath_(std::move(cachePath))
{
    actions.Bind(actions.Register("setCompletionAction", Text::SetCompletionMenu), [this] { Open(); });
}

void SetsFeature::Open()
{
    if (!sets_) {
        sets_ = new SetsWindow(table_, messages_, service_, cachePath_, &window_);
        sets_->setAttribute(Qt::WA_DeleteOnClose);
        connect(sets_, &SetsWindow::WantedCardsChosen, this, &SetsFeature::WantedCardsChosen);
    }
    sets_->show();
    sets_->raise();
    sets_->activateWindow();
}
