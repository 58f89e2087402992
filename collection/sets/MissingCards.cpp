#include "collection/sets/MissingCards.h"

#include "collection/sets/SetNumber.h"

#include <QList>
#include <QString>

#include <set>

namespace {

std::string Encoded(const std::string& utf8, TextEncoding encoding)
{
    const QString text = QString::fromStdString(utf8);
    std::string bytes;
    if (EncodeText(text, encoding, bytes))
        return bytes;
    bytes.clear();
    for (const uint codePoint : text.toUcs4()) {
        std::string one;
        bytes += EncodeText(QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1), encoding, one) ? one
                                                                                                             : "?";
    }
    return bytes;
}

} // namespace

std::vector<SetCard> MissingCards(const SetProgress& set, const std::vector<SetCard>& listed)
{
    std::vector<SetCard> missing;
    std::set<std::string> seen;
    for (const SetCard& card : listed) {
        const std::string key = SetNumberKey(set.game, card.number);
        if (key.empty() || set.owned.contains(key) || !seen.insert(key).second)
            continue;
        missing.push_back(card);
    }
    return missing;
}

std::vector<Card> WantedCards(const SetProgress& set, const std::vector<SetCard>& missing, TextEncoding encoding)
{
    std::vector<Card> wanted;
    wanted.reserve(missing.size());
    for (const SetCard& card : missing) {
        if (set.named.contains(SetNumberKey(set.game, card.number)))
            continue;
        Card made;
        made[NameField] = Encoded(card.name, encoding);
        made[SeriesField] = set.name;
        made[QuantityField] = "0";
        made[GameField] = set.game;
        made[SetCodeField] = set.code;
        made[NumberField] = Encoded(card.number, encoding);
        made[WantField] = "1";
        PrepareForStorage(made);
        wanted.push_back(std::move(made));
    }
    return wanted;
}
