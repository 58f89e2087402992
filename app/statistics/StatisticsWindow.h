#pragma once

#include "collection/totals/CollectionTotals.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class CardTableModel;
class ComputedTableModel;
class MessageInterface;
class QChartView;
class QFormLayout;
class QLabel;
class QStandardItemModel;
class QTabWidget;

// The collection's totals in a window of their own: Cards, copies, what was
// paid in each currency, the dearest Cards, the break-downs by Series,
// Condition and Year as tables and bar charts, and the Prices and Quantities
// that could not be read. Once some Card has a MARKET, also what the Cards
// are worth and the largest gains and losses against what was paid. It follows the table, counting again once a change
// to it is done. A click on a listed Card tells which row it is.
class StatisticsWindow : public QDialog {
    Q_OBJECT

public:
    enum Breakdown { BySeries, ByCondition, ByYear };
    static constexpr int kBreakdownCount = 3;
    // A chart of more groups shows those of the most Cards.
    static constexpr int kChartBars = 20;

    // shownRows are the rows a filter shows, counted instead of every row,
    // and the window says so.
    StatisticsWindow(const CardTableModel& table, MessageInterface& messages,
                     std::optional<std::vector<int>> shownRows = std::nullopt, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    // The rows to count from now on: a filter's, or every row.
    void SetShownRows(std::optional<std::vector<int>> shownRows);
    const CollectionTotals& Totals() const { return totals_; }

    // Writes the break-down's chart as a PNG image, safely. False, after a
    // box, when it could not.
    bool SaveChart(Breakdown breakdown, const QString& path);

signals:
    // A listed Card was clicked; 0 is the table's top row.
    void CardChosen(int row);

private:
    QWidget* BuildSummary();
    // A list of Cards, each row of which tells its Card when clicked.
    QWidget* BuildCardList(ComputedTableModel* model, const char* objectName);
    QWidget* BuildBreakdown(Breakdown breakdown);
    QWidget* BuildGains();
    void ScheduleRefresh();
    void Refresh();
    void ShowSummary();
    void ShowLists();
    void ShowBreakdown(Breakdown breakdown);
    void ShowGains();
    void OnSaveChart(Breakdown breakdown);

    const CardTableModel& table_;
    MessageInterface& messages_;
    std::optional<std::vector<int>> shownRows_;
    CollectionTotals totals_;
    // The dearest Cards of every currency, in the order they are listed.
    std::vector<std::pair<std::string_view, CostlyCard>> mostCostly_;
    QTimer refreshTimer_;

    QLabel* filterNote_ = nullptr;
    QLabel* cardsValue_ = nullptr;
    QLabel* copiesValue_ = nullptr;
    QLabel* paidValue_ = nullptr;
    QLabel* unpricedValue_ = nullptr;
    QLabel* unreadableValue_ = nullptr;
    QFormLayout* summary_ = nullptr;
    QLabel* valueValue_ = nullptr;
    QLabel* notValuedValue_ = nullptr;
    QLabel* gainValue_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* gainsPage_ = nullptr;
    QStandardItemModel* gainsModel_ = nullptr;
    ComputedTableModel* mostCostlyModel_ = nullptr;
    ComputedTableModel* unreadableModel_ = nullptr;
    std::array<ComputedTableModel*, kBreakdownCount> groupModels_{};
    std::array<QChartView*, kBreakdownCount> charts_{};
    std::array<QWidget*, kBreakdownCount> breakdownPages_{};
};
