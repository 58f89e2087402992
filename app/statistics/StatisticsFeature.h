#pragma once

#include <QObject>
#include <QPointer>

class CardTableModel;
class FilteredCardTable;
class MessageInterface;
class QWidget;
class StatisticsWindow;
class WindowActions;

// View > Statistics: the Statistics window, opened once and then brought to
// the front, counting the Cards the filter shows.
class StatisticsFeature : public QObject {
    Q_OBJECT

public:
    StatisticsFeature(WindowActions& actions, const CardTableModel& table, const FilteredCardTable& shownCards,
                      MessageInterface& messages, QWidget& window);

    void Open();

signals:
    // A Card listed in the window was clicked: its row in the table.
    void CardChosen(int row);

private:
    void ShowRows();

    const CardTableModel& table_;
    const FilteredCardTable& shownCards_;
    MessageInterface& messages_;
    QWidget& window_;
    QPointer<StatisticsWindow> statistics_;
};
