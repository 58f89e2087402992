#include "app/prices/MarketRefreshFeature.h"

#include "app/prices/MarketRefreshDialog.h"
#include "app/window/WindowActions.h"
#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/filter/FilteredCardTable.h"
#include "collection/prices/PriceHistory.h"
#include "collection/prices/PrintingKey.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QWidget>

#include <algorithm>

MarketRefreshFeature::MarketRefreshFeature(WindowActions& actions, const CardTableModel& table,
                                           const FilteredCardTable& shownCards, LookupService& service,
                                           MessageInterface& messages, std::function<QString()> folder,
                                           QWidget& window)
    : QObject(&window)
    , table_(table)
    , shownCards_(shownCards)
    , messages_(messages)
    , folder_(std::move(folder))
    , window_(window)
    , refresh_(service)
{
    actions.Bind(actions.Register("refreshMarketAction", Text::RefreshMarketMenu), [this] { Open(); });
    connect(&refresh_, &MarketRefresh::Progress, this, [this] {
        if (dialog_)
            dialog_->ShowProgress(refresh_.Answered(), refresh_.Requests(), refresh_.MsLeft());
    });
    connect(&refresh_, &MarketRefresh::Finished, this, &MarketRefreshFeature::Finish);
}

std::vector<PricedCard> MarketRefreshFeature::ShownCards() const
{
    std::vector<PricedCard> cards;
    const auto take = [&](int row) {
        Card card = table_.RowCard(row);
        if (!PrintingKey(card, table_.Encoding()).isEmpty())
            cards.push_back({row, std::move(card)});
    };
    if (const std::optional<std::vector<int>> shown = shownCards_.ShownRows()) {
        for (const int row : *shown)
            take(row);
    } else {
        for (int row = 0; row < table_.rowCount(); ++row)
            take(row);
    }
    return cards;
}

void MarketRefreshFeature::Open()
{
    if (dialog_) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    asked_ = ShownCards();
    dialog_ = new MarketRefreshDialog(int(asked_.size()), &window_);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    // Rows are named by number until the answers come: the table stays as it is.
    dialog_->setWindowModality(Qt::WindowModal);
    connect(dialog_, &MarketRefreshDialog::StartChosen, this, &MarketRefreshFeature::Start);
    connect(dialog_, &MarketRefreshDialog::StopChosen, &refresh_, &MarketRefresh::Cancel);
    dialog_->show();
}

void MarketRefreshFeature::Start()
{
    if (!dialog_ || refresh_.Running())
        return;
    dialog_->ShowStarted();
    refresh_.Start(asked_, table_.Encoding(), QDate::currentDate(), dialog_->Again());
    // The pace alone tells the time left before the first answer comes.
    dialog_->ShowProgress(0, refresh_.Requests(), refresh_.MsLeft());
}

void MarketRefreshFeature::Finish()
{
    std::vector<int> rows;
    std::vector<Card> cards;
    for (const PricedCard& priced : refresh_.Priced()) {
        // The rows were asked about in their order.
        const auto asked = std::lower_bound(asked_.begin(), asked_.end(), priced.row,
                                            [](const PricedCard& each, int row) { return each.row < row; });
        if (asked == asked_.end() || asked->row != priced.row || priced.row >= table_.rowCount()
            || table_.RowCard(priced.row) != asked->card)
            continue;
        rows.push_back(priced.row);
        cards.push_back(priced.card);
    }
    // The history first: whoever follows Refreshed may read it.
    QString reason;
    PriceHistory history(QDir(folder_()).filePath(QString::fromLatin1(PriceHistory::kFileName)));
    if (!refresh_.HistoryEntries().empty() && !history.Record(refresh_.Day(), refresh_.HistoryEntries(), reason))
        messages_.ShowError(QString::fromUtf8(Text::PricesHistoryNotWritten).arg(reason),
                            QString::fromUtf8(Text::ErrorCaption));
    if (!rows.empty())
        emit Refreshed(rows, cards);
    const QString summary = QString::fromUtf8(Text::RefreshMarketDone)
                                .arg(rows.size())
                                .arg(refresh_.Unpriced().size())
                                .arg(refresh_.SkippedToday());
    if (dialog_)
        dialog_->ShowFinished(summary, refresh_.Unpriced());
}
