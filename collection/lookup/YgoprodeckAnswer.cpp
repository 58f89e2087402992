#include "collection/lookup/YgoprodeckAnswer.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

std::string Utf8(const QJsonValue& value)
{
    // Ids come as numbers from one page and as text from another.
    if (value.isDouble())
        return QString::number(value.toInteger()).toStdString();
    return value.toString().toStdString();
}

bool HasId(const QJsonObject& object)
{
    const QJsonValue id = object.value(QLatin1String("id"));
    return (id.isDouble() || (id.isString() && !id.toString().isEmpty()))
           && object.value(QLatin1String("name")).isString();
}

// The site answers a search that finds nothing with status 400 and an
// "error" text.
bool ReadError(int status, const QJsonValue& json, SourceAnswer& answer)
{
    const QJsonValue error = json.toObject().value(QLatin1String("error"));
    if (status == 200 && error.isUndefined())
        return false;
    if (status == 200 || status == 400 || status == 404)
        answer = NotFoundAnswer(kYgoprodeckName, error.toString());
    else
        answer = UnreadableAnswer(kYgoprodeckName, QStringLiteral("HTTP status %1").arg(status));
    return true;
}

void SetPrinting(const QJsonObject& printing, CardMatch& match)
{
    match.series = Utf8(printing.value(QLatin1String("set_name")));
    const std::string code = Utf8(printing.value(QLatin1String("set_code")));
    const std::size_t dash = code.find('-');
    match.setcode = code.substr(0, dash);
    match.number = dash == std::string::npos ? std::string() : code.substr(dash + 1);
    match.finish = Utf8(printing.value(QLatin1String("set_rarity")));
}

CardMatch CardOf(const QJsonObject& card)
{
    CardMatch match;
    match.name = Utf8(card.value(QLatin1String("name")));
    match.game = "yugioh";
    match.language = "en";
    match.print = "ygoprodeck:" + Utf8(card.value(QLatin1String("id")));
    return match;
}

} // namespace

SourceAnswer ReadYgoprodeckCards(int status, const QByteArray& body)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kYgoprodeckName, body, json, answer) || ReadError(status, json, answer))
        return answer;
    const QJsonValue data = json.toObject().value(QLatin1String("data"));
    if (!data.isArray())
        return UnreadableAnswer(kYgoprodeckName, QStringLiteral("no list of cards"));
    for (const QJsonValue& value : data.toArray()) {
        const QJsonObject card = value.toObject();
        if (!HasId(card))
            return UnreadableAnswer(kYgoprodeckName, QStringLiteral("a card without its name or id"));
        CardMatch match = CardOf(card);
        match.picture = Utf8(card.value(QLatin1String("card_images")).toArray().at(0).toObject()
                                 .value(QLatin1String("image_url")));
        const QJsonArray printings = card.value(QLatin1String("card_sets")).toArray();
        // A card never printed in a set (a new one, an online one) is still
        // a match.
        if (printings.isEmpty())
            answer.matches.push_back(match);
        for (const QJsonValue& printing : printings) {
            SetPrinting(printing.toObject(), match);
            answer.matches.push_back(match);
        }
    }
    return answer;
}

SourceAnswer ReadYgoprodeckSetCode(int status, const QByteArray& body)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kYgoprodeckName, body, json, answer) || ReadError(status, json, answer))
        return answer;
    const QJsonObject printing = json.toObject();
    if (!HasId(printing) || !printing.value(QLatin1String("set_code")).isString())
        return UnreadableAnswer(kYgoprodeckName, QStringLiteral("not a printing of a card"));
    CardMatch match = CardOf(printing);
    SetPrinting(printing, match);
    answer.matches.push_back(std::move(match));
    return answer;
}

SourceAnswer ReadYgoprodeckSets(int status, const QByteArray& body)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kYgoprodeckName, body, json, answer) || ReadError(status, json, answer))
        return answer;
    if (!json.isArray())
        return UnreadableAnswer(kYgoprodeckName, QStringLiteral("no list of sets"));
    for (const QJsonValue& value : json.toArray()) {
        const QJsonObject set = value.toObject();
        CardMatch named;
        named.series = Utf8(set.value(QLatin1String("set_name")));
        named.year = Utf8(set.value(QLatin1String("tcg_date"))).substr(0, 4);
        if (!named.series.empty() && !named.year.empty())
            answer.matches.push_back(std::move(named));
    }
    return answer;
}
