#pragma once

#include "collection/prices/MarketMovers.h"

#include <QDate>
#include <QWidget>

class CardTableModel;
class QDateEdit;
class QTableWidget;

// View > Market Movers: the ten biggest risers and fallers of the
// collection's prices since a date, each a Card of the table.
class MarketMoversWindow : public QWidget {
    Q_OBJECT

public:
    explicit MarketMoversWindow(QDate since, QWidget* parent = nullptr);

    QDate Since() const;
    void SetMovers(const MarketMovers& movers, const CardTableModel& table);

signals:
    void SinceChanged(QDate since);
    // A Card listed was double-clicked: its row in the table.
    void CardChosen(int row);

private:
    QTableWidget* MakeList(const char* objectName);

    QDateEdit* since_ = nullptr;
    QTableWidget* risers_ = nullptr;
    QTableWidget* fallers_ = nullptr;
};
