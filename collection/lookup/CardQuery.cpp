#include "collection/lookup/CardQuery.h"

#include <QRegularExpression>

namespace {

// "SDDC-EN014", "LOB-001": a set code, a region of one or two letters, three
// digits. Without a region the set is as printed, in capitals.
bool ReadYugioh(const QString& text, CardQuery& query)
{
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z0-9]{2,5})-([A-Za-z]{1,2})?([0-9]{3})$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return false;
    if (match.captured(2).isEmpty() && match.captured(1) != match.captured(1).toUpper())
        return false;
    query.kind = CardQuery::Kind::YugiohPrint;
    query.set = match.captured(1).toUpper();
    query.number = match.captured(2).toUpper() + match.captured(3);
    query.text = text.toUpper();
    return true;
}

// "swsh3-136", "sv03.5-001", "base1-4": TCGdex's ids, in small letters.
bool ReadPokemon(const QString& text, CardQuery& query)
{
    static const QRegularExpression shape(QStringLiteral("^([a-z][a-z0-9.]*)-([A-Za-z0-9]+)$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch() || !match.captured(2).contains(QRegularExpression(QStringLiteral("[0-9]"))))
        return false;
    query.kind = CardQuery::Kind::PokemonPrint;
    query.set = match.captured(1);
    query.number = match.captured(2);
    return true;
}

// "xln 96", "M21 123a": a set code of two to six letters and digits, then a
// collector number that starts with a digit.
bool ReadMagic(const QString& text, CardQuery& query)
{
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z0-9]{2,6}) ([0-9]+[A-Za-z]?)$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return false;
    query.kind = CardQuery::Kind::MagicPrint;
    query.set = match.captured(1).toLower();
    query.number = match.captured(2).toLower();
    return true;
}

} // namespace

bool ParseCardGame(const QString& text, CardGame& game)
{
    const QString name = text.trimmed().toLower();
    if (name.isEmpty())
        game = CardGame::Any;
    else if (name == QLatin1String("magic"))
        game = CardGame::Magic;
    else if (name == QLatin1String("pokemon"))
        game = CardGame::Pokemon;
    else if (name == QLatin1String("yugioh"))
        game = CardGame::Yugioh;
    else
        return false;
    return true;
}

CardQuery ParseCardQuery(const QString& typed, CardGame game)
{
    CardQuery query;
    query.text = typed.simplified();
    query.game = game;
    query.gameGiven = game != CardGame::Any;
    const bool any = game == CardGame::Any;
    // Yu-Gi-Oh! first: its codes with a region would otherwise read as
    // TCGdex ids.
    if ((any || game == CardGame::Yugioh) && ReadYugioh(query.text, query))
        query.game = CardGame::Yugioh;
    else if ((any || game == CardGame::Pokemon) && ReadPokemon(query.text, query))
        query.game = CardGame::Pokemon;
    else if ((any || game == CardGame::Magic) && ReadMagic(query.text, query))
        query.game = CardGame::Magic;
    return query;
}
