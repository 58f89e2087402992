#pragma once

#include <QObject>
#include <QPointer>

class BinderWindow;
class CardTableModel;
class FilteredCardTable;
class QWidget;
class WindowActions;

// View > Binder: the binder, opened once and then brought to the front,
// showing the Cards the filter shows.
class BinderFeature : public QObject {
    Q_OBJECT

public:
    BinderFeature(WindowActions& actions, const CardTableModel& table, const FilteredCardTable& shownCards,
                  QWidget& window);

    void Open();
    // Another folder's collection is in the table: the binder is made again
    // for its pictures, and shown again if it was.
    void Reload();

signals:
    // A tile was selected: its Card's row in the table.
    void CardChosen(int row);

private:
    void ShowRows();

    const CardTableModel& table_;
    const FilteredCardTable& shownCards_;
    QWidget& window_;
    QPointer<BinderWindow> binder_;
};
