#include "cli/SetsCommand.h"

#include "base/TextEncoding.h"
#include "cli/CliCollection.h"
#include "cli/CliOptions.h"
#include "collection/CardTableModel.h"
#include "collection/lookup/LookupService.h"
#include "collection/sets/SetCompletion.h"
#include "collection/sets/SetSizeCache.h"
#include "collection/sets/SetSizeFetch.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QTextStream>

namespace {

QString Decoded(const std::string& bytes, const CardTableModel& table)
{
    return DecodeText(bytes, table.Encoding());
}

// A tab or a line break in a name would shift the columns or split the line.
QString OneLine(QString text)
{
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

QString Fetch(const std::vector<SetProgress>& sets, SetSizeCache& cache)
{
    QString failures;
    QEventLoop loop;
    // One command per process: its own service, gone with its last request
    // before the application object is.
    LookupService service(CardSources::FromEnvironment());
    SetSizeFetch fetch(service, cache);
    QObject::connect(&fetch, &SetSizeFetch::Finished, &loop, [&](const QString& why) {
        failures = why;
        loop.quit();
    });
    fetch.Start(sets);
    loop.exec();
    return failures;
}

int Sets(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    const QString json = QStringLiteral("--json");
    const QString fetch = QStringLiteral("--fetch");
    if (!options.Parse(arguments, {QStringLiteral("--folder")}, {json, fetch}, reason)
        || !options.Positional().isEmpty()) {
        err << "quillmark-cli: " << (reason.isEmpty() ? QStringLiteral("unexpected argument") : reason) << '\n';
        return kExitUsage;
    }
    CardTableModel table;
    if (!EnterFolder(options, reason) || !ReadFolderCollection(table, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitFailure;
    }
    const std::vector<SetProgress> sets = SetsOf(table);
    SetSizeCache cache(SetSizeCache::DefaultPath());
    const QString failures = options.Has(fetch) ? Fetch(sets, cache) : QString();

    QJsonArray array;
    for (const SetProgress& set : sets) {
        const std::optional<SetSize> size = cache.Find(set.game, set.code);
        QString name = Decoded(set.name, table);
        if (name.isEmpty() && size)
            name = QString::fromStdString(size->name);
        if (options.Has(json)) {
            QJsonArray missing;
            if (size) {
                for (const int place : MissingPlaces(set, size->size))
                    missing.append(place);
            }
            array.append(QJsonObject{{"game", Decoded(set.game, table)},
                                     {"code", Decoded(set.code, table)},
                                     {"name", name},
                                     {"held", size ? OwnedPlaces(set, size->size) : qint64(set.owned.size())},
                                     {"size", size ? QJsonValue(size->size) : QJsonValue()},
                                     {"missing", missing}});
            continue;
        }
        out << OneLine(Decoded(set.game, table)) << '\t' << OneLine(Decoded(set.code, table)) << '\t' << OneLine(name) << '\t';
        if (size) {
            out << OwnedPlaces(set, size->size) << " of " << size->size << '\t'
                << QString::fromStdString(PlacesText(MissingPlaces(set, size->size))) << '\n';
        } else {
            out << set.owned.size() << " held, size unknown\t\n";
        }
    }
    if (options.Has(json))
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    if (!failures.isEmpty()) {
        err << "quillmark-cli: " << failures << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

CliCommand SetsCommand()
{
    return {"sets", "sets [--folder DIR] [--fetch] [--json]",
            "Show how complete each set of the collection is and which numbers are missing.", Sets,
            "A set is named by a Card's game and set code, or by a TCGdex print. Each set is\n"
            "one line: game, set code, name, the numbers held of the set's size and the\n"
            "missing numbers, separated by tabs. Sizes come from the cache of sizes already\n"
            "fetched; --fetch first asks Scryfall, TCGdex and YGOPRODeck over the network for\n"
            "the sizes not known yet, and keeps them. Numbers with letters or beyond the\n"
            "size are not counted. --json gives an array of objects with the keys game, code,\n"
            "name, held, size (null when not known) and missing."};
}
