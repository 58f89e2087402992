#include "collection/CardEntry.h"

#include "base/MessageInterface.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "resources/StringTable.h"

#include <QCoreApplication>

CardEntry::CardEntry(CardTableModel& table, ChoiceListModel& series, ChoiceListModel& conditions,
                     MessageInterface& messages)
    : table_(table)
    , series_(series)
    , conditions_(conditions)
    , messages_(messages)
{
}

bool CardEntry::IsDuplicate(const Card& card) const
{
    return table_.FindRow(card[NameField], card[SeriesField]) >= 0;
}

void CardEntry::AddToChoiceLists(const Card& card)
{
    series_.Add(card[SeriesField]);
    conditions_.Add(card[ConditionField]);
}

bool CardEntry::Add(const Card& card)
{
    if (card[NameField].empty()) {
        messages_.ShowError(QString::fromUtf8(Text::NameBlank), QString::fromUtf8(Text::ErrorCaption));
        return false;
    }
    if (IsDuplicate(card)
        && !messages_.AskYesNo(QString::fromUtf8(Text::AlreadyInList), QCoreApplication::applicationName()))
        return false;
    AddToChoiceLists(card);
    table_.InsertRow(0, card);
    return true;
}

bool CardEntry::Update(int row, const Card& card)
{
    if (card[NameField].empty())
        return false;
    AddToChoiceLists(card);
    if (row < 0 || row >= table_.rowCount())
        return false;
    table_.SetRow(row, card);
    return true;
}

bool CardEntry::Delete(int row)
{
    if (row < 0 || row >= table_.rowCount())
        return false;
    table_.RemoveRow(row);
    return true;
}
