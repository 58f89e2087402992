#include "collection/totals/TotalsText.h"

#include "collection/CardTableModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::string Counted(std::int64_t count, std::string_view one, std::string_view many)
{
    return CountText(count) + ' ' + std::string(count == 1 ? one : many);
}

std::string PaidList(const std::vector<CurrencyAmount>& paid)
{
    std::string text;
    for (const CurrencyAmount& each : paid) {
        if (!text.empty())
            text += ", ";
        text += AmountText(each.currency, each.amount);
    }
    return text;
}

std::vector<CurrencyAmount> Amounts(const std::vector<CurrencyPaid>& paid)
{
    std::vector<CurrencyAmount> amounts;
    for (const CurrencyPaid& each : paid)
        amounts.push_back({each.currency, each.paid});
    return amounts;
}

std::string ValueList(const std::vector<CurrencyValue>& value)
{
    std::string text;
    for (const CurrencyValue& each : value) {
        if (!text.empty())
            text += ", ";
        text += AmountText(each.currency, each.value);
    }
    return text;
}

void AddValue(std::string& text, const CollectionTotals& totals)
{
    text += "Value: " + (totals.value.empty() ? std::string("0.00") : ValueList(totals.value));
    if (!totals.valueDate.empty())
        text += " (prices of " + totals.valueDate + " or later)";
    text += '\n';
    if (totals.notValued > 0)
        text += "Not valued: " + Counted(totals.notValued, "Card", "Cards") + '\n';
    std::string gains;
    for (const CurrencyValue& each : totals.value) {
        if (each.compared == 0)
            continue;
        if (!gains.empty())
            gains += ", ";
        gains += GainText(each.currency, each.gain) + " on " + Counted(each.compared, "Card", "Cards");
    }
    if (!gains.empty())
        text += "Gain: " + gains + '\n';
}

void AddGroups(std::string& text, std::string_view heading, const std::vector<GroupTotals>& groups)
{
    text += "\nBy ";
    text += heading;
    text += ":\n";
    for (const GroupTotals& group : groups) {
        text += "  ";
        text += group.value.empty() ? "(blank)" : group.value;
        text += ": " + Counted(group.cards, "Card", "Cards") + ", " + Counted(group.copies, "copy", "copies");
        if (!group.paid.empty())
            text += ", paid " + PaidList(group.paid);
        text += '\n';
    }
}

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string_view FieldName(CardField field)
{
    return field == PriceField ? "Price" : "Quantity";
}

// Exact as text while the amount has at most 15 digits: the shortest form
// that reads back as the nearest double is then the decimal itself.
double Units(Hundredths amount)
{
    return double(amount) / 100.0;
}

QJsonArray PaidArray(const std::vector<CurrencyAmount>& paid)
{
    QJsonArray array;
    for (const CurrencyAmount& each : paid)
        array.append(QJsonObject{{"currency", Utf8(each.currency)}, {"amount", Units(each.amount)}});
    return array;
}

QJsonArray GroupArray(const std::vector<GroupTotals>& groups)
{
    QJsonArray array;
    for (const GroupTotals& group : groups) {
        array.append(QJsonObject{{"value", Utf8(group.value)},
                                 {"cards", qint64(group.cards)},
                                 {"copies", qint64(group.copies)},
                                 {"paid", PaidArray(group.paid)}});
    }
    return array;
}

} // namespace

std::string TotalsText(const CollectionTotals& totals, const CardTableModel& table)
{
    std::string text;
    if (totals.filtered)
        text += "Only the Cards the filter shows.\n";
    text += "Cards: " + CountText(totals.cards) + '\n';
    text += "Copies: " + CountText(totals.copies) + '\n';
    text += "Paid: " + TotalPaidText(totals) + '\n';
    if (totals.unpriced > 0)
        text += "Without a price: " + Counted(totals.unpriced, "Card", "Cards") + '\n';
    if (totals.marketed > 0)
        AddValue(text, totals);

    if (!totals.paid.empty())
        text += "\nMost costly, the price of one copy:\n";
    for (const CurrencyPaid& paid : totals.paid) {
        for (const CostlyCard& card : paid.mostCostly) {
            text += "  " + AmountText(paid.currency, card.price) + "  row " + std::to_string(card.row + 1) + "  ";
            text += table.Cell(card.row, NameField);
            text += '\n';
        }
    }

    AddGroups(text, "Series", totals.bySeries);
    AddGroups(text, "Condition", totals.byCondition);
    AddGroups(text, "Year", totals.byYear);

    text += totals.unreadable.empty() ? "\nUnreadable: none\n" : "\nUnreadable:\n";
    for (const UnreadableValue& value : totals.unreadable) {
        text += "  row " + std::to_string(value.row + 1) + "  " + std::string(FieldName(value.field)) + "  ";
        text += table.Cell(value.row, value.field);
        text += '\n';
    }
    return text;
}

std::string TotalsJson(const CollectionTotals& totals, const CardTableModel& table)
{
    QJsonArray paid;
    QJsonArray mostCostly;
    for (const CurrencyPaid& each : totals.paid) {
        paid.append(QJsonObject{{"currency", Utf8(each.currency)},
                                {"amount", Units(each.paid)},
                                {"cards", qint64(each.cards)}});
        for (const CostlyCard& card : each.mostCostly) {
            mostCostly.append(QJsonObject{{"row", card.row + 1},
                                          {"name", Utf8(table.Cell(card.row, NameField))},
                                          {"currency", Utf8(each.currency)},
                                          {"price", Units(card.price)}});
        }
    }
    QJsonArray worth;
    for (const CurrencyValue& each : totals.value) {
        worth.append(QJsonObject{{"currency", Utf8(each.currency)},
                                 {"amount", Units(each.value)},
                                 {"cards", qint64(each.cards)}});
    }
    QJsonArray unreadable;
    for (const UnreadableValue& value : totals.unreadable) {
        unreadable.append(QJsonObject{{"row", value.row + 1},
                                      {"field", Utf8(FieldName(value.field))},
                                      {"value", Utf8(table.Cell(value.row, value.field))}});
    }
    const QJsonObject object{
        {"cards", qint64(totals.cards)},
        {"copies", qint64(totals.copies)},
        {"unpriced", qint64(totals.unpriced)},
        {"filtered", totals.filtered},
        {"paid", paid},
        {"value", worth},
        {"notValued", qint64(totals.notValued)},
        {"mostCostly", mostCostly},
        {"bySeries", GroupArray(totals.bySeries)},
        {"byCondition", GroupArray(totals.byCondition)},
        {"byYear", GroupArray(totals.byYear)},
        {"unreadable", unreadable},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

std::string TotalCardsText(const CollectionTotals& totals)
{
    return CountText(totals.cards);
}

std::string TotalCopiesText(const CollectionTotals& totals)
{
    return CountText(totals.copies);
}

std::string TotalPaidText(const CollectionTotals& totals)
{
    return totals.paid.empty() ? "0.00" : PaidList(Amounts(totals.paid));
}

std::string TotalValueText(const CollectionTotals& totals)
{
    return totals.value.empty() ? "0.00" : ValueList(totals.value);
}

std::string ValueDateText(const CollectionTotals& totals)
{
    return totals.valueDate;
}
