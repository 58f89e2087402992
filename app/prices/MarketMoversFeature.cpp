#include "app/prices/MarketMoversFeature.h"

#include "app/prices/MarketMoversWindow.h"
#include "app/window/WindowActions.h"
#include "collection/prices/MarketMovers.h"
#include "collection/prices/PriceHistory.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>

namespace {

// A month back is where a collector first looks.
constexpr int kDefaultDaysBack = 30;

} // namespace

MarketMoversFeature::MarketMoversFeature(WindowActions& actions, const CardTableModel& table,
                                         std::function<QString()> folder, QWidget& window)
    : QObject(&window)
    , table_(table)
    , folder_(std::move(folder))
    , window_(window)
{
    actions.Bind(actions.Register("marketMoversAction", Text::MarketMoversMenu), [this] { Open(); });
}

void MarketMoversFeature::Open()
{
    if (!movers_) {
        movers_ = new MarketMoversWindow(QDate::currentDate().addDays(-kDefaultDaysBack), &window_);
        movers_->setAttribute(Qt::WA_DeleteOnClose);
        connect(movers_, &MarketMoversWindow::CardChosen, this, &MarketMoversFeature::CardChosen);
        connect(movers_, &MarketMoversWindow::SinceChanged, this, &MarketMoversFeature::Reload);
        Reload();
    }
    movers_->show();
    movers_->raise();
    movers_->activateWindow();
}

void MarketMoversFeature::Reload()
{
    if (!movers_)
        return;
    PriceHistory history(QDir(folder_()).filePath(QString::fromLatin1(PriceHistory::kFileName)));
    movers_->SetMovers(FindMarketMovers(history, movers_->Since(), table_), table_);
}
