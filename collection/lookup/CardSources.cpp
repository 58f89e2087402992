#include "collection/lookup/CardSources.h"

#include <QtGlobal>

const char* CardSourceName(CardSource source)
{
    switch (source) {
    case CardSource::Scryfall:
        return "Scryfall";
    case CardSource::Tcgdex:
        return "TCGdex";
    case CardSource::Ygoprodeck:
        break;
    }
    return "YGOPRODeck";
}

std::optional<CardSource> PrintSource(const std::string& print)
{
    const QString prefix = QString::fromStdString(print.substr(0, print.find(':')));
    if (prefix.size() == qsizetype(print.size()))
        return std::nullopt;
    for (const CardSource source : {CardSource::Scryfall, CardSource::Tcgdex, CardSource::Ygoprodeck}) {
        if (prefix.compare(QLatin1String(CardSourceName(source)), Qt::CaseInsensitive) == 0)
            return source;
    }
    return std::nullopt;
}

CardSources::CardSources(QString base)
    : base_(std::move(base))
{
    while (base_.endsWith(QLatin1Char('/')))
        base_.chop(1);
}

CardSources CardSources::FromEnvironment()
{
    return CardSources(qEnvironmentVariable(kEnvironment));
}

QUrl CardSources::Url(CardSource source, const QString& path, const QString& query) const
{
    static const char* const publicAddresses[] = {"https://api.scryfall.com", "https://api.tcgdex.net",
                                                  "https://db.ygoprodeck.com"};
    static const char* const folders[] = {"/scryfall", "/tcgdex", "/ygoprodeck"};
    const int index = int(source);
    const QString root = base_.isEmpty() ? QString::fromLatin1(publicAddresses[index])
                                         : base_ + QLatin1String(folders[index]);
    QUrl url(root + path, QUrl::StrictMode);
    if (!query.isEmpty())
        url.setQuery(query, QUrl::StrictMode);
    return url;
}
