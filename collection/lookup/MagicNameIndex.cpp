#include "collection/lookup/MagicNameIndex.h"

#include "base/FileAccess.h"
#include "collection/lookup/JsonArraySplitter.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kDriver = QStringLiteral("QSQLITE");

QString NewConnectionName()
{
    static QAtomicInt last;
    return QStringLiteral("quillmark-magic-names-%1").arg(last.fetchAndAddRelaxed(1));
}

// Runs with a database of its own and lets go of it after.
template <typename Work>
bool WithDatabase(const QString& path, QString& reason, Work work)
{
    const QString name = NewConnectionName();
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(kDriver, name);
        database.setDatabaseName(path);
        if (!database.open())
            reason = database.lastError().text();
        else
            ok = work(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool Stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load();
}

bool Fill(QSqlDatabase& database, QIODevice& oracleCards, QString& reason, int& names, const std::atomic<bool>* stop)
{
    QSqlQuery query(database);
    // Words are matched from their start; prefixes of up to three letters
    // are indexed of their own, so that short ones answer at once.
    if (!query.exec(QStringLiteral("CREATE VIRTUAL TABLE names USING fts5(name, prefix='1 2 3')"))) {
        reason = query.lastError().text();
        return false;
    }
    database.transaction();
    QSqlQuery insert(database);
    insert.prepare(QStringLiteral("INSERT INTO names(name) VALUES (?)"));
    QSet<QString> seen;
    JsonArraySplitter splitter([&](const QByteArray& element) {
        const QJsonValue name = QJsonDocument::fromJson(element).object().value(QLatin1String("name"));
        if (!name.isString()) {
            reason = QStringLiteral("a card without a name");
            return false;
        }
        // A card printed with other faces or in other layouts keeps one name.
        if (seen.contains(name.toString()))
            return true;
        seen.insert(name.toString());
        insert.addBindValue(name.toString());
        if (!insert.exec()) {
            reason = insert.lastError().text();
            return false;
        }
        return true;
    });
    QByteArray piece;
    while (!(piece = oracleCards.read(1 << 16)).isEmpty()) {
        if (Stopped(stop)) {
            reason = QStringLiteral("stopped");
            database.rollback();
            return false;
        }
        if (!splitter.Feed(piece))
            break;
    }
    if (!splitter.Finish()) {
        if (reason.isEmpty())
            reason = splitter.Fault();
        database.rollback();
        return false;
    }
    names = int(seen.size());
    if (!database.commit()) {
        reason = database.lastError().text();
        return false;
    }
    return true;
}

// Each typed word a phrase of its own, quotes doubled, the last a prefix.
QString MatchExpression(const QString& typed)
{
    static const QRegularExpression notWord(QStringLiteral("[^\\w]+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList words = typed.split(notWord, Qt::SkipEmptyParts);
    for (QString& word : words)
        word = QLatin1Char('"') + word.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    if (!words.isEmpty())
        words.last() += QLatin1Char('*');
    return words.join(QLatin1Char(' '));
}

} // namespace

QString MagicNameIndex::DefaultPath()
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        cache = QDir::tempPath();
    return QDir(cache).filePath(QStringLiteral("quillmark/magic-names.sqlite"));
}

bool MagicNameIndex::Available()
{
    return QSqlDatabase::isDriverAvailable(kDriver);
}

bool MagicNameIndex::Build(QIODevice& oracleCards, const QString& target, QString& reason, int* names,
                           const std::atomic<bool>* stop)
{
    if (!Available()) {
        reason = QStringLiteral("Qt's SQLite driver is not installed");
        return false;
    }
    QTemporaryDir aside;
    const QString made = aside.filePath(QStringLiteral("names.sqlite"));
    int count = 0;
    if (!WithDatabase(made, reason, [&](QSqlDatabase& database) { return Fill(database, oracleCards, reason, count, stop); }))
        return false;
    QFile file(made);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (Stopped(stop)) {
        reason = QStringLiteral("stopped");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        reason = QStringLiteral("%1 cannot be created").arg(QFileInfo(target).absolutePath());
        return false;
    }
    if (!WriteFileSafely(target, [&bytes](QIODevice& out) { return out.write(bytes) == bytes.size(); }, &reason))
        return false;
    if (names)
        *names = count;
    return true;
}

MagicNameIndex::MagicNameIndex(const QString& path)
    : connection_(NewConnectionName())
{
    if (!Available() || !QFile::exists(path))
        return;
    QSqlDatabase database = QSqlDatabase::addDatabase(kDriver, connection_);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    open_ = database.open();
}

MagicNameIndex::~MagicNameIndex()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

QStringList MagicNameIndex::Complete(const QString& typed, int limit) const
{
    QStringList names;
    const QString expression = MatchExpression(typed);
    if (!open_ || expression.isEmpty())
        return names;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    // A letter or two matches thousands of names: the order is chosen among
    // the first few hundred, so that every keystroke answers at once.
    query.prepare(QStringLiteral("SELECT name FROM (SELECT name FROM names WHERE names MATCH ? LIMIT 500) "
                                 "ORDER BY substr(lower(name), 1, ?) <> lower(?), length(name), name LIMIT ?"));
    const QString start = typed.trimmed();
    query.addBindValue(expression);
    query.addBindValue(start.size());
    query.addBindValue(start);
    query.addBindValue(limit);
    if (!query.exec())
        return names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}
