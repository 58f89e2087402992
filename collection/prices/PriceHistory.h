#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/prices/MarketPrice.h"

#include <QDate>
#include <QString>

#include <vector>

// One day's price of a printing.
struct PricePoint {
    QDate date;
    MarketValue value;
};

// A printing's price on a day: what one refresh learnt of one printing.
struct PriceEntry {
    QString key;
    MarketValue value;
};

// A printing's price at a day and its latest, in one currency.
struct PriceChange {
    QString key;
    PricePoint then;
    PricePoint now;
    double change = 0;
};

// The prices each refresh learnt, in an SQLite database beside the
// collection (prices.sqlite), one row a printing and day. A day's refresh
// is written in one transaction, so a refresh killed midway leaves the days
// before it whole, and a second refresh the same day replaces the first's.
class PriceHistory {
public:
    static constexpr const char* kFileName = "prices.sqlite";

    explicit PriceHistory(QString path);
    ~PriceHistory();
    PriceHistory(const PriceHistory&) = delete;
    PriceHistory& operator=(const PriceHistory&) = delete;

    // Writes the day's prices, creating the database when there is none.
    bool Record(QDate date, const std::vector<PriceEntry>& entries, QString& reason);

    // A printing's prices, oldest first; none when there is no database.
    std::vector<PricePoint> Of(const QString& key);
    // For each printing with a price on two days, its last price on or
    // before since (or its first, when it is younger) and its latest.
    std::vector<PriceChange> ChangesSince(QDate since);

private:
    bool Open(bool create, QString& reason);

    QString path_;
    QString connection_;
    bool open_ = false;
};

// The prices the history of the folder holds for the Card's printing,
// oldest first; none for a Card that names no printing.
std::vector<PricePoint> CardPriceHistory(const QString& folder, const Card& card, TextEncoding encoding);
