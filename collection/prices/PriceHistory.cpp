#include "collection/prices/PriceHistory.h"

#include "collection/prices/PrintingKey.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

QString NewConnectionName()
{
    static std::atomic<int> count = 0;
    return QStringLiteral("quillmark-prices-%1").arg(++count);
}

PricePoint PointOf(const QSqlQuery& query)
{
    return {QDate::fromString(query.value(1).toString(), Qt::ISODate),
            MarketValue{query.value(2).toString(), query.value(3).toString()}};
}

} // namespace

PriceHistory::PriceHistory(QString path)
    : path_(std::move(path))
    , connection_(NewConnectionName())
{
}

PriceHistory::~PriceHistory()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool PriceHistory::Open(bool create, QString& reason)
{
    if (open_)
        return true;
    // A collection that never had a refresh gets no database from reading.
    if (!create && !QFileInfo::exists(path_)) {
        reason = QStringLiteral("no prices recorded");
        return false;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    database.setDatabaseName(path_);
    if (!create)
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!database.open()) {
        reason = database.lastError().text();
        return false;
    }
    if (create) {
        QSqlQuery query(database);
        if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS prices (printing TEXT NOT NULL, date TEXT NOT NULL, "
                                       "currency TEXT NOT NULL, price TEXT NOT NULL, PRIMARY KEY (printing, date))"))) {
            reason = query.lastError().text();
            return false;
        }
    }
    open_ = true;
    return true;
}

bool PriceHistory::Record(QDate date, const std::vector<PriceEntry>& entries, QString& reason)
{
    if (!Open(true, reason))
        return false;
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    if (!database.transaction()) {
        reason = database.lastError().text();
        return false;
    }
    QSqlQuery insert(database);
    insert.prepare(
        QStringLiteral("INSERT OR REPLACE INTO prices (printing, date, currency, price) VALUES (?, ?, ?, ?)"));
    const QString day = date.toString(Qt::ISODate);
    for (const PriceEntry& entry : entries) {
        insert.addBindValue(entry.key);
        insert.addBindValue(day);
        insert.addBindValue(entry.value.currency);
        insert.addBindValue(entry.value.amount);
        if (!insert.exec()) {
            reason = insert.lastError().text();
            database.rollback();
            return false;
        }
    }
    if (!database.commit()) {
        reason = database.lastError().text();
        database.rollback();
        return false;
    }
    return true;
}

std::vector<PricePoint> PriceHistory::Of(const QString& key)
{
    std::vector<PricePoint> points;
    QString reason;
    if (!Open(false, reason))
        return points;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(
        QStringLiteral("SELECT printing, date, currency, price FROM prices WHERE printing = ? ORDER BY date"));
    query.addBindValue(key);
    if (query.exec()) {
        while (query.next())
            points.push_back(PointOf(query));
    }
    return points;
}

std::vector<PriceChange> PriceHistory::ChangesSince(QDate since)
{
    std::vector<PriceChange> changes;
    QString reason;
    if (!Open(false, reason))
        return changes;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT printing, date, currency, price FROM prices ORDER BY printing, date")))
        return changes;
    const auto settle = [&changes](PriceChange& change, int days) {
        if (days > 1 && change.then.value.currency == change.now.value.currency) {
            change.change = change.now.value.amount.toDouble() - change.then.value.amount.toDouble();
            changes.push_back(change);
        }
    };
    PriceChange current;
    int days = 0;
    while (query.next()) {
        const QString key = query.value(0).toString();
        const PricePoint point = PointOf(query);
        if (key != current.key) {
            settle(current, days);
            current = PriceChange{key, point, point, 0};
            days = 0;
        }
        ++days;
        if (point.date <= since)
            current.then = point;
        current.now = point;
    }
    settle(current, days);
    return changes;
}

std::vector<PricePoint> CardPriceHistory(const QString& folder, const Card& card, TextEncoding encoding)
{
    const QString key = PrintingKey(card, encoding);
    if (key.isEmpty())
        return {};
    PriceHistory history(QDir(folder).filePath(QString::fromLatin1(PriceHistory::kFileName)));
    return history.Of(key);
}
