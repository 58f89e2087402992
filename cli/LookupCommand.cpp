#include "cli/LookupCommand.h"

#include "cli/CliOptions.h"
#include "collection/lookup/CardLookup.h"
#include "collection/lookup/LookupService.h"
#include "resources/StringTable.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>

namespace {

QJsonObject MatchJson(const CardMatch& match)
{
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    return {{"name", text(match.name)},       {"series", text(match.series)},   {"year", text(match.year)},
            {"game", text(match.game)},       {"setcode", text(match.setcode)}, {"number", text(match.number)},
            {"finish", text(match.finish)},   {"language", text(match.language)},
            {"picture", text(match.picture)}, {"print", text(match.print)}};
}

// A tab or a line break from a database would shift the columns or split the
// line: each becomes a space.
QString MatchLine(const CardMatch& match)
{
    static const QRegularExpression breaks(QStringLiteral("[\t\r\n]"));
    QStringList fields;
    for (const std::string* field : {&match.name, &match.series, &match.year, &match.setcode, &match.number})
        fields << QString::fromStdString(*field).replace(breaks, QStringLiteral(" "));
    return fields.join(QLatin1Char('\t'));
}

int Lookup(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliOptions options;
    QString reason;
    const QString json = QStringLiteral("--json");
    const QString gameOption = QStringLiteral("--game");
    CardGame game = CardGame::Any;
    if (!options.Parse(arguments, {gameOption}, {json}, reason)) {
        err << "quillmark-cli: " << reason << '\n';
        return kExitUsage;
    }
    if (!ParseCardGame(options.Value(gameOption), game) || (options.Has(gameOption) && game == CardGame::Any)) {
        err << "quillmark-cli: " << Text::CliLookupGame << '\n';
        return kExitUsage;
    }
    // "lookup xln 96" needs no quotes.
    const QString query = options.Positional().join(QLatin1Char(' ')).simplified();
    if (query.isEmpty()) {
        err << "quillmark-cli: " << Text::CliLookupNoQuery << '\n';
        return kExitUsage;
    }

    std::vector<CardMatch> matches;
    QString failure;
    QEventLoop loop;
    // One command per process: its own service, gone with its last request
    // before the application object is.
    LookupService service(CardSources::FromEnvironment());
    CardLookup lookup(service);
    QObject::connect(&lookup, &CardLookup::MatchesFound, &loop, [&matches](const std::vector<CardMatch>& found) {
        matches.insert(matches.end(), found.begin(), found.end());
    });
    QObject::connect(&lookup, &CardLookup::Finished, &loop, [&](const QString& why) {
        failure = why;
        loop.quit();
    });
    lookup.Start(query, game);
    loop.exec();

    if (options.Has(json)) {
        QJsonArray array;
        for (const CardMatch& match : matches)
            array.append(MatchJson(match));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const CardMatch& match : matches)
            out << MatchLine(match) << '\n';
    }
    if (!failure.isEmpty()) {
        err << "quillmark-cli: " << failure << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

CliCommand LookupCommand()
{
    return {"lookup", "lookup [--game GAME] QUERY [--json]",
            "Find cards in the public card databases by name, or by set and number.", Lookup,
            "QUERY is part of a card's name, or a printing: a Magic set and collector number\n"
            "(\"xln 96\"), a Pokemon card id (\"swsh3-136\") or a Yu-Gi-Oh! set code\n"
            "(\"SDDC-EN014\"). GAME (magic, pokemon or yugioh) narrows the search; without\n"
            "it the shape of QUERY chooses, and a name is asked of all three databases.\n"
            "Each match is one line: name, series, year, set code and number, separated by\n"
            "tabs; --json gives an array of objects with the keys name, series, year, game,\n"
            "setcode, number, finish, language, picture and print.\n"
            "\n"
            "Scryfall, TCGdex and YGOPRODeck are asked over the network. When some of them\n"
            "fail, the matches found are still printed, and the exit status is 1."};
}
