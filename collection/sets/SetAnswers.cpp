#include "collection/sets/SetAnswers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <set>

namespace {

std::optional<QJsonObject> Object(const QByteArray& body)
{
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        return std::nullopt;
    return json.object();
}

std::string Utf8(const QJsonValue& value)
{
    // Numbers within a set come as text or as a number.
    if (value.isDouble())
        return QString::number(value.toInteger()).toStdString();
    return value.toString().toStdString();
}

// A price of the sources, "1.23" or 1.23, with its currency before it.
std::string Market(const char* currency, const QJsonValue& value)
{
    const QString amount = value.isDouble() ? QString::number(value.toDouble(), 'f', 2) : value.toString();
    bool ok = false;
    if (amount.toDouble(&ok) <= 0 || !ok)
        return {};
    return currency + amount.toStdString();
}

} // namespace

std::optional<SetSize> ReadScryfallSet(const QByteArray& body)
{
    const std::optional<QJsonObject> set = Object(body);
    if (!set || set->value(QLatin1String("object")).toString() != QLatin1String("set"))
        return std::nullopt;
    int size = set->value(QLatin1String("printed_size")).toInt();
    if (size <= 0)
        size = set->value(QLatin1String("card_count")).toInt();
    if (size <= 0)
        return std::nullopt;
    return SetSize{size, Utf8(set->value(QLatin1String("name")))};
}

std::optional<SetSize> ReadTcgdexSet(const QByteArray& body)
{
    const std::optional<QJsonObject> set = Object(body);
    if (!set)
        return std::nullopt;
    const int size = set->value(QLatin1String("cardCount")).toObject().value(QLatin1String("official")).toInt();
    if (size <= 0)
        return std::nullopt;
    return SetSize{size, Utf8(set->value(QLatin1String("name")))};
}

std::vector<std::pair<std::string, SetSize>> ReadYgoprodeckSets(const QByteArray& body)
{
    std::vector<std::pair<std::string, SetSize>> sets;
    for (const QJsonValue& value : QJsonDocument::fromJson(body).array()) {
        const QJsonObject set = value.toObject();
        const std::string code = Utf8(set.value(QLatin1String("set_code")));
        const int size = set.value(QLatin1String("num_of_cards")).toInt();
        if (!code.empty() && size > 0)
            sets.emplace_back(code, SetSize{size, Utf8(set.value(QLatin1String("set_name")))});
    }
    return sets;
}

std::optional<std::vector<SetCard>> ReadScryfallSetCards(const QByteArray& body, QString& nextQuery)
{
    nextQuery.clear();
    const std::optional<QJsonObject> list = Object(body);
    if (!list || list->value(QLatin1String("object")).toString() != QLatin1String("list"))
        return std::nullopt;
    std::vector<SetCard> cards;
    for (const QJsonValue& value : list->value(QLatin1String("data")).toArray()) {
        const QJsonObject card = value.toObject();
        const QJsonObject prices = card.value(QLatin1String("prices")).toObject();
        std::string market = Market("$", prices.value(QLatin1String("usd")));
        if (market.empty())
            market = Market("\xe2\x82\xac", prices.value(QLatin1String("eur")));
        cards.push_back({Utf8(card.value(QLatin1String("name"))), Utf8(card.value(QLatin1String("collector_number"))),
                         market});
    }
    if (list->value(QLatin1String("has_more")).toBool())
        nextQuery = QUrl(list->value(QLatin1String("next_page")).toString()).query(QUrl::FullyEncoded);
    return cards;
}

std::optional<std::vector<SetCard>> ReadTcgdexSetCards(const QByteArray& body)
{
    const std::optional<QJsonObject> set = Object(body);
    if (!set || !set->value(QLatin1String("cards")).isArray())
        return std::nullopt;
    std::vector<SetCard> cards;
    for (const QJsonValue& value : set->value(QLatin1String("cards")).toArray()) {
        const QJsonObject card = value.toObject();
        cards.push_back({Utf8(card.value(QLatin1String("name"))), Utf8(card.value(QLatin1String("localId"))), {}});
    }
    return cards;
}

std::optional<std::vector<SetCard>> ReadYgoprodeckSetCards(const QByteArray& body, std::string_view code)
{
    const std::optional<QJsonObject> answer = Object(body);
    if (!answer || !answer->value(QLatin1String("data")).isArray())
        return std::nullopt;
    const QString prefix = QString::fromUtf8(code.data(), qsizetype(code.size())) + QLatin1Char('-');
    std::vector<SetCard> cards;
    // A printing comes once for each of its rarities.
    std::set<std::string> listed;
    for (const QJsonValue& value : answer->value(QLatin1String("data")).toArray()) {
        const QJsonObject card = value.toObject();
        for (const QJsonValue& printing : card.value(QLatin1String("card_sets")).toArray()) {
            const QString setCode = printing.toObject().value(QLatin1String("set_code")).toString();
            if (!setCode.startsWith(prefix, Qt::CaseInsensitive)
                || !listed.insert(setCode.mid(prefix.size()).toStdString()).second)
                continue;
            cards.push_back({Utf8(card.value(QLatin1String("name"))), setCode.mid(prefix.size()).toStdString(),
                             Market("$", printing.toObject().value(QLatin1String("set_price")))});
        }
    }
    return cards;
}
