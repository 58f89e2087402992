#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// One copy's market price as a source gave it: the currency ("USD" or
// "EUR") and the number's text ("1.23").
struct MarketValue {
    QString currency;
    QString amount;

    bool operator==(const MarketValue&) const = default;
};

// "$1.23" or "€0.45": how the MARKET detail writes a value.
QString MarketText(const MarketValue& value);
// The value a MARKET text holds; nullopt for any other text.
std::optional<MarketValue> ReadMarketText(const QString& text);

// The price of a Scryfall card for the finish: usd, usd_foil or usd_etched,
// else the same in euros. Without a finish, the first price the card has.
std::optional<MarketValue> ScryfallMarketValue(const QJsonObject& card, const QString& finish);
// The price of a TCGdex card for the finish: TCGplayer's market price of the
// variant, else Cardmarket's average.
std::optional<MarketValue> TcgdexMarketValue(const QJsonObject& card, const QString& finish);
// The price of one printing of a YGOPRODeck card (set code "SDDC-EN014",
// rarity as its finish): that printing's set_price, else the card's TCGplayer
// price.
std::optional<MarketValue> YgoprodeckMarketValue(const QJsonObject& card, const QString& setCode,
                                                 const QString& rarity);
// The price of a cardsetsinfo.php answer, the printing's set_price.
std::optional<MarketValue> YgoprodeckPrintingValue(const QJsonObject& printing);
