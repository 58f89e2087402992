#pragma once

#include "collection/lookup/CardMatch.h"
#include "collection/lookup/CardQuery.h"

#include <QDialog>

#include <vector>

class CardLookup;
class LookupService;
class MagicNameIndex;
class MatchThumbnails;
class QStringListModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QTimer;
class QTreeWidget;

// Finds a card in the public card databases: what was typed in Card Name
// (a set and number, a print code or part of a name) is looked up at once,
// and the list fills as the sources answer. The window stays free; closing
// the dialog cancels what is still asked. The matches in sight show small
// pictures, fetched while the dialog is open. Where the Magic name index has
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

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Add(const std::vector<CardMatch>& matches);
    // The thumbnails of the rows in sight, once the list has settled.
    void AskThumbnailsSoon();
    void AskThumbnails();
    void ShowThumbnail(const QString& url, const QPixmap& thumbnail);
    void Finish(const QString& failure);
    void Complete(const QString& typed);

    CardLookup* lookup_;
    QLineEdit* query_;
    QComboBox* game_;
    QTreeWidget* list_;
    QLabel* status_;
    const MagicNameIndex* index_;
    QStringListModel* names_ = nullptr;
    MatchThumbnails* thumbnails_;
    QTimer* thumbnailsSoon_;
    std::vector<CardMatch> matches_;
};
