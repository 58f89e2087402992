#pragma once

#include "collection/lookup/CardMatch.h"
#include "collection/lookup/CardQuery.h"
#include "collection/lookup/CardSources.h"
#include "collection/lookup/SourceAnswer.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class LookupService;
struct SourceReply;

// Looks up what a collector typed in the public card databases. Matches come
// as each source answers, so that a list can fill while the rest are asked;
// Finished ends every lookup, once. A print (a set and number) is asked of
// its game's source; a name of its game's source, or of all three. A print
// guessed from its shape alone that no source knows is asked for as a name.
class CardLookup : public QObject {
    Q_OBJECT

public:
    // A name search gives at most this many matches from each source.
    static constexpr int kMaxMatchesPerSource = 100;

    explicit CardLookup(LookupService& service, QObject* parent = nullptr);
    ~CardLookup() override;

    // Starts a lookup, cancelling the one running.
    void Start(const QString& typed, CardGame game);
    // Stops the lookup: nothing more is emitted for it, Finished included.
    void Cancel();
    bool Running() const { return running_; }

signals:
    void MatchesFound(const std::vector<CardMatch>& matches);
    // failure is empty when matches were found and every source answered;
    // otherwise it says, in one line, what went wrong or that none was found.
    void Finished(const QString& failure);

private:
    using Reader = std::function<SourceAnswer(int status, const QByteArray& body)>;

    // Asks a source, and hands its answer, read, to then.
    void Ask(CardSource source, const QString& path, const QString& query, Reader read,
             std::function<void(const SourceAnswer&)> then);
    void AskName(CardGame game);
    void AskScryfallName(bool fuzzy);
    void AskTcgdexName();
    void AskTcgdexSets(std::vector<CardMatch> cards);
    void AskYgoprodeckName();
    void AskPrint();
    void AskYgoprodeckPrint(const CardMatch& printing);
    // The cards name their sets but not when these came out: the list of
    // sets, asked once for the process, does.
    void AskYgoprodeckYears(std::vector<CardMatch> matches);
    // A print no source knows: ask for the text as a name, when the game was
    // only guessed.
    void PrintNotFound(const SourceAnswer& answer);
    void Take(const SourceAnswer& answer);
    void Emit(std::vector<CardMatch> matches);
    void Settle();

    LookupService& service_;
    CardQuery query_;
    // Grows with every Cancel, so that an answer of a lookup cancelled while
    // its own answer was being handled ends there.
    quint64 generation_ = 0;
    bool running_ = false;
    bool found_ = false;
    int outstanding_ = 0;
    QSet<quint64> tickets_;
    QStringList failures_;
};
