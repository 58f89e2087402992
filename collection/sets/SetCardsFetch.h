#pragma once

#include "collection/sets/SetAnswers.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class LookupService;

// Asks a set's card database for the list of its cards: Scryfall's search
// of the set's prints, page after page; TCGdex's set; YGOPRODeck's cards of
// the set, asked by the set's name.
class SetCardsFetch : public QObject {
    Q_OBJECT

public:
    explicit SetCardsFetch(LookupService& service, QObject* parent = nullptr);
    ~SetCardsFetch() override;

    // name is the set's name at YGOPRODeck, which asks by it. Finished comes
    // once, from the event loop.
    void Start(const std::string& game, const std::string& code, const std::string& name);
    void Cancel();
    bool Running() const { return ticket_ != 0; }

signals:
    // The cards listed; failure is empty when the whole list came.
    void Finished(const std::vector<SetCard>& cards, const QString& failure);

private:
    void AskScryfall(const QString& query);
    void Done(const QString& failure);

    LookupService& service_;
    quint64 ticket_ = 0;
    std::string code_;
    std::vector<SetCard> cards_;
};
