#include "collection/lookup/TcgdexAnswer.h"

#include "resources/StringTable.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

std::string Utf8(const QJsonValue& value)
{
    // Numbers within a set come as text or as a number.
    if (value.isDouble())
        return QString::number(value.toInteger()).toStdString();
    return value.toString().toStdString();
}

// An error is a problem object (status, title); a 404 is no such card.
bool ReadProblem(int status, const QJsonValue& json, SourceAnswer& answer)
{
    const QJsonObject object = json.toObject();
    if (status == 200 && !object.contains(QLatin1String("status")))
        return false;
    const QString said = object.value(QLatin1String("title")).toString();
    if (status == 404 || object.value(QLatin1String("status")).toInt() == 404)
        answer = NotFoundAnswer(kTcgdexName, said);
    else if (!said.isEmpty())
        answer.failure = QString::fromUtf8(Text::LookupSourceSays).arg(QString::fromUtf8(kTcgdexName), said);
    else
        answer.failure = QString::fromUtf8(Text::LookupHttpStatus).arg(QString::fromUtf8(kTcgdexName)).arg(status);
    return true;
}

bool ReadCard(const QJsonObject& card, const std::string& language, CardMatch& match)
{
    if (!card.value(QLatin1String("id")).isString() || !card.value(QLatin1String("name")).isString())
        return false;
    match.name = Utf8(card.value(QLatin1String("name")));
    match.game = "pokemon";
    const std::string id = Utf8(card.value(QLatin1String("id")));
    const QJsonObject set = card.value(QLatin1String("set")).toObject();
    match.setcode = set.isEmpty() ? TcgdexSetOf(id) : Utf8(set.value(QLatin1String("id")));
    match.series = Utf8(set.value(QLatin1String("name")));
    match.number = Utf8(card.value(QLatin1String("localId")));
    QStringList finishes;
    const QJsonObject variants = card.value(QLatin1String("variants")).toObject();
    for (auto variant = variants.begin(); variant != variants.end(); ++variant) {
        if (variant.value().toBool())
            finishes << variant.key();
    }
    match.finish = finishes.join(QLatin1String(", ")).toStdString();
    match.language = language;
    // The image is the address of the picture without its size and format.
    const std::string image = Utf8(card.value(QLatin1String("image")));
    if (!image.empty())
        match.picture = image + "/high.png";
    match.print = "tcgdex:" + id;
    return true;
}

} // namespace

std::string TcgdexSetOf(const std::string& cardId)
{
    const std::size_t dash = cardId.rfind('-');
    return dash == std::string::npos ? std::string() : cardId.substr(0, dash);
}

SourceAnswer ReadTcgdexCard(int status, const QByteArray& body, const std::string& language)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kTcgdexName, body, json, answer) || ReadProblem(status, json, answer))
        return answer;
    CardMatch match;
    if (!json.isObject() || !ReadCard(json.toObject(), language, match))
        return UnreadableAnswer(kTcgdexName, QStringLiteral("not a card"));
    answer.matches.push_back(std::move(match));
    return answer;
}

SourceAnswer ReadTcgdexCards(int status, const QByteArray& body, const std::string& language)
{
    SourceAnswer answer;
    QJsonValue json;
    if (!ReadAnswerJson(kTcgdexName, body, json, answer) || ReadProblem(status, json, answer))
        return answer;
    if (!json.isArray())
        return UnreadableAnswer(kTcgdexName, QStringLiteral("not a list of cards"));
    for (const QJsonValue& card : json.toArray()) {
        CardMatch match;
        if (!ReadCard(card.toObject(), language, match))
            return UnreadableAnswer(kTcgdexName, QStringLiteral("a card without its name or id"));
        answer.matches.push_back(std::move(match));
    }
    return answer;
}

bool ReadTcgdexSet(int status, const QByteArray& body, TcgdexSet& set)
{
    SourceAnswer answer;
    QJsonValue json;
    if (status != 200 || !ReadAnswerJson(kTcgdexName, body, json, answer) || !json.isObject())
        return false;
    const QJsonObject object = json.toObject();
    if (!object.value(QLatin1String("name")).isString())
        return false;
    set.name = Utf8(object.value(QLatin1String("name")));
    set.year = Utf8(object.value(QLatin1String("releaseDate"))).substr(0, 4);
    return true;
}
