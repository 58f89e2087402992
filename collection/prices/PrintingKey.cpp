#include "collection/prices/PrintingKey.h"

#include "collection/lookup/CardSources.h"

QString PrintingKey(const Card& card, TextEncoding encoding)
{
    const auto text = [&](CardField field) { return DecodeText(card[field], encoding).trimmed(); };
    const QString print = text(PrintField);
    const QString set = text(SetCodeField);
    const QString number = text(NumberField);
    const QString finish = text(FinishField).toLower();
    QStringList parts;
    if (!print.isEmpty()) {
        parts << print;
        if (PrintSource(card[PrintField]) == CardSource::Ygoprodeck && !set.isEmpty() && !number.isEmpty())
            parts << set + QLatin1Char('-') + number;
    } else if (!set.isEmpty() && !number.isEmpty()) {
        parts << text(GameField).toLower() << set.toLower() << number;
    } else {
        return {};
    }
    if (!finish.isEmpty())
        parts << finish;
    return parts.join(QLatin1Char(':'));
}
