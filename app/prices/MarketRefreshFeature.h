#pragma once

#include "collection/Card.h"
#include "collection/prices/MarketRefresh.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class CardTableModel;
class FilteredCardTable;
class LookupService;
class MarketRefreshDialog;
class MessageInterface;
class QWidget;
class WindowActions;

// Edit > Refresh Market Values: the Cards the filter shows valued by the card
// databases, while the window goes on drawing. The dialog keeps the window's
// table from changing meanwhile (it is modal to the window, without a loop
// of its own); what was learnt goes into the table as one step, and into the
// folder's price history.
class MarketRefreshFeature : public QObject {
    Q_OBJECT

public:
    MarketRefreshFeature(WindowActions& actions, const CardTableModel& table, const FilteredCardTable& shownCards,
                         LookupService& service, MessageInterface& messages, std::function<QString()> folder,
                         QWidget& window);

    void Open();

signals:
    // The refresh valued these rows: their Cards as they are to be.
    void Refreshed(const std::vector<int>& rows, const std::vector<Card>& cards);

private:
    std::vector<PricedCard> ShownCards() const;
    void Start();
    void Finish();

    const CardTableModel& table_;
    const FilteredCardTable& shownCards_;
    MessageInterface& messages_;
    std::function<QString()> folder_;
    QWidget& window_;
    MarketRefresh refresh_;
    QPointer<MarketRefreshDialog> dialog_;
    // The Cards as they were asked about, to be sure each is still there.
    std::vector<PricedCard> asked_;
};
