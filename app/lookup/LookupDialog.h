#pragma once

#include "collection/lookup/CardMatch.h"
#include "collection/lookup/CardQuery.h"

#include <QDialog>

#include <vector>

class CardLookup;
class LookupService;
class MagicNameIndex;
class QStringListModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

// Finds a card in the public card databases: what was typed in Card Name
// (a set and number, a print code or part of a name) is looked up at once,
// and the list fills as the sources answer. The window stays free; closing
// the dialog cancels what is still asked. Where the Magic name index has
// been downloaded, the search box offers names as they are typed, with no
// network.
class LookupDialog : public QDialog {
    Q_OBJECT

public:
    // index, when given and open, completes the names typed.
    LookupDialog(LookupService& service, const QString& typed, CardGame game, const MagicNameIndex* index = nullptr,
                 QWidget* parent = nullptr);
    ~LookupDialog() override;

    // Asks the sources for what the search box holds.
    void Search();
    // The match marked in the list, if any.
    const CardMatch* Chosen() const;
    int MatchCount() const { return int(matches_.size()); }
    bool Searching() const;

private:
    void Add(const std::vector<CardMatch>& matches);
    void Finish(const QString& failure);
    void Complete(const QString& typed);

    CardLookup* lookup_;
    QLineEdit* query_;
    QComboBox* game_;
    QTreeWidget* list_;
    QLabel* status_;
    const MagicNameIndex* index_;
    QStringListModel* names_ = nullptr;
    std::vector<CardMatch> matches_;
};
