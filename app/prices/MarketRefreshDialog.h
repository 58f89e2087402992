#pragma once

#include "collection/prices/MarketRefresh.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// Edit > Refresh Market Values: how many Cards will be asked about, whether
// those valued today are asked again, then the progress with the time left,
// and at the end what was learnt and the Cards that could not be priced.
// It asks nothing itself: its buttons say what the collector chose.
class MarketRefreshDialog : public QDialog {
    Q_OBJECT

public:
    MarketRefreshDialog(int cards, QWidget* parent = nullptr);

    bool Again() const;
    void ShowStarted();
    void ShowProgress(int answered, int requests, qint64 msLeft);
    void ShowFinished(const QString& summary, const std::vector<UnpricedCard>& unpriced);

signals:
    void StartChosen();
    // Cancel while a refresh runs, or the dialog closed then.
    void StopChosen();

protected:
    void reject() override;

private:
    QCheckBox* again_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableWidget* unpriced_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool running_ = false;
};
