#include "collection/CardEntry.h"

#include "base/MessageInterface.h"
#include "base/Shares.h"
#include "collection/CardTableModel.h"
#include "collection/ChoiceListModel.h"
#include "resources/StringTable.h"

#include <QCoreApplication>

#include <atomic>

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
    // Every row is looked at, shared out over the cores for a large table.
    constexpr int kRowsPerThread = 1 << 16;
    const std::vector<Share> shares = Shares(0, table_.rowCount() - 1, ShareCount(table_.rowCount(), kRowsPerThread));
    std::atomic<bool> found = false;
    RunShares(shares.size(), [&](std::size_t i) {
        for (int row = shares[i].first; row <= shares[i].last && !found.load(std::memory_order_relaxed); ++row) {
            table_.PrefetchRow(row + 8);
            if (table_.Cell(row, NameField) == card[NameField] && table_.Cell(row, SeriesField) == card[SeriesField])
                found = true;
        }
    });
    return found;
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
