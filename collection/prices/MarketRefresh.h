#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/lookup/CardSources.h"
#include "collection/prices/PriceHistory.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <deque>
#include <map>
#include <vector>

class LookupService;
struct SourceReply;

// A row's Card with its market value and date filled in.
struct PricedCard {
    int row;
    Card card;
};

// A Card that was asked about and not priced, and why: nothing is guessed.
struct UnpricedCard {
    int row;
    QString name;
    QString why;
};

// Asks the sources for the market value of the Cards that name a printing
// (a PRINT, or a game, set and number), in the fewest requests each allows:
// Scryfall's collection 75 printings at a time, TCGdex a card at a time,
// YGOPRODeck a card (all its printings) or a set code at a time. Each source
// is asked one request after another at its pace, the sources side by side;
// one that fails (unreachable, "too many requests") is asked no more and its
// Cards are listed with the reason. Everything runs on the event loop.
class MarketRefresh : public QObject {
    Q_OBJECT

public:
    static constexpr int kScryfallBatch = 75;

    explicit MarketRefresh(LookupService& service, QObject* parent = nullptr);
    ~MarketRefresh() override;

    // Starts asking about the Cards (their rows and texts). A Card valued
    // on today's date is left alone unless again. Finished comes once, from
    // the event loop, unless the refresh is cancelled first.
    void Start(const std::vector<PricedCard>& cards, TextEncoding encoding, QDate today, bool again);
    // Stops asking; what was learnt so far stays, the rest is listed as not
    // asked. Emits Finished.
    void Cancel();
    bool Running() const { return running_; }
    // The day the values are dated.
    QDate Day() const { return today_; }

    // Requests planned and answered, and the time the pace needs for the rest.
    int Requests() const { return requests_; }
    int Answered() const { return answered_; }
    qint64 MsLeft();

    const std::vector<PricedCard>& Priced() const { return priced_; }
    const std::vector<UnpricedCard>& Unpriced() const { return unpriced_; }
    // Cards left alone as already valued today.
    int SkippedToday() const { return skippedToday_; }
    // What the history keeps of this refresh: one entry a printing.
    std::vector<PriceEntry> HistoryEntries() const;

signals:
    void Progress();
    void Finished();

private:
    struct Wanted {
        int row;
        Card card;
        QString key;
        QString finish;
        // What the answer is searched by: a Scryfall id or set and number,
        // a YGOPRODeck set code.
        QString match;
    };
    struct Request {
        CardSource source;
        QString path;
        QString query;
        QByteArray json;
        std::vector<std::size_t> members;
    };

    void Plan(const std::vector<PricedCard>& cards, QDate today, bool again);
    void PlanScryfall(const std::vector<std::size_t>& members);
    void AskNext(CardSource source);
    void Answer(const Request& request, const SourceReply& reply);
    void Read(const Request& request, int status, const QByteArray& body);
    void Price(std::size_t member, const std::optional<MarketValue>& value, const QString& whyNot);
    void Refuse(std::size_t member, const QString& why);
    void Settle();

    LookupService& service_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    QDate today_;
    bool running_ = false;
    std::vector<Wanted> wanted_;
    std::map<CardSource, std::deque<Request>> queues_;
    std::map<CardSource, quint64> asking_;
    int requests_ = 0;
    int answered_ = 0;
    int skippedToday_ = 0;
    std::vector<PricedCard> priced_;
    std::vector<UnpricedCard> unpriced_;
    std::vector<PriceEntry> entries_;
    // Grows with every Start and Cancel, so that a late answer is dropped.
    quint64 generation_ = 0;
};
