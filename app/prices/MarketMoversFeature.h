#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class CardTableModel;
class MarketMoversWindow;
class QWidget;
class WindowActions;

// View > Market Movers: the window of the biggest price changes, opened once
// and then brought to the front, read from the folder's price history.
class MarketMoversFeature : public QObject {
    Q_OBJECT

public:
    MarketMoversFeature(WindowActions& actions, const CardTableModel& table, std::function<QString()> folder,
                        QWidget& window);

    void Open();
    // The history or the table changed: the window reads them again.
    void Reload();

signals:
    // A Card listed in the window was double-clicked: its row in the table.
    void CardChosen(int row);

private:
    const CardTableModel& table_;
    std::function<QString()> folder_;
    QWidget& window_;
    QPointer<MarketMoversWindow> movers_;
};
