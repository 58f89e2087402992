#include "collection/lookup/ScryfallAnswer.h"

#include "resources/StringTable.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

std::string Utf8(const QJsonValue& value)
{
    return value.toString().toStdString();
}

// False for a card without the name and id every card has.
bool ReadCard(const QJsonObject& card, CardMatch& match)
{
    if (!card.value(QLatin1String("name")).isString() || !card.value(QLatin1String("id")).isString())
        return false;
    match.name = Utf8(card.value(QLatin1String("name")));
    match.series = Utf8(card.value(QLatin1String("set_name")));
    match.year = Utf8(card.value(QLatin1String("released_at"))).substr(0, 4);
    match.game = "magic";
    match.setcode = Utf8(card.value(QLatin1String("set")));
    match.number = Utf8(card.value(QLatin1String("collector_number")));
    QStringList finishes;
    for (const QJsonValue& finish : card.value(QLatin1String("finishes")).toArray())
        finishes << finish.toString();
    match.finish = finishes.join(QLatin1String(", ")).toStdString();
    match.language = Utf8(card.value(QLatin1String("lang")));
    // A card of two faces has its pictures on the faces; the front is shown.
    QJsonObject pictures = card.value(QLatin1String("image_uris")).toObject();
    if (pictures.isEmpty())
        pictures = card.value(QLatin1String("card_faces")).toArray().at(0).toObject()
                       .value(QLatin1String("image_uris")).toObject();
    match.picture = Utf8(pictures.value(QLatin1String("normal")));
    match.print = "scryfall:" + Utf8(card.value(QLatin1String("id")));
    return true;
}

} // namespace

SourceAnswer ReadScryfallAnswer(int status, const QByteArray& body)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kScryfallName, body, json, answer))
        return answer;
    const QJsonObject object = json.toObject();
    const QString kind = object.value(QLatin1String("object")).toString();
    if (kind == QLatin1String("error")) {
        const QString details = object.value(QLatin1String("details")).toString();
        if (status == 404 || object.value(QLatin1String("status")).toInt() == 404)
            return NotFoundAnswer(kScryfallName, details);
        answer.failure = QString::fromUtf8(Text::LookupSourceSays).arg(QString::fromUtf8(kScryfallName), details);
        return answer;
    }
    if (status != 200)
        return UnreadableAnswer(kScryfallName, QStringLiteral("HTTP status %1").arg(status));
    QJsonArray cards;
    if (kind == QLatin1String("card"))
        cards.append(object);
    else if (kind == QLatin1String("list") && object.value(QLatin1String("data")).isArray())
        cards = object.value(QLatin1String("data")).toArray();
    else
        return UnreadableAnswer(kScryfallName, QStringLiteral("neither a card nor a list"));
    for (const QJsonValue& card : cards) {
        CardMatch match;
        if (!ReadCard(card.toObject(), match))
            return UnreadableAnswer(kScryfallName, QStringLiteral("a card without its name or id"));
        answer.matches.push_back(std::move(match));
    }
    return answer;
}
