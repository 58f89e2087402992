#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"

#include <QObject>

#include <functional>

class LookupService;
class MagicIndexDownload;
class MatchPictures;
class QProgressDialog;
class QWidget;
class UserQuestions;
class WindowActions;
struct CardMatch;

// Edit > Look Up Card: finds what was typed in Card Name in the public card
// databases and fills the held Card from the match chosen: its Name, Series
// (the set's name), Year, printing details and, once stored in the
// collection folder, its picture. What the collector typed in Condition,
// Price, Quantity and Description stays as it is. Edit > Download Card Index
// keeps the names of every Magic card on this machine, so that the lookup
// completes them as they are typed.
class LookupFeature : public QObject {
    Q_OBJECT

public:
    LookupFeature(WindowActions& actions, UserQuestions& questions, LookupService& service, QWidget& window,
                  std::function<Card()> heldCard, std::function<TextEncoding()> encoding);
    ~LookupFeature() override;

    void Open();
    void DownloadIndex();
    // The folder the pictures of chosen cards are stored in, below its
    // "pictures" folder.
    void SetCollectionFolder(const QString& folder);

signals:
    // The held Card, filled from the match chosen.
    void CardFilled(const Card& card);
    // The chosen card's picture is stored: the held Card's Picture URL
    // becomes its path, if the held Card is still that printing.
    void PictureStored(const std::string& print, const std::string& relativePath);

private:
    bool Fill(const CardMatch& match, Card& card) const;

    UserQuestions& questions_;
    LookupService& service_;
    QWidget& window_;
    std::function<Card()> heldCard_;
    std::function<TextEncoding()> encoding_;
    MatchPictures* pictures_ = nullptr;
    MagicIndexDownload* download_ = nullptr;
    QProgressDialog* progress_ = nullptr;
};
