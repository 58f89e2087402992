#include "collection/prices/MarketPrice.h"

#include <QJsonArray>
#include <QLocale>
#include <QRegularExpression>

namespace {

constexpr char16_t kEuro = u'\u20ac';

// A price is a positive decimal number; the sources give 0, "0.00" or
// null for none.
std::optional<QString> Amount(const QJsonValue& value)
{
    QString text;
    if (value.isString())
        text = value.toString().trimmed();
    else if (value.isDouble())
        text = QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    else
        return std::nullopt;
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    if (!number.match(text).hasMatch() || text.toDouble() <= 0)
        return std::nullopt;
    return text;
}

std::optional<MarketValue> Priced(const QJsonValue& value, const char* currency)
{
    if (const std::optional<QString> amount = Amount(value))
        return MarketValue{QString::fromLatin1(currency), *amount};
    return std::nullopt;
}

// The first of the keys that has a price.
std::optional<MarketValue> FirstOf(const QJsonObject& prices, std::initializer_list<const char*> keys,
                                   const char* currency)
{
    for (const char* key : keys) {
        if (auto value = Priced(prices.value(QLatin1String(key)), currency))
            return value;
    }
    return std::nullopt;
}

// A finish as the lookup may have filled it ("nonfoil, foil"): the first.
QString FirstFinish(const QString& finish)
{
    return finish.section(QLatin1Char(','), 0, 0).trimmed().toLower();
}

} // namespace

QString MarketText(const MarketValue& value)
{
    const QString symbol = value.currency == QLatin1String("EUR") ? QString(QChar(kEuro)) : QStringLiteral("$");
    return symbol + value.amount;
}

std::optional<MarketValue> ReadMarketText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const char* currency = nullptr;
    if (trimmed.front() == QChar(kEuro))
        currency = "EUR";
    else if (trimmed.front() == QLatin1Char('$'))
        currency = "USD";
    else
        return std::nullopt;
    return Priced(QJsonValue(trimmed.mid(1)), currency);
}

std::optional<MarketValue> ScryfallMarketValue(const QJsonObject& card, const QString& finish)
{
    const QJsonObject prices = card.value(QLatin1String("prices")).toObject();
    const QString first = FirstFinish(finish);
    std::optional<MarketValue> value;
    if (first == QLatin1String("foil"))
        value = FirstOf(prices, {"usd_foil"}, "USD");
    else if (first == QLatin1String("etched"))
        value = FirstOf(prices, {"usd_etched"}, "USD");
    else if (first.isEmpty())
        value = FirstOf(prices, {"usd", "usd_foil", "usd_etched"}, "USD");
    else
        value = FirstOf(prices, {"usd"}, "USD");
    if (value)
        return value;
    if (first == QLatin1String("foil"))
        return FirstOf(prices, {"eur_foil"}, "EUR");
    if (first == QLatin1String("etched"))
        return FirstOf(prices, {"eur_etched"}, "EUR");
    if (first.isEmpty())
        return FirstOf(prices, {"eur", "eur_foil", "eur_etched"}, "EUR");
    return FirstOf(prices, {"eur"}, "EUR");
}

std::optional<MarketValue> TcgdexMarketValue(const QJsonObject& card, const QString& finish)
{
    const QJsonObject pricing = card.value(QLatin1String("pricing")).toObject();
    const QJsonObject tcgplayer = pricing.value(QLatin1String("tcgplayer")).toObject();
    const QJsonObject cardmarket = pricing.value(QLatin1String("cardmarket")).toObject();
    const QString first = FirstFinish(finish);
    const bool reverse = first.startsWith(QLatin1String("reverse"));
    const bool holo = reverse || first == QLatin1String("holo") || first == QLatin1String("holofoil")
                      || first == QLatin1String("foil");
    QStringList variants;
    if (first.isEmpty())
        variants = {QStringLiteral("normal"), QStringLiteral("holofoil"), QStringLiteral("reverseHolofoil")};
    else if (reverse)
        variants = {QStringLiteral("reverseHolofoil")};
    else if (holo)
        variants = {QStringLiteral("holofoil")};
    else
        variants = {QStringLiteral("normal")};
    for (const QString& variant : variants) {
        const QJsonObject prices = tcgplayer.value(variant).toObject();
        if (auto value = Priced(prices.value(QLatin1String("marketPrice")), "USD"))
            return value;
    }
    return holo ? FirstOf(cardmarket, {"avg-holo", "trend-holo"}, "EUR") : FirstOf(cardmarket, {"avg", "trend"}, "EUR");
}

std::optional<MarketValue> YgoprodeckMarketValue(const QJsonObject& card, const QString& setCode, const QString& rarity)
{
    std::optional<MarketValue> printingValue;
    for (const QJsonValue& each : card.value(QLatin1String("card_sets")).toArray()) {
        const QJsonObject printing = each.toObject();
        if (printing.value(QLatin1String("set_code")).toString().compare(setCode, Qt::CaseInsensitive) != 0)
            continue;
        const auto value = YgoprodeckPrintingValue(printing);
        // A set code may come in more than one rarity: the Card's own first.
        const bool sameRarity =
            printing.value(QLatin1String("set_rarity")).toString().compare(rarity, Qt::CaseInsensitive) == 0;
        if (value && (sameRarity || !printingValue))
            printingValue = value;
        if (value && sameRarity)
            break;
    }
    if (printingValue)
        return printingValue;
    const QJsonObject prices = card.value(QLatin1String("card_prices")).toArray().at(0).toObject();
    return FirstOf(prices, {"tcgplayer_price"}, "USD");
}

std::optional<MarketValue> YgoprodeckPrintingValue(const QJsonObject& printing)
{
    return Priced(printing.value(QLatin1String("set_price")), "USD");
}
