#pragma once

#include "collection/Card.h"
#include "collection/sets/SetAnswers.h"
#include "collection/sets/SetCompletion.h"
#include "collection/sets/SetSizeCache.h"

#include <QDialog>
#include <QTimer>

#include <vector>

class CardTableModel;
class LookupService;
class MessageInterface;
class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;
class SetCardsFetch;
class SetSizeFetch;

// Set completion in a window of its own: each set the Cards name, how many
// of its numbers are held of its size, with a bar, and the numbers missing.
// Sizes are fetched on the collector's command and kept in a cache file;
// the cards missing from the chosen set can be listed from its database,
// saved as CSV or handed on as wanted Cards. It follows the table.
class SetsWindow : public QDialog {
    Q_OBJECT

public:
    SetsWindow(const CardTableModel& table, MessageInterface& messages, LookupService& service,
               const QString& cachePath, QWidget* parent = nullptr);
    ~SetsWindow() override;

    const std::vector<SetProgress>& Sets() const { return sets_; }
    // The missing cards last listed.
    const std::vector<SetCard>& Missing() const { return missing_; }
    // Writes the missing cards as CSV, safely. False, after a box, when it
    // could not.
    bool ExportMissing(const QString& path);

signals:
    // The missing cards, to be added to the collection as one step.
    void WantedCardsChosen(const std::vector<Card>& cards);

private:
    void ScheduleRefresh();
    void Refresh();
    void OnFetchSizes();
    void OnSizesFetched(const QString& failures);
    void OnListMissing();
    void OnMissingListed(const std::vector<SetCard>& cards, const QString& failure);
    void OnExport();
    void OnAddWanted();
    void ShowMissing();
    // The set chosen in the list; -1 for none.
    int ChosenSet() const;
    void ShowBusy(bool busy);

    const CardTableModel& table_;
    MessageInterface& messages_;
    SetSizeCache cache_;
    SetSizeFetch* sizeFetch_ = nullptr;
    SetCardsFetch* cardsFetch_ = nullptr;
    std::vector<SetProgress> sets_;
    // The set the missing list is of, as its SetId.
    std::string missingOf_;
    // All the cards its database listed, and those of them not held.
    std::vector<SetCard> listed_;
    std::vector<SetCard> missing_;
    QTimer refreshTimer_;

    QLabel* noSets_ = nullptr;
    QTableView* setsView_ = nullptr;
    QStandardItemModel* setsModel_ = nullptr;
    QLabel* missingTitle_ = nullptr;
    QStandardItemModel* missingModel_ = nullptr;
    QPushButton* fetchButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* listButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* wantedButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
};
