#include "app/lists/CardListsFeature.h"

#include "app/window/WindowActions.h"
#include "pages/lists/CardLists.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QWidget>

CardListsFeature::CardListsFeature(WindowActions& actions, const CardTableModel& table, Preferences& prefs,
                                   MessageInterface& messages, QWidget& window)
    : QObject(&window)
    , table_(table)
    , prefs_(prefs)
    , messages_(messages)
{
    actions.Bind(actions.Register("publishTradeListAction", Text::PublishTradeListMenu),
                 [this] { Publish(kTradeList); });
    actions.Bind(actions.Register("publishWantListAction", Text::PublishWantListMenu),
                 [this] { Publish(kWantList); });
}

// The page is built from the table's cells: the fields keep what they held.
void CardListsFeature::Publish(const CardListPage& list)
{
    PublishCardList(list, table_, prefs_, messages_);
}
